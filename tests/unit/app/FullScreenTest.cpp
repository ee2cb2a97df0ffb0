// A topmost clock steps aside for a full-screen window on its monitor, as the
// window system (here the fake) reports it, and comes back when it may.
#include "ClockFormFixture.h"
#include "app/clock/ClockAlarm.h"
#include "app/clock/ClockDraw.h"
#include "app/clock/ClockLayering.h"
#include "app/clock/MainForm.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct Fixture : ClockFormFixture {
    using ClockFormFixture::ClockFormFixture;
    // The clock's monitor, and one beside it.
    static QRect Monitor() { return QGuiApplication::primaryScreen()->geometry(); }
    static QRect Beside() { return Monitor().translated(Monitor().width(), 0); }
    bool Report(const TWindowFacts& active, const TWindowFacts& held = {}) {
        return Platform.ReportActive(active, held);
    }
};

const QString kOn = QStringLiteral("[Appearance]\nHideOnFullScreen=1");

TWindowFacts FullScreen(QRect where = Fixture::Monitor(), uint64_t window = 0x400001) {
    return {window, 77, true, where};
}
TWindowFacts Normal(uint64_t window = 0x400001, uint64_t program = 77) {
    return {window, program, false, QRect(40, 40, 300, 200)};
}

} // namespace

TEST(FullScreen, OffByDefaultNothingIsWatched) {
    Fixture fx(QStringLiteral("[Appearance]\nFormOnTopmost=1"));
    EXPECT_FALSE(fx.Main->Settings().HideOnFullScreen);
    EXPECT_FALSE(fx.Report(FullScreen()));
    EXPECT_TRUE(fx.Main->isVisible());
    EXPECT_TRUE(fx.Platform.Calls.filter("watch-active").isEmpty());
}

TEST(FullScreen, BottomModeChangesNothing) {
    Fixture fx(kOn + "\nFormOnTopmost=0");
    EXPECT_FALSE(fx.Report(FullScreen()));
    EXPECT_TRUE(fx.Main->isVisible());
}

TEST(FullScreen, HidesForTheClocksMonitorOnlyAndComesBack) {
    Fixture fx(kOn);
    ASSERT_TRUE(fx.Report(Normal()));
    EXPECT_TRUE(fx.Main->isVisible());
    const QPoint place = fx.Main->pos();

    fx.Report(FullScreen(Fixture::Beside()));
    EXPECT_TRUE(fx.Main->isVisible()) << "a full-screen window on the other monitor";

    fx.Report(FullScreen());
    EXPECT_FALSE(fx.Main->isVisible());
    EXPECT_TRUE(fx.Main->Layering().HiddenForFullScreen());
    EXPECT_EQ(fx.Platform.Held, 0x400001u);

    fx.Report(Normal()); // left the full-screen state
    EXPECT_TRUE(fx.Main->isVisible());
    EXPECT_EQ(fx.Main->pos(), place);
    EXPECT_EQ(fx.Platform.Held, 0u);
    EXPECT_FALSE(fx.Main->SavePending()) << "hiding is no move of the user's";
}

TEST(FullScreen, FocusWithinTheFullScreenProgramDoesNotShowTheClock) {
    Fixture fx(kOn);
    fx.Report(FullScreen());
    // Its second window (a dialog) takes the focus, the full-screen one stays.
    int shows = 0;
    QObject::connect(fx.Main->windowHandle(), &QWindow::visibleChanged,
                     [&shows](bool v) { shows += v; });
    fx.Report(Normal(0x400002, 77), FullScreen());
    fx.Report(FullScreen(Fixture::Monitor(), 0x400003)); // and another full-screen one
    EXPECT_FALSE(fx.Main->isVisible());
    EXPECT_EQ(shows, 0);
    // Another program's window: back at once.
    fx.Report(Normal(0x600001, 99));
    EXPECT_TRUE(fx.Main->isVisible());
}

TEST(FullScreen, ClosedWindowShowsTheClockAfterTheWindowManagerSettles) {
    Fixture fx(kOn);
    fx.Report(FullScreen());
    fx.Report({}); // the window went; nothing is active for a moment
    EXPECT_FALSE(fx.Main->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fx.Main->isVisible(); }, 5000));
}

TEST(FullScreen, SwitchingTheOptionOrTheStackingOffShowsAtOnce) {
    for (bool viaStacking : {false, true}) {
        SCOPED_TRACE(viaStacking ? "bottom chosen" : "option off");
        Fixture fx(kOn);
        fx.Report(FullScreen());
        ASSERT_FALSE(fx.Main->isVisible());
        if (viaStacking) {
            fx.Main->Settings().FormOnTopmost = false;
            fx.Main->Layering().ApplyStacking();
        } else {
            fx.Main->Settings().HideOnFullScreen = false;
            fx.Main->Layering().UpdateFullScreenWatch();
        }
        EXPECT_TRUE(fx.Main->isVisible());
        EXPECT_FALSE(fx.Platform.OnActiveWindow) << "the watch ends with the reason for it";
    }
}

TEST(FullScreen, AnAlarmBehindAFullScreenWindowSoundsAndShowsItsColoursLater) {
    QTemporaryDir dir;
    const QString sound = dir.filePath("bell.wav");
    QFile f(sound);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
    f.close();
    Fixture fx(kOn + "\n[Alarm]\nUseAlarmBlink=1\nUseAlarmColor=1\nUseAlarmSound=1\n" +
               "UseAlarmBalloon=1\nAlarmHint=Wake up\nAlarmSoundFileName=" + sound);
    TMainForm& m = *fx.Main;
    fx.Report(FullScreen());
    m.ActStartAlarmExecute();
    EXPECT_TRUE(fx.Platform.Calls.contains("play:" + sound));
    EXPECT_TRUE(m.Alarm().BlinkTimer()->Enabled());
    for (int i = 0; i < 3; ++i) {
        m.Alarm().BlinkTimerTimer();
        EXPECT_FALSE(m.isVisible()) << "blink " << i;
    }
    m.ClockTimerTimer(); // the tick keeps the alarm colours current while hidden
    fx.Report(Normal());
    // Three blinks: in the dark half now, so the next blink shows it.
    EXPECT_FALSE(m.isVisible());
    m.Alarm().BlinkTimerTimer();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.DrawState().BackgroundColor, m.ResolvedColor(m.Settings().AlarmBackgroundColor));
    m.ActPopStopAlarmExecute();
    EXPECT_TRUE(m.isVisible());
}
