#include "widgets/KvHoverButton.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>

namespace velmora {

bool TKvHoverButton::Notify(const TNotifyEvent& handler) {
    if (!isEnabled() || !handler)
        return true;
    QPointer<QWidget> alive(this);
    const TNotifyEvent copy = handler;
    copy(this);
    return !alive.isNull();
}

bool TKvHoverButton::MouseEnter() {
    if (!Notify(FOnMouseEnter))
        return false;
    if (FMouseInControl || !isEnabled() || QWidget::mouseGrabber() != nullptr)
        return true;
    FMouseInControl = true;
    repaint();
    return true;
}

bool TKvHoverButton::MouseLeave() {
    if (!Notify(FOnMouseLeave))
        return false;
    if (FMouseInControl && isEnabled() && !FLeftClicked) {
        FMouseInControl = false;
        repaint();
    }
    return true;
}

bool TKvHoverButton::UpdateTracking() {
    if (!isEnabled())
        return true;
    const bool over = isVisible() && QApplication::widgetAt(QCursor::pos()) == this;
    // Start from the opposite so that the notification takes effect.
    FMouseInControl = !over;
    return over ? MouseEnter() : MouseLeave();
}

void TKvHoverButton::TrackMove(QMouseEvent* event, bool down, TButtonState& state) {
    if (FLeftClicked) {
        const bool inside = rect().contains(event->position().toPoint());
        const TButtonState held = HeldButtonState(inside, down);
        if (held != state) {
            state = held;
            repaint();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TKvHoverButton::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    MouseEnter();
}

void TKvHoverButton::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    MouseLeave();
}

} // namespace velmora
