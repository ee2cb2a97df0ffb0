#include "widgets/KvAlphaUpDownButton.h"

#include "widgets/KvButtonPaint.h"

#include <QPainter>

namespace velmora {

// --- TKvAlphaUpDownButton::TButtonOptions --------------------------------------------

TKvAlphaUpDownButton::TButtonOptions::TButtonOptions(TKvAlphaUpDownButton* owner)
    : FKvAlphaUpDownButton(owner), FArrowColor(SysWindowText()), FDisabledArrowColor(SysGrayText()),
      FHotBorderTopColor(SysButtonHighlight()), FHotBorderBottomColor(SysButtonShadow()),
      FDownBorderTopColor(SysButtonShadow()), FDownBorderBottomColor(SysButtonHighlight()) {}

template <typename Setter> void TKvAlphaUpDownButton::TButtonOptions::ToHalves(Setter set) {
    set(FKvAlphaUpDownButton->UpButtonEx());
    set(FKvAlphaUpDownButton->DownButtonEx());
}

void TKvAlphaUpDownButton::TButtonOptions::SetArrowWidth(int value) {
    FArrowWidth = value;
    ToHalves([value](TKvTimerButtonEx* b) { b->SetArrowWidth(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetArrowHeight(int value) {
    FArrowHeight = value;
    ToHalves([value](TKvTimerButtonEx* b) { b->SetArrowHeight(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetArrowColor(const QColor& value) {
    FArrowColor = value;
    ToHalves([&value](TKvTimerButtonEx* b) { b->SetArrowColor(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetDisabledArrowColor(const QColor& value) {
    FDisabledArrowColor = value;
    ToHalves([&value](TKvTimerButtonEx* b) { b->SetDisabledArrowColor(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetHotBorderTopColor(const QColor& value) {
    FHotBorderTopColor = value;
    ToHalves([&value](TKvTimerButtonEx* b) { b->SetHotBorderTopColor(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetHotBorderBottomColor(const QColor& value) {
    FHotBorderBottomColor = value;
    ToHalves([&value](TKvTimerButtonEx* b) { b->SetHotBorderBottomColor(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetDownBorderTopColor(const QColor& value) {
    FDownBorderTopColor = value;
    ToHalves([&value](TKvTimerButtonEx* b) { b->SetDownBorderTopColor(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::SetDownBorderBottomColor(const QColor& value) {
    FDownBorderBottomColor = value;
    ToHalves([&value](TKvTimerButtonEx* b) { b->SetDownBorderBottomColor(value); });
}

void TKvAlphaUpDownButton::TButtonOptions::Assign(const TButtonOptions& source) {
    SetArrowWidth(source.FArrowWidth);
    SetArrowHeight(source.FArrowHeight);
    SetArrowColor(source.FArrowColor);
    SetDisabledArrowColor(source.FDisabledArrowColor);
    SetHotBorderTopColor(source.FHotBorderTopColor);
    SetHotBorderBottomColor(source.FHotBorderBottomColor);
    SetDownBorderTopColor(source.FDownBorderTopColor);
    SetDownBorderBottomColor(source.FDownBorderBottomColor);
}

// --- TKvAlphaUpDownButton -----------------------------------------------------------

TKvAlphaUpDownButton::TKvAlphaUpDownButton(QWidget* parent)
    : TKvCustomUpDownButton(
          parent, [](QWidget* p) { return new TKvTimerButtonEx(p); }, QSize(16, 16)) {
    // The background is painted here, blended or not.
    setAutoFillBackground(false);
}

TKvTimerButtonEx* TKvAlphaUpDownButton::UpButtonEx() const {
    return static_cast<TKvTimerButtonEx*>(UpButton());
}

TKvTimerButtonEx* TKvAlphaUpDownButton::DownButtonEx() const {
    return static_cast<TKvTimerButtonEx*>(DownButton());
}

void TKvAlphaUpDownButton::SetAlphaBlend(bool value) {
    if (FAlphaBlend == value)
        return;
    FAlphaBlend = value;
    update();
}

void TKvAlphaUpDownButton::SetAlphaBlendValue(quint8 value) {
    if (FAlphaBlendValue == value)
        return;
    FAlphaBlendValue = value;
    update();
}

void TKvAlphaUpDownButton::FitOptionsToOrientation() {
    const QSize fitted = FitArrowToOrientation(
        Orientation(), QSize(FButtonOptions.ArrowWidth(), FButtonOptions.ArrowHeight()));
    FButtonOptions.SetArrowWidth(fitted.width());
    FButtonOptions.SetArrowHeight(fitted.height());
}

void TKvAlphaUpDownButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!FAlphaBlend || FAlphaBlendValue == 255 || parentWidget() == nullptr) {
        painter.fillRect(rect(), Color());
        return;
    }
    PaintBlendedBackground(painter);
}

void TKvAlphaUpDownButton::PaintBlendedBackground(QPainter& painter) {
    const qreal dpr = devicePixelRatioF();
    FSelfBmp = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
    FSelfBmp.setDevicePixelRatio(dpr);
    FSelfBmp.fill(Color());
    // Only the parent's own picture under this control is needed; without
    // its children, so that this control does not paint itself recursively.
    FParentBmp = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
    FParentBmp.setDevicePixelRatio(dpr);
    FParentBmp.fill(Qt::transparent);
    parentWidget()->render(&FParentBmp, QPoint(), QRegion(geometry()),
                           QWidget::DrawWindowBackground);
    {
        QPainter blend(&FSelfBmp);
        blend.setOpacity((255 - FAlphaBlendValue) / 255.0);
        blend.drawImage(QPoint(0, 0), FParentBmp);
    }
    painter.drawImage(QPoint(0, 0), FSelfBmp);
}

} // namespace velmora
