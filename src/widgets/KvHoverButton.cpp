#include "widgets/KvHoverButton.h"

#include <QApplication>
#include <QCursor>
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

void TKvHoverButton::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    MouseEnter();
}

void TKvHoverButton::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    MouseLeave();
}

} // namespace velmora
