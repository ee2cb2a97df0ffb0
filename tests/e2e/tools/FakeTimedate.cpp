// Stands in for the system's time service on a private system bus: owns
// org.freedesktop.timedate1 and records every SetTime call, one line each:
//   SetTime <usec> <relative> <interactive> uid=<caller's uid> pkexec=<0|1> prompt=<0|1>
// (pkexec=1 when the caller's environment carries PKEXEC_UID, the mark of a
// program started through pkexec; prompt=1 when the message allows the service
// to ask the user for a password).
//   FakeTimedate accept   answers every call with success (the clock is not touched)
//   FakeTimedate refuse   answers as the real service does while NTP keeps the clock
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <cstdio>

namespace {

bool CallerHasPkexecMark(uint pid) {
    QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
    if (!environ.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& entry : environ.readAll().split('\0'))
        if (entry.startsWith("PKEXEC_UID="))
            return true;
    return false;
}

class TimeService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")
public:
    explicit TimeService(bool refuse) : refuse_(refuse) {}

public slots:
    void SetTime(qlonglong usec, bool relative, bool interactive) {
        QDBusConnectionInterface* bus = connection().interface();
        const uint uid = bus->serviceUid(message().service()).value();
        const uint pid = bus->servicePid(message().service()).value();
        std::printf("SetTime %lld %s %s uid=%u pkexec=%d prompt=%d\n", usec,
                    relative ? "true" : "false", interactive ? "true" : "false", uid,
                    CallerHasPkexecMark(pid) ? 1 : 0,
                    message().isInteractiveAuthorizationAllowed() ? 1 : 0);
        std::fflush(stdout);
        if (refuse_)
            sendErrorReply(QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"),
                           QStringLiteral("Automatic time synchronization is enabled"));
    }

private:
    bool refuse_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool refuse = argc > 1 && QByteArray(argv[1]) == "refuse";
    QDBusConnection bus = QDBusConnection::systemBus();
    TimeService service(refuse);
    if (!bus.isConnected() ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/timedate1"), &service,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.timedate1"))) {
        std::fprintf(stderr, "cannot own org.freedesktop.timedate1 on the system bus\n");
        return 1;
    }
    std::printf("owned\n");
    std::fflush(stdout);
    return app.exec();
}

#include "FakeTimedate.moc"
