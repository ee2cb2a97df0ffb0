// The window's side of the commands and the time sync (TClockCommands): the
// sync's balloons on the tray icon, a repaint, the window re-fitted to its text.
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "core/KvCommandList.h"
#include "widgets/KvTrayIcon.h"

namespace velmora {

void TMainForm::CreateCommands() {
    TClockCommands::TWindowSide side;
    side.ShowBalloon = [this](const TBalloonContent& c) {
        TKvTrayIcon* const TrayIcon1 = FMenu->TrayIcon1();
        TrayIcon1->HideBalloon();
        TrayIcon1->SetBalloonTitle(c.Title);
        TrayIcon1->SetBalloonHint(c.Hint);
        TrayIcon1->SetBalloonFlags(c.Flag);
        TrayIcon1->SetOptions(FSettings.ShowLargeNotificationIcon ? TKvBalloonOptions(kbfoLargeIcon)
                                                                  : TKvBalloonOptions());
        TrayIcon1->ShowBalloon();
    };
    side.Repaint = [this] { repaint(); };
    side.Refit = [this] { AdjustMainFormMaxSize(FSettings.FontColorMode); };
    side.Ask = [this](const QString& text, std::function<void(bool)> answer) {
        AskMessageDialog(text, QStringLiteral("StepQuestion"), this, std::move(answer));
    };
    FCommands = std::make_unique<TClockCommands>(FPlatform, std::move(side));
}

TKvCommandList& TMainForm::CommandList() {
    return FCommands->ACommandList();
}

void TMainForm::RunCommandItem(int index) {
    FCommands->RunCommandItem(index);
}

} // namespace velmora
