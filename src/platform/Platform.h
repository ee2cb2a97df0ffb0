// The one door through which the program reaches the operating system. The forms
// ask for outcomes (no taskbar entry, stay below other windows, one instance per
// session); each platform folder decides how to get them.
#pragma once

#include "core/LocaleVars.h"
#include "core/ProgramLauncher.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace velmora {

enum class TStacking { Topmost, Normal, Bottom };

// What decides whether a window covers a monitor.
struct TWindowFacts {
    uint64_t Window = 0;     // 0: none, or a window that has gone
    uint64_t Program = 0;    // shared by the windows of one program; 0: unknown
    bool FullScreen = false; // in the full-screen state, shown and not minimised
    QRect Geometry;          // logical pixels
};
// The sound libraries' own versions ("2.26.5"); empty where unknown.
// How the start of a sound ended: the player plays, or the reason it cannot.
struct TSoundAnswer {
    bool Playing = false;
    QString Reason;
};
using TSoundWatch = std::function<void(const TSoundAnswer&)>;

struct TSoundLibraryVersions {
    QString Sdl;
    QString Mixer;
};

// The active window, and the window asked for with HoldWindow.
using TActiveWindowWatch =
    std::function<void(const TWindowFacts& active, const TWindowFacts& held)>;

// The code OpenDocument gives when no program to open documents is installed
// (as a shell says of a command it cannot find).
inline constexpr int kNoOpenerCode = 127;

class Platform : public TProgramLauncher {
public:
    virtual ~Platform();

    // --- process and session -------------------------------------------------
    // Takes the per-session instance lock `name` for the life of the process.
    // Returns false when another live process holds it; a lock left by a process
    // that died is taken over.
    virtual bool AcquireInstanceLock(const QString& name) = 0;
    // Asks the instance that holds `name` to bring its window to the front.
    // Returns whether the request reached it.
    virtual bool ActivateOtherInstance(const QString& name) = 0;
    // Serves requests of later starts: `onActivate` runs on the UI thread for each,
    // `onMessage` gets any other line sent to the instance channel. False (with
    // the reason on standard error) when the channel cannot be opened.
    virtual bool ListenForRequests(const QString& name, std::function<void()> onActivate,
                                   std::function<void(const QByteArray&)> onMessage) = 0;
    // Stops serving those requests (before the window that serves them goes).
    virtual void StopListening() = 0;
    // Calls `onQuit` on the UI thread each time the system asks the process to end
    // (SIGTERM, SIGINT, SIGHUP), so that it ends as the quit action does.
    virtual void WatchQuitRequests(std::function<void()> onQuit) = 0;
    // The folder of this user alone where per-session rendezvous files live
    // (locks, sockets); empty when there is none: `refused`, when given, then
    // names the folder that was refused (the reason goes to standard error).
    virtual QString RuntimeDir(QString* refused = nullptr) const = 0;
    // The locale variables of the process that name the language of messages
    // (LC_ALL, LC_MESSAGES, LANG); unset ones are empty.
    virtual TLocaleVars MessageLocale() const = 0;

    // --- desktop look ----------------------------------------------------------
    // RGB of a system colour index (the $FF00000n colour values).
    virtual QColor SystemColor(int index) const = 0;
    // The desktop's menu font: the default font of the clock.
    virtual QFont MenuFont() const = 0;
    // The desktop's link colour as the text "r,g,b" (decimal); empty when the
    // desktop names none.
    virtual QString AnchorColorText() const = 0;

    // --- windows -----------------------------------------------------------------
    // True when a compositing manager blends translucent windows with what is below.
    virtual bool CompositorActive() const = 0;
    // Calls `onChange` on the UI thread whenever a compositing manager may have
    // started or ended (a new owner, or none, of the compositor's selection).
    virtual void WatchCompositor(std::function<void()> onChange) = 0;
    // Where clicks land on a shown top-level `window`, in logical px, without
    // changing what is drawn: elsewhere they pass to what is below. Nothing given:
    // the whole window takes clicks again.
    virtual void SetInputRegion(QWidget* window, const std::optional<QRegion>& region) = 0;
    // Marks a top-level window as a tool window: no taskbar entry, no pager entry.
    virtual void MakeToolWindow(QWidget* window) = 0;
    // Names the window's class for the window manager (before it is first shown).
    virtual void SetWindowClass(QWidget* window, const QString& instance,
                                const QString& className) = 0;
    virtual void SetStacking(QWidget* window, TStacking stacking) = 0;
    // True when the desktop itself (or nothing) is the active window.
    virtual bool DesktopIsForeground() const = 0;
    // Makes `window` the active window even when focus stealing rules would refuse.
    virtual void ForceForeground(QWidget* window) = 0;
    // Calls `onChange` on the UI thread with the facts of the active window, and of
    // the held one, each time they may have changed (another window active, a
    // full-screen state, a window moved, minimised or gone), learnt from the window
    // system's events, never by polling; once at the start too. An empty function
    // stops watching, and every cost of it with it.
    virtual void WatchActiveWindow(TActiveWindowWatch onChange) = 0;
    // Keeps watching `window` (0: none) while another window is active.
    virtual void HoldWindow(uint64_t window) = 0;
    // Starts a window-manager move of `window` under the pointer; false when the
    // system cannot (the caller then moves the window itself).
    // `pressed` is where the left button went down (screen, logical px): the
    // window moves by the way the pointer has come from there.
    virtual bool StartSystemMove(QWidget* window, const QPoint& pressed) = 0;
    // True while the left mouse button is down, as the window system knows it now
    // (not as the last event the program has read said).
    virtual bool LeftButtonHeld() const = 0;
    // --- programs, sound, network, power ---------------------------------------------
    // Starts `fileName` with `params` split into words as a shell would split them,
    // never through a shell, in the program's own folder; with administrator rights
    // through the system's elevation helper when `asAdmin` (only an executable file
    // gets them). A file that is not an executable opens with the desktop's default
    // application. True when the start succeeded; `error`, when given, says why
    // not. An elevated start is decided later, when the user has answered the
    // password prompt: `onEnd` (on the UI thread) says how it ended, as it does
    // for a plain start of an executable when given.
    bool LaunchProgram(const QString& fileName, const QString& params, bool asAdmin, bool hide,
                       QString* error = nullptr, TLaunchWatch onEnd = {}) override = 0;
    // Starts playing an mp3 or wav file in a loop until StopSound and returns at
    // once, without waiting for the player: `onAnswer` says later, on the UI
    // thread, whether it plays or why not. It is not called once StopSound or
    // another PlaySound has run.
    virtual void PlaySound(const QString& fileName, TSoundWatch onAnswer = {}) = 0;
    virtual void StopSound() = 0;
    // The versions of the sound libraries the player runs with ("2.26.5"); empty
    // where it cannot tell.
    virtual TSoundLibraryVersions SoundLibraryVersions() = 0;
    // Opens a document (the help page) with the desktop's application for it.
    // On failure `error` gets the details (for standard error) and `code` the
    // system's error number for the user (the desktop opener's exit codes: 2 the
    // file is missing, 3 no application opens it; kNoOpenerCode: no opener is
    // installed). The opener decides only after it started: `onFailed`, when
    // given, hears its exit code (on the UI thread) when it could not open it.
    virtual bool OpenDocument(const QString& path, QString* error = nullptr, int* code = nullptr,
                              std::function<void(int code)> onFailed = {}) = 0;
    // Opens a web address with the desktop's default browser.
    virtual bool OpenUrl(const QString& url, QString* error = nullptr) = 0;
    // Makes the program start when the user logs on (replacing an older entry).
    virtual bool CreateAutostartEntry(const QString& programPath, QString* error = nullptr) = 0;
    // Whether the program has its autostart entry, and taking it away again
    // (true when it is gone).
    virtual bool HasAutostartEntry(const QString& programPath) = 0;
    virtual bool RemoveAutostartEntry(const QString& programPath, QString* error = nullptr) = 0;
    // True when some network interface other than loopback is up with an address.
    virtual bool IsNetworkAlive() const = 0;
    // Calls `onResume` on the UI thread each time the machine wakes from sleep.
    virtual void WatchResume(std::function<void()> onResume) = 0;

    // Where a shown top-level window really is on the screen, asked of the window
    // system, in the toolkit's logical pixels (the unit of every stored place);
    // nothing when it cannot tell.
    virtual std::optional<QPoint> WindowPosition(QWidget* window) const = 0;
    // Calls `onChange` on the UI thread whenever a notification-area host may have
    // started or gone (a new owner of the system tray selection).
    virtual void WatchTrayHost(std::function<void()> onChange) = 0;
};

// The implementation for the system this program was built for.
std::unique_ptr<Platform> CreatePlatform();

} // namespace velmora
