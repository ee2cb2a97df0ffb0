// Setting the clock through the system's time service.
#include "ClockSetter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdio>

namespace velmora {

namespace {
const QString kService = QStringLiteral("org.freedesktop.timedate1");
const QString kPath = QStringLiteral("/org/freedesktop/timedate1");
} // namespace

const char* ClockSetResultText(ClockSetResult r) {
    switch (r) {
    case ClockSetResult::Applied:
        return "the clock was set";
    case ClockSetResult::NoPermission:
        return "not allowed to set the clock (the request was refused or the password prompt "
               "was dismissed)";
    case ClockSetResult::TimeKeptBySystem:
        return "a time daemon already keeps the system clock (NTP synchronisation is on), so the "
               "time service does not step it";
    case ClockSetResult::NoService:
        return "no time service (org.freedesktop.timedate1) on the system bus";
    case ClockSetResult::Failed:
        return "the clock could not be set";
    }
    return "?";
}

ClockSetResult TimeServiceErrorResult(const QString& errorName) {
    if (errorName == QLatin1String("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"))
        return ClockSetResult::TimeKeptBySystem;
    if (errorName == QLatin1String("org.freedesktop.DBus.Error.AccessDenied") ||
        errorName == QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired") ||
        errorName.startsWith(QLatin1String("org.freedesktop.PolicyKit1.Error.")))
        return ClockSetResult::NoPermission;
    if (errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
        errorName == QLatin1String("org.freedesktop.DBus.Error.Disconnected"))
        return ClockSetResult::NoService;
    return ClockSetResult::Failed;
}

std::int64_t OffsetToUsec(std::int64_t offsetNs) {
    return offsetNs >= 0 ? (offsetNs + 500) / 1000 : -((-offsetNs + 500) / 1000);
}

ClockSetResult TimeServiceClockSetter::Apply(std::int64_t offsetNs) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return ClockSetResult::NoService;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("SetTime"));
    // usec_utc as a step relative to the clock when the service applies it, so
    // the time the user spends on the password prompt does not count.
    call << qlonglong(OffsetToUsec(offsetNs)) << true << true;
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs_);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return ClockSetResult::Applied;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "VelmoSync: time service: %s: %s\n", qPrintable(reply.errorName()),
                     qPrintable(reply.errorMessage()));
        return TimeServiceErrorResult(reply.errorName());
    }
    return ClockSetResult::Failed;
}

} // namespace velmora
