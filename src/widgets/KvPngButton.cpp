#include "widgets/KvPngButton.h"

#include "widgets/KvButtonPaint.h"
#include "widgets/KvPng.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace velmora {

namespace {
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;

// "&&" shows as "&"; a single "&" only marks the next letter.
QString CaptionWithoutMnemonic(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                out += caption[++i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

bool DecodeGlyph(const QByteArray& png, QImage& into) {
    // The gamma chunk goes first, so that the glyph's colours match its
    // neighbours' whatever the decoder does with gamma.
    into = KvDecodePng(KvRemoveGammaChunk(png));
    return !into.isNull();
}
} // namespace

TKvPngButton::TKvPngButton(QWidget* parent) : TKvHoverButton(parent) {
    resize(22, 24);
    setMouseTracking(true);
    // The click that closes the drop-down menu must not press the button again.
    setAttribute(Qt::WA_NoMouseReplay);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, SysButtonFace());
    setPalette(pal);
}

TKvPngButton::~TKvPngButton() = default;

// --- properties ------------------------------------------------------------------

void TKvPngButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value)
        return;
    FAllowAllUp = value;
    NotifyGroup();
}

void TKvPngButton::SetButtonStyle(TKvPngButtonStyle value) {
    if (FButtonStyle == value)
        return;
    if (value == pbsDropdown)
        resize(width() + kDropDownArrowWidth, height());
    else if (FButtonStyle == pbsDropdown)
        resize(width() - kDropDownArrowWidth, height());
    FButtonStyle = value;
    repaint();
}

void TKvPngButton::SetDown(bool value) {
    if (value == FDown || (FDown && FGrouped && !FAllowAllUp))
        return;
    FDown = value;
    if (value) {
        if (FButtonState == bsUp)
            repaint();
        FButtonState = bsExclusive;
        NotifyGroup();
    } else {
        FButtonState = bsUp;
        repaint();
    }
}

void TKvPngButton::SetDownOffsetStyle(TKvDownOffsetStyle value) {
    FDownOffsetStyle = value;
    repaint();
}

bool TKvPngButton::SetGlyphUp(const QByteArray& png) {
    const bool ok = DecodeGlyph(png, FGlyphUp);
    FGlyphDisabled = DisabledGlyph(FGlyphUp);
    FImageFromAction = false;
    repaint();
    return ok;
}

bool TKvPngButton::SetGlyphDown(const QByteArray& png) {
    const bool ok = DecodeGlyph(png, FGlyphDown);
    repaint();
    return ok;
}

bool TKvPngButton::SetGlyphHot(const QByteArray& png) {
    const bool ok = DecodeGlyph(png, FGlyphHot);
    repaint();
    return ok;
}

void TKvPngButton::SetGrouped(bool value) {
    if (FGrouped == value)
        return;
    FGrouped = value;
    NotifyGroup();
}

void TKvPngButton::SetLayout(TButtonLayout value) {
    FLayout = value;
    repaint();
}

void TKvPngButton::SetSpacing(int value) {
    FSpacing = value;
    repaint();
}

void TKvPngButton::SetTransparent(bool value) {
    FTransparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    repaint();
}

void TKvPngButton::SetCaption(const QString& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    update();
}

QColor TKvPngButton::Color() const {
    return palette().color(QPalette::Window);
}

void TKvPngButton::SetColor(const QColor& value) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, value);
    setPalette(pal);
    update();
}

// --- action link -------------------------------------------------------------------

void TKvPngButton::SetAction(QAction* action) {
    if (FAction == action)
        return;
    if (FAction)
        disconnect(FAction, nullptr, this, nullptr);
    FAction = action;
    if (!action)
        return;
    connect(action, &QAction::changed, this, [this] { ActionChange(false); });
    ActionChange(false);
}

void TKvPngButton::ActionChange(bool checkDefaults) {
    QAction* action = FAction;
    if (!action)
        return;
    SetCaption(action->text());
    setEnabled(action->isEnabled());
    setToolTip(action->toolTip());
    if (action->isVisible() == isHidden())
        setVisible(action->isVisible());
    const QIcon icon = action->icon();
    if ((FGlyphUp.isNull() || FImageFromAction) && !icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
        FGlyphUp = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        FGlyphDisabled = DisabledGlyph(FGlyphUp);
        FImageFromAction = true;
        update();
    }
    if (action->isCheckable() && !(checkDefaults && FDown))
        SetDown(action->isChecked());
}

// --- grouping ------------------------------------------------------------------------

void TKvPngButton::NotifyGroup() {
    QWidget* parent = parentWidget();
    if (!FGrouped || !parent)
        return;
    const auto siblings = parent->findChildren<TKvPngButton*>(Qt::FindDirectChildrenOnly);
    for (TKvPngButton* b : siblings)
        if (b != this)
            b->ButtonPressed(this);
}

void TKvPngButton::ButtonPressed(TKvPngButton* sender) {
    if (!FGrouped || sender == this)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FButtonState = bsUp;
        if (FAction && FAction->isCheckable())
            FAction->setChecked(false);
        repaint();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

// --- state ----------------------------------------------------------------------------

void TKvPngButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        update();
    } else if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            SetLeftClicked(false);
        FButtonState = isEnabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled;
        if (!UpdateTracking())
            return; // a hover handler destroyed the button
        repaint();
    }
}

// --- press, menu, release ------------------------------------------------------------

void TKvPngButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (FMenuTracking)
        return;
    const QPoint pos = event->position().toPoint();
    SetMouseInControl(rect().contains(pos));
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    if (!FDown) {
        FButtonState = bsDown;
        repaint();
    }
    SetLeftClicked(true);
    FMenuTracking = true;
    QPointer<TKvPngButton> alive(this);
    // Cleared however the press handling ends, also by an exception.
    struct TTrackingGuard {
        QPointer<TKvPngButton>& Button;
        ~TTrackingGuard() {
            if (Button)
                Button->FMenuTracking = false;
        }
    } guard{alive};
    if (ShowDropDownMenu() && alive)
        Release(pos); // the menu took the real release
}

bool TKvPngButton::ShowDropDownMenu() {
    QMenu* menu = FDropDownMenu;
    if (!menu || menu->actions().isEmpty())
        return false;
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    QScreen* screen = QGuiApplication::screenAt(origin);
    if (!screen)
        screen = this->screen();
    const QRect monitor = screen ? screen->geometry() : QRect(origin, size());
    const QSize menuSize = menu->sizeHint();
    QPoint at = DropDownPoint(origin, size(), FDropDownAlignment, monitor, menuSize.height());
    // The point is the menu's left, right or middle.
    if (FDropDownAlignment == paRight)
        at.rx() -= menuSize.width();
    else if (FDropDownAlignment == paCenter)
        at.rx() -= menuSize.width() / 2;
    PopupMenuAt(menu, at);
    return true;
}

void TKvPngButton::PopupMenuAt(QMenu* menu, QPoint screenPoint) {
    menu->exec(screenPoint);
}

void TKvPngButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    TrackMove(event, FDown, FButtonState);
}

void TKvPngButton::mouseReleaseEvent(QMouseEvent* event) {
    // Accepted: a handler below may destroy this button, and the toolkit
    // would otherwise pass the event on to the parent through it.
    event->accept();
    if (event->button() == Qt::LeftButton)
        Release(event->position().toPoint());
}

void TKvPngButton::Release(QPoint pos) {
    if (!LeftClicked())
        return;
    SetLeftClicked(false);
    const bool inside = rect().contains(pos);
    if (FButtonStyle != pbsFlatCheck) {
        FButtonState = bsUp;
        if (inside)
            repaint();
    } else if (inside) {
        // Through the setter: a grouped button that is down stays down.
        SetDown(!FDown);
        repaint();
    } else {
        FButtonState = FDown ? bsExclusive : bsUp;
        repaint();
    }
    if (inside && !FMenuTracking) {
        QPointer<TKvPngButton> alive(this);
        Click();
        if (!alive)
            return;
    }
    UpdateTracking();
}

void TKvPngButton::Click() {
    // A handler of its own wins; otherwise the action runs.
    if (FOnClick) {
        const TNotifyEvent handler = FOnClick;
        handler(this);
    } else if (FAction) {
        FAction->trigger();
    }
}

void TKvPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (FMenuTracking)
        return;
    QPointer<TKvPngButton> alive(this);
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
    if (alive && FDown && FOnDblClick) {
        const TNotifyEvent handler = FOnDblClick;
        handler(this);
    }
}

// --- painting --------------------------------------------------------------------------

bool TKvPngButton::ShownPressed() const {
    return IsShownPressed(FButtonState, MouseInControl());
}

QSize TKvPngButton::CaptionSize() const {
    if (FCaption.isEmpty())
        return QSize(0, 0);
    // Advance widths, line by line, as the caption is laid out when drawn;
    // a bounding box would add a pixel here and there.
    const QFontMetrics fm = fontMetrics();
    const QStringList lines = CaptionWithoutMnemonic(FCaption).split(QLatin1Char('\n'));
    int w = 0;
    for (const QString& line : lines)
        w = std::max(w, fm.horizontalAdvance(line));
    return QSize(w, int(lines.size()) * fm.height());
}

QSize TKvPngButton::sizeHint() const {
    const QSize glyph = FGlyphUp.isNull() ? QSize(0, 0) : FGlyphUp.size();
    const QSize caption = CaptionSize();
    const bool both = !glyph.isEmpty() && !caption.isEmpty();
    const int spacing = both ? FSpacing : 0;
    const int arrow = FButtonStyle == pbsDropdown ? kDropDownArrowWidth : 0;
    const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int w = across ? glyph.width() + spacing + caption.width()
                         : std::max(glyph.width(), caption.width());
    const int h = across ? std::max(glyph.height(), caption.height())
                         : glyph.height() + spacing + caption.height();
    return QSize(std::max(22, w + 8 + arrow), std::max(22, h + 6));
}

TButtonParts TKvPngButton::Parts() const {
    TButtonPartsInput in;
    in.Client = size();
    in.Glyph = CurrentGlyph().size();
    in.Caption = CaptionSize();
    in.Style = FButtonStyle;
    in.Layout = FLayout;
    in.Spacing = FSpacing;
    in.DownOffsetStyle = FDownOffsetStyle;
    in.PressedOrDown = ShownPressed() || FDown;
    return LayoutButtonParts(in);
}

QImage TKvPngButton::CurrentGlyph() const {
    if (!isEnabled() && !FGlyphDisabled.isNull())
        return FGlyphDisabled;
    if ((FButtonState == bsDown || FButtonState == bsExclusive) && !FGlyphDown.isNull())
        return FGlyphDown;
    if (MouseInControl() && !FGlyphHot.isNull())
        return FGlyphHot;
    return FGlyphUp;
}

void TKvPngButton::PaintFrame(QPainter& painter) {
    if (FButtonStyle == pbsNoFrame || FButtonState == bsDisabled)
        return;
    const bool sunken = ShownPressed() || FDown;
    if (sunken)
        Draw3DFrame(painter, rect(), SysButtonShadow(), SysButtonHighlight());
    else if (MouseInControl())
        Draw3DFrame(painter, rect(), SysButtonHighlight(), SysButtonShadow());
}

void TKvPngButton::PaintCaption(QPainter& painter, const QRect& r) {
    if (FCaption.isEmpty())
        return;
    if (!isEnabled()) {
        // Embossed, as disabled captions are drawn on a flat button.
        painter.setPen(SysButtonHighlight());
        painter.drawText(r.translated(1, 1), kTextFlags, FCaption);
        painter.setPen(SysButtonShadow());
    } else {
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    }
    painter.drawText(r, kTextFlags, FCaption);
}

void TKvPngButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    if (!FTransparent)
        painter.fillRect(rect(), Color());
    PaintFrame(painter);
    const TButtonParts parts = Parts();
    const QImage glyph = CurrentGlyph();
    if (!glyph.isNull())
        painter.drawImage(parts.GlyphRect.topLeft(), glyph);
    PaintCaption(painter, parts.CaptionRect);
    if (FButtonStyle == pbsDropdown) {
        const QColor c = palette().color(QPalette::Active, QPalette::WindowText);
        painter.setPen(c);
        painter.setBrush(c);
        painter.drawPolygon(DropDownArrowTriangle(parts.ArrowRect));
    }
}

} // namespace velmora
