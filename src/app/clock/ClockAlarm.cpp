#include "app/clock/ClockAlarm.h"

#include "app/MessageDialog.h"
#include "core/KvTimer.h"
#include "core/TextForms.h"
#include "platform/Platform.h"

#include <QTextStream>

namespace velmora {

TClockAlarm::TClockAlarm(const TVlmSettings& settings, TClockRunState& run, Platform& platform,
                         TWindowSide window)
    : FSettings(settings), FRun(run), FPlatform(platform), FWindow(std::move(window)),
      FBlinkTimer(std::make_unique<TKvTimer>()) {
    FBlinkTimer->SetEnabled(false);
    FBlinkTimer->SetInterval(kBlinkIntervalMs);
    FBlinkTimer->SetOnTimer([this](TKvTimer*) { BlinkTimerTimer(); });
    FBlinkTimer->SetOnStopTimer([this](TKvTimer*) { BlinkTimerStopTimer(); });
}

TClockAlarm::~TClockAlarm() = default;

void TClockAlarm::Reset(double now) {
    FAlarmWindow.Reset(FSettings, now);
}

void TClockAlarm::CheckAlarmTime(const QDateTime& t) {
    const double now = t.time().msecsSinceStartOfDay() / double(kMsPerDay);
    const TAlarmCheck check = FAlarmWindow.Check(FSettings, now);
    if (check.Start)
        ActStartAlarmExecute();
    if (check.Stop)
        ActPopStopAlarmExecute();
}

void TClockAlarm::ActStartAlarmExecute() {
    CarryOut(velmora::ActStartAlarmExecute(FSettings, FRun));
}

void TClockAlarm::ActPopStopAlarmExecute() {
    CarryOut(velmora::ActPopStopAlarmExecute(FSettings, FRun));
}

void TClockAlarm::ApplyColorState() {
    velmora::ApplyColorState(FRun, FSettings, FRun.IsAlarmRunning, FSettings.UseAlarmColor);
}

void TClockAlarm::CarryOut(const TAlarmEffects& effects) {
    for (TAlarmEffect e : effects) {
        switch (e) {
        case TAlarmEffect::StartBlink:
            FBlinkTimer->SetEnabled(true);
            break;
        case TAlarmEffect::StopBlink:
            FBlinkTimer->SetEnabled(false);
            break;
        case TAlarmEffect::ShowBalloon:
            FWindow.ShowBalloon(AlarmBalloon(FSettings, Messages()));
            break;
        case TAlarmEffect::HideBalloon:
            FWindow.HideBalloon();
            break;
        case TAlarmEffect::PlaySound:
            // The player answers later, through the event loop: the alarm starts
            // inside the tick, which waits neither on the player nor on a box.
            PlayAlarmSound(FPlatform, FSettings.AlarmSoundFileName, [](const TAlarmMessage& m) {
                if (!m.Detail.isEmpty())
                    QTextStream(stderr) << "velmora: " << m.Detail << Qt::endl;
                PostMessageDialog(AlarmMessageText(m, Messages()), m.Kind);
            });
            break;
        case TAlarmEffect::StopSound:
            StopAlarmSound(FPlatform);
            break;
        case TAlarmEffect::UpdateStopItems:
            FWindow.UpdateStopItems();
            break;
        case TAlarmEffect::UpdateOptionDialog:
            FWindow.UpdateOptionDialog();
            break;
        }
    }
}

// The blink keeps its rhythm behind a full-screen window without showing the clock.
void TClockAlarm::BlinkTimerTimer() {
    FBlinkShown = BlinkVisibility(FBlinkShown);
    FWindow.BlinkChanged();
}

void TClockAlarm::BlinkTimerStopTimer() {
    FBlinkShown = VisibleAfterBlink();
    FWindow.BlinkChanged();
}

} // namespace velmora
