// The alarm part of the clock without a window: what it tells the window's side.
#include "app/clock/ClockAlarm.h"

#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct AlarmFixture {
    TVlmSettings Settings;
    TClockRunState Run;
    FakePlatform Platform;
    QStringList Window; // what the window's side was asked, in order
    std::unique_ptr<TClockAlarm> Alarm;

    AlarmFixture() {
        TClockAlarm::TWindowSide side;
        side.ShowBalloon = [this](const TAlarmBalloon& b) { Window << "balloon:" + b.Hint; };
        side.HideBalloon = [this] { Window << "hide-balloon"; };
        side.UpdateStopItems = [this] {
            Window << QStringLiteral("stop-items:%1").arg(Run.IsAlarmRunning);
        };
        side.UpdateOptionDialog = [this] { Window << "dialog"; };
        side.BlinkChanged = [this] {
            Window << QStringLiteral("blink:%1").arg(Alarm->BlinkShown());
        };
        Alarm = std::make_unique<TClockAlarm>(Settings, Run, Platform, std::move(side));
    }
};

} // namespace

TEST(ClockAlarm, StartAndStopReachTheWindowInOrder) {
    AlarmFixture fx;
    fx.Settings.UseAlarmBalloon = true;
    fx.Settings.AlarmHint = "tea";
    fx.Alarm->ActStartAlarmExecute();
    EXPECT_TRUE(fx.Alarm->Running());
    EXPECT_EQ(fx.Window, (QStringList{"balloon:tea", "stop-items:1", "dialog"}));
    fx.Window.clear();
    fx.Alarm->ActPopStopAlarmExecute();
    EXPECT_FALSE(fx.Alarm->Running());
    EXPECT_EQ(fx.Window, (QStringList{"hide-balloon", "stop-items:0", "dialog"}));
    EXPECT_TRUE(fx.Platform.Calls.isEmpty()); // no sound asked for
}

TEST(ClockAlarm, TheBlinkAlternatesAndEndsShown) {
    AlarmFixture fx;
    fx.Settings.UseAlarmBlink = true;
    fx.Alarm->ActStartAlarmExecute();
    EXPECT_TRUE(fx.Alarm->BlinkTimer()->Enabled());
    fx.Window.clear();
    fx.Alarm->BlinkTimerTimer();
    fx.Alarm->BlinkTimerTimer();
    fx.Alarm->BlinkTimerTimer();
    EXPECT_EQ(fx.Window, (QStringList{"blink:0", "blink:1", "blink:0"}));
    fx.Alarm->ActPopStopAlarmExecute();
    EXPECT_FALSE(fx.Alarm->BlinkTimer()->Enabled());
    EXPECT_TRUE(fx.Alarm->BlinkShown());
}

TEST(ClockAlarm, TheTimeWindowStartsAndStopsTheAlarmAndItsColours) {
    AlarmFixture fx;
    fx.Settings.IsAlarmSet = true;
    fx.Settings.UseAlarmColor = true;
    fx.Settings.NormalFontColor = 1;
    fx.Settings.AlarmFontColor = 2;
    fx.Settings.AlarmStartTime = 0.5;
    fx.Settings.AlarmStopTime = AlarmStopTimeFor(0.5);
    const QDate day(2026, 12, 7);
    fx.Alarm->Reset(0.25);
    const struct {
        QTime At;
        bool Running;
        TColor Font;
    } ticks[] = {{QTime(11, 59, 59), false, 1},
                 {QTime(12, 0, 0), true, 2},
                 {QTime(12, 0, 59), true, 2},
                 {QTime(12, 1, 0), false, 1}};
    for (const auto& t : ticks) {
        fx.Alarm->CheckAlarmTime(QDateTime(day, t.At));
        fx.Alarm->ApplyColorState();
        EXPECT_EQ(fx.Alarm->Running(), t.Running) << t.At.toString().toStdString();
        EXPECT_EQ(fx.Run.FontColor, t.Font) << t.At.toString().toStdString();
    }
}
