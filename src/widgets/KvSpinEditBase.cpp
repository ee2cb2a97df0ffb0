#include "widgets/KvSpinEditBase.h"

#include "widgets/KvUpDownButton.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace velmora {

namespace {
constexpr int DefaultWidth = 121;
constexpr int DefaultHeight = 23;
} // namespace

int KvSpinFrameWidth(TKvSpinStyle style) {
    switch (style) {
    case kssSingle:
        return 2;
    case kssFlat:
        return 1;
    case kssNone:
        break;
    }
    return 0;
}

QRect KvSpinButtonRect(TKvSpinStyle style, QSize size, int buttonWidth) {
    const int f = KvSpinFrameWidth(style);
    return QRect(size.width() - f - buttonWidth, f, buttonWidth,
                 std::max(0, size.height() - 2 * f));
}

int KvSpinFittedHeight(TKvSpinStyle style, int height, int textHeight) {
    const int b = KvSpinFrameWidth(style);
    return height - 2 * b < textHeight ? textHeight + 2 * b : height;
}

TKvSpinEditBase::TKvSpinEditBase(QWidget* parent) : QLineEdit(parent) {
    setFrame(false); // the frame is drawn here, by the style chosen
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    resize(DefaultWidth, DefaultHeight);

    FUpDownButton = new TKvUpDownButton(this);
    FUpDownButton->SetFocusControl(this);
    FUpDownButton->SetOnUpClick([this](QObject*) { StepUp(); });
    FUpDownButton->SetOnDownClick([this](QObject*) { StepDown(); });

    connect(this, &QLineEdit::textChanged, this, [this] {
        if (FOnChange)
            FOnChange();
    });
    LayoutArrows();
}

TKvSpinEditBase::~TKvSpinEditBase() {
    // Children go after this destructor; nothing they do may reach a handler.
    FOnChange = nullptr;
    disconnect(this, &QLineEdit::textChanged, this, nullptr);
}

void TKvSpinEditBase::SetSpinStyle(TKvSpinStyle style) {
    if (style == FSpinStyle)
        return;
    FSpinStyle = style;
    LayoutArrows();
    update();
}

QSize TKvSpinEditBase::sizeHint() const {
    const int h = KvSpinFittedHeight(FSpinStyle, DefaultHeight, fontMetrics().height());
    return QSize(DefaultWidth, h);
}

QSize TKvSpinEditBase::minimumSizeHint() const {
    const int h = KvSpinFittedHeight(FSpinStyle, 0, fontMetrics().height());
    return QSize(FUpDownButton->width() + 2 * KvSpinFrameWidth(FSpinStyle) + 8, h);
}

void TKvSpinEditBase::SetTextIfChanged(const QString& text) {
    if (text != this->text())
        setText(text);
}

void TKvSpinEditBase::LayoutArrows() {
    const int bw = FUpDownButton->width();
    FUpDownButton->setGeometry(KvSpinButtonRect(FSpinStyle, size(), bw));
    // The text line ends 2 pixels before the arrows (the edit keeps its own
    // small margin on each side, which gives those 2 pixels).
    const int f = KvSpinFrameWidth(FSpinStyle);
    setTextMargins(f, f, f + bw, f);
}

void TKvSpinEditBase::FitHeightToFont() {
    const int h = KvSpinFittedHeight(FSpinStyle, height(), fontMetrics().height());
    if (h != height())
        resize(width(), h);
    LayoutArrows();
}

bool TKvSpinEditBase::OnArrows(const QMouseEvent* event) const {
    return FUpDownButton->isVisible() &&
           FUpDownButton->geometry().contains(event->position().toPoint());
}

void TKvSpinEditBase::mousePressEvent(QMouseEvent* event) {
    if (OnArrows(event))
        event->accept();
    else
        QLineEdit::mousePressEvent(event);
}

void TKvSpinEditBase::mouseReleaseEvent(QMouseEvent* event) {
    if (OnArrows(event))
        event->accept();
    else
        QLineEdit::mouseReleaseEvent(event);
}

void TKvSpinEditBase::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OnArrows(event))
        event->accept();
    else
        QLineEdit::mouseDoubleClickEvent(event);
}

void TKvSpinEditBase::mouseMoveEvent(QMouseEvent* event) {
    if (OnArrows(event))
        event->accept();
    else
        QLineEdit::mouseMoveEvent(event);
}

void TKvSpinEditBase::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    LayoutArrows();
}

void TKvSpinEditBase::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    PaintFrame();
}

void TKvSpinEditBase::PaintFrame() {
    if (FSpinStyle == kssNone)
        return;
    QPainter p(this);
    const QPalette& pal = palette();
    // Edges run through the outermost pixels: right() and bottom() are the last column and row.
    const QRect r = rect();
    auto edge = [&p](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.setPen(bottomRight);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    };
    if (FSpinStyle == kssFlat) {
        p.setPen(pal.color(QPalette::Dark));
        p.drawRect(r.adjusted(0, 0, -1, -1)); // a drawn rectangle is one pixel larger
        return;
    }
    // A sunken edge: shadow over dark shadow at the top left, light over the
    // button face at the bottom right.
    edge(r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    edge(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Shadow), pal.color(QPalette::Midlight));
}

void TKvSpinEditBase::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitHeightToFont();
}

void TKvSpinEditBase::wheelEvent(QWheelEvent* event) {
    // One step per wheel message, whatever its size. A message that moves
    // nothing (the end of a touchpad gesture) steps nowhere.
    const QPoint delta = event->angleDelta();
    const int d = delta.y() != 0 ? delta.y() : delta.x();
    if (d > 0)
        StepUp();
    else if (d < 0)
        StepDown();
    event->accept();
}

void TKvSpinEditBase::contextMenuEvent(QContextMenuEvent* event) {
    if (FPopupMenu) {
        FPopupMenu->popup(event->globalPos());
        event->accept();
    } else if (FDefaultContextMenuEnabled) {
        QLineEdit::contextMenuEvent(event);
    } else {
        event->accept();
    }
}

} // namespace velmora
