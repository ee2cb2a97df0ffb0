#include "widgets/KvTimerButtonEx.h"

#include "widgets/KvButtonPaint.h"

namespace velmora {

TKvTimerButtonEx::TKvTimerButtonEx(QWidget* parent)
    : TKvTimerButton(parent), FArrowColor(SysWindowText()), FDisabledArrowColor(SysGrayText()),
      FHotBorderTopColor(SysButtonHighlight()), FHotBorderBottomColor(SysButtonShadow()),
      FDownBorderTopColor(SysButtonShadow()), FDownBorderBottomColor(SysButtonHighlight()) {
    resize(20, 22);
    SetArrowWidth(6);
    SetArrowHeight(3);
}

void TKvTimerButtonEx::SetColorField(QColor& field, const QColor& value) {
    if (field == value)
        return;
    field = value;
    update();
}

QColor TKvTimerButtonEx::CurrentArrowColor() const {
    return ButtonState() == bsDisabled ? FDisabledArrowColor : FArrowColor;
}

void TKvTimerButtonEx::FrameColors(bool sunken, QColor& topLeft, QColor& bottomRight) const {
    topLeft = sunken ? FDownBorderTopColor : FHotBorderTopColor;
    bottomRight = sunken ? FDownBorderBottomColor : FHotBorderBottomColor;
}

} // namespace velmora
