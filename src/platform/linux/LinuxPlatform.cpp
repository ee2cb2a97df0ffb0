#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/InstanceChannel.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace velmora {

std::unique_ptr<Platform> CreatePlatform() {
    return std::make_unique<LinuxPlatform>();
}

namespace {

Display* XDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

Atom AtomOf(Display* d, const char* name) {
    return XInternAtom(d, name, False);
}

// Sends an EWMH client message about `window` to the root window, as pagers do.
void SendRootMessage(Display* d, Window window, const char* type, long l0, long l1 = 0, long l2 = 0,
                     long l3 = 0, long l4 = 0) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = AtomOf(d, type);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = l0;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    ev.xclient.data.l[4] = l4;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &ev);
    XFlush(d);
}

// Reads a property made of 32-bit items (atoms or windows).
std::vector<unsigned long> ReadLongs(Display* d, Window w, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(d, w, property, 0, 64, False, type, &actualType, &format, &count, &after,
                           &data) == Success &&
        data && format == 32) {
        auto* items = reinterpret_cast<unsigned long*>(data);
        out.assign(items, items + count);
    }
    if (data)
        XFree(data);
    return out;
}

bool IsMapped(Display* d, Window w) {
    XWindowAttributes attrs{};
    return XGetWindowAttributes(d, w, &attrs) && attrs.map_state != IsUnmapped;
}

} // namespace

LinuxPlatform::LinuxPlatform(TLaunchHelpers helpers)
    : helpers_(std::move(helpers)), watches_(std::make_unique<QObject>()),
      sounds_(std::make_unique<QObject>()) {}
// A sound still playing ends with the clock, its player with it.
LinuxPlatform::~LinuxPlatform() {
    StopSound();
}

TLocaleVars LinuxPlatform::MessageLocale() const {
    return {qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
            qEnvironmentVariable("LANG")};
}

QString LinuxPlatform::RuntimeDir(QString* refused) const {
    if (!runtimeDir_) {
        runtimeDir_ = RuntimeDirFromEnvironment();
        if (runtimeDir_->Path.isEmpty())
            std::fprintf(stderr, "velmora: no private runtime folder: %s: %s\n",
                         qPrintable(runtimeDir_->Refused), DirProblemText(runtimeDir_->Problem));
    }
    if (refused)
        *refused = runtimeDir_->Refused;
    return runtimeDir_->Path;
}

QString LinuxPlatform::RendezvousPath(const QString& name, const QString& extension) const {
    const QString dir = RuntimeDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + name + extension;
}

QString LinuxPlatform::ChannelPath(const QString& name) const {
    return RendezvousPath(name, QStringLiteral(".sock"));
}

bool LinuxPlatform::AcquireInstanceLock(const QString& name) {
    const QString path = RendezvousPath(name, QStringLiteral(".lock"));
    if (path.isEmpty())
        return true; // no private folder: the caller has said so; run unguarded
    auto lock = std::make_unique<QLockFile>(path);
    // Never stale by age: only a lock whose process is gone is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return true;
    }
    // Could not decide (for example an unwritable folder): behave as the only one.
    return lock->error() != QLockFile::LockFailedError;
}

bool LinuxPlatform::ActivateOtherInstance(const QString& name) {
    const QString path = ChannelPath(name);
    if (path.isEmpty())
        return false;
    return SendLine(path, "ACTIVATE\n", 2000);
}

bool LinuxPlatform::ListenForRequests(const QString& name, std::function<void()> onActivate,
                                      std::function<void(const QByteArray&)> onMessage) {
    channel_.reset();
    const QString path = ChannelPath(name);
    if (path.isEmpty()) {
        std::fprintf(stderr, "velmora: no instance channel: no private runtime folder\n");
        return false;
    }
    auto channel = std::make_unique<TInstanceChannel>(TChannelLimits{}, getuid());
    QString error;
    if (!channel->Listen(path, &error)) {
        std::fprintf(stderr, "velmora: cannot listen on %s: %s\n", qPrintable(path),
                     qPrintable(error));
        return false;
    }
    channel->SetOnLine([onActivate, onMessage](const QByteArray& line) {
        if (line == "ACTIVATE") {
            if (onActivate)
                onActivate();
        } else if (onMessage) {
            onMessage(line);
        }
    });
    channel_ = std::move(channel);
    return true;
}

void LinuxPlatform::StopListening() {
    channel_.reset();
}

QColor LinuxPlatform::SystemColor(int index) const {
    const QPalette p = QGuiApplication::palette();
    switch (index) {
    case 0:
        return p.color(QPalette::Button); // scroll bar
    case 1:
        return p.color(QPalette::Window); // desktop background
    case 2:
    case 27:
        return p.color(QPalette::Highlight);
    case 3:
    case 28:
        return p.color(QPalette::Inactive, QPalette::Highlight);
    case 4:
    case 30:
        return p.color(QPalette::Window); // menu, menu bar
    case 5:
        return p.color(QPalette::Base);
    case 6:
        return p.color(QPalette::Shadow);
    case 7:
        return p.color(QPalette::WindowText);
    case 8:
        return p.color(QPalette::Text);
    case 9:
        return p.color(QPalette::HighlightedText);
    case 10:
    case 11:
        return p.color(QPalette::Mid);
    case 12:
        return p.color(QPalette::Dark);
    case 13:
    case 29:
        return p.color(QPalette::Highlight);
    case 14:
        return p.color(QPalette::HighlightedText);
    case 15:
        return p.color(QPalette::Button);
    case 16:
        return p.color(QPalette::Dark);
    case 17:
        return p.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return p.color(QPalette::ButtonText);
    case 19:
        return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
        return p.color(QPalette::Light);
    case 21:
        return p.color(QPalette::Shadow);
    case 22:
        return p.color(QPalette::Midlight);
    case 23:
        return p.color(QPalette::ToolTipText);
    case 24:
        return p.color(QPalette::ToolTipBase);
    case 26:
        return p.color(QPalette::Link);
    default:
        return QColor(Qt::black);
    }
}

QFont LinuxPlatform::MenuFont() const {
    return QApplication::font("QMenu");
}

QString LinuxPlatform::AnchorColorText() const {
    const QColor link = QGuiApplication::palette().color(QPalette::Link);
    if (!link.isValid())
        return {};
    return QStringLiteral("%1,%2,%3").arg(link.red()).arg(link.green()).arg(link.blue());
}

void LinuxPlatform::MakeToolWindow(QWidget* window) {
    Display* d = XDisplay();
    if (!d || !window)
        return;
    if (window->testAttribute(Qt::WA_WState_Created) && window->isVisible()) {
        const Window w = static_cast<Window>(window->winId());
        if (IsMapped(d, w)) {
            SendRootMessage(d, w, "_NET_WM_STATE", 1 /* add */,
                            long(AtomOf(d, "_NET_WM_STATE_SKIP_TASKBAR")),
                            long(AtomOf(d, "_NET_WM_STATE_SKIP_PAGER")), 2);
            return;
        }
    }
    // Not mapped yet: the toolkit writes the window's states itself while it maps
    // it, so ask the window manager, as pagers do, once it has mapped the window.
    QPointer<QWidget> guard(window);
    auto retries = std::make_shared<int>(100);
    auto* timer = new QTimer(window);
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [this, guard, timer, retries] {
        Display* dpy = XDisplay();
        if (!guard || !dpy || --*retries < 0) {
            timer->deleteLater();
            return;
        }
        if (!guard->isVisible() || !guard->testAttribute(Qt::WA_WState_Created) ||
            !IsMapped(dpy, static_cast<Window>(guard->winId())))
            return;
        timer->deleteLater();
        MakeToolWindow(guard);
        if (!pendingClass_.first.isEmpty())
            SetWindowClass(guard, pendingClass_.first, pendingClass_.second);
    });
    timer->start();
}

void LinuxPlatform::SetWindowClass(QWidget* window, const QString& instance,
                                   const QString& className) {
    // The toolkit names the class itself when it creates the native window; ours is
    // set on the window as it is then.
    pendingClass_ = {instance, className};
    Display* d = XDisplay();
    if (!d || !window || !window->testAttribute(Qt::WA_WState_Created))
        return;
    QByteArray res = instance.toUtf8();
    QByteArray cls = className.toUtf8();
    XClassHint hint{res.data(), cls.data()};
    XSetClassHint(d, static_cast<Window>(window->winId()), &hint);
    XFlush(d);
}

void LinuxPlatform::SetStacking(QWidget* window, TStacking stacking) {
    if (!window)
        return;
    const Qt::WindowFlags stackFlags = Qt::WindowStaysOnTopHint | Qt::WindowStaysOnBottomHint;
    const Qt::WindowFlags wanted = stacking == TStacking::Topmost  ? Qt::WindowStaysOnTopHint
                                   : stacking == TStacking::Bottom ? Qt::WindowStaysOnBottomHint
                                                                   : Qt::WindowFlags();
    if (!window->isVisible() || !window->windowHandle()) {
        // Not shown yet: the flags go with the window when it is created. Changing
        // them re-parents the widget, which forgets its position.
        const QPoint pos = window->pos();
        window->setWindowFlags((window->windowFlags() & ~stackFlags) | wanted);
        window->move(pos);
        return;
    }
    // QWidget::setWindowFlags would unmap the window and drop its skip states.
    QWindow* handle = window->windowHandle();
    handle->setFlags((handle->flags() & ~stackFlags) | wanted);
    MakeToolWindow(window);
    if (stacking == TStacking::Bottom)
        handle->lower();
    else if (stacking == TStacking::Topmost)
        handle->raise();
}

bool LinuxPlatform::DesktopIsForeground() const {
    Display* d = XDisplay();
    if (!d)
        return false;
    const auto active =
        ReadLongs(d, DefaultRootWindow(d), AtomOf(d, "_NET_ACTIVE_WINDOW"), XA_WINDOW);
    if (active.empty() || active[0] == 0)
        return true;
    const auto types = ReadLongs(d, Window(active[0]), AtomOf(d, "_NET_WM_WINDOW_TYPE"), XA_ATOM);
    const Atom desktop = AtomOf(d, "_NET_WM_WINDOW_TYPE_DESKTOP");
    return std::find(types.begin(), types.end(), desktop) != types.end();
}

void LinuxPlatform::ForceForeground(QWidget* window) {
    if (!window)
        return;
    if (Display* d = XDisplay())
        SendRootMessage(d, static_cast<Window>(window->winId()), "_NET_ACTIVE_WINDOW",
                        2 /* from a pager: not subject to focus stealing prevention */,
                        CurrentTime);
    window->raise();
    window->activateWindow();
}

std::optional<QPoint> LinuxPlatform::WindowPosition(QWidget* window) const {
    Display* d = XDisplay();
    if (!d || !window || !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(d, static_cast<Window>(window->winId()), DefaultRootWindow(d), 0, 0,
                               &x, &y, &child))
        return std::nullopt;
    // The X server counts device pixels; a scaled toolkit (QT_SCALE_FACTOR, a
    // HiDPI screen) places windows in logical ones.
    const qreal ratio = window->devicePixelRatioF();
    if (ratio <= 0 || ratio == 1)
        return QPoint(x, y);
    return QPoint(int(std::nearbyint(x / ratio)), int(std::nearbyint(y / ratio)));
}

bool LinuxPlatform::StartSystemMove(QWidget* window, const QPoint& pressed) {
    Display* d = XDisplay();
    if (!d || !window || !window->testAttribute(Qt::WA_WState_Created))
        return false;
    const Atom moveResize = AtomOf(d, "_NET_WM_MOVERESIZE");
    const auto supported = ReadLongs(d, DefaultRootWindow(d), AtomOf(d, "_NET_SUPPORTED"), XA_ATOM);
    if (std::find(supported.begin(), supported.end(), moveResize) == supported.end())
        return false;
    // The press's implicit grab would keep the window manager from taking the pointer.
    XUngrabPointer(d, CurrentTime);
    // Anchored where the button went down: the window manager then moves the
    // window by all of the way the pointer has come since the press.
    const qreal ratio = window->devicePixelRatioF() > 0 ? window->devicePixelRatioF() : 1.0;
    SendRootMessage(d, static_cast<Window>(window->winId()), "_NET_WM_MOVERESIZE",
                    long(std::nearbyint(pressed.x() * ratio)),
                    long(std::nearbyint(pressed.y() * ratio)), 8 /* move */, 1 /* left button */,
                    1 /* from an application */);
    return true;
}

bool LinuxPlatform::LeftButtonHeld() const {
    Display* d = XDisplay();
    if (!d)
        return QGuiApplication::mouseButtons() & Qt::LeftButton;
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask))
        return false;
    return mask & Button1Mask;
}

} // namespace velmora
