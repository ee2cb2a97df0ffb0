// The program's icon in the desktop's notification area: tooltip, balloon
// messages, mouse events and a popup menu. The icon itself is a QSystemTrayIcon;
// balloons go to the desktop's notification service through a TKvBalloonSink and
// fall back to Qt's own balloon where no such service runs.
//
// Events are std::function members set with SetOnXxx; each receives the icon as
// its sender and runs only while the icon exists. The tray host cannot report
// pointer moves or separate presses and releases, so a click is delivered as
// OnMouseDown, OnClick (left button only), OnMouseUp in that order, at the pointer
// position when it is handled.
#pragma once

#include "KvUnits/KvBalloonFlags.h"
#include "KvUnits/KvNotifications.h"

#include <QImage>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

namespace velmora {

class TKvTrayIcon;
using TKvTrayNotifyEvent = std::function<void(TKvTrayIcon* sender)>;
using TKvTrayMouseEvent = std::function<void(TKvTrayIcon* sender, Qt::MouseButton button,
                                             Qt::KeyboardModifiers shift, int x, int y)>;
using TKvTrayErrorEvent = std::function<void(TKvTrayIcon* sender, const QString& message)>;

// Raised when the icon could not be placed after all retries and no OnError
// handler is set (the application's general error report shows it then).
class TKvTrayIconError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The size every tray icon image is given.
constexpr int KvTrayIconSize = 16;
// `image` as a 16 x 16 32-bit image: other sizes are scaled, keeping the aspect
// ratio, onto a transparent square. A null image stays null.
QImage KvTrayIconImage(const QImage& image);

// Follows the presence of the tray host between observations and tells when it
// has come back after being gone, which is when an added icon must be added again.
class TKvTrayHostWatch {
public:
    void Reset(bool present) { FPresent = present; }
    // One observation; true exactly when the host is back after an absence.
    bool Update(bool present);
    bool Present() const { return FPresent; }

private:
    bool FPresent = true;
};

class TKvTrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultRetryInterval = 1000;
    // Failed timer attempts after the first add before giving up.
    static constexpr int MaxRetries = 30;
    static constexpr int DefaultHostWatchInterval = 2000;

    // `sink` receives the balloons; without one they go to the session bus.
    explicit TKvTrayIcon(QObject* owner = nullptr, std::unique_ptr<TKvBalloonSink> sink = nullptr);
    ~TKvTrayIcon() override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // True while the icon is in the notification area (or waits there for the host
    // to come back).
    bool Loaded() const { return FLoaded; }

    const QImage& Icon() const { return FIcon; }
    void SetIcon(const QImage& image);
    // Decodes a PNG file or resource into Icon; false (Icon unchanged) on failure.
    bool LoadIconPng(const QString& path, QString* error = nullptr);
    // The image of kbfUser balloons; a 32 x 32 image also turns kbfoLargeIcon on.
    const QImage& NotificationIcon() const { return FNotificationIcon; }
    void SetNotificationIcon(const QImage& image);

    // The tooltip, shown as typed (at most 127 UTF-16 code units of it).
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& value);

    const QString& BalloonTitle() const { return FBalloonTitle; }
    void SetBalloonTitle(const QString& value);
    const QString& BalloonHint() const { return FBalloonHint; }
    void SetBalloonHint(const QString& value);
    TKvBalloonFlags BalloonFlags() const { return FBalloonFlags; }
    void SetBalloonFlags(TKvBalloonFlags value) { FBalloonFlags = value; }
    TKvBalloonOptions Options() const { return FBalloonOptions; }
    void SetOptions(TKvBalloonOptions value) { FBalloonOptions = value; }
    uint32_t BalloonTimeout() const { return FBalloonTimeout; }
    void SetBalloonTimeout(uint32_t ms) { FBalloonTimeout = ms; }

    // Opened by a right-click; not owned, forgotten when it is destroyed.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }

    // Shows the balloon texts last set (by the properties, the other overload or
    // HideBalloon). An empty text removes the balloon instead. Nothing happens
    // while the icon is not added.
    void ShowBalloon();
    // Shows these texts without changing the balloon properties; the time-out
    // becomes BalloonTimeout from then on.
    void ShowBalloon(const QString& title, const QString& hint, TKvBalloonFlags flags,
                     TKvBalloonOptions options, uint32_t timeoutMs);
    // Removes the balloon on screen (closes the last notification).
    void HideBalloon();

    void SetOnClick(TKvTrayNotifyEvent handler) { FOnClick = std::move(handler); }
    void SetOnDblClick(TKvTrayNotifyEvent handler) { FOnDblClick = std::move(handler); }
    void SetOnMouseDown(TKvTrayMouseEvent handler) { FOnMouseDown = std::move(handler); }
    void SetOnMouseUp(TKvTrayMouseEvent handler) { FOnMouseUp = std::move(handler); }
    // Reports that the icon could not be added after all retries.
    void SetOnError(TKvTrayErrorEvent handler) { FOnError = std::move(handler); }

    // Whether a tray host runs; by default QSystemTrayIcon::isSystemTrayAvailable.
    void SetTrayAvailableProbe(std::function<bool()> probe);
    int RetryInterval() const { return FRetryTimer.interval(); }
    void SetRetryInterval(int ms) { FRetryTimer.setInterval(ms); }
    bool Retrying() const { return FRetryTimer.isActive(); }
    int RetryCount() const { return FRetryCount; }
    // How often an added icon looks whether the tray host went away and came back.
    void SetHostWatchInterval(int ms) { FHostWatchTimer.setInterval(ms); }

    // The toolkit's icon, for the program's wiring and for tests.
    QSystemTrayIcon* TrayIcon() const { return FTrayIcon.get(); }

protected:
    // Puts the toolkit icon into the tray with the current image and tooltip.
    virtual void PlaceInTray();
    virtual void RemoveFromTray();
    // Qt's own balloon, where no notification service runs.
    virtual void ShowFallbackBalloon(const TKvBalloonRequest& request);

private:
    void AddIcon();
    void DeleteIcon();
    void RetryTimerTimer();
    void HostWatchTimerTimer();
    void UseApplicationIcon();
    void SendBalloon(const TKvBalloonRequest& request);
    void NotifySent(uint64_t serial, const TKvBalloonRequest& request, std::optional<uint32_t> id);
    void HandleActivation(QSystemTrayIcon::ActivationReason reason);
    void FireMouse(const TKvTrayMouseEvent& handler, Qt::MouseButton button);
    void RaiseError(const QString& message);

    std::unique_ptr<QSystemTrayIcon> FTrayIcon;
    std::unique_ptr<TKvBalloonSink> FSink;
    std::function<bool()> FTrayAvailable;
    QTimer FRetryTimer;
    QTimer FHostWatchTimer;
    TKvTrayHostWatch FHostWatch;
    int FRetryCount = 0;
    bool FLoaded = false;
    bool FVisible = false;
    TKvBalloonFlags FBalloonFlags = kbfNone;
    TKvBalloonOptions FBalloonOptions;
    uint32_t FBalloonTimeout = 10000;
    QString FBalloonTitle;
    QString FBalloonHint;
    // The texts the next parameterless ShowBalloon shows.
    QString FInfoTitle;
    QString FInfoText;
    QString FHint;
    QImage FIcon;
    QImage FNotificationIcon;
    QPointer<QMenu> FPopupMenu;
    // Counts balloons sent and hidden, so that a late answer about a balloon that
    // was replaced or hidden meanwhile closes it instead of keeping it.
    uint64_t FBalloonSerial = 0;
    uint32_t FLastNotificationId = 0;
    bool FFallbackShown = false;
    TKvTrayNotifyEvent FOnClick;
    TKvTrayNotifyEvent FOnDblClick;
    TKvTrayMouseEvent FOnMouseDown;
    TKvTrayMouseEvent FOnMouseUp;
    TKvTrayErrorEvent FOnError;
};

} // namespace velmora
