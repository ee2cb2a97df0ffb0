// Whether a compositing manager blends translucent windows now. Its selection on
// the screen says one runs; KDE's window manager keeps that selection while its
// compositing is suspended (by the user's shortcut, by a full-screen game), and
// says so only on the session bus.
#include "platform/linux/LinuxPlatform.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QObject>
#include <X11/Xlib.h>
#undef Bool // Xlib's macro would hide the toolkit's type names

namespace velmora {

namespace {

const QString kKWinService = QStringLiteral("org.kde.KWin");
const QString kKWinCompositor = QStringLiteral("/Compositor");
const QString kKWinCompositing = QStringLiteral("org.kde.kwin.Compositing");
// Asked once per owner of the selection; a window manager that does not answer
// soon is taken at the selection's word.
constexpr int kAskTimeoutMs = 500;

Display* CompositorDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// KWin's own word, when it is on the session bus and gives one.
std::optional<bool> AskKWinCompositing() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(kKWinService).value())
        return std::nullopt;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        kKWinService, kKWinCompositor, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    ask << kKWinCompositing << QStringLiteral("active");
    const QDBusMessage reply = bus.call(ask, QDBus::Block, kAskTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariant active = reply.arguments().constFirst().value<QDBusVariant>().variant();
    if (active.typeId() != QMetaType::Bool)
        return std::nullopt;
    return active.toBool();
}

// Receives KWin's compositingToggled(bool) as it suspends or resumes compositing.
class KWinCompositingWatch : public QObject {
    Q_OBJECT
public:
    explicit KWinCompositingWatch(std::function<void(bool)> onToggled)
        : FOnToggled(std::move(onToggled)) {}

public slots:
    void CompositingToggled(bool active) {
        if (FOnToggled)
            FOnToggled(active);
    }

private:
    std::function<void(bool)> FOnToggled;
};

} // namespace

bool LinuxPlatform::CompositorActive() const {
    Display* d = CompositorDisplay();
    if (!d)
        return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(d));
    if (XGetSelectionOwner(d, XInternAtom(d, name.constData(), False)) == None)
        return false;
    if (!kwinCompositing_)
        kwinCompositing_ = AskKWinCompositing().value_or(true);
    return *kwinCompositing_;
}

void LinuxPlatform::WatchKWinCompositing(std::function<void()> onChange) {
    kwinWatch_.reset();
    kwinCompositing_.reset();
    if (!onChange)
        return;
    auto watch = std::make_unique<KWinCompositingWatch>([this, onChange](bool active) {
        kwinCompositing_ = active;
        onChange();
    });
    // By the well-known name: a window manager started or replaced later is followed.
    QDBusConnection::sessionBus().connect(kKWinService, kKWinCompositor, kKWinCompositing,
                                          QStringLiteral("compositingToggled"), watch.get(),
                                          SLOT(CompositingToggled(bool)));
    kwinWatch_ = std::move(watch);
}

} // namespace velmora

#include "LinuxCompositor.moc"
