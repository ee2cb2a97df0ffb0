// The commands part of the clock without a window: what it asks of the window's side.
#include "app/clock/ClockCommands.h"

#include "app/LangFiles.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "core/MessageTable.h"
#include "fakes/FakePlatform.h"
#include "sync/Report.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct CommandsFixture {
    QTemporaryDir Dir;
    FakePlatform Platform;
    QStringList Window; // what the window's side was asked, in order
    QStringList Hints;  // the texts of the balloons shown
    QStringList Questions;
    std::function<void(bool)> Answer; // to the last question
    int64_t MonotonicMs = 0;
    std::unique_ptr<TClockCommands> Commands;

    CommandsFixture() {
        TClockCommands::TWindowSide side;
        side.ShowBalloon = [this](const TBalloonContent& c) {
            Window << "balloon:" + c.Title;
            Hints << c.Hint;
        };
        side.Ask = [this](const QString& text, std::function<void(bool)> answer) {
            Questions << text;
            Answer = std::move(answer);
        };
        side.Repaint = [this] { Window << "repaint"; };
        side.Refit = [this] { Window << "refit"; };
        Commands = std::make_unique<TClockCommands>(Platform, std::move(side));
        const QString tool = Dir.filePath("VelmoSync");
        QFile f(tool);
        f.open(QIODevice::WriteOnly);
        f.close();
        auto sync = std::make_unique<TKvCommandItem>();
        sync->SetFileName(tool);
        sync->SetOptionStr("pool.ntp.org");
        Commands->ACommandList().Add(std::move(sync));
        Commands->SetMonotonicClock([this] { return MonotonicMs; });
        Commands->RememberSyncTool();
    }
    QStringList Launches() const { return Platform.Calls.filter("launch:"); }
    // The tool's answer: result code, reason and step.
    void Report(int code, int reason = 0, int64_t stepS = 0) {
        QByteArray line = "SYNCRESULT " + QByteArray::number(Commands->VmoSyncHash()) + ' ' +
                          QByteArray::number(code);
        if (reason)
            line += ' ' + QByteArray::number(reason) + ' ' + QByteArray::number(qint64(stepS));
        Commands->HandleInstanceMessage(line);
    }
    // A sync that waits for the network: its first check starts the tool.
    void Sync(TClockCommands::TSyncKind kind) {
        Commands->RequestSync(kind);
        Tick();
    }
    // A tick of the network check, when it runs.
    void Tick() {
        if (Commands->CheckLanTimer()->Enabled())
            Commands->CheckLanTimerTimer();
    }
    void ToolEnded() {
        if (Platform.LastWatch)
            Platform.LastWatch(TLaunchEnd::Ran);
    }
};

// Texts that show what was filled in where.
struct SyncTexts {
    TMessageTable saved = Messages();
    SyncTexts() {
        TMessageTable& m = Messages();
        m.SyncOffsetHoursMinutes = "%d h %d min";
        m.SyncOffsetDaysHours = "%d d %d h";
        m.SyncClockAhead = "%s ahead";
        m.SyncClockBehind = "%s behind";
        m.BalloonWarnStepTooLarge = "not set: %s; use the menu";
        m.MsgConfirmStepClock = "clock is %s. Set it?";
        m.BalloonErrorCannotAdjustTimeReason = "could not be set: %s";
        m.SyncReasonNotResolved = "name not resolved";
        m.SyncReasonNoAnswer = "no answer";
        m.SyncReasonRefused = "refused by the time service";
        m.SyncReasonUnconfirmed = "needs a second server";
    }
    ~SyncTexts() { Messages() = saved; }
};

} // namespace

TEST(ClockCommands, OnlyTheToolsOwnAnswerReachesTheWindow) {
    CommandsFixture fx;
    fx.Commands->RememberSyncTool();
    const uint32_t hash = fx.Commands->VmoSyncHash();
    EXPECT_EQ(hash, TClockCommands::SyncToolHash(fx.Commands->ACommandList().Items(0).FileName()));
    fx.Commands->HandleInstanceMessage("SYNCRESULT " + QByteArray::number(hash ^ 1) + " 3");
    EXPECT_TRUE(fx.Window.isEmpty());
    fx.Commands->HandleInstanceMessage("SYNCRESULT " + QByteArray::number(hash) + " 3");
    EXPECT_EQ(fx.Window, (QStringList{"balloon:" + BalloonContents()[3].Title, "refit"}));
}

TEST(ClockCommands, ANetworkThatNeverComesEndsInItsBalloon) {
    CommandsFixture fx;
    fx.Platform.NetworkAlive = false;
    fx.Commands->ActPopAdjustTimeExecute();
    ASSERT_TRUE(fx.Commands->CheckLanTimer()->Enabled());
    for (int i = 0; i < 30; ++i)
        fx.Commands->CheckLanTimerTimer();
    EXPECT_FALSE(fx.Commands->CheckLanTimer()->Enabled());
    EXPECT_EQ(fx.Window, (QStringList{"balloon:" + BalloonContents()[6].Title}));
    EXPECT_TRUE(fx.Platform.Calls.filter("launch:").isEmpty());
}

TEST(ClockCommands, ASyncOnResumeRepaintsFirstAndWaitsBeforeItsFirstCheck) {
    CommandsFixture fx;
    fx.Commands->ACommandList().Items(0).SetAtResume(true);
    fx.Commands->SetCommandTimingArray();
    fx.Commands->RunResumeCommands();
    EXPECT_EQ(fx.Window, (QStringList{"repaint"}));
    EXPECT_TRUE(fx.Commands->CheckLanTimer()->Enabled());
    EXPECT_GT(fx.Commands->CheckLanTimer()->InitialDelayTime(), 0u);
    fx.Commands->StopNetworkCheck();
    EXPECT_FALSE(fx.Commands->CheckLanTimer()->Enabled());
    EXPECT_EQ(fx.Commands->CheckLanTimer()->InitialDelayTime(), 0u);
}

TEST(ClockCommands, AnUnattendedSyncNeverAsksAndNamesTheDifference) {
    SyncTexts texts;
    CommandsFixture fx;
    fx.Sync(TClockCommands::TSyncKind::Unattended);
    ASSERT_EQ(fx.Launches().size(), 1);
    EXPECT_TRUE(fx.Launches().front().endsWith("|pool.ntp.org|0|0")) << "no permission to step";
    fx.Report(4, int(SyncReason::StepTooLarge), 10800);
    EXPECT_EQ(fx.Hints, QStringList{"not set: 3 h 0 min behind; use the menu"});
    EXPECT_TRUE(fx.Questions.isEmpty());
    fx.ToolEnded();
    EXPECT_EQ(fx.Launches().size(), 1);
}

TEST(ClockCommands, ALargeStepFromTheMenuIsAskedAndMeasuredAgainAfterYes) {
    SyncTexts texts;
    CommandsFixture fx;
    fx.Sync(TClockCommands::TSyncKind::Asked);
    fx.Report(4, int(SyncReason::StepTooLarge), -10800);
    ASSERT_EQ(fx.Questions, QStringList{"clock is 3 h 0 min ahead. Set it?"});
    EXPECT_TRUE(fx.Hints.isEmpty());
    // Yes while the first run is still ending: the approved run waits for it.
    fx.Answer(true);
    fx.Tick();
    EXPECT_EQ(fx.Launches().size(), 1);
    fx.ToolEnded();
    fx.Tick();
    ASSERT_EQ(fx.Launches().size(), 2);
    EXPECT_TRUE(fx.Launches().back().endsWith("|--approve=-10800 pool.ntp.org|0|0"))
        << fx.Launches().back().toStdString();
    // The yes counted for that run only.
    fx.ToolEnded();
    fx.Sync(TClockCommands::TSyncKind::Asked);
    EXPECT_TRUE(fx.Launches().back().endsWith("|pool.ntp.org|0|0"));
}

TEST(ClockCommands, ANoChangesNothing) {
    SyncTexts texts;
    CommandsFixture fx;
    fx.Sync(TClockCommands::TSyncKind::Asked);
    fx.Report(4, int(SyncReason::StepTooLarge), 10800);
    fx.ToolEnded();
    fx.Answer(false);
    EXPECT_FALSE(fx.Commands->CheckLanTimer()->Enabled());
    EXPECT_EQ(fx.Launches().size(), 1);
}

TEST(ClockCommands, AFailedSyncSaysWhy) {
    SyncTexts texts;
    CommandsFixture fx;
    struct Case {
        SyncReason reason;
        const char* hint;
    };
    const Case cases[] = {
        {SyncReason::NotResolved, "could not be set: name not resolved"},
        {SyncReason::NoAnswer, "could not be set: no answer"},
        {SyncReason::Refused, "could not be set: refused by the time service"},
        {SyncReason::Unconfirmed, "could not be set: needs a second server"},
    };
    for (const Case& c : cases) {
        fx.Hints.clear();
        fx.Report(4, int(c.reason), 0);
        EXPECT_EQ(fx.Hints, QStringList{c.hint});
    }
    fx.Hints.clear();
    fx.Report(4); // a tool that gives no reason
    EXPECT_EQ(fx.Hints, QStringList{BalloonContents()[4].Hint});
}

TEST(ClockCommands, AtMostOneUnattendedStepAnHour) {
    CommandsFixture fx;
    fx.MonotonicMs = 5'000'000;
    fx.Sync(TClockCommands::TSyncKind::Unattended);
    fx.Report(3);
    fx.ToolEnded();
    ASSERT_EQ(fx.Launches().size(), 1);
    fx.MonotonicMs += 3'599'000;
    fx.Sync(TClockCommands::TSyncKind::Unattended); // a resume, a set time
    EXPECT_EQ(fx.Launches().size(), 1);
    fx.Sync(TClockCommands::TSyncKind::Asked); // the user may always ask
    EXPECT_EQ(fx.Launches().size(), 2);
    fx.ToolEnded();
    fx.MonotonicMs += 1'000;
    fx.Sync(TClockCommands::TSyncKind::Unattended);
    EXPECT_EQ(fx.Launches().size(), 3);
}

TEST(ClockCommands, TheSetTimeRunsOnceADayWhicheverWayTheClockSteps) {
    CommandsFixture fx;
    TKvCommandItem& sync = fx.Commands->ACommandList().Items(0);
    sync.SetAtSpTime(true);
    sync.SetSpTime(0.5); // noon
    fx.Commands->SetCommandTimingArray();
    const auto at = [](int day, int h, int m) {
        return QDateTime(QDate(2026, 12, 7 + day), QTime(h, m), Qt::OffsetFromUTC, 0);
    };
    // A server one hour behind steps the clock back after each sync at noon.
    for (const QDateTime& t :
         {at(0, 11, 59), at(0, 12, 0), at(0, 11, 0), at(0, 12, 0), at(0, 11, 0), at(0, 12, 0)}) {
        fx.Commands->RunSpTimeCommands(t);
        fx.Tick();
        fx.ToolEnded();
    }
    EXPECT_EQ(fx.Launches().size(), 1);
    // A forward step over noon of the next day runs it once more.
    fx.Commands->RunSpTimeCommands(at(1, 9, 0));
    fx.Commands->RunSpTimeCommands(at(1, 15, 0));
    fx.Tick();
    EXPECT_EQ(fx.Launches().size(), 2);
}
