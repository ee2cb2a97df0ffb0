#include "widgets/KvTimerButton.h"

#include "widgets/KvButtonPaint.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace velmora {

TKvTimerButton::TKvTimerButton(QWidget* parent)
    : TKvHoverButton(parent), FRepeatTimer(new QTimer(this)) {
    FRepeatTimer->setSingleShot(false);
    connect(FRepeatTimer, &QTimer::timeout, this, [this] {
        // An exception must not unwind through the event loop; the tick has
        // already stopped the repetition, so the error ends here.
        try {
            RepeatTimerTick();
        } catch (const std::exception& e) {
            qWarning("TKvTimerButton: click handler failed: %s", e.what());
        } catch (...) {
            qWarning("TKvTimerButton: click handler failed");
        }
    });
    setMouseTracking(true);
    resize(21, 23);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, SysButtonFace());
    setPalette(pal);
    SetButtonState(isEnabled() ? bsUp : bsDisabled);
}

TKvTimerButton::~TKvTimerButton() {
    FRepeatTimer->stop();
}

void TKvTimerButton::SetArrowGlyph(TArrowGlyph value) {
    if (FArrowGlyph == value)
        return;
    FArrowGlyph = value;
    ArrowGlyphChanged();
}

void TKvTimerButton::ArrowGlyphChanged() {
    repaint();
}

void TKvTimerButton::SetDown(bool value) {
    if (FDown == value)
        return;
    FDown = value;
    if (!value) {
        FButtonState = isEnabled() ? bsUp : bsDisabled;
        repaint();
    } else if (FButtonState == bsUp) {
        update();
    }
}

void TKvTimerButton::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    repaint();
}

void TKvTimerButton::SetArrowWidth(int value) {
    if (FArrowWidth == value)
        return;
    FArrowWidth = value;
    update();
}

void TKvTimerButton::SetArrowHeight(int value) {
    if (FArrowHeight == value)
        return;
    FArrowHeight = value;
    update();
}

void TKvTimerButton::SetRepeatDelays(TRepeatDelays delays) {
    FRepeatDelays.FirstMs = std::max(1, delays.FirstMs);
    FRepeatDelays.NextMs = std::max(1, delays.NextMs);
}

bool TKvTimerButton::IsRepeating() const {
    return FRepeatTimer->isActive();
}

QRect TKvTimerButton::GetArrowRect() const {
    return ArrowRect(size(), FArrowWidth, FArrowHeight, FArrowGlyph,
                     IsShownPressed(FButtonState, MouseInControl()));
}

void TKvTimerButton::SetButtonState(TButtonState state) {
    FButtonState = state;
}

// --- press, repeat, release ---------------------------------------------------------

void TKvTimerButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    SetMouseInControl(rect().contains(event->position().toPoint()));
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton && isEnabled()) {
        if (!FDown) {
            FButtonState = bsDown;
            repaint();
        }
        SetLeftClicked(true);
        FRepeatTimer->start(FRepeatDelays.FirstMs);
    }
    if (FOnMouseDown) {
        const auto handler = FOnMouseDown;
        handler(this, button);
    }
}

void TKvTimerButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    TrackMove(event, FDown, FButtonState);
}

void TKvTimerButton::RepeatTimerTick() {
    FRepeatTimer->setInterval(FRepeatDelays.NextMs);
    if (LeftClicked() && LostMouseToOtherWindow()) {
        // The release will go to the other window: the press ends here.
        CancelPress();
        FButtonState = isEnabled() ? bsUp : bsDisabled;
        update();
        return;
    }
    // Qt grabs the mouse for the pressed widget until the release.
    if (FButtonState != bsDown || !LeftClicked())
        return;
    QPointer<TKvTimerButton> alive(this);
    try {
        Click();
    } catch (...) {
        // The handler may have destroyed the button, and the timer with it,
        // before it threw; a live button stops repeating.
        if (alive)
            FRepeatTimer->stop();
        throw;
    }
}

bool TKvTimerButton::LostMouseToOtherWindow() const {
    // A modal dialog or a popup opened while the button was held (by a click
    // handler, say) takes the mouse, as a capture change would.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window() && !modal->isAncestorOf(this))
        return true;
    const QWidget* popup = QApplication::activePopupWidget();
    return popup && popup != window();
}

void TKvTimerButton::mouseReleaseEvent(QMouseEvent* event) {
    // Accepted: a handler below may destroy this button, and the toolkit
    // would otherwise pass the event on to the parent through it.
    event->accept();
    if (!LeftClicked() || event->button() != Qt::LeftButton)
        return;
    SetLeftClicked(false);
    FButtonState = bsUp;
    FRepeatTimer->stop();
    if (rect().contains(event->position().toPoint())) {
        repaint();
        QPointer<TKvTimerButton> alive(this);
        Click();
        if (!alive)
            return;
    }
    UpdateTracking();
}

void TKvTimerButton::Click() {
    if (!FOnClick)
        return;
    // The handler may replace itself or destroy the button: call a copy.
    const TNotifyEvent handler = FOnClick;
    handler(this);
}

void TKvTimerButton::CancelPress() {
    SetLeftClicked(false);
    FRepeatTimer->stop();
}

void TKvTimerButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        update(); // the system colours may have changed
    if (event->type() != QEvent::EnabledChange)
        return;
    if (!isEnabled())
        CancelPress();
    FButtonState = isEnabled() ? bsUp : bsDisabled;
    if (!UpdateTracking())
        return; // a hover handler destroyed the button
    repaint();
}

void TKvTimerButton::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A hidden button gets no release: end the press here.
    if (LeftClicked()) {
        CancelPress();
        FButtonState = isEnabled() ? bsUp : bsDisabled;
    }
}

// --- painting -----------------------------------------------------------------------

QColor TKvTimerButton::CurrentArrowColor() const {
    return FButtonState == bsDisabled ? SysGrayText() : SysWindowText();
}

void TKvTimerButton::FrameColors(bool sunken, QColor& topLeft, QColor& bottomRight) const {
    topLeft = sunken ? SysButtonShadow() : SysButtonHighlight();
    bottomRight = sunken ? SysButtonHighlight() : SysButtonShadow();
}

void TKvTimerButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!FTransparent)
        painter.fillRect(rect(), palette().color(QPalette::Window));
    if (FButtonState != bsDisabled) {
        const bool sunken = IsShownPressed(FButtonState, MouseInControl()) || FDown;
        if (sunken || MouseInControl()) {
            QColor topLeft, bottomRight;
            FrameColors(sunken, topLeft, bottomRight);
            Draw3DFrame(painter, rect(), topLeft, bottomRight);
        }
    }
    DrawArrow(painter);
}

void TKvTimerButton::DrawArrow(QPainter& painter) {
    const QRect box = GetArrowRect();
    DrawArrowTriangle(painter, ArrowTriangle(box, FArrowGlyph), CurrentArrowColor());
}

} // namespace velmora
