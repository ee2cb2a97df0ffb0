// The commands part of the clock without a window: what it asks of the window's side.
#include "app/clock/ClockCommands.h"

#include "app/LangFiles.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

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
    std::unique_ptr<TClockCommands> Commands;

    CommandsFixture() {
        TClockCommands::TWindowSide side;
        side.ShowBalloon = [this](const TBalloonContent& c) { Window << "balloon:" + c.Title; };
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
    }
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
