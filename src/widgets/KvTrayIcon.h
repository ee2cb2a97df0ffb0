// The program's icon in the desktop's notification area: tooltip, balloon
// messages, mouse events and a popup menu. The icon itself is a QSystemTrayIcon;
// balloons go to the desktop's notification service through a TKvBalloonSink,
// whether or not the icon could be added, and fall back to Qt's own balloon at the
// icon, or without an icon to a small window beside the anchor widget, where no
// such service runs.
//
// Many desktops have no tray at all: that is a normal state, not an error. The
// icon waits for a tray host and appears when one arrives, learnt from events
// (TrayHostChanged, called by the owner when the system says the tray's owner
// changed; the StatusNotifierWatcher name appearing on the session bus).
//
// Events are std::function members set with SetOnXxx; each receives the icon as
// its sender and runs only while the icon exists. The tray host cannot report
// pointer moves or separate presses and releases, so a click is delivered as
// OnMouseDown, OnClick (left button only), OnMouseUp in that order, at the pointer
// position when it is handled.
#pragma once

#include "core/KvBalloonFlags.h"
#include "widgets/KvNotifications.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace velmora {

class TKvTrayIcon;
using TKvTrayNotifyEvent = std::function<void(TKvTrayIcon* sender)>;
using TKvTrayMouseEvent = std::function<void(TKvTrayIcon* sender, Qt::MouseButton button,
                                             Qt::KeyboardModifiers shift, int x, int y)>;
class TKvBalloonWindow;

// The size every tray icon image is given.
constexpr int KvTrayIconSize = 16;
// `image` as a 16 x 16 32-bit image: other sizes are scaled, keeping the aspect
// ratio, onto a transparent square. A null image stays null.
QImage KvTrayIconImage(const QImage& image);

class TKvTrayIcon : public QObject {
    Q_OBJECT
public:
    // `sink` receives the balloons; without one they go to the session bus.
    explicit TKvTrayIcon(QObject* owner = nullptr, std::unique_ptr<TKvBalloonSink> sink = nullptr);
    ~TKvTrayIcon() override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // True while the icon is in the notification area.
    bool Loaded() const { return FLoaded; }
    // True while the icon is to be shown but no tray host runs.
    bool WaitingForHost() const { return FVisible && !FLoaded; }
    // A tray host may have started, gone or been replaced: looks again, adds the
    // icon to a new host, forgets it when the host has gone.
    void TrayHostChanged();

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

    // Opened by a right-click; not owned, forgotten when it is destroyed. It is
    // also the toolkit icon's context menu: a status-item host (Xfce's panel,
    // KDE Plasma) reads it over D-Bus and opens it itself on a right-click.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu);

    // Shows the balloon texts last set (by the properties, the other overload or
    // HideBalloon). An empty text removes the balloon instead. Balloons need no
    // icon in the tray.
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

    // Whether a tray host runs; by default QSystemTrayIcon::isSystemTrayAvailable.
    void SetTrayAvailableProbe(std::function<bool()> probe);
    // The widget beside which a balloon shows when neither a tray nor a
    // notification service is there (not owned; forgotten when destroyed).
    void SetBalloonAnchor(QWidget* anchor) { FBalloonAnchor = anchor; }
    // That balloon window while it is on screen, else null.
    TKvBalloonWindow* BalloonWindow() const;

    // The toolkit's icon, for the program's wiring and for tests.
    QSystemTrayIcon* TrayIcon() const { return FTrayIcon.get(); }

protected:
    // Puts the toolkit icon into the tray with the current image and tooltip.
    virtual void PlaceInTray();
    virtual void RemoveFromTray();
    // Where no notification service runs: Qt's own balloon at the icon, or the
    // balloon window beside the anchor while there is no icon.
    virtual void ShowFallbackBalloon(const TKvBalloonRequest& request);

private:
    void AddIcon();
    void DeleteIcon();
    void UseApplicationIcon();
    void SendBalloon(const TKvBalloonRequest& request);
    void NotifySent(uint64_t serial, const TKvBalloonRequest& request, std::optional<uint32_t> id);
    void HandleActivation(QSystemTrayIcon::ActivationReason reason);
    // A status-item host reports a double-click as two activations: the second
    // within the double-click time is the double-click.
    bool SecondActivation();
    void FireMouse(const TKvTrayMouseEvent& handler, Qt::MouseButton button);

    std::unique_ptr<QSystemTrayIcon> FTrayIcon;
    std::unique_ptr<TKvBalloonSink> FSink;
    std::function<bool()> FTrayAvailable;
    QObject* FHostWatcher = nullptr; // the session bus's StatusNotifierWatcher name
    bool FSaidWaiting = false;       // the one line on standard error
    QPointer<QWidget> FBalloonAnchor;
    QPointer<TKvBalloonWindow> FBalloonWindow;
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
    QElapsedTimer FLastActivation; // the last left click, while it may start a double
    TKvTrayNotifyEvent FOnClick;
    TKvTrayNotifyEvent FOnDblClick;
    TKvTrayMouseEvent FOnMouseDown;
    TKvTrayMouseEvent FOnMouseUp;
};

} // namespace velmora
