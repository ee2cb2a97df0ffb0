// The window's side of the popup menu and the tray icon (TClockMenu): the items
// that the clock window carries out, and the right-click that opens the menu.
#include "app/AppResources.h"
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/LanguageMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "core/KvCommandList.h"
#include "platform/Platform.h"
#include "widgets/KvTrayIcon.h"

#include <QContextMenuEvent>

namespace velmora {

void TMainForm::CreateMenu() {
    TClockMenu::TWindowSide side;
    side.StopTimers = [this] { StopTimers(); };
    side.ShowOptions = [this] { ActPopShowOptionExecute(); };
    side.DialogOpen = [this] { return DialogOpen(); };
    side.AdjustTime = [this] { FCommands->ActPopAdjustTimeExecute(); };
    side.StartAlarm = [this] { ActStartAlarmExecute(); };
    side.StopAlarm = [this] { ActPopStopAlarmExecute(); };
    side.CommandTitles = [this] {
        QStringList titles;
        for (int i = 0; i < FCommands->CommandCount(); ++i)
            titles << FCommands->CommandTitle(i);
        return titles;
    };
    side.RunCommand = [this](int index) { FCommands->CommandMenuClick(index); };
    side.LanguageChosen = [this] {
        FCommands->ACommandList().Items(0).SetTitle(Messages().Command0Title);
        if (FOptionForm)
            FOptionForm->ApplyLangToOptionForm();
        ScheduleSave();
    };
    side.BringForward = [this] { ForceForeground(); };
    FMenu = std::make_unique<TClockMenu>(*this, FPlatform, FPaths, FRun, std::move(side));
}

QAction* TMainForm::CreateShortcutAction() {
    FMenu->UpdateShortcutCaption(); // the entry may have come or gone meanwhile
    return FMenu->ActCreateShortcut();
}

void TMainForm::contextMenuEvent(QContextMenuEvent* event) {
    FMenu->Popup(event->globalPos());
}

} // namespace velmora
