// Learning that a notification-area host started or went away: the owner of the
// system tray selection changes, and the X server tells us so (XFixes), with no
// polling.
#include "platform/linux/LinuxPlatform.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <xcb/xcb.h>

namespace velmora {

namespace {

Display* TrayDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

class TrayHostWatch : public QObject, public QAbstractNativeEventFilter {
public:
    TrayHostWatch(Display* d, std::function<void()> onChange) : FOnChange(std::move(onChange)) {
        int errorBase = 0;
        if (!XFixesQueryExtension(d, &FEventBase, &errorBase))
            return;
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(d));
        FSelection = XInternAtom(d, name.constData(), False);
        XFixesSelectSelectionInput(d, DefaultRootWindow(d), FSelection,
                                   XFixesSetSelectionOwnerNotifyMask |
                                       XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
        XFlush(d);
        QCoreApplication::instance()->installNativeEventFilter(this);
        FInstalled = true;
    }
    ~TrayHostWatch() override {
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

} // namespace

void LinuxPlatform::WatchTrayHost(std::function<void()> onChange) {
    trayWatch_.reset();
    if (Display* d = TrayDisplay())
        trayWatch_ = std::make_unique<TrayHostWatch>(d, std::move(onChange));
}

} // namespace velmora
