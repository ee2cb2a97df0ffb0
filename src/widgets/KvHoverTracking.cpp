#include "widgets/KvHoverTracking.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>

namespace velmora {

namespace {
// Runs a handler that may destroy `owner` (and this tracker with it).
bool Notify(QWidget* owner, const TKvHoverTracking::TNotifyEvent& handler) {
    if (!owner->isEnabled() || !handler)
        return true;
    QPointer<QWidget> alive(owner);
    const TKvHoverTracking::TNotifyEvent copy = handler;
    copy(owner);
    return !alive.isNull();
}
} // namespace

bool TKvHoverTracking::MouseEnter() {
    if (!Notify(FOwner, FOnMouseEnter))
        return false;
    if (FMouseInControl || !FOwner->isEnabled() || QWidget::mouseGrabber() != nullptr)
        return true;
    FMouseInControl = true;
    FOwner->repaint();
    return true;
}

bool TKvHoverTracking::MouseLeave(bool leftClicked) {
    if (!Notify(FOwner, FOnMouseLeave))
        return false;
    if (FMouseInControl && FOwner->isEnabled() && !leftClicked) {
        FMouseInControl = false;
        FOwner->repaint();
    }
    return true;
}

bool TKvHoverTracking::Update(bool leftClicked) {
    if (!FOwner->isEnabled())
        return true;
    const bool over = FOwner->isVisible() && QApplication::widgetAt(QCursor::pos()) == FOwner;
    // Start from the opposite so that the notification takes effect.
    FMouseInControl = !over;
    return over ? MouseEnter() : MouseLeave(leftClicked);
}

} // namespace velmora
