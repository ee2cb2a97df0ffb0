#include "widgets/KvUpDownButton.h"

#include "widgets/KvButtonPaint.h"

namespace velmora {

// --- TKvCustomUpDownButton ----------------------------------------------------------

TKvCustomUpDownButton::TKvCustomUpDownButton(QWidget* parent, const THalfFactory& makeHalf,
                                             QSize initialSize)
    : QWidget(parent), FUpButton(makeHalf(this)), FDownButton(makeHalf(this)),
      FInitialSize(initialSize) {
    FUpButton->setProperty("Tag", 0);
    FDownButton->setProperty("Tag", 1);
    for (TKvTimerButton* half : {FUpButton, FDownButton}) {
        half->SetOnClick([this](QObject* sender) { HalfClick(sender); });
        half->SetOnMouseDown([this](QObject*, Qt::MouseButton b) { HalfMouseDown(b); });
        half->SetDown(false);
    }
    setAutoFillBackground(true);
    SetColor(SysButtonFace());
    UpdateGlyphs();
    resize(initialSize);
    LayoutHalves();
}

void TKvCustomUpDownButton::SetOrientation(TButtonOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    UpdateGlyphs();
    LayoutHalves();
    FitOptionsToOrientation();
    update();
}

bool TKvCustomUpDownButton::UpButtonDown() const {
    return FUpButton->Down();
}
void TKvCustomUpDownButton::SetUpButtonDown(bool value) {
    FUpButton->SetDown(value);
}
bool TKvCustomUpDownButton::DownButtonDown() const {
    return FDownButton->Down();
}
void TKvCustomUpDownButton::SetDownButtonDown(bool value) {
    FDownButton->SetDown(value);
}

QColor TKvCustomUpDownButton::Color() const {
    return palette().color(QPalette::Window);
}

void TKvCustomUpDownButton::SetColor(const QColor& value) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, value);
    setPalette(pal);
    update();
}

void TKvCustomUpDownButton::SetRepeatDelays(TRepeatDelays delays) {
    FUpButton->SetRepeatDelays(delays);
    FDownButton->SetRepeatDelays(delays);
}

void TKvCustomUpDownButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutHalves();
}

void TKvCustomUpDownButton::LayoutHalves() {
    const auto [up, down] = PairLayout(FOrientation, size());
    FUpButton->setGeometry(up);
    FDownButton->setGeometry(down);
}

void TKvCustomUpDownButton::UpdateGlyphs() {
    const auto [up, down] = PairGlyphs(FOrientation);
    FUpButton->SetArrowGlyph(up);
    FDownButton->SetArrowGlyph(down);
}

void TKvCustomUpDownButton::HalfClick(QObject* half) {
    const TNotifyEvent handler = half == FUpButton ? FOnUpClick : FOnDownClick;
    if (handler)
        handler(this);
}

void TKvCustomUpDownButton::HalfMouseDown(Qt::MouseButton button) {
    if (button != Qt::LeftButton || !isEnabled())
        return;
    QWidget* target = FFocusControl;
    if (target && (target->focusPolicy() & Qt::TabFocus) && target->isEnabled() &&
        target->isVisible() && !target->hasFocus())
        target->setFocus(Qt::MouseFocusReason);
}

// --- TKvUpDownButton ----------------------------------------------------------------

TKvUpDownButton::TKvUpDownButton(QWidget* parent)
    : TKvCustomUpDownButton(
          parent, [](QWidget* p) { return new TKvTimerButton(p); }, QSize(16, 15)) {}

void TKvUpDownButton::FitOptionsToOrientation() {
    const QSize fitted = FitArrowToOrientation(
        Orientation(), QSize(FButtonOptions.ArrowWidth(), FButtonOptions.ArrowHeight()));
    FButtonOptions.SetArrowWidth(fitted.width());
    FButtonOptions.SetArrowHeight(fitted.height());
}

void TKvUpDownButton::TButtonOptions::SetArrowWidth(int value) {
    if (FArrowWidth == value)
        return;
    FArrowWidth = value;
    FKvUpDownButton->UpButton()->SetArrowWidth(value);
    FKvUpDownButton->DownButton()->SetArrowWidth(value);
}

void TKvUpDownButton::TButtonOptions::SetArrowHeight(int value) {
    if (FArrowHeight == value)
        return;
    FArrowHeight = value;
    FKvUpDownButton->UpButton()->SetArrowHeight(value);
    FKvUpDownButton->DownButton()->SetArrowHeight(value);
}

void TKvUpDownButton::TButtonOptions::Assign(const TButtonOptions& source) {
    SetArrowWidth(source.FArrowWidth);
    SetArrowHeight(source.FArrowHeight);
}

} // namespace velmora
