// X11 desktop implementation of the platform layer.
#pragma once

#include "platform/Platform.h"

#include <QLockFile>
#include <QPointer>

class QLocalServer;

namespace velmora {

class LinuxPlatform final : public Platform {
public:
    LinuxPlatform();
    ~LinuxPlatform() override;

    bool VersionAtLeast(int major, int minor) const override;
    bool AcquireInstanceLock(const QString& name) override;
    bool ActivateOtherInstance(const QString& name) override;
    void ListenForRequests(const QString& name, std::function<void()> onActivate,
                           std::function<void(const QByteArray&)> onMessage) override;
    void StopListening() override;
    QString RuntimeDir() const override;
    // LinuxSignals.cpp
    void WatchQuitRequests(std::function<void()> onQuit) override;

    QColor SystemColor(int index) const override;
    QFont MenuFont() const override;

    bool CompositorActive() const override;
    void MakeToolWindow(QWidget* window) override;
    void SetWindowClass(QWidget* window, const QString& instance,
                        const QString& className) override;
    void SetStacking(QWidget* window, TStacking stacking) override;
    bool DesktopIsForeground() const override;
    void ForceForeground(QWidget* window) override;
    bool StartSystemMove(QWidget* window) override;
    std::optional<QPoint> WindowPosition(QWidget* window) const override;
    // LinuxTray.cpp
    void WatchTrayHost(std::function<void()> onChange) override;

    // LinuxLaunch.cpp
    bool LaunchProgram(const QString& fileName, const QString& params, bool asAdmin, bool hide,
                       QString* error = nullptr) override;
    // LinuxSound.cpp
    bool PlaySound(const QString& fileName, QString* error = nullptr) override;
    void StopSound() override;
    // LinuxDesktop.cpp
    bool OpenDocument(const QString& path, QString* error = nullptr, int* code = nullptr) override;
    bool CreateAutostartEntry(const QString& programPath, QString* error = nullptr) override;
    // LinuxSession.cpp
    bool IsNetworkAlive() const override;
    void WatchResume(std::function<void()> onResume) override;

    // The socket path the instance `name` listens on.
    QString ChannelPath(const QString& name) const;

private:
    // <runtime folder>/<name><extension>, kept apart per user where the folder is shared.
    QString RendezvousPath(const QString& name, const QString& extension) const;

public:
private:
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::pair<QString, QString> pendingClass_;
    std::unique_ptr<QObject> resumeWatch_;
    std::unique_ptr<QObject> quitWatch_;
    std::unique_ptr<QObject> trayWatch_;
};

} // namespace velmora
