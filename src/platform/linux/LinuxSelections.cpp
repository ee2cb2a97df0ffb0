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
#include <algorithm>
#include <cmath>
#include <vector>
#include <xcb/shape.h>
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

namespace {

// Qt's own connection: a request queued on it goes out with the next picture Qt
// sends, in one write, instead of waking the X server (and, on a busy machine,
// being preempted by it) once more each tick.
xcb_connection_t* InputShapeConnection(QWidget* window) {
    if (!window || !window->testAttribute(Qt::WA_WState_Created) ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return nullptr;
    // Known after the first time: xcb keeps the answer for the connection.
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(c, &xcb_shape_id);
    return shape && shape->present ? c : nullptr;
}

// The X server counts device pixels; a rectangle is limited to its 16-bit fields.
xcb_rectangle_t DeviceRect(double x0, double y0, double x1, double y1) {
    const auto edge = [](double v, double lo, double hi) { return int(std::clamp(v, lo, hi)); };
    const int left = edge(x0, -32768, 32767), top = edge(y0, -32768, 32767);
    const int right = edge(x1, left, left + 65535.0), bottom = edge(y1, top, top + 65535.0);
    return {int16_t(left), int16_t(top), uint16_t(right - left), uint16_t(bottom - top)};
}

// A see-through clock's region has a few hundred rectangles and changes every
// second: at the usual scale of 1 they are taken as they are.
std::vector<xcb_rectangle_t> DeviceRects(const QRegion& region, qreal scale) {
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(size_t(region.rectCount()));
    if (scale == 1.0) {
        for (const QRect& r : region)
            rects.push_back(DeviceRect(r.left(), r.top(), r.right() + 1.0, r.bottom() + 1.0));
        return rects;
    }
    for (const QRect& r : region)
        rects.push_back(DeviceRect(std::floor(r.left() * scale), std::floor(r.top() * scale),
                                   std::ceil((r.right() + 1) * scale),
                                   std::ceil((r.bottom() + 1) * scale)));
    return rects;
}

} // namespace

void LinuxPlatform::SetInputRegion(QWidget* window, const std::optional<QRegion>& region) {
    xcb_connection_t* c = InputShapeConnection(window);
    if (!c)
        return;
    const auto w = static_cast<xcb_window_t>(window->winId());
    // Queued, not flushed: Qt flushes its connection before the program sleeps.
    if (!region) {
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, w, 0, 0, XCB_NONE);
        return;
    }
    const qreal scale = window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0;
    const std::vector<xcb_rectangle_t> rects = DeviceRects(*region, scale);
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, w, 0,
                         0, uint32_t(rects.size()), rects.data());
}

} // namespace velmora
