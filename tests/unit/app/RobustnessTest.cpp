// The clock keeps going whatever happens around it: no message box inside a tick,
// an alarm that always ends on time, messages in the user's language only, one
// error box at a time, settings saved as they change, every timer stopped at quit.
#include "ClockFormFixture.h"
#include "app/DayWords.h"
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/ClockAlarm.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "core/AlarmLogic.h"
#include "core/CommandSections.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QDate kDay(2026, 12, 7);

struct Fixture : ClockFolder {
    Fixture() : ClockFolder(QDateTime(kDay, QTime(6, 59, 58))) {}
    void At(int h, int m, int s) { Clock.Set(QDateTime(kDay, QTime(h, m, s))); }
};

bool WaitUntil(const std::function<bool()>& done, int maxMs = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > maxMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// Answers every message box that shows while it lives, and records its text and
// whether it opened while `Busy` was set (inside a tick).
struct BoxWatch {
    QStringList Texts;
    bool OpenedWhileBusy = false;
    bool Busy = false;
    QTimer Poll;
    BoxWatch() {
        Poll.setInterval(5);
        QObject::connect(&Poll, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    OpenedWhileBusy |= Busy;
                    Texts << box->text();
                    box->button(QMessageBox::Ok)->click();
                }
        });
        Poll.start();
    }
    // Nothing waits in the queue any more and no box is open.
    bool Settled() const { return PostedMessages().Waiting() == 0 && !PostedMessages().Showing(); }
};

} // namespace

TEST(Robustness, AlarmMessageIsQueuedAndTheAlarmEndsOnTimeAfterAStall) {
    Fixture fx;
    const QString missing = fx.Dir.filePath("gone.wav");
    fx.WriteIni({"[Alarm]", "IsAlarmSet=1", "AlarmStartTime=07:00:00", "UseAlarmColor=1",
                 "UseAlarmSound=1", "AlarmSoundFileName=" + missing});
    BoxWatch boxes;
    auto f = fx.Make();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Settled(); }));
    boxes.Texts.clear();

    fx.At(7, 0, 0);
    boxes.Busy = true;
    f->ClockTimerTimer(); // would sit in the box until it is answered if it were not queued
    boxes.Busy = false;
    EXPECT_TRUE(f->RunState().IsAlarmRunning);
    EXPECT_EQ(f->RunState().FontColor, f->Settings().AlarmFontColor);
    EXPECT_EQ(PostedMessages().Waiting(), 1);
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Texts.isEmpty() && boxes.Settled(); }));
    EXPECT_FALSE(boxes.OpenedWhileBusy);
    // Exactly the language's text: the file name and nothing appended.
    EXPECT_EQ(boxes.Texts, QStringList(FormatMsg(Messages().MsgErrorFileNotFound, {missing})));
    EXPECT_EQ(boxes.Texts[0], QStringLiteral("ファイルが ありません: [%1]").arg(missing));

    // A stall over the stop second (ticks held back for three minutes) still ends it.
    fx.At(7, 3, 0);
    f->ClockTimerTimer();
    EXPECT_FALSE(f->RunState().IsAlarmRunning);
    EXPECT_EQ(f->RunState().FontColor, f->Settings().NormalFontColor);
}

TEST(Robustness, AnAlarmWhoseStartSecondWasMissedRunsForTheRestOfItsMinute) {
    Fixture fx;
    fx.WriteIni({"[Alarm]", "IsAlarmSet=1", "AlarmStartTime=07:00:00", "UseAlarmColor=1"});
    auto f = fx.Make();
    f->ClockTimerTimer(); // 06:59:58
    fx.At(7, 0, 40);      // a stall over the start second, beyond the replayed seconds
    f->ClockTimerTimer();
    EXPECT_TRUE(f->RunState().IsAlarmRunning);
    fx.At(7, 1, 0);
    f->ClockTimerTimer();
    EXPECT_FALSE(f->RunState().IsAlarmRunning);
}

TEST(Robustness, CommandAndHelpMessagesAreTheLanguagesTextsOnly) {
    Fixture fx;
    const QString prog = fx.Dir.filePath("prog.sh");
    QFile p(prog);
    ASSERT_TRUE(p.open(QIODevice::WriteOnly));
    p.close();
    fx.WriteIni({"[CommandList]", "Count=2", "[Command1]", "Title=t", "FileName=" + prog});
    BoxWatch boxes;
    auto f = fx.Make();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Settled(); }));
    boxes.Texts.clear();

    fx.Platform.LaunchResult = false;
    f->Commands().RunCommandItem(1);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Texts.size() == 1; }));
    // The reason comes from the language too (it was left out before).
    EXPECT_EQ(boxes.Texts[0],
              QStringLiteral("ひらけません: [%1] (はじめられませんでした。)").arg(prog));

    QDir(fx.Dir.path()).mkpath("Help");
    QFile help(fx.Dir.filePath("Help/index.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    fx.Platform.OpenResult = false;
    fx.Platform.OpenErrorCode = 3;
    f->Menu().ActPopShowHelpExecute();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Texts.size() == 2; }));
    EXPECT_EQ(boxes.Texts[1], QStringLiteral("ひらけません: [%1] (エラー コード: [3])")
                                  .arg(fx.Dir.filePath("Help/index.html")));
}

TEST(Robustness, ACommandThatCannotStartSaysWhyInTheUsersLanguage) {
    Fixture fx;
    const QString german = QStringLiteral(VELMORA_SHIPPED_LANG_DIR "/VlmDeutsch.lang");
    const IniDocument de(german);
    const auto text = [&de](const char* key) { return de.ReadString("Lang: Msg", key, ""); };
    const QString doc = fx.Dir.filePath("notes.txt"), prog = fx.Dir.filePath("prog.sh");
    for (const QString& name : {doc, prog}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(prog, QFile::permissions(prog) | QFileDevice::ExeOwner);
    const struct {
        QString File, Params;
        bool Admin;
        const char* Reason;
    } cases[] = {
        {doc, "", true, "MsgReasonNotExecutableAdmin"},
        {prog, "'not closed", false, "MsgReasonParametersUnreadable"},
        {prog, "-x", false, "MsgReasonCannotStart"},
    };
    QStringList ini = {"[CommandList]", "Count=4"};
    for (int i = 0; i < 3; ++i)
        ini << QStringLiteral("[Command%1]").arg(i + 1) << "Title=t"
            << "FileName=" + cases[i].File << "OptionStr=" + cases[i].Params
            << QStringLiteral("AsAdmin=%1").arg(cases[i].Admin);
    fx.WriteIni(ini);
    BoxWatch boxes;
    auto f = fx.Make();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Settled(); }));
    f->Menu().LanguageListClick(german);
    boxes.Texts.clear();
    fx.Platform.LaunchResult = false;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].Reason);
        f->Commands().RunCommandItem(i + 1);
        ASSERT_TRUE(WaitUntil([&] { return boxes.Texts.size() == i + 1; }));
        ASSERT_FALSE(text(cases[i].Reason).isEmpty());
        EXPECT_EQ(boxes.Texts[i], FormatMsg(text("MsgErrorCannotOpenItem"), {cases[i].File}) +
                                      " (" + text(cases[i].Reason) + ")");
    }
}

TEST(Robustness, ADayWordsFileThatCannotBeWrittenIsToldInTheUsersLanguage) {
    Fixture fx;
    const QString german = QStringLiteral(VELMORA_SHIPPED_LANG_DIR "/VlmDeutsch.lang");
    const IniDocument de(german);
    const auto text = [&de](const char* key) { return de.ReadString("Lang: Msg", key, ""); };
    BoxWatch boxes;
    auto f = fx.Make();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Settled(); }));
    f->Menu().LanguageListClick(german);
    boxes.Texts.clear();
    // Saved as UTF-8 by another editor: the clock must not rewrite what it cannot read.
    QFile day(DayLangFile());
    ASSERT_TRUE(day.open(QIODevice::WriteOnly | QIODevice::Truncate));
    day.write("[DayLang]\nDayLangKind=Mine\n");
    day.close();
    QTimer::singleShot(0, [&] { f->FOptionForm->close(); });
    f->ActPopShowOptionExecute(); // closing stores the kind: the write is refused
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Texts.isEmpty(); }));
    ASSERT_FALSE(text("MsgReasonNotUtf16").isEmpty());
    EXPECT_EQ(boxes.Texts.first(), FormatMsg(text("MsgErrorFileNotChanged"),
                                             {DayLangFile(), text("MsgReasonNotUtf16")}));
}

TEST(Robustness, HelpWithoutABrowserOrOpenerSaysSo) {
    Fixture fx;
    QDir(fx.Dir.path()).mkpath("Help");
    const QString page = fx.Dir.filePath("Help/index.html");
    QFile help(page);
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    BoxWatch boxes;
    auto f = fx.Make();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Settled(); }));
    boxes.Texts.clear();
    const QString expected =
        QStringLiteral("ひらけません: [%1] (ひらく ための プログラム (ウェブ ブラウザーなど) が "
                       "みつかりません。)")
            .arg(page);
    // The opener starts and finds no browser: it says so by its exit code, later.
    fx.Platform.OpenLaterExitCode = 3;
    f->Menu().ActPopShowHelpExecute();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Texts.size() == 1; }));
    EXPECT_EQ(boxes.Texts[0], expected);
    // No opener is installed at all.
    fx.Platform.OpenLaterExitCode = 0;
    fx.Platform.OpenResult = false;
    fx.Platform.OpenErrorCode = kNoOpenerCode;
    f->Menu().ActPopShowHelpExecute();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Texts.size() == 2; }));
    EXPECT_EQ(boxes.Texts[1], expected);
}

TEST(Robustness, ALanguageErrorIsShownNotThrownThroughTheMenu) {
    Fixture fx;
    BoxWatch boxes;
    auto f = fx.Make();
    ASSERT_TRUE(WaitUntil([&] { return boxes.Settled(); }));
    boxes.Texts.clear();
    const QString langDir = LangDir();
    SetLangDir(QStringLiteral("/dev/null/Lang/")); // the default file cannot be written here
    EXPECT_NO_THROW(f->Menu().LanguageListClick(QStringLiteral("/dev/null/Lang/none.lang")));
    EXPECT_TRUE(WaitUntil([&] { return boxes.Texts.size() == 1; }));
    SetLangDir(langDir);
}

TEST(Robustness, OneErrorBoxAtATimeAndRepeatsCoalesced) {
    QStringList shown;
    int depth = 0;
    int deepest = 0;
    TMessageQueue* queue = nullptr;
    TMessageQueue q([&](const QString& text, TMsgDlgType) {
        deepest = std::max(deepest, ++depth);
        shown << text;
        // While the first box is open the failing handler goes on failing.
        for (int i = 0; i < 3 && shown.size() == 1; ++i) {
            queue->Post(QStringLiteral("disk full"), TMsgDlgType::Error);
            queue->Post(QStringLiteral("other"), TMsgDlgType::Error);
            QTest::qWait(5); // the box's own event loop
        }
        --depth;
    });
    queue = &q;
    for (int i = 0; i < 5; ++i)
        q.Post(QStringLiteral("disk full"), TMsgDlgType::Error);
    EXPECT_TRUE(shown.isEmpty()) << "never shown from inside the caller";
    ASSERT_TRUE(WaitUntil([&] { return q.Waiting() == 0 && !q.Showing(); }));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(shown, (QStringList{"disk full", "other"}));
}

TEST(Robustness, SettingsAreSavedSoonAfterAMove) {
    Fixture fx;
    auto f = fx.Make();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    QTest::qWait(400); // the place check after showing
    ASSERT_TRUE(WaitUntil([&] { return !f->SavePending(); }));
    f->move(40, 60);
    ASSERT_TRUE(WaitUntil([&] { return f->SavePending(); }));
    ASSERT_TRUE(WaitUntil([&] { return !f->SavePending(); }));
    const IniDocument saved(fx.Ini(), QLocale::c());
    EXPECT_EQ(saved.ReadString("MainForm", "Left", ""), "40");
    EXPECT_EQ(saved.ReadString("MainForm", "Top", ""), "60");
}

TEST(Robustness, TheBlinkTimerItselfBlinksTheWindow) {
    // The rhythm the alarm promises (hidden one interval, shown the next) is the
    // window's own timer running, not a model of it: its interval is the blink
    // interval, and left to run it hides the window and shows it again.
    Fixture fx;
    fx.WriteIni({"[Alarm]", "UseAlarmBlink=1"});
    auto f = fx.Make();
    f->show();
    f->ActStartAlarmExecute();
    ASSERT_TRUE(f->Alarm().BlinkTimer()->Enabled());
    EXPECT_EQ(f->Alarm().BlinkTimer()->Interval(), kBlinkIntervalMs);
    EXPECT_TRUE(WaitUntil([&] { return !f->isVisible(); })) << "the timer never hid the window";
    EXPECT_TRUE(WaitUntil([&] { return f->isVisible(); })) << "the timer never showed it again";
    EXPECT_TRUE(WaitUntil([&] { return !f->isVisible(); })) << "it blinked only once";
    f->ActPopStopAlarmExecute();
    EXPECT_FALSE(f->Alarm().BlinkTimer()->Enabled());
    EXPECT_TRUE(f->isVisible()) << "a stop while hidden shows the window";
}

TEST(Robustness, QuitStopsEveryTimerFirst) {
    Fixture fx;
    const QString tool = fx.Dir.filePath("Sync/VelmoSync");
    QDir(fx.Dir.path()).mkpath("Sync");
    QFile t(tool);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.close();
    fx.WriteIni({"[Alarm]", "UseAlarmBlink=1", "[CommandList]", "Count=1", "[Command0]",
                 "FileName=" + tool, "OptionStr=127.0.0.1"});
    auto f = fx.Make();
    f->ClockTimer()->SetEnabled(true);
    f->ActStartAlarmExecute();
    f->Commands().ActPopAdjustTimeExecute();
    f->move(10, 10);
    ASSERT_TRUE(f->Alarm().BlinkTimer()->Enabled());
    ASSERT_TRUE(f->Commands().CheckLanTimer()->Enabled());
    f->Menu().ActPopQuitExecute();
    EXPECT_FALSE(f->ClockTimer()->Enabled());
    EXPECT_FALSE(f->Alarm().BlinkTimer()->Enabled());
    EXPECT_FALSE(f->Commands().CheckLanTimer()->Enabled());
    EXPECT_FALSE(f->SavePending());
    // No sync starts after Quit.
    QTest::qWait(1300);
    EXPECT_TRUE(fx.Platform.Calls.filter("launch:").isEmpty());
}

// A save that cannot be done says why, keeps the changes, and the next save
// writes them. Each way the file can become unusable after the start is a case.
TEST(Robustness, AFailedSaveIsReportedAndTheNextSaveTriesAgain) {
    struct TCase {
        const char* Name;
        std::function<void(const QString& ini)> Spoil;
    };
    const TCase cases[] = {
        {"grown past the size limit",
         [](const QString& ini) {
             QFile f(ini);
             ASSERT_TRUE(f.open(QIODevice::Append));
             f.write(QByteArray(kMaxIniFileSize, ' '));
         }},
        {"a folder in its place",
         [](const QString& ini) {
             QFile::remove(ini);
             ASSERT_TRUE(QDir().mkdir(ini));
         }},
    };
    for (const TCase& c : cases) {
        Fixture fx;
        fx.WriteIni({"[ClockStr]", "ShowDate=1"});
        auto f = fx.Make();
        f->Settings().ShowDate = false;
        c.Spoil(fx.Ini());
        QString error;
        try {
            f->SaveSettings(); // as the options dialog's close does
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const TIniWriteError& e) {
            error = QString::fromUtf8(e.what());
        }
        const QString expected =
            FormatMsg(Messages().MsgErrorSettingsNotSaved, {fx.Ini(), QString()}).left(8);
        EXPECT_TRUE(error.startsWith(expected)) << c.Name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(fx.Ini())) << c.Name;
        EXPECT_FALSE(f->Settings().ShowDate) << c.Name << ": the change is kept in memory";

        // The file is usable again: the next save, though nothing else changed, writes.
        QDir().rmdir(fx.Ini());
        QFile::remove(fx.Ini());
        f->ScheduleSave();
        ASSERT_TRUE(WaitUntil([&] { return !f->SavePending(); })) << c.Name;
        EXPECT_EQ(IniDocument(fx.Ini(), QLocale::c()).ReadString("ClockStr", "ShowDate", ""), "0")
            << c.Name;
    }
}

TEST(Robustness, MoreCommandsThanTheListHoldsAreReportedOnceTheClockIsUp) {
    Fixture fx;
    QStringList lines{"[CommandList]", "Count=2000000000"};
    for (int k = 0; k <= kMaxCommandCount; ++k)
        lines << QStringLiteral("[Command%1]").arg(k) << QStringLiteral("Title=t%1").arg(k);
    fx.WriteIni(lines);
    BoxWatch boxes;
    auto f = fx.Make();
    EXPECT_TRUE(boxes.Texts.isEmpty()) << "not while the clock is being made";
    EXPECT_EQ(f->Commands().ACommandList().Count(), kMaxCommandCount);
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Texts.isEmpty() && boxes.Settled(); }));
    EXPECT_EQ(boxes.Texts, QStringList{FormatMsg(Messages().MsgWarnTooManyCommands,
                                                 {QString::number(kMaxCommandCount)})});
}
