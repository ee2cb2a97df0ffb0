// Stands in for logind on a private system bus: owns org.freedesktop.login1 and
// announces a sleep and a resume, as logind does around a suspend.
//   FakeLogind [seconds to wait before announcing]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
        std::fprintf(stderr, "cannot own org.freedesktop.login1 on the system bus\n");
        return 1;
    }
    std::printf("owned\n");
    std::fflush(stdout);
    QThread::msleep(argc > 1 ? atoi(argv[1]) * 1000 : 1000);
    for (bool start : {true, false}) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
        signal << start;
        bus.send(signal);
        QThread::msleep(300);
    }
    std::printf("resumed\n");
    return 0;
}
