// The floor for any Qt clock: a frameless label showing the time, updated by a
// precise timer just after each wall-clock second, and a tray icon. What the real
// clock costs beyond this is its own.
//   velmora_floor_clock [seconds]   (with a count, prints the repaint delay after
//                                    each second boundary in ms and ends)
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

qint64 MsIntoSecond() {
    return QDateTime::currentMSecsSinceEpoch() % 1000;
}

class FloorLabel : public QLabel {
public:
    int Report = 0; // seconds still to report
protected:
    void paintEvent(QPaintEvent* e) override {
        if (Report > 0) {
            std::printf("%lld\n", static_cast<long long>(MsIntoSecond()));
            std::fflush(stdout);
            if (--Report == 0)
                QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        QLabel::paintEvent(e);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FloorLabel label;
    label.Report = argc > 1 ? std::atoi(argv[1]) : 0;
    label.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    label.setWindowTitle(QStringLiteral("FloorClock"));
    label.setMargin(4);
    QPixmap icon(16, 16);
    icon.fill(Qt::darkGreen);
    QSystemTrayIcon tray{QIcon(icon)};
    tray.show();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    auto tick = [&] {
        label.setText(
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd ddd HH:mm:ss")));
        timer.start(int(1000 - MsIntoSecond() + 3)); // just after the next boundary
    };
    QObject::connect(&timer, &QTimer::timeout, tick);
    tick();
    label.show();
    return app.exec();
}
