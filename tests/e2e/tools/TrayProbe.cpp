// A tiny program for the end-to-end tests: puts an icon into the notification area,
// shows one balloon once the icon is there and, when asked, takes it away again.
//   TrayProbe <title> <text> [hide after ms]
// It prints "added" when the icon is in the tray, "balloon" when the balloon went
// out, "hidden" after HideBalloon, and ends by itself after a minute.
#include "widgets/KvTrayIcon.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <cstdio>

using namespace velmora;

namespace {

QImage ProbeImage() {
    QImage image(KvTrayIconSize, KvTrayIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 14, 14);
    return image;
}

void Say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("TrayProbe"));
    app.setApplicationDisplayName(QStringLiteral("TrayProbe"));
    app.setQuitOnLastWindowClosed(false);
    const QStringList args = app.arguments();
    const QString title = args.value(1, QStringLiteral("Probe title"));
    const QString text = args.value(2, QStringLiteral("Probe text"));
    const int hideAfterMs = args.value(3, QStringLiteral("0")).toInt();

    TKvTrayIcon icon;
    icon.SetIcon(ProbeImage());
    icon.SetHint(QStringLiteral("Tray & probe"));
    icon.SetVisible(true);

    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (shown || !icon.Loaded())
            return;
        shown = true;
        Say("added");
        icon.ShowBalloon(title, text, kbfInfo, {}, 10000);
        Say("balloon");
        if (hideAfterMs > 0) {
            QTimer::singleShot(hideAfterMs, &app, [&] {
                icon.HideBalloon();
                Say("hidden");
            });
        }
    });
    poll.start(100);
    QTimer::singleShot(60000, &app, &QApplication::quit);
    return app.exec();
}
