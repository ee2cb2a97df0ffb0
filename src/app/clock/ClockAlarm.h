// TClockAlarm: the alarm as the clock carries it out. The decisions are
// AlarmLogic's; this part keeps the time window, the blink timer, and carries
// out each TAlarmEffect: the sound itself, the rest through the window's side.
#pragma once

#include "core/AlarmLogic.h"
#include "core/ClockRunState.h"
#include "core/Settings.h"

#include <QDateTime>
#include <functional>
#include <memory>

namespace velmora {

class Platform;
class TKvTimer;

class TClockAlarm {
public:
    // What the alarm asks of the window.
    struct TWindowSide {
        std::function<void(const TAlarmBalloon&)> ShowBalloon;
        std::function<void()> HideBalloon;
        // IsAlarmRunning changed: the menu's stop items follow, then an open
        // options dialog.
        std::function<void()> UpdateStopItems;
        std::function<void()> UpdateOptionDialog;
        // The blink's half changed (shown or dark).
        std::function<void()> BlinkChanged;
    };

    TClockAlarm(const TVlmSettings& settings, TClockRunState& run, Platform& platform,
                TWindowSide window);
    ~TClockAlarm();

    // Takes the time of day `now` (a fraction of a day) as already seen.
    void Reset(double now);
    // The check of the current second: starts or stops the alarm as its window says.
    void CheckAlarmTime(const QDateTime& t);
    void ActStartAlarmExecute();
    void ActPopStopAlarmExecute();
    bool Running() const { return FRun.IsAlarmRunning; }
    // The current colours := the alarm or the normal set, as the alarm stands.
    void ApplyColorState();

    // Blinking: shown, or in its dark half.
    bool BlinkShown() const { return FBlinkShown; }
    TKvTimer* BlinkTimer() const { return FBlinkTimer.get(); }
    void BlinkTimerTimer();
    void BlinkTimerStopTimer();

private:
    void CarryOut(const TAlarmEffects& effects);

    const TVlmSettings& FSettings;
    TClockRunState& FRun;
    Platform& FPlatform;
    TWindowSide FWindow;
    TAlarmTimeWindow FAlarmWindow;
    std::unique_ptr<TKvTimer> FBlinkTimer;
    bool FBlinkShown = true;
};

} // namespace velmora
