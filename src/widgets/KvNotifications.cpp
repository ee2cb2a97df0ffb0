#include "widgets/KvNotifications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <algorithm>
#include <limits>

namespace velmora {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage NotificationsCall(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

// How long a call may wait for its answer before it counts as failed.
constexpr int kCallTimeoutMs = 5000;

// A reply watcher owned by `parent`, so that no reply reaches a destroyed sink.
void OnReply(QObject* parent, const QDBusMessage& call,
             std::function<void(const QDBusMessage&)> handler) {
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, kCallTimeoutMs), parent);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, parent,
                     [watcher, handler = std::move(handler)] {
                         watcher->deleteLater();
                         handler(watcher->reply());
                     });
}

} // namespace

QString KvCutToUnits(const QString& text, int maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    if (maxUnits <= 0)
        return QString();
    int n = maxUnits;
    if (text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

TKvNotificationImage KvNotificationImage(const QImage& image) {
    TKvNotificationImage out;
    if (image.isNull())
        return out;
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    out.Width = rgba.width();
    out.Height = rgba.height();
    out.RowStride = static_cast<int>(rgba.bytesPerLine());
    out.Data = QByteArray(reinterpret_cast<const char*>(rgba.constBits()),
                          static_cast<qsizetype>(rgba.sizeInBytes()));
    return out;
}

QDBusArgument& operator<<(QDBusArgument& arg, const TKvNotificationImage& image) {
    arg.beginStructure();
    arg << image.Width << image.Height << image.RowStride << image.HasAlpha << image.BitsPerSample
        << image.Channels << image.Data;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, TKvNotificationImage& image) {
    arg.beginStructure();
    arg >> image.Width >> image.Height >> image.RowStride >> image.HasAlpha >>
        image.BitsPerSample >> image.Channels >> image.Data;
    arg.endStructure();
    return arg;
}

QString KvBalloonIconName(TKvBalloonFlags flags) {
    switch (flags) {
    case kbfInfo:
        return QStringLiteral("dialog-information");
    case kbfWarning:
        return QStringLiteral("dialog-warning");
    case kbfError:
        return QStringLiteral("dialog-error");
    case kbfNone:
    case kbfUser:
        break;
    }
    return QString();
}

QVariantMap KvBalloonHints(const TKvBalloonRequest& request) {
    QVariantMap hints;
    if (request.Options.testFlag(kbfoNoSound))
        hints.insert(QStringLiteral("suppress-sound"), true);
    // Low urgency is what "do not disturb" modes hold back; normal is the default.
    const uchar urgency = request.Options.testFlag(kbfoRespectQuietTime) ? 0 : 1;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(urgency));
    if (request.Flags == kbfUser && !request.UserImage.isNull()) {
        qDBusRegisterMetaType<TKvNotificationImage>();
        hints.insert(QStringLiteral("image-data"),
                     QVariant::fromValue(KvNotificationImage(request.UserImage)));
    }
    return hints;
}

int32_t KvExpireTimeout(uint32_t timeoutMs) {
    if (timeoutMs == 0)
        return -1;
    constexpr uint32_t maxMs = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::min(timeoutMs, maxMs));
}

TKvNotification KvBuildNotification(const TKvBalloonRequest& request, const QString& appName,
                                    uint32_t replacesId) {
    TKvNotification n;
    n.AppName = appName;
    n.ReplacesId = replacesId;
    n.AppIcon = KvBalloonIconName(request.Flags);
    n.Summary = KvCutToUnits(request.Title, KvBalloonTitleMax);
    n.Body = KvCutToUnits(request.Text, KvBalloonTextMax);
    n.Hints = KvBalloonHints(request);
    n.ExpireTimeout = KvExpireTimeout(request.TimeoutMs);
    return n;
}

QVariantList KvNotifyArguments(const TKvNotification& n, bool escapeMarkup) {
    return {n.AppName, QVariant::fromValue<uint>(n.ReplacesId),        n.AppIcon,
            n.Summary, escapeMarkup ? n.Body.toHtmlEscaped() : n.Body, n.Actions,
            n.Hints,   QVariant::fromValue<int>(n.ExpireTimeout)};
}

TKvBalloonSink::~TKvBalloonSink() = default;

TKvDBusBalloonSink::TKvDBusBalloonSink(QObject* parent) : QObject(parent) {
    qDBusRegisterMetaType<TKvNotificationImage>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto* watcher = new QDBusServiceWatcher(kService, bus,
                                            QDBusServiceWatcher::WatchForRegistration |
                                                QDBusServiceWatcher::WatchForUnregistration,
                                            this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { FRegistered = true; });
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        FRegistered = false;
        FBodyMarkup.reset(); // the next server may read bodies differently
    });
    const auto busCall = [](const QString& method) {
        return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                              QStringLiteral("/org/freedesktop/DBus"),
                                              QStringLiteral("org.freedesktop.DBus"), method);
    };
    QDBusMessage hasOwner = busCall(QStringLiteral("NameHasOwner"));
    hasOwner.setArguments({kService});
    OnReply(this, hasOwner, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
            !FRegistered)
            FRegistered = reply.arguments().first().toBool();
    });
    OnReply(this, busCall(QStringLiteral("ListActivatableNames")),
            [this](const QDBusMessage& reply) {
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    FActivatable = reply.arguments().first().toStringList().contains(kService);
            });
}

TKvDBusBalloonSink::~TKvDBusBalloonSink() = default;

bool TKvDBusBalloonSink::ServiceAvailable() {
    if (!QDBusConnection::sessionBus().isConnected())
        return false;
    const bool knownAbsent = FRegistered == false && FActivatable == false;
    return !knownAbsent;
}

void TKvDBusBalloonSink::Notify(const TKvNotification& n, TNotifyDone done) {
    if (FBodyMarkup.has_value()) {
        SendNotify(n, std::move(done));
        return;
    }
    OnReply(this, NotificationsCall(QStringLiteral("GetCapabilities")),
            [this, n, done = std::move(done)](const QDBusMessage& reply) mutable {
                // A failed question is asked again with the next balloon.
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    FBodyMarkup = reply.arguments().first().toStringList().contains(
                        QStringLiteral("body-markup"));
                SendNotify(n, std::move(done));
            });
}

void TKvDBusBalloonSink::SendNotify(const TKvNotification& n, TNotifyDone done) {
    QDBusMessage call = NotificationsCall(QStringLiteral("Notify"));
    call.setArguments(KvNotifyArguments(n, FBodyMarkup.value_or(false)));
    OnReply(this, call, [done = std::move(done)](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            done(std::nullopt);
            return;
        }
        done(reply.arguments().first().toUInt());
    });
}

void TKvDBusBalloonSink::CloseNotification(uint32_t id) {
    QDBusMessage call = NotificationsCall(QStringLiteral("CloseNotification"));
    call.setArguments({QVariant::fromValue<uint>(id)});
    QDBusConnection::sessionBus().send(call);
}

} // namespace velmora
