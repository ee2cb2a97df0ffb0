// Learning that a notification-area host or a compositing manager started or went
// away: each owns a selection on the screen, and the X server tells us when the
// owner changes (XFixes), with no polling. Also where clicks land on a window
// whose see-through pixels a compositor blends (the input shape).
#include "platform/linux/LinuxPlatform.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shapeconst.h>
#include <cmath>
#include <vector>
#include <xcb/xcb.h>

namespace velmora {

namespace {

Display* SelectionDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// Calls `onChange` whenever the owner of the selection `<prefix><screen>` changes.
class SelectionOwnerWatch : public QObject, public QAbstractNativeEventFilter {
public:
    SelectionOwnerWatch(Display* d, const QByteArray& prefix, std::function<void()> onChange)
        : FOnChange(std::move(onChange)) {
        int errorBase = 0;
        if (!XFixesQueryExtension(d, &FEventBase, &errorBase))
            return;
        const QByteArray name = prefix + QByteArray::number(DefaultScreen(d));
        FSelection = XInternAtom(d, name.constData(), False);
        XFixesSelectSelectionInput(d, DefaultRootWindow(d), FSelection,
                                   XFixesSetSelectionOwnerNotifyMask |
                                       XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
        XFlush(d);
        QCoreApplication::instance()->installNativeEventFilter(this);
        FInstalled = true;
    }
    ~SelectionOwnerWatch() override {
        if (FInstalled)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != FEventBase + XFixesSelectionNotify)
            return false;
        // xcb_xfixes_selection_notify_event_t: the selection atom follows the owner.
        struct Notify {
            uint8_t response_type, subtype;
            uint16_t sequence;
            uint32_t window, owner, selection;
        };
        if (static_cast<const Notify*>(message)->selection != FSelection)
            return false;
        // Asked after the toolkit has seen the same change itself.
        QMetaObject::invokeMethod(this, FOnChange, Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> FOnChange;
    int FEventBase = 0;
    Atom FSelection = 0;
    bool FInstalled = false;
};

std::unique_ptr<QObject> WatchSelection(const QByteArray& prefix, std::function<void()> onChange) {
    if (Display* d = SelectionDisplay())
        return std::make_unique<SelectionOwnerWatch>(d, prefix, std::move(onChange));
    return nullptr;
}

} // namespace

void LinuxPlatform::WatchTrayHost(std::function<void()> onChange) {
    trayWatch_.reset();
    trayWatch_ = WatchSelection("_NET_SYSTEM_TRAY_S", std::move(onChange));
}

void LinuxPlatform::WatchCompositor(std::function<void()> onChange) {
    compositorWatch_.reset();
    // A new owner of the selection (or none) is asked afresh whether it composites.
    compositorWatch_ = WatchSelection("_NET_WM_CM_S", [this, onChange] {
        kwinCompositing_.reset();
        if (onChange)
            onChange();
    });
    WatchKWinCompositing(std::move(onChange));
}

void LinuxPlatform::SetInputRegion(QWidget* window, const std::optional<QRegion>& region) {
    Display* d = SelectionDisplay();
    if (!d || !window || !window->testAttribute(Qt::WA_WState_Created))
        return;
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(d, &eventBase, &errorBase))
        return;
    const Window w = static_cast<Window>(window->winId());
    if (!region) {
        XFixesSetWindowShapeRegion(d, w, ShapeInput, 0, 0, None);
        XFlush(d);
        return;
    }
    // The X server counts device pixels.
    const qreal scale = window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0;
    std::vector<XRectangle> rects;
    rects.reserve(size_t(region->rectCount()));
    for (const QRect& r : *region) {
        const int x0 = int(std::floor(r.left() * scale)), y0 = int(std::floor(r.top() * scale));
        const int x1 = int(std::ceil((r.right() + 1) * scale));
        const int y1 = int(std::ceil((r.bottom() + 1) * scale));
        rects.push_back({short(x0), short(y0), static_cast<unsigned short>(x1 - x0),
                         static_cast<unsigned short>(y1 - y0)});
    }
    const XserverRegion shape = XFixesCreateRegion(d, rects.data(), int(rects.size()));
    XFixesSetWindowShapeRegion(d, w, ShapeInput, 0, 0, shape);
    XFixesDestroyRegion(d, shape);
    XFlush(d);
}

} // namespace velmora
