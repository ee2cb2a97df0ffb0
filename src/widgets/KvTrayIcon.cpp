#include "widgets/KvTrayIcon.h"

#include "widgets/KvBalloonWindow.h"
#include "widgets/KvPng.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <cstdio>

namespace velmora {

namespace {

QSystemTrayIcon::MessageIcon FallbackMessageIcon(TKvBalloonFlags flags) {
    switch (flags) {
    case kbfInfo:
        return QSystemTrayIcon::Information;
    case kbfWarning:
        return QSystemTrayIcon::Warning;
    case kbfError:
        return QSystemTrayIcon::Critical;
    case kbfNone:
    case kbfUser:
        break;
    }
    return QSystemTrayIcon::NoIcon;
}

int FallbackTimeout(uint32_t ms) {
    const int32_t t = KvExpireTimeout(ms);
    return t < 0 ? 10000 : t;
}

} // namespace

QImage KvTrayIconImage(const QImage& image) {
    if (image.isNull())
        return QImage();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (argb.width() == KvTrayIconSize && argb.height() == KvTrayIconSize)
        return argb;
    QImage out(KvTrayIconSize, KvTrayIconSize, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QImage scaled =
        argb.scaled(KvTrayIconSize, KvTrayIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&out);
    p.drawImage((KvTrayIconSize - scaled.width()) / 2, (KvTrayIconSize - scaled.height()) / 2,
                scaled);
    return out;
}

TKvTrayIcon::TKvTrayIcon(QObject* owner, std::unique_ptr<TKvBalloonSink> sink)
    : QObject(owner), FTrayIcon(std::make_unique<QSystemTrayIcon>()), FSink(std::move(sink)),
      FTrayAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); }) {
    if (!FSink)
        FSink = std::make_unique<TKvDBusBalloonSink>();
    connect(FTrayIcon.get(), &QSystemTrayIcon::activated, this, &TKvTrayIcon::HandleActivation);
    // A StatusNotifier host (KDE, GNOME's extension, waybar) announces itself by
    // this name; an XEmbed tray by the selection the owner watches.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* watcher =
            new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                    QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                &TKvTrayIcon::TrayHostChanged);
        FHostWatcher = watcher;
    }
}

TKvTrayIcon::~TKvTrayIcon() {
    delete FBalloonWindow.data();
    FTrayIcon->disconnect(this);
    // Not through the virtual: a derived part is already gone here.
    if (FLoaded)
        FTrayIcon->setVisible(false);
}

void TKvTrayIcon::SetVisible(bool value) {
    FVisible = value;
    if (!value) {
        DeleteIcon();
        return;
    }
    AddIcon();
}

void TKvTrayIcon::SetIcon(const QImage& image) {
    FIcon = KvTrayIconImage(image);
    if (!FIcon.isNull())
        FTrayIcon->setIcon(QIcon(QPixmap::fromImage(FIcon)));
}

bool TKvTrayIcon::LoadIconPng(const QString& path, QString* error) {
    const QImage image = KvLoadPng(path, error);
    if (image.isNull())
        return false;
    SetIcon(image);
    return true;
}

void TKvTrayIcon::SetNotificationIcon(const QImage& image) {
    FNotificationIcon =
        image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (FNotificationIcon.width() == 32 && FNotificationIcon.height() == 32)
        FBalloonOptions |= kbfoLargeIcon;
}

void TKvTrayIcon::SetHint(const QString& value) {
    FHint = value;
    // A tooltip takes the text as it is: no mnemonic doubling, so "&" shows once.
    FTrayIcon->setToolTip(KvCutToUnits(value, KvToolTipMax));
}

void TKvTrayIcon::SetBalloonTitle(const QString& value) {
    FBalloonTitle = value;
    FInfoTitle = value;
}

void TKvTrayIcon::SetBalloonHint(const QString& value) {
    FBalloonHint = value;
    FInfoText = value;
}

void TKvTrayIcon::ShowBalloon() {
    // Copies: the other overload stores its arguments into these very fields.
    const QString title = FInfoTitle;
    const QString hint = FInfoText;
    ShowBalloon(title, hint, FBalloonFlags, FBalloonOptions, FBalloonTimeout);
}

void TKvTrayIcon::ShowBalloon(const QString& title, const QString& hint, TKvBalloonFlags flags,
                              TKvBalloonOptions options, uint32_t timeoutMs) {
    FInfoTitle = title;
    FInfoText = hint;
    FBalloonTimeout = timeoutMs;
    TKvBalloonRequest request;
    request.Title = title;
    request.Text = hint;
    request.Flags = flags;
    request.Options = options;
    request.TimeoutMs = timeoutMs;
    SendBalloon(request);
}

void TKvTrayIcon::HideBalloon() {
    FInfoTitle.clear();
    FInfoText.clear();
    ++FBalloonSerial; // a balloon still on its way is closed when its id arrives
    if (FLastNotificationId != 0) {
        FSink->CloseNotification(FLastNotificationId);
        FLastNotificationId = 0;
    }
    if (FFallbackShown) {
        // Qt removes its balloon when asked to show an empty one.
        if (FLoaded)
            FTrayIcon->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
        if (FBalloonWindow)
            FBalloonWindow->hide();
        FFallbackShown = false;
    }
}

TKvBalloonWindow* TKvTrayIcon::BalloonWindow() const {
    return FBalloonWindow && FBalloonWindow->isVisible() ? FBalloonWindow.data() : nullptr;
}

void TKvTrayIcon::SendBalloon(const TKvBalloonRequest& balloon) {
    if (balloon.Text.isEmpty()) {
        // A balloon without text is no balloon: the one on screen goes away.
        HideBalloon();
        return;
    }
    TKvBalloonRequest request = balloon;
    if (request.Flags == kbfUser)
        request.UserImage = FNotificationIcon.isNull() ? FIcon : FNotificationIcon;
    const uint64_t serial = ++FBalloonSerial;
    if (!FSink->ServiceAvailable()) {
        ShowFallbackBalloon(request);
        return;
    }
    const TKvNotification n = KvBuildNotification(
        request, QGuiApplication::applicationDisplayName(), FLastNotificationId);
    QPointer<TKvTrayIcon> self(this);
    FSink->Notify(n, [self, serial, request](std::optional<uint32_t> id) {
        if (self)
            self->NotifySent(serial, request, id);
    });
}

void TKvTrayIcon::NotifySent(uint64_t serial, const TKvBalloonRequest& request,
                             std::optional<uint32_t> id) {
    if (serial != FBalloonSerial) {
        // Replaced or hidden while on its way.
        if (id && *id != FLastNotificationId)
            FSink->CloseNotification(*id);
        return;
    }
    if (!id) {
        ShowFallbackBalloon(request);
        return;
    }
    FLastNotificationId = *id;
}

void TKvTrayIcon::ShowFallbackBalloon(const TKvBalloonRequest& request) {
    const QString title = KvCutToUnits(request.Title, KvBalloonTitleMax);
    const QString text = KvCutToUnits(request.Text, KvBalloonTextMax);
    const int timeout = FallbackTimeout(request.TimeoutMs);
    FFallbackShown = true;
    if (!FLoaded) {
        // Neither a service nor an icon: a small window beside the clock, not modal.
        if (!FBalloonWindow)
            FBalloonWindow = new TKvBalloonWindow();
        FBalloonWindow->ShowNear(FBalloonAnchor, title, text, timeout);
        return;
    }
    if (request.Flags == kbfUser && !request.UserImage.isNull())
        FTrayIcon->showMessage(title, text, QIcon(QPixmap::fromImage(request.UserImage)), timeout);
    else
        FTrayIcon->showMessage(title, text, FallbackMessageIcon(request.Flags), timeout);
}

void TKvTrayIcon::SetTrayAvailableProbe(std::function<bool()> probe) {
    FTrayAvailable = std::move(probe);
}

void TKvTrayIcon::AddIcon() {
    if (FLoaded)
        return;
    if (!FTrayAvailable()) {
        // No tray is a normal state: the icon appears when a host arrives.
        if (!FSaidWaiting)
            std::fprintf(stderr,
                         "%s: no notification area yet; balloons go to the "
                         "notification service\n",
                         qPrintable(QCoreApplication::applicationName()));
        FSaidWaiting = true;
        return;
    }
    PlaceInTray();
    FLoaded = true;
}

void TKvTrayIcon::TrayHostChanged() {
    if (!FVisible)
        return;
    if (!FTrayAvailable()) {
        // Gone: the host took the icon with it.
        FLoaded = false;
        return;
    }
    // A new host (or the first one) knows nothing of the icon yet.
    FLoaded = false;
    AddIcon();
}

void TKvTrayIcon::DeleteIcon() {
    if (!FLoaded)
        return;
    RemoveFromTray();
    FLoaded = false;
}

void TKvTrayIcon::PlaceInTray() {
    if (FIcon.isNull())
        UseApplicationIcon(); // the tray shows nothing for an empty icon
    FTrayIcon->setVisible(false);
    FTrayIcon->setIcon(QIcon(QPixmap::fromImage(FIcon)));
    FTrayIcon->setToolTip(KvCutToUnits(FHint, KvToolTipMax));
    FTrayIcon->setVisible(true);
}

void TKvTrayIcon::RemoveFromTray() {
    FTrayIcon->setVisible(false);
}

void TKvTrayIcon::UseApplicationIcon() {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    SetIcon(icon.pixmap(KvTrayIconSize, KvTrayIconSize).toImage());
}

void TKvTrayIcon::SetPopupMenu(QMenu* menu) {
    FPopupMenu = menu;
    FTrayIcon->setContextMenu(menu);
}

bool TKvTrayIcon::SecondActivation() {
    const bool second = FLastActivation.isValid() &&
                        FLastActivation.elapsed() <= QApplication::doubleClickInterval();
    if (second)
        FLastActivation.invalidate(); // a third click starts a new pair
    else
        FLastActivation.start();
    return second;
}

void TKvTrayIcon::HandleActivation(QSystemTrayIcon::ActivationReason reason) {
    // A handler may destroy the icon; nothing of it is touched after that.
    QPointer<TKvTrayIcon> self(this);
    if (reason == QSystemTrayIcon::Trigger && SecondActivation())
        reason = QSystemTrayIcon::DoubleClick;
    else if (reason != QSystemTrayIcon::Trigger)
        FLastActivation.invalidate();
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        FireMouse(FOnMouseDown, Qt::LeftButton);
        if (self && FOnClick)
            FOnClick(this);
        if (self)
            FireMouse(FOnMouseUp, Qt::LeftButton);
        break;
    case QSystemTrayIcon::DoubleClick:
        if (FOnDblClick)
            FOnDblClick(this);
        break;
    case QSystemTrayIcon::Context:
        FireMouse(FOnMouseDown, Qt::RightButton);
        if (self)
            FireMouse(FOnMouseUp, Qt::RightButton);
        // An XEmbed tray's icon has opened the context menu itself by now; a
        // status-item host that asks for the menu by this call has not.
        if (self && FPopupMenu && !FPopupMenu->isVisible())
            FPopupMenu->popup(QCursor::pos());
        break;
    case QSystemTrayIcon::MiddleClick:
        FireMouse(FOnMouseDown, Qt::MiddleButton);
        if (self)
            FireMouse(FOnMouseUp, Qt::MiddleButton);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void TKvTrayIcon::FireMouse(const TKvTrayMouseEvent& handler, Qt::MouseButton button) {
    if (!handler)
        return;
    const QPoint pos = QCursor::pos();
    handler(this, button, QGuiApplication::queryKeyboardModifiers(), pos.x(), pos.y());
}

} // namespace velmora
