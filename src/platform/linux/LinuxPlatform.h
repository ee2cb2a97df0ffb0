// X11 desktop implementation of the platform layer.
#pragma once

#include "platform/Platform.h"
#include "platform/linux/RuntimeDir.h"

#include <QLockFile>
#include <QPointer>

class QProcess;

namespace velmora {

class TInstanceChannel;

// The programs that elevate, open and play the alarm sound. Only tests name others: the program
// itself never takes them from its environment.
struct TLaunchHelpers {
    QString Elevator = QStringLiteral("/usr/bin/pkexec");
    QString Opener = QStringLiteral("xdg-open");
    // The alarm sound's player; empty: VelmoSound where the install puts it.
    QString SoundPlayer = {};
};

// How the elevation helper's exit code reads: 126 the prompt was dismissed, 127
// not authorised (or the program could not be run); anything else is the
// program's own exit code, so it ran.
TLaunchEnd ElevatedLaunchEnd(int exitCode);

class LinuxPlatform final : public Platform {
public:
    explicit LinuxPlatform(TLaunchHelpers helpers = {});
    ~LinuxPlatform() override;

    bool AcquireInstanceLock(const QString& name) override;
    bool ActivateOtherInstance(const QString& name) override;
    bool ListenForRequests(const QString& name, std::function<void()> onActivate,
                           std::function<void(const QByteArray&)> onMessage) override;
    void StopListening() override;
    QString RuntimeDir(QString* refused = nullptr) const override;
    TLocaleVars MessageLocale() const override;
    // LinuxSignals.cpp
    void WatchQuitRequests(std::function<void()> onQuit) override;

    QColor SystemColor(int index) const override;
    QFont MenuFont() const override;
    QString AnchorColorText() const override;

    bool CompositorActive() const override;
    void MakeToolWindow(QWidget* window) override;
    void SetWindowClass(QWidget* window, const QString& instance,
                        const QString& className) override;
    void SetStacking(QWidget* window, TStacking stacking) override;
    bool DesktopIsForeground() const override;
    void ForceForeground(QWidget* window) override;
    bool StartSystemMove(QWidget* window, const QPoint& pressed) override;
    bool LeftButtonHeld() const override;
    std::optional<QPoint> WindowPosition(QWidget* window) const override;
    // LinuxActiveWindow.cpp
    void WatchActiveWindow(TActiveWindowWatch onChange) override;
    void HoldWindow(uint64_t window) override;
    // LinuxSelections.cpp
    void WatchTrayHost(std::function<void()> onChange) override;
    void WatchCompositor(std::function<void()> onChange) override;
    void SetInputRegion(QWidget* window, const std::optional<QRegion>& region) override;

    // LinuxLaunch.cpp
    bool LaunchProgram(const QString& fileName, const QString& params, bool asAdmin, bool hide,
                       QString* error = nullptr, TLaunchWatch onEnd = {}) override;
    // LinuxSound.cpp
    void PlaySound(const QString& fileName, TSoundWatch onAnswer = {}) override;
    void StopSound() override;
    TSoundLibraryVersions SoundLibraryVersions() override;
    // LinuxDesktop.cpp
    bool OpenDocument(const QString& path, QString* error = nullptr, int* code = nullptr,
                      std::function<void(int code)> onFailed = {}) override;
    bool OpenUrl(const QString& url, QString* error = nullptr) override;
    bool CreateAutostartEntry(const QString& programPath, QString* error = nullptr) override;
    bool HasAutostartEntry(const QString& programPath) override;
    bool RemoveAutostartEntry(const QString& programPath, QString* error = nullptr) override;
    // LinuxSession.cpp
    bool IsNetworkAlive() const override;
    void WatchResume(std::function<void()> onResume) override;

    // The socket path the instance `name` listens on; empty without a private folder.
    QString ChannelPath(const QString& name) const;

private:
    // <runtime folder>/<name><extension>; empty without a private folder.
    QString RendezvousPath(const QString& name, const QString& extension) const;
    // LinuxCompositor.cpp: follows KWin suspending and resuming its compositing.
    void WatchKWinCompositing(std::function<void()> onChange);
    // LinuxSound.cpp
    QString SoundPlayer() const;
    // Closes the player's input and lets it end; kills it if it has not ended
    // soon after. Never waits.
    static void EndPlayer(QProcess* player);
    // Starts `program` (an absolute path) and calls `onEnd` when it has ended.
    bool StartWatched(const QStringList& argv, const QString& dir, bool elevated,
                      TLaunchWatch onEnd, QString* error);

    TLaunchHelpers helpers_;
    std::unique_ptr<QObject> watches_; // parent of the watches of running programs
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<TInstanceChannel> channel_;
    mutable std::optional<TRuntimeDir> runtimeDir_;
    std::pair<QString, QString> pendingClass_;
    std::unique_ptr<QObject> resumeWatch_;
    std::unique_ptr<QObject> quitWatch_;
    std::unique_ptr<QObject> trayWatch_;
    std::unique_ptr<QObject> activeWatch_;
    std::unique_ptr<QObject> compositorWatch_;
    std::unique_ptr<QObject> kwinWatch_;
    // KWin's word on whether it composites, while it owns the compositor's
    // selection; asked when first needed, then kept by its signal.
    mutable std::optional<bool> kwinCompositing_;
    std::unique_ptr<QObject> sounds_; // parent of the players, also of those ending
    QPointer<QProcess> sound_;        // the player while a sound plays
};

} // namespace velmora
