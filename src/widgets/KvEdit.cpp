#include "widgets/KvEdit.h"

#include "widgets/KvButtonPaint.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethod>
#include <QMenu>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace velmora {

TKvCustomEdit::TKvCustomEdit(QWidget* parent)
    : QLineEdit(parent), FFlatBorderColor(SysButtonShadow()) {
    // The frame is drawn here, in the bands around the text line.
    setFrame(false);
    setContentsMargins(0, 0, 0, 0);
    resize(121, 23);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    RecalcFrame();
}

QSize TKvCustomEdit::sizeHint() const {
    const QMargins m = textMargins();
    return QSize(QLineEdit::sizeHint().width() - m.left() - m.right() + 2 * FLayout.TextLine.left(),
                 height());
}

QSize TKvCustomEdit::minimumSizeHint() const {
    TEditFrameInput in = FrameInput();
    in.Height = 0;
    return QSize(QLineEdit::minimumSizeHint().width() - textMargins().left() -
                     textMargins().right() + 2 * FLayout.TextLine.left(),
                 EditAutoHeight(in));
}

void TKvCustomEdit::SetCornerRadius(int value) {
    value = std::max(0, value);
    if (FCornerRadius == value)
        return;
    FCornerRadius = value;
    RecalcFrame();
}

void TKvCustomEdit::SetFlatBorderColor(const QColor& value) {
    if (FFlatBorderColor == value)
        return;
    FFlatBorderColor = value;
    RecalcFrame();
}

void TKvCustomEdit::SetFlatStyle(TKvFlatStyle value) {
    if (FFlatStyle == value)
        return;
    FFlatStyle = value;
    RecalcFrame();
}

void TKvCustomEdit::SetVerticalAlignment(TVerticalAlignment value) {
    if (FVerticalAlignment == value)
        return;
    FVerticalAlignment = value;
    RecalcFrame();
}

void TKvCustomEdit::SetBorderStyle(TEditBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecalcFrame();
}

QColor TKvCustomEdit::Color() const {
    return palette().color(QPalette::Base);
}

void TKvCustomEdit::SetColor(const QColor& value) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, value);
    setPalette(pal);
    update();
}

void TKvCustomEdit::SetTextHint(const QString& value) {
    FTextHint = value;
    setPlaceholderText(hasFocus() ? QString() : value);
}

namespace {

// A context menu or another window taking the activation leaves the focus where
// it was: the control is not entered or left.
bool MovesBetweenControls(const QFocusEvent* event) {
    return event->reason() != Qt::PopupFocusReason &&
           event->reason() != Qt::ActiveWindowFocusReason;
}

} // namespace

void TKvCustomEdit::focusInEvent(QFocusEvent* event) {
    // The hint says what to type; once the user is typing it only distracts.
    setPlaceholderText(QString());
    QLineEdit::focusInEvent(event);
    if (FOnEnter && MovesBetweenControls(event)) {
        const auto handler = FOnEnter;
        handler(this);
    }
}

void TKvCustomEdit::focusOutEvent(QFocusEvent* event) {
    setPlaceholderText(FTextHint);
    QLineEdit::focusOutEvent(event);
    if (FOnExit && MovesBetweenControls(event)) {
        const auto handler = FOnExit;
        handler(this);
    }
}

void TKvCustomEdit::mouseMoveEvent(QMouseEvent* event) {
    QLineEdit::mouseMoveEvent(event);
    if (FOnMouseMove) {
        const auto handler = FOnMouseMove;
        const QPoint p = event->position().toPoint();
        handler(this, event->modifiers(), p.x(), p.y());
    }
}

void KvSwitchInputMethodOff(QWidget* window) {
    QWidget* focused = window ? window->focusWidget() : nullptr;
    if (!focused || !focused->testAttribute(Qt::WA_InputMethodEnabled))
        return;
    QInputMethod* im = QGuiApplication::inputMethod();
    im->commit();
    // Taking the control away from the input method ends its conversion state;
    // handing it back at once lets the user switch the input method on again.
    focused->setAttribute(Qt::WA_InputMethodEnabled, false);
    im->update(Qt::ImEnabled);
    focused->setAttribute(Qt::WA_InputMethodEnabled, true);
    im->update(Qt::ImEnabled);
}

void TKvCustomEdit::SetNumbersOnly(bool value) {
    if (FNumbersOnly == value)
        return;
    FNumbersOnly = value;
    if (value)
        setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    else
        setValidator(nullptr);
}

TEditFrameInput TKvCustomEdit::FrameInput() const {
    TEditFrameInput in;
    in.Width = width();
    in.Height = height();
    in.TextHeight = fontMetrics().height();
    in.SystemBorder = 1;
    in.BorderStyle = FBorderStyle;
    in.FlatStyle = FFlatStyle;
    in.VerticalAlignment = FVerticalAlignment;
    return in;
}

void TKvCustomEdit::RecalcFrame() {
    FLayout = EditFrameLayout(FrameInput());
    const QRect line = FLayout.TextLine;
    // The toolkit centres its line in what the margins leave, which is
    // exactly one line high.
    setTextMargins(line.left(), line.top(), width() - line.left() - line.width(),
                   height() - line.top() - line.height());
    update();
}

void TKvCustomEdit::AdjustHeightToFont() {
    const int wanted = EditAutoHeight(FrameInput());
    if (wanted != height())
        resize(width(), wanted);
    RecalcFrame();
}

void TKvCustomEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    RecalcFrame();
}

void TKvCustomEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustHeightToFont();
}

void TKvCustomEdit::paintEvent(QPaintEvent* event) {
    {
        QPainter p(this);
        p.fillRect(FLayout.TextLine, Color());
    }
    QLineEdit::paintEvent(event);
    PaintFrame();
}

void TKvCustomEdit::PaintFrame() {
    QPainter p(this);
    p.setClipRegion(QRegion(rect()) - QRegion(FLayout.TextLine));
    const QRect all = rect();
    if (FBorderStyle == ebsSingle) {
        p.fillRect(all, Color());
        p.setPen(SysButtonShadow());
        p.drawRect(all.adjusted(0, 0, -1, -1));
        return;
    }
    if (FFlatStyle != kfsFlatRounded) {
        p.fillRect(all, Color());
        if (FFlatStyle == kfsFlatNormal) {
            p.setPen(FFlatBorderColor);
            p.drawRect(all.adjusted(0, 0, -1, -1));
        }
        return;
    }
    const QWidget* parent = parentWidget();
    p.fillRect(all, parent ? parent->palette().color(QPalette::Window) : Color());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(0.5, 0.5); // pixel centres
    p.setPen(QPen(FFlatBorderColor, 1.0));
    p.setBrush(Color());
    const qreal r = FCornerRadius;
    p.drawRoundedRect(QRectF(0, 0, width() - 1, height() - 1), r, r);
}

void TKvCustomEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (FPopupMenu) {
        FPopupMenu->exec(event->globalPos());
        event->accept();
        return;
    }
    if (FDefaultContextMenuEnabled) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    event->accept();
}

void TKvCustomEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    if (FOnDblClick) {
        const auto handler = FOnDblClick;
        handler(this);
    }
}

} // namespace velmora
