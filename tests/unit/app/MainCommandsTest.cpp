#include "ClockFormFixture.h"
#include "app/LangFiles.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "core/IniDocument.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "core/StringHash.h"
#include "fakes/FakePlatform.h"
#include "widgets/KvTrayIcon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A folder with a stand-in sync tool, a Sunday noon.
struct Fixture : ClockFolder {
    Fixture() : ClockFolder(QDateTime(QDate(2026, 12, 6), QTime(11, 59, 58))) {
        QDir(Dir.path()).mkpath("Sync");
        QFile f(tool());
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    QString tool() const { return Dir.filePath("Sync/VelmoSync"); }
    int Launches() const { return int(Platform.Calls.filter("launch:").size()); }
};

} // namespace

TEST(MainCommands, NetworkCheckGivesUpOnTheThirtiethTick) {
    Fixture fx;
    fx.Platform.NetworkAlive = false;
    auto f = fx.Make();
    f->Commands().ActPopAdjustTimeExecute();
    EXPECT_TRUE(f->Commands().CheckLanTimer()->Enabled());
    for (int i = 0; i < 29; ++i)
        f->Commands().CheckLanTimerTimer();
    EXPECT_TRUE(f->Commands().CheckLanTimer()->Enabled());
    EXPECT_NE(f->Menu().TrayIcon1()->BalloonHint(), BalloonContents()[6].Hint);
    f->Commands().CheckLanTimerTimer(); // the 30th
    EXPECT_FALSE(f->Commands().CheckLanTimer()->Enabled());
    EXPECT_EQ(f->Menu().TrayIcon1()->BalloonHint(), BalloonContents()[6].Hint);
    EXPECT_EQ(f->Commands().CheckLanTimer()->InitialDelayTime(), 0u);
    EXPECT_EQ(fx.Launches(), 0);
}

TEST(MainCommands, LiveNetworkStartsTheToolOnceAndRetriesAFailedStart) {
    Fixture fx;
    auto f = fx.Make();
    fx.Platform.LaunchResult = false;
    f->Commands().ActPopAdjustTimeExecute();
    f->Commands().CheckLanTimerTimer();
    EXPECT_TRUE(f->Commands().CheckLanTimer()->Enabled()); // tried again on the next tick
    fx.Platform.LaunchResult = true;
    f->Commands().CheckLanTimerTimer();
    EXPECT_FALSE(f->Commands().CheckLanTimer()->Enabled());
    EXPECT_EQ(fx.Launches(), 2);
    // As the user: the tool asks the system's time service to set the clock.
    EXPECT_TRUE(
        fx.Platform.Calls.contains(QStringLiteral("launch:%1|pool.ntp.org|0|0").arg(fx.tool())));
}

TEST(MainCommands, TheToolsAnswerShowsItsBalloonOnlyWithTheRightHash) {
    Fixture fx;
    auto f = fx.Make();
    const uint32_t hash = CalcStringHash(QFileInfo(fx.tool()).canonicalFilePath());
    EXPECT_EQ(f->Commands().VmoSyncHash(), hash);
    struct Case {
        QByteArray line;
        int balloon; // -1: none
    } cases[] = {
        {"SYNCRESULT " + QByteArray::number(hash) + " 3", 3},
        {"SYNCRESULT " + QByteArray::number(hash ^ 1) + " 4", -1},
        {"SYNCRESULT " + QByteArray::number(hash) + " 9", -1},
        {"SYNCRESULT " + QByteArray::number(hash) + " -1", -1},
        {"garbage", -1},
        {"SYNCRESULT " + QByteArray::number(hash) + " 4", 4},
    };
    for (const auto& c : cases) {
        f->Menu().TrayIcon1()->SetBalloonHint(QStringLiteral("none"));
        f->Commands().HandleInstanceMessage(c.line);
        EXPECT_EQ(f->Menu().TrayIcon1()->BalloonHint(),
                  c.balloon < 0 ? QStringLiteral("none")
                                : BalloonContents()[size_t(c.balloon)].Hint)
            << c.line.toStdString();
    }
}

TEST(MainCommands, StartupTimedAndMenuCommands) {
    Fixture fx;
    const QString prog = fx.Dir.filePath("prog.sh");
    QFile p(prog);
    p.open(QIODevice::WriteOnly);
    p.close();
    fx.WriteIni({"[CommandList]", "Count=4", "[Command0]", "FileName=" + fx.tool(),
                 "OptionStr=127.0.0.1", "[Command1]", "Title=at start", "FileName=" + prog,
                 "AtStartup=1", "[Command2]", "Title=at noon", "FileName=" + prog, "OptionStr=noon",
                 "AtSpTime=1", "SpTime=12:00:00", "[Command3]", "Title=missing",
                 "FileName=/nonexistent/x"});
    auto f = fx.Make();
    EXPECT_EQ(fx.Platform.Calls.filter("launch:").size(), 1);     // the start-up command
    f->ClockTimerTimer();                                         // 11:59:58
    fx.Clock.Set(QDateTime(QDate(2026, 12, 6), QTime(12, 0, 2))); // 11:59:59 .. 12:00:01 skipped
    f->ClockTimerTimer();
    EXPECT_EQ(fx.Platform.Calls.filter("launch:" + prog + "|noon").size(), 1);
    fx.Clock.Set(QDateTime(QDate(2026, 12, 6), QTime(12, 0, 3)));
    f->ClockTimerTimer();
    EXPECT_EQ(fx.Platform.Calls.filter("launch:" + prog + "|noon").size(), 1); // once a day
    // The commands submenu lists commands 1 .. 3 as "n: title".
    f->Menu().PopupMenu1Popup();
    QStringList items;
    for (QAction* a : f->Menu().Command1()->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"1: at start", "2: at noon", "3: missing"}));
    EXPECT_TRUE(f->Menu().Command1()->isEnabled());
}

namespace {

// Answers the next message box with OK and counts the boxes it saw.
struct BoxCounter {
    int boxes = 0;
    QString text;
    void Arm() {
        QTimer::singleShot(0, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    ++boxes;
                    text = box->text();
                    box->button(QMessageBox::Ok)->click();
                }
        });
    }
};

} // namespace

TEST(MainCommands, AStoredAdministratorFlagNeverElevatesTheSyncTool) {
    Fixture fx;
    fx.WriteIni({"[CommandList]", "Count=1", "[Command0]", "FileName=" + fx.tool(),
                 "OptionStr=127.0.0.1:4123", "AsAdmin=1"});
    auto f = fx.Make();
    EXPECT_TRUE(f->Commands().ACommandList().Items(0).AsAdmin())
        << "the stored flag stays as the user left it";
    f->Commands().ActPopAdjustTimeExecute();
    f->Commands().CheckLanTimerTimer();
    f->Commands().CommandMenuClick(0); // the options dialog may start command 0 as well
    EXPECT_EQ(fx.Platform.Calls.filter("launch:").join(' '),
              QStringLiteral("launch:%1|127.0.0.1:4123|0|0").arg(fx.tool()));
}

TEST(MainCommands, OneSyncAtATime) {
    Fixture fx;
    auto f = fx.Make();
    f->Commands().ActPopAdjustTimeExecute();
    f->Commands().CheckLanTimerTimer();
    ASSERT_EQ(fx.Launches(), 1);
    ASSERT_TRUE(fx.Platform.LastWatch);
    // The menu clicked again while the tool runs: no second check, no second tool.
    f->Commands().ActPopAdjustTimeExecute();
    EXPECT_FALSE(f->Commands().CheckLanTimer()->Enabled());
    f->Commands().CommandMenuClick(0);
    EXPECT_EQ(fx.Launches(), 1);
    // Once it has ended, the next request starts it again.
    fx.Platform.LastWatch(TLaunchEnd::Ran);
    f->Commands().ActPopAdjustTimeExecute();
    EXPECT_TRUE(f->Commands().CheckLanTimer()->Enabled());
    f->Commands().CheckLanTimerTimer();
    EXPECT_EQ(fx.Launches(), 2);
}

TEST(MainCommands, ARefusedAdministratorPromptIsShownOnce) {
    Fixture fx;
    fx.WriteIni({"[CommandList]", "Count=2", "[Command0]", "FileName=" + fx.tool(), "OptionStr=x",
                 "[Command1]", "Title=admin", "FileName=" + fx.tool(), "AsAdmin=1"});
    auto f = fx.Make();
    struct Case {
        TLaunchEnd end;
        int boxes;
    };
    for (const Case c : {Case{TLaunchEnd::Ran, 0}, Case{TLaunchEnd::Dismissed, 1},
                         Case{TLaunchEnd::NotAuthorised, 1}}) {
        f->Commands().CommandMenuClick(1);
        ASSERT_TRUE(fx.Platform.LastWatch);
        BoxCounter counter;
        counter.Arm();
        fx.Platform.LastWatch(c.end);
        QApplication::processEvents();
        EXPECT_EQ(counter.boxes, c.boxes) << int(c.end);
        if (c.boxes) {
            EXPECT_TRUE(counter.text.contains(fx.tool())) << counter.text.toStdString();
        }
    }
    EXPECT_EQ(fx.Platform.Calls.filter("|1|0").size(), 3) << "each click, once; never retried";
}
