// TMainForm: the clock window.
#pragma once

#include "app/clock/ClockImage.h"
#include "app/options/OptionHost.h"
#include "core/AlarmLogic.h"
#include "core/Clock.h"
#include "core/ClockRunState.h"
#include "core/ClockText.h"
#include "core/ProgramPaths.h"
#include "core/Settings.h"
#include "core/TickSchedule.h"

#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

namespace velmora {

class Platform;
class TKvPaintBox;
class TKvTimer;
class TKvCommandList;
class TOptionForm;
class TClockAlarm;
class TClockCommands;
class TClockLayering;
class TClockMenu;
enum class TAlarmEffect;

// The clock window. Its settings record (Settings()) is read and written in place
// by the tick, the drawing and the options dialog; what it holds only while it
// runs is its run state (RunState()).
class TMainForm : public QWidget, private IOptionHost {
    Q_OBJECT
public:
    // A portable clock whose settings file is `iniFileName`, beside the program.
    TMainForm(Platform& platform, const IClock& clock, QString iniFileName,
              QWidget* parent = nullptr);
    TMainForm(Platform& platform, const IClock& clock, TProgramPaths paths,
              QWidget* parent = nullptr);
    // Saves the settings (FormDestroy); an error is shown, never thrown.
    ~TMainForm() override;

    TVlmSettings& Settings() override { return FSettings; }
    const TVlmSettings& Settings() const { return FSettings; }
    const TClockRunState& RunState() const override { return FRun; }
    // What the options dialog sees of the clock.
    IOptionHost& OptionHost() { return *this; }

    // Sizes the window to its text, measured on the canvas of the active path.
    void AdjustMainFormMaxSize(TVlmColorMode fontColorMode);
    // Stacking, see-through shape and the step-aside for full-screen windows.
    TClockLayering& Layering() const { return *FLayering; }
    // The whole-window alpha as AlphaBlend and AlphaBlendValue say, at once.
    void ApplyWindowAlpha();
    // The once-a-second tick.
    void ClockTimerTimer();
    void ForceForeground();
    // Brings the window up when a second start of the program asks for it.
    void ActivateFromOtherInstance();

    void LoadSettings();
    void SaveSettings();
    // Saves the settings a moment after the last of a burst of changes (a drag,
    // a language chosen), so that a lost X connection or a crash loses nothing.
    void ScheduleSave();
    bool SavePending() const { return FSaveTimer.isActive(); }
    // Every timer stops: the first step of quitting, before any save or message.
    void StopTimers();

    // Commands and the time sync.
    TClockCommands& Commands() const { return *FCommands; }

    // The alarm.
    void ActStartAlarmExecute() override;
    void ActPopStopAlarmExecute() override;
    TClockAlarm& Alarm() const { return *FAlarm; }

    // The popup menu, its actions and the tray icon.
    TClockMenu& Menu() const { return *FMenu; }

    // The options dialog, modal; afterwards the settings are saved.
    void ActPopShowOptionExecute();
    // The options or the about dialog is open (only one of them at a time).
    bool DialogOpen() const;
    TOptionForm* FOptionForm = nullptr; // while the options dialog is open
    QColor ResolvedColor(TColor c) const override { return Resolve(c); }
    Platform& GetPlatform() const override { return FPlatform; }

    const QString& ClockStr() const { return FClockStr; }
    // What a paint of the clock draws right now, colours resolved.
    struct TClockDrawState DrawState() const;
    TKvPaintBox* ClockPaintBox() const { return FClockPaintBox; }
    TKvTimer* ClockTimer() const { return FClockTimer; }
    QString IniFileName() const override { return FIniFileName; }
    // The font the window draws with, as the settings describe it.
    QFont ClockFont() const override;
    TDayOfTheWeekStr& DayWords() override { return FDayWords; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The rest of what the options dialog asks of the clock.
    void SettingsChanged(TSettingChange change) override;
    TKvCommandList& CommandList() override;
    void RunCommandItem(int index) override;
    QAction* CreateShortcutAction() override;
    int ClockDpiY() const override { return logicalDpiY(); }
    bool D2DSupported() const override;

    void FormCreate();
    // After the options dialog closed: stop the alarm, store the day words' kind,
    // drop empty commands, rebuild the timings, save the dialog state and settings.
    void FinishOptionForm(TOptionForm& form);
    void ReportLangError(const QString& error);
    // The shipped language files into the user's folder (packaged install), and at
    // the first start the one that serves the desktop's locale; true when one was
    // chosen, so that the choice gets saved.
    bool PrepareLanguageFiles();
    void CreateMenu();
    void CreateCommands();
    void FormDestroy();
    // The time-of-day checks of one second: midnight (and, as they arrive, the
    // alarm and the commands set for a time).
    void RunTimeOfDayChecks(const QDateTime& t, bool current);
    void CheckMidnight(const QDateTime& t);
    void SaveSettingsNow();
    // SaveSettings' work; throws the system's reason when the file cannot be written.
    void WriteSettingsFile();
    void CreateAlarm();
    void CreateLayering();
    // Shown unless the blink is in its dark half or a full-screen window covers it.
    void ApplyVisibility();
    // A popup menu or a modal dialog of the program is open.
    static bool UserIsInMenuOrDialog();
    void ApplyColorState();
    void ApplyWindowSettings();
    void SyncSettingsFromWindow();
    // The pointer has moved far enough with the button down: the window moves.
    void BeginDrag(const QPoint& global);
    // Left and Top := where the window really is on the screen.
    void RememberPlace();
    void ClockPaintBoxPaint(QPainter& canvas);
    // Renders the clock for the next paint and fits the window's layering to it;
    // done outside painting, since changing a window's shape repaints it. Returns
    // the pixels that changed.
    QRect RenderClockImage();
    // Brings a window that lies on no screen back onto the nearest one.
    void KeepOnScreen();
    QColor Resolve(TColor c) const;
    TSettingsEnv Env() const;

    TVlmSettings FSettings;
    TClockRunState FRun;
    Platform& FPlatform;
    const IClock& FClock;
    const TProgramPaths FPaths;
    const QString FIniFileName;
    QString FClockStr;
    TDayOfTheWeekStr FDayWords;
    TTickSchedule FTickSchedule;
    QTimer FSaveTimer;
    // What the settings file holds of the two things saved on change: a save on
    // change writes only when the place or the language differs from it (the
    // window manager placing a new window is no change of the user's).
    QPoint FStoredPlace;
    QString FStoredLangFile;
    TKvPaintBox* FClockPaintBox = nullptr;
    TKvTimer* FClockTimer = nullptr;
    // Set when the settings file exists but could not be read: it is then not
    // overwritten with defaults at exit.
    bool FSettingsUnreadable = false;
    bool FSaveFailed = false; // the last save could not be done: the next one must run
    // Set when the settings file was not UTF-16 (a hand-made UTF-8 file): the
    // original is kept beside it before the first save replaces it.
    bool FKeepForeignOriginal = false;
    // A left press that may become a drag once the pointer moves far enough.
    bool FPressed = false;
    QPoint FPressPos;   // where the pointer was pressed, on the screen
    QPoint FPressPlace; // where the window was then
    // Moving by hand where the window manager cannot move the window itself.
    bool FDragging = false;
    QPoint FDragOffset;
    bool FPlaceKept = false; // closed: later moves are the window manager's, not the user's
    TClockImage FImage;      // what the next paint shows
    std::unique_ptr<TClockCommands> FCommands;
    // Outlives the alarm, which shows its balloon on the tray icon.
    std::unique_ptr<TClockMenu> FMenu;
    // Before the alarm: the blink's last word asks whether the clock stepped aside.
    std::unique_ptr<TClockLayering> FLayering;
    // Last, so that it goes first: its timer's last word reaches a whole window.
    std::unique_ptr<TClockAlarm> FAlarm;
};

} // namespace velmora
