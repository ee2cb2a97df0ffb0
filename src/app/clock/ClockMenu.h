// TClockMenu: the clock's popup menu, its actions and the tray icon that opens
// the same menu. The items that belong to the clock window (the options dialog,
// the alarm, the commands and the time sync, quitting) are carried out on the
// window's side; what concerns the menu alone (captions, the help page, the
// autostart entry, the about dialog) is done here.
#pragma once

#include "core/ClockRunState.h"
#include "core/ProgramPaths.h"

#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace velmora {

class Platform;
class TAboutForm;
class TKvTrayIcon;

class TClockMenu {
public:
    // What the menu asks of the window.
    struct TWindowSide {
        // Every timer stops: the first step of quitting.
        std::function<void()> StopTimers;
        // Runs the options dialog (modal).
        std::function<void()> ShowOptions;
        // The options or the about dialog is open: only one of them at a time.
        std::function<bool()> DialogOpen;
        std::function<void()> AdjustTime;
        std::function<void()> StartAlarm;
        std::function<void()> StopAlarm;
        // The commands' titles by number; command 0, the time sync, first.
        std::function<QStringList()> CommandTitles;
        std::function<void(int index)> RunCommand;
        // A language was chosen and the menu retitled: the rest of the clock follows.
        std::function<void()> LanguageChosen;
        std::function<void()> BringForward;
    };

    // The menu, its actions and the icon are children of `window`, the balloon's
    // anchor when there is neither a tray nor a notification service.
    TClockMenu(QWidget& window, Platform& platform, const TProgramPaths& paths,
               const TClockRunState& run, TWindowSide side);
    ~TClockMenu();
    TClockMenu(const TClockMenu&) = delete;
    TClockMenu& operator=(const TClockMenu&) = delete;

    // Opens the popup menu at `globalPos` (a right-click on the clock).
    void Popup(const QPoint& globalPos);
    // Fills the submenus, as each opening of the menu does.
    void PopupMenu1Popup();
    void BuildCommandMenu(QMenu* parent);
    void LanguageListClick(const QString& path);
    void ActPopQuitExecute();
    void ActPopShowHelpExecute();
    // Adds the autostart entry, or removes it when it is there.
    void ActCreateShortcutExecute();
    // The shortcut action says what it will do: add the entry or remove it.
    void UpdateShortcutCaption();
    void ActPopShowAboutExecute();
    void TrayIcon1DblClick();
    // Menu captions and the tray hint from the current language.
    void ApplyCaptions();
    // The stop item and its separator show only while an alarm runs.
    void UpdateStopItems();

    // The about dialog while it is open, else null.
    TAboutForm* AboutForm() const { return FAboutForm; }
    QMenu* PopupMenu1() const { return FPopupMenu1; }
    QMenu* Command1() const { return FCommand1; }
    QMenu* Language1() const { return FLanguage1; }
    QAction* StopAlarm1() const { return FStopAlarm1; }
    QAction* PopSep1() const { return FPopSep1; }
    QAction* ActPopShowOption() const { return FActPopShowOption; }
    QAction* ActPopShowAbout() const { return FActPopShowAbout; }
    QAction* ActCreateShortcut() const { return FActCreateShortcut; }
    TKvTrayIcon* TrayIcon1() const { return FTrayIcon1; }

private:
    void CreatePopupMenu();
    void CreateTrayIcon();

    QWidget& FOwner;
    Platform& FPlatform;
    const TProgramPaths& FPaths;
    const TClockRunState& FRun;
    TWindowSide FWindow;
    TAboutForm* FAboutForm = nullptr;

    QMenu* FPopupMenu1 = nullptr;
    QAction* FStopAlarm1 = nullptr;
    QAction* FPopSep1 = nullptr;
    QMenu* FCommand1 = nullptr;
    QMenu* FLanguage1 = nullptr;
    QAction* FActStartAlarm = nullptr;
    QAction* FActPopStopAlarm = nullptr;
    QAction* FActPopAdjustTime = nullptr;
    QAction* FActPopShowOption = nullptr;
    QAction* FActPopShowHelp = nullptr;
    QAction* FActPopShowAbout = nullptr;
    QAction* FActPopQuit = nullptr;
    QAction* FActCreateShortcut = nullptr;
    TKvTrayIcon* FTrayIcon1 = nullptr;
};

} // namespace velmora
