// The network check and the resume signal.
#include "platform/linux/LinuxPlatform.h"

#include <QDBusConnection>
#include <QObject>
#include <ifaddrs.h>
#include <net/if.h>

namespace velmora {

bool LinuxPlatform::IsNetworkAlive() const {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool alive = false;
    for (ifaddrs* i = list; i && !alive; i = i->ifa_next) {
        if (!i->ifa_addr)
            continue;
        const int family = i->ifa_addr->sa_family;
        const bool up = (i->ifa_flags & IFF_UP) && (i->ifa_flags & IFF_RUNNING);
        alive = up && !(i->ifa_flags & IFF_LOOPBACK) && (family == AF_INET || family == AF_INET6);
    }
    freeifaddrs(list);
    return alive;
}

namespace {

// Receives logind's PrepareForSleep(bool) and calls back when it says false: the
// machine has just woken up.
class ResumeWatch : public QObject {
    Q_OBJECT
public:
    explicit ResumeWatch(std::function<void()> onResume) : FOnResume(std::move(onResume)) {}

public slots:
    void PrepareForSleep(bool start) {
        if (!start && FOnResume)
            FOnResume();
    }

private:
    std::function<void()> FOnResume;
};

} // namespace

void LinuxPlatform::WatchResume(std::function<void()> onResume) {
    auto watch = std::make_unique<ResumeWatch>(std::move(onResume));
    // Subscribed by the service's well-known name, so a logind that restarts (or a
    // test's stand-in on a private bus) is followed.
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
        watch.get(), SLOT(PrepareForSleep(bool)));
    resumeWatch_ = std::move(watch);
}

} // namespace velmora

#include "LinuxSession.moc"
