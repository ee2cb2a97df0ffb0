// The window's side of the alarm (TClockAlarm): the balloon on the tray icon, the
// menu's stop items, an open options dialog, the blink's visibility and colours.
#include "app/MessageDialog.h"
#include "app/clock/ClockAlarm.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "widgets/KvPaintBox.h"
#include "widgets/KvTrayIcon.h"

namespace velmora {

void TMainForm::CreateAlarm() {
    TClockAlarm::TWindowSide side;
    side.ShowBalloon = [this](const TAlarmBalloon& b) {
        FMenu->TrayIcon1()->SetBalloonTimeout(b.TimeoutMs);
        FMenu->TrayIcon1()->ShowBalloon(
            b.Title, b.Hint, b.Flag,
            b.LargeIcon ? TKvBalloonOptions(kbfoLargeIcon) : TKvBalloonOptions(), b.TimeoutMs);
    };
    side.HideBalloon = [this] { FMenu->TrayIcon1()->HideBalloon(); };
    side.UpdateStopItems = [this] { FMenu->UpdateStopItems(); };
    side.UpdateOptionDialog = [this] {
        if (FOptionForm)
            FOptionForm->AlarmStateChanged();
    };
    side.BlinkChanged = [this] { ApplyVisibility(); };
    FAlarm = std::make_unique<TClockAlarm>(FSettings, FRun, FPlatform, std::move(side));
}

void TMainForm::ActStartAlarmExecute() {
    FAlarm->ActStartAlarmExecute();
}

void TMainForm::ActPopStopAlarmExecute() {
    FAlarm->ActPopStopAlarmExecute();
}

void TMainForm::ApplyColorState() {
    FAlarm->ApplyColorState();
    // The key colour of a see-through background follows the current background.
    FClockPaintBox->SetColor(Resolve(FRun.BackgroundColor));
}

} // namespace velmora
