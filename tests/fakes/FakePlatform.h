// A platform that records what the program asked of it, for tests.
#pragma once

#include "platform/Platform.h"

#include <QStringList>
#include <QTimer>

namespace velmora {

class FakePlatform final : public Platform {
public:
    bool LockFree = true;
    bool Desktop = false;
    QStringList Calls;
    std::function<void()> OnActivate;

    bool AcquireInstanceLock(const QString& name) override {
        Calls << "lock:" + name;
        return LockFree;
    }
    bool ActivateOtherInstance(const QString& name) override {
        Calls << "activate:" + name;
        return true;
    }
    bool ListenForRequests(const QString& name, std::function<void()> onActivate,
                           std::function<void(const QByteArray&)>) override {
        Calls << "listen:" + name;
        OnActivate = std::move(onActivate);
        return true;
    }
    void StopListening() override { OnActivate = nullptr; }
    std::function<void()> OnQuitRequest;
    void WatchQuitRequests(std::function<void()> onQuit) override {
        OnQuitRequest = std::move(onQuit);
    }
    QString Refused; // when set, no runtime folder could be had: this one was refused
    QString RuntimeDir(QString* refused = nullptr) const override {
        if (refused)
            *refused = Refused;
        return Refused.isEmpty() ? QStringLiteral("/tmp") : QString();
    }
    TLocaleVars Locale; // none set: the built-in language stays
    TLocaleVars MessageLocale() const override { return Locale; }
    QColor SystemColor(int index) const override { return QColor(index, index, index); }
    QFont MenuFont() const override {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSize(9);
        return f;
    }
    QString AnchorColor = QStringLiteral("0,0,255");
    QString AnchorColorText() const override { return AnchorColor; }
    bool Compositor = false;
    bool CompositorActive() const override { return Compositor; }
    void MakeToolWindow(QWidget*) override { Calls << "tool"; }
    void SetWindowClass(QWidget*, const QString&, const QString& cls) override {
        Calls << "class:" + cls;
    }
    void SetStacking(QWidget*, TStacking s) override {
        Calls << QStringLiteral("stack:%1").arg(int(s));
    }
    bool DesktopIsForeground() const override { return Desktop; }
    void ForceForeground(QWidget*) override { Calls << "foreground"; }
    bool StartSystemMove(QWidget*, const QPoint&) override {
        Calls << "system-move";
        return SystemMove;
    }
    bool SystemMove = false;
    bool LeftButtonHeld() const override { return LeftHeld; }
    bool LeftHeld = true;
    std::optional<QPoint> WindowPosition(QWidget*) const override { return std::nullopt; }
    // The active-window watch: set while the program watches.
    TActiveWindowWatch OnActiveWindow;
    uint64_t Held = 0;
    void WatchActiveWindow(TActiveWindowWatch onChange) override {
        Calls << (onChange ? "watch-active:on" : "watch-active:off");
        OnActiveWindow = std::move(onChange);
    }
    void HoldWindow(uint64_t window) override { Held = window; }
    // Reports what the window system would; false when nobody watches.
    bool ReportActive(const TWindowFacts& active, const TWindowFacts& held = {}) {
        if (!OnActiveWindow)
            return false;
        OnActiveWindow(active, held);
        return true;
    }
    std::function<void()> OnTrayHostChange;
    void WatchTrayHost(std::function<void()> onChange) override {
        OnTrayHostChange = std::move(onChange);
    }
    std::function<void()> OnCompositorChange;
    void WatchCompositor(std::function<void()> onChange) override {
        OnCompositorChange = std::move(onChange);
    }
    // The last input region sent; nothing while the whole window takes clicks.
    std::optional<QRegion> InputRegion;
    int InputRegionSends = 0;
    void SetInputRegion(QWidget*, const std::optional<QRegion>& region) override {
        InputRegion = region;
        ++InputRegionSends;
    }

    bool LaunchResult = true;
    TLaunchWatch LastWatch; // how the test ends the last watched start
    bool LaunchProgram(const QString& fileName, const QString& params, bool asAdmin, bool hide,
                       QString* error = nullptr, TLaunchWatch onEnd = {}) override {
        Calls << QStringLiteral("launch:%1|%2|%3|%4").arg(fileName, params).arg(asAdmin).arg(hide);
        LastWatch = std::move(onEnd);
        if (!LaunchResult && error)
            *error = QStringLiteral("exec failed"); // the system's words, in English
        return LaunchResult;
    }
    bool SoundResult = true;
    QString SoundError; // the reason given when SoundResult is false
    // The player answers at once unless told to stay silent; a silent one's
    // watch waits in SoundWatch.
    bool SoundAnswers = true;
    TSoundWatch SoundWatch;
    void PlaySound(const QString& fileName, TSoundWatch onAnswer = {}) override {
        Calls << "play:" + fileName;
        SoundWatch = std::move(onAnswer);
        if (SoundAnswers && SoundWatch)
            SoundWatch({SoundResult, SoundResult ? QString() : SoundError});
    }
    void StopSound() override { Calls << "stop-sound"; }
    TSoundLibraryVersions SoundVersions{QStringLiteral("2.26.5"), QStringLiteral("2.6.3")};
    TSoundLibraryVersions SoundLibraryVersions() override { return SoundVersions; }
    bool OpenResult = true;
    int OpenErrorCode = 3;
    // Nonzero: the opener starts, then exits with this code (no browser, say).
    int OpenLaterExitCode = 0;
    bool OpenDocument(const QString& path, QString* error = nullptr, int* code = nullptr,
                      std::function<void(int)> onFailed = {}) override {
        Calls << "open:" + path;
        if (OpenResult && OpenLaterExitCode && onFailed)
            QTimer::singleShot(0, [onFailed, c = OpenLaterExitCode] { onFailed(c); });
        if (!OpenResult && error)
            *error = QStringLiteral("no application for it");
        if (!OpenResult && code)
            *code = OpenErrorCode;
        return OpenResult;
    }
    bool OpenUrl(const QString& url, QString* = nullptr) override {
        Calls << "url:" + url;
        return OpenResult;
    }
    bool Autostart = false; // the entry is there
    bool CreateAutostartEntry(const QString& programPath, QString* = nullptr) override {
        Calls << "autostart:" + programPath;
        Autostart = true;
        return true;
    }
    bool HasAutostartEntry(const QString&) override { return Autostart; }
    bool RemoveAutostartEntry(const QString& programPath, QString* = nullptr) override {
        Calls << "autostart-remove:" + programPath;
        Autostart = false;
        return true;
    }
    bool NetworkAlive = true;
    bool IsNetworkAlive() const override { return NetworkAlive; }
    std::function<void()> OnResume;
    void WatchResume(std::function<void()> onResume) override { OnResume = std::move(onResume); }
};

} // namespace velmora
