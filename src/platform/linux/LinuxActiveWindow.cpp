// Watching the active window for the full-screen state. The window manager names
// the active window in the root window's _NET_ACTIVE_WINDOW and keeps each
// window's states in its _NET_WM_STATE; the X server reports changes of both as
// property events, so nothing here ever polls. Only the root window, the active
// window and one held window are watched, and only while someone asks.
#include "platform/linux/LinuxPlatform.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <map>
#include <xcb/xcb.h>

namespace velmora {

namespace {

xcb_connection_t* XcbConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
    auto cookie = xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// The 32-bit items of a property; empty when the window or the property is missing.
std::vector<uint32_t> ReadItems(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property,
                                xcb_atom_t type) {
    std::vector<uint32_t> out;
    auto cookie = xcb_get_property(c, 0, w, property, type, 0, 64);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    if (reply && reply->format == 32) {
        const auto* items = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        out.assign(items, items + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return out;
}

// The X server counts device pixels. The toolkit keeps each screen's top-left
// corner and scales the rest of it by the screen's ratio.
QRect ToLogical(const QRect& device) {
    for (QScreen* sc : QGuiApplication::screens()) {
        const qreal ratio = sc->devicePixelRatio();
        const QRect logical = sc->geometry();
        const QRect native(logical.topLeft(), logical.size() * ratio);
        if (!native.contains(device.center()) || ratio <= 0)
            continue;
        const auto scale = [&](int v, int origin) {
            return int(std::nearbyint(origin + (v - origin) / ratio));
        };
        const QPoint tl(scale(device.left(), native.left()), scale(device.top(), native.top()));
        return QRect(tl, QSize(int(std::nearbyint(device.width() / ratio)),
                               int(std::nearbyint(device.height() / ratio))));
    }
    return device;
}

class ActiveWindowWatch : public QObject, public QAbstractNativeEventFilter {
public:
    ActiveWindowWatch(xcb_connection_t* c, TActiveWindowWatch onChange)
        : FConn(c), FOnChange(std::move(onChange)) {
        FRoot = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        FActiveAtom = Intern(c, "_NET_ACTIVE_WINDOW");
        FStateAtom = Intern(c, "_NET_WM_STATE");
        FFullAtom = Intern(c, "_NET_WM_STATE_FULLSCREEN");
        FHiddenAtom = Intern(c, "_NET_WM_STATE_HIDDEN");
        FPidAtom = Intern(c, "_NET_WM_PID");
        FLeaderAtom = Intern(c, "WM_CLIENT_LEADER");
        Follow(FRoot, XCB_EVENT_MASK_PROPERTY_CHANGE);
        QCoreApplication::instance()->installNativeEventFilter(this);
        Schedule(); // the state as it is now
    }
    ~ActiveWindowWatch() override {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        for (const auto& [w, added] : FAdded)
            Release(w, added);
        xcb_flush(FConn);
    }

    void Hold(uint64_t window) {
        if (FHeld == xcb_window_t(window))
            return;
        FHeld = xcb_window_t(window);
        FollowWindows();
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* e = static_cast<const xcb_generic_event_t*>(message);
        switch (e->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* p = static_cast<const xcb_property_notify_event_t*>(message);
            if ((p->window == FRoot && p->atom == FActiveAtom) ||
                (Watched(p->window) && p->atom == FStateAtom))
                Schedule();
            break;
        }
        case XCB_CONFIGURE_NOTIFY:
            if (Watched(static_cast<const xcb_configure_notify_event_t*>(message)->window))
                Schedule();
            break;
        case XCB_DESTROY_NOTIFY:
            if (Watched(static_cast<const xcb_destroy_notify_event_t*>(message)->window))
                Schedule();
            break;
        case XCB_UNMAP_NOTIFY:
            if (Watched(static_cast<const xcb_unmap_notify_event_t*>(message)->window))
                Schedule();
            break;
        case XCB_MAP_NOTIFY:
            if (Watched(static_cast<const xcb_map_notify_event_t*>(message)->window))
                Schedule();
            break;
        default:
            break;
        }
        return false; // the toolkit sees every event as before
    }

private:
    static constexpr uint32_t kWindowMask =
        XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

    bool Watched(xcb_window_t w) const { return w && (w == FActive || w == FHeld); }

    // A burst of events (the active window and its state change together) is
    // answered once, after the toolkit has seen them, with one consistent look.
    void Schedule() {
        if (FScheduled)
            return;
        FScheduled = true;
        QMetaObject::invokeMethod(
            this, [this] { Refresh(); }, Qt::QueuedConnection);
    }

    void Refresh() {
        FScheduled = false;
        const auto active = ReadItems(FConn, FRoot, FActiveAtom, XCB_ATOM_WINDOW);
        FActive = active.empty() ? 0 : active[0];
        FollowWindows();
        const TWindowFacts a = Facts(FActive);
        const TWindowFacts h = FHeld == FActive ? a : Facts(FHeld);
        xcb_flush(FConn);
        FOnChange(a, h);
    }

    // Asks for the events of the active and the held window, and stops asking
    // for those of windows that are neither any more.
    void FollowWindows() {
        for (auto it = FAdded.begin(); it != FAdded.end();) {
            if (it->first != FRoot && !Watched(it->first)) {
                Release(it->first, it->second);
                it = FAdded.erase(it);
            } else {
                ++it;
            }
        }
        for (xcb_window_t w : {FActive, FHeld})
            if (w && !FAdded.count(w))
                Follow(w, kWindowMask);
        xcb_flush(FConn);
    }

    // Event masks belong to each client and window: our own windows already carry
    // the toolkit's, which must stay; only the bits added here are taken back.
    void Follow(xcb_window_t w, uint32_t wanted) {
        auto cookie = xcb_get_window_attributes(FConn, w);
        xcb_get_window_attributes_reply_t* attrs =
            xcb_get_window_attributes_reply(FConn, cookie, nullptr);
        if (!attrs)
            return; // gone already; the next event says what is active now
        const uint32_t current = attrs->your_event_mask;
        free(attrs);
        const uint32_t added = wanted & ~current;
        FAdded[w] = added;
        if (added) {
            const uint32_t mask = current | added;
            free(xcb_request_check(
                FConn, xcb_change_window_attributes_checked(FConn, w, XCB_CW_EVENT_MASK, &mask)));
        }
    }

    void Release(xcb_window_t w, uint32_t added) {
        if (!added)
            return;
        auto cookie = xcb_get_window_attributes(FConn, w);
        xcb_get_window_attributes_reply_t* attrs =
            xcb_get_window_attributes_reply(FConn, cookie, nullptr);
        if (!attrs)
            return;
        const uint32_t mask = attrs->your_event_mask & ~added;
        free(attrs);
        free(xcb_request_check(
            FConn, xcb_change_window_attributes_checked(FConn, w, XCB_CW_EVENT_MASK, &mask)));
    }

    TWindowFacts Facts(xcb_window_t w) const {
        TWindowFacts f;
        if (!w)
            return f;
        auto attrCookie = xcb_get_window_attributes(FConn, w);
        auto geoCookie = xcb_get_geometry(FConn, w);
        auto whereCookie = xcb_translate_coordinates(FConn, w, FRoot, 0, 0);
        xcb_get_window_attributes_reply_t* attrs =
            xcb_get_window_attributes_reply(FConn, attrCookie, nullptr);
        xcb_get_geometry_reply_t* geo = xcb_get_geometry_reply(FConn, geoCookie, nullptr);
        xcb_translate_coordinates_reply_t* where =
            xcb_translate_coordinates_reply(FConn, whereCookie, nullptr);
        if (attrs && geo && where) {
            f.Window = w;
            f.Geometry = ToLogical(QRect(where->dst_x, where->dst_y, geo->width, geo->height));
            const auto states = ReadItems(FConn, w, FStateAtom, XCB_ATOM_ATOM);
            const auto has = [&states](xcb_atom_t a) {
                return std::find(states.begin(), states.end(), a) != states.end();
            };
            f.FullScreen =
                attrs->map_state == XCB_MAP_STATE_VIEWABLE && has(FFullAtom) && !has(FHiddenAtom);
            f.Program = ProgramOf(w);
        }
        free(attrs);
        free(geo);
        free(where);
        return f;
    }

    // Windows of one program share their process id (marked apart from window ids)
    // or their client leader; a window that names neither is a program of its own.
    uint64_t ProgramOf(xcb_window_t w) const {
        const auto pid = ReadItems(FConn, w, FPidAtom, XCB_ATOM_CARDINAL);
        if (!pid.empty() && pid[0])
            return (uint64_t(1) << 32) | pid[0];
        const auto leader = ReadItems(FConn, w, FLeaderAtom, XCB_ATOM_WINDOW);
        return !leader.empty() && leader[0] ? leader[0] : w;
    }

    xcb_connection_t* FConn;
    TActiveWindowWatch FOnChange;
    xcb_window_t FRoot = 0;
    xcb_window_t FActive = 0;
    xcb_window_t FHeld = 0;
    xcb_atom_t FActiveAtom = 0, FStateAtom = 0, FFullAtom = 0, FHiddenAtom = 0, FPidAtom = 0,
               FLeaderAtom = 0;
    std::map<xcb_window_t, uint32_t> FAdded; // the event bits asked for here, per window
    bool FScheduled = false;
};

} // namespace

void LinuxPlatform::WatchActiveWindow(TActiveWindowWatch onChange) {
    activeWatch_.reset();
    if (!onChange)
        return;
    if (xcb_connection_t* c = XcbConnection())
        activeWatch_ = std::make_unique<ActiveWindowWatch>(c, std::move(onChange));
}

void LinuxPlatform::HoldWindow(uint64_t window) {
    if (auto* watch = static_cast<ActiveWindowWatch*>(activeWatch_.get()))
        watch->Hold(window);
}

} // namespace velmora
