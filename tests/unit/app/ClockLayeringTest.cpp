// The layering part of the clock on a plain window: what it asks of the window
// system and what it tells the window's side.
#include "app/clock/ClockLayering.h"

#include "fakes/FakePlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct LayeringFixture {
    TVlmSettings Settings;
    FakePlatform Platform;
    QWidget Window;
    QStringList Side; // what the window's side was told, in order
    std::unique_ptr<TClockLayering> Layering;

    LayeringFixture() {
        const QRect monitor = QGuiApplication::primaryScreen()->geometry();
        Window.setGeometry(monitor.left() + 10, monitor.top() + 10, 100, 40);
        TClockLayering::TWindowSide side;
        side.VisibilityChanged = [this] {
            Side << QStringLiteral("visibility:%1").arg(Layering->HiddenForFullScreen());
        };
        side.SeeThroughChanged = [this] { Side << "see-through"; };
        Layering = std::make_unique<TClockLayering>(Window, Settings, Platform, std::move(side));
    }
};

TWindowFacts FullScreenOnTheClocksMonitor() {
    return {0x400001, 77, true, QGuiApplication::primaryScreen()->geometry()};
}

} // namespace

TEST(ClockLayering, StackingFollowsTheSettingAndWatchesOnlyWhenAsked) {
    LayeringFixture fx;
    fx.Settings.FormOnTopmost = false;
    fx.Layering->ApplyStacking();
    EXPECT_EQ(fx.Platform.Calls,
              QStringList{QStringLiteral("stack:%1").arg(int(TStacking::Bottom))});
    fx.Platform.Calls.clear();
    fx.Settings.FormOnTopmost = true;
    fx.Settings.HideOnFullScreen = true;
    fx.Layering->ApplyStacking();
    EXPECT_EQ(
        fx.Platform.Calls,
        (QStringList{QStringLiteral("stack:%1").arg(int(TStacking::Topmost)), "watch-active:on"}));
    fx.Platform.Calls.clear();
    fx.Layering->EndFullScreenWatch();
    EXPECT_EQ(fx.Platform.Calls, QStringList{"watch-active:off"});
}

TEST(ClockLayering, KeepOnDesktopComesForwardOnlyOverTheDesktop) {
    LayeringFixture fx;
    fx.Platform.Desktop = false;
    fx.Layering->KeepOnDesktop();
    EXPECT_TRUE(fx.Platform.Calls.isEmpty());
    fx.Platform.Desktop = true;
    fx.Layering->KeepOnDesktop();
    EXPECT_EQ(fx.Platform.Calls, QStringList{"foreground"});
}

TEST(ClockLayering, StepsAsideAndBackThroughTheWindowsSide) {
    LayeringFixture fx;
    fx.Settings.FormOnTopmost = true;
    fx.Settings.HideOnFullScreen = true;
    fx.Layering->UpdateFullScreenWatch();
    EXPECT_TRUE(fx.Side.isEmpty());
    ASSERT_TRUE(fx.Platform.ReportActive(FullScreenOnTheClocksMonitor()));
    EXPECT_TRUE(fx.Layering->HiddenForFullScreen());
    EXPECT_EQ(fx.Side, QStringList{"visibility:1"});
    fx.Settings.HideOnFullScreen = false;
    fx.Layering->UpdateFullScreenWatch();
    EXPECT_FALSE(fx.Layering->HiddenForFullScreen());
    EXPECT_EQ(fx.Side, (QStringList{"visibility:1", "visibility:0"}));
    EXPECT_FALSE(fx.Platform.OnActiveWindow);
}

TEST(ClockLayering, ACompositorArrivingLaterKeepsTheShapeButIsPassedOn) {
    LayeringFixture fx; // made without a compositor: the window has no alpha
    EXPECT_FALSE(fx.Window.testAttribute(Qt::WA_TranslucentBackground));
    fx.Layering->CompositorChanged();
    EXPECT_TRUE(fx.Side.isEmpty()) << "no change, no word";
    fx.Platform.Compositor = true;
    fx.Layering->CompositorChanged();
    EXPECT_EQ(fx.Side, QStringList{"see-through"});
    EXPECT_FALSE(fx.Layering->BlendedSeeThrough());
}

TEST(ClockLayering, WithACompositorAtTheStartTheWindowIsMadeSeeThrough) {
    FakePlatform platform;
    platform.Compositor = true;
    TVlmSettings settings;
    QWidget window;
    TClockLayering layering(window, settings, platform, {});
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(layering.BlendedSeeThrough());
}
