// Balloon messages of the notification-area icon, sent as desktop notifications
// (org.freedesktop.Notifications). The message is built by plain functions so that
// what goes over the bus can be checked without one; the sending sits behind
// TKvBalloonSink so that tests record instead of sending.
#pragma once

#include "core/KvBalloonFlags.h"

#include <QByteArray>
#include <QDBusArgument>
#include <QFlags>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <optional>

namespace velmora {

// Options of a balloon; the values are the bits the icon kind is combined with.
enum TKvBalloonOption {
    kbfoIconMask = 0x0F,
    kbfoNoSound = 0x10,
    kbfoLargeIcon = 0x20,
    kbfoRespectQuietTime = 0x80,
};
Q_DECLARE_FLAGS(TKvBalloonOptions, TKvBalloonOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKvBalloonOptions)

// Longest texts, in UTF-16 code units, that a balloon and a tooltip carry.
constexpr int KvBalloonTitleMax = 63;
constexpr int KvBalloonTextMax = 255;
constexpr int KvToolTipMax = 127;

// `text` cut to at most `maxUnits` UTF-16 code units, never between the two
// halves of a surrogate pair (the pair is dropped whole instead).
QString KvCutToUnits(const QString& text, int maxUnits);

// The freedesktop "image-data" structure (iiibiiay): non-premultiplied RGBA rows.
struct TKvNotificationImage {
    int Width = 0;
    int Height = 0;
    int RowStride = 0;
    bool HasAlpha = true;
    int BitsPerSample = 8;
    int Channels = 4;
    QByteArray Data;
};
TKvNotificationImage KvNotificationImage(const QImage& image);
QDBusArgument& operator<<(QDBusArgument& arg, const TKvNotificationImage& image);
const QDBusArgument& operator>>(const QDBusArgument& arg, TKvNotificationImage& image);

// One Notify call, field by field as the method takes them.
struct TKvNotification {
    QString AppName;
    uint32_t ReplacesId = 0;
    QString AppIcon;
    QString Summary;
    QString Body; // plain text; the sink escapes it where the server reads markup
    QStringList Actions;
    QVariantMap Hints;
    int32_t ExpireTimeout = -1;
};

// What a balloon asks for, before it becomes a notification.
struct TKvBalloonRequest {
    QString Title;
    QString Text;
    TKvBalloonFlags Flags = kbfNone;
    TKvBalloonOptions Options;
    uint32_t TimeoutMs = 10000;
    QImage UserImage; // shown for kbfUser
};

// The themed icon name of a balloon kind ("" for none and for the user's image).
QString KvBalloonIconName(TKvBalloonFlags flags);
// The hints of a balloon: sound, urgency and, for kbfUser, the image.
QVariantMap KvBalloonHints(const TKvBalloonRequest& request);
// A time-out in milliseconds as the expire time of a notification. Zero means
// "never" to a notification server, so it is given the server's default instead.
int32_t KvExpireTimeout(uint32_t timeoutMs);
// The notification for a balloon: texts cut to their limits, icon, hints, time-out.
TKvNotification KvBuildNotification(const TKvBalloonRequest& request, const QString& appName,
                                    uint32_t replacesId);
// The arguments of the Notify method call for `n`, in order and with the bus types.
// `escapeMarkup`: the server reads the body as markup, so "&" and "<" are escaped.
QVariantList KvNotifyArguments(const TKvNotification& n, bool escapeMarkup);

// Where balloons go.
class TKvBalloonSink {
public:
    // Called once with the id the server gave, or with nothing when sending failed.
    using TNotifyDone = std::function<void(std::optional<uint32_t> id)>;
    virtual ~TKvBalloonSink();
    // True when a notification service runs (or can be started by the bus), as
    // far as is known without waiting: asking must never block.
    virtual bool ServiceAvailable() = 0;
    // Sends `n`; `done` runs later on the user-interface thread, never after the
    // sink is destroyed.
    virtual void Notify(const TKvNotification& n, TNotifyDone done) = 0;
    virtual void CloseNotification(uint32_t id) = 0;
};

// The session bus's notification service. Every call is asynchronous, the
// question whether a service runs included (the bus's answers are remembered and
// kept up to date by a name watcher): a slow or stalled bus never holds up the
// user interface.
class TKvDBusBalloonSink : public QObject, public TKvBalloonSink {
    Q_OBJECT
public:
    explicit TKvDBusBalloonSink(QObject* parent = nullptr);
    ~TKvDBusBalloonSink() override;

    bool ServiceAvailable() override;
    void Notify(const TKvNotification& n, TNotifyDone done) override;
    void CloseNotification(uint32_t id) override;

private:
    void SendNotify(const TKvNotification& n, TNotifyDone done);
    // The server's "body-markup" capability, asked once before the first Notify.
    std::optional<bool> FBodyMarkup;
    // What the bus said: the name has an owner; the bus can start one. Unknown
    // until it answers (and then tried: a failed Notify falls back anyway).
    std::optional<bool> FRegistered;
    std::optional<bool> FActivatable;
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::TKvNotificationImage)
