// The alarm as the clock window carries it out: the decisions are AlarmLogic's.
#include "core/AlarmLogic.h"
#include "widgets/KvPaintBox.h"
#include "core/KvTimer.h"
#include "widgets/KvTrayIcon.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "core/TextForms.h"
#include "platform/Platform.h"

#include <QTextStream>

namespace velmora {

void TMainForm::CreateAlarmTimer() {
    BlinkTimer = new TKvTimer(this);
    BlinkTimer->SetEnabled(false);
    BlinkTimer->SetInterval(kBlinkIntervalMs);
    BlinkTimer->SetOnTimer([this](TKvTimer*) { BlinkTimerTimer(); });
    BlinkTimer->SetOnStopTimer([this](TKvTimer*) { BlinkTimerStopTimer(); });
}

void TMainForm::CheckAlarmTime(const QDateTime& t) {
    const double now = t.time().msecsSinceStartOfDay() / double(kMsPerDay);
    const TAlarmCheck check = FAlarmWindow.Check(FSettings, now);
    if (check.Start)
        ActStartAlarmExecute();
    if (check.Stop)
        ActPopStopAlarmExecute();
}

void TMainForm::ActStartAlarmExecute() {
    CarryOut(velmora::ActStartAlarmExecute(FSettings, FRun));
}

void TMainForm::ActPopStopAlarmExecute() {
    CarryOut(velmora::ActPopStopAlarmExecute(FSettings, FRun));
}

void TMainForm::ApplyColorState() {
    velmora::ApplyColorState(FRun, FSettings, FRun.IsAlarmRunning, FSettings.UseAlarmColor);
    // The key colour of a see-through background follows the current background.
    FClockPaintBox->SetColor(Resolve(FRun.BackgroundColor));
}

void TMainForm::CarryOut(const TAlarmEffects& effects) {
    for (TAlarmEffect e : effects) {
        switch (e) {
        case TAlarmEffect::StartBlink:
            BlinkTimer->SetEnabled(true);
            break;
        case TAlarmEffect::StopBlink:
            BlinkTimer->SetEnabled(false);
            break;
        case TAlarmEffect::ShowBalloon: {
            const TAlarmBalloon b = AlarmBalloon(FSettings, Messages());
            TrayIcon1->SetBalloonTimeout(b.TimeoutMs);
            TrayIcon1->ShowBalloon(
                b.Title, b.Hint, b.Flag,
                b.LargeIcon ? TKvBalloonOptions(kbfoLargeIcon) : TKvBalloonOptions(), b.TimeoutMs);
            break;
        }
        case TAlarmEffect::HideBalloon:
            TrayIcon1->HideBalloon();
            break;
        case TAlarmEffect::PlaySound:
            // Queued: the alarm starts inside the tick, which must not wait on a box.
            if (const auto m = PlayAlarmSound(FPlatform, FSettings.AlarmSoundFileName)) {
                if (!m->Detail.isEmpty())
                    QTextStream(stderr) << "velmora: " << m->Detail << Qt::endl;
                PostMessageDialog(AlarmMessageText(*m, Messages()), m->Kind);
            }
            break;
        case TAlarmEffect::StopSound:
            StopAlarmSound(FPlatform);
            break;
        case TAlarmEffect::UpdateStopItems:
            StopAlarm1->setVisible(FRun.IsAlarmRunning);
            PopSep1->setVisible(FRun.IsAlarmRunning);
            break;
        case TAlarmEffect::UpdateOptionDialog:
            if (FOptionForm)
                FOptionForm->AlarmStateChanged();
            break;
        }
    }
}

// The blink keeps its rhythm behind a full-screen window without showing the clock.
void TMainForm::BlinkTimerTimer() {
    FBlinkShown = BlinkVisibility(FBlinkShown);
    ApplyVisibility();
}

void TMainForm::BlinkTimerStopTimer() {
    FBlinkShown = VisibleAfterBlink();
    ApplyVisibility();
}

} // namespace velmora
