// An arrow button with configurable colours that never follow the desktop theme:
// the half of the blending arrow pair (KvAlphaUpDownButton.h). Events as in
// KvTimerButton.h.
#pragma once

#include "widgets/KvTimerButton.h"

#include <QColor>

namespace velmora {

class TKvTimerButtonEx : public TKvTimerButton {
    Q_OBJECT
public:
    explicit TKvTimerButtonEx(QWidget* parent = nullptr);

    QColor ArrowColor() const { return FArrowColor; }
    void SetArrowColor(const QColor& value) { SetColorField(FArrowColor, value); }
    QColor DisabledArrowColor() const { return FDisabledArrowColor; }
    void SetDisabledArrowColor(const QColor& value) { SetColorField(FDisabledArrowColor, value); }
    QColor HotBorderTopColor() const { return FHotBorderTopColor; }
    void SetHotBorderTopColor(const QColor& value) { SetColorField(FHotBorderTopColor, value); }
    QColor HotBorderBottomColor() const { return FHotBorderBottomColor; }
    void SetHotBorderBottomColor(const QColor& value) {
        SetColorField(FHotBorderBottomColor, value);
    }
    QColor DownBorderTopColor() const { return FDownBorderTopColor; }
    void SetDownBorderTopColor(const QColor& value) { SetColorField(FDownBorderTopColor, value); }
    QColor DownBorderBottomColor() const { return FDownBorderBottomColor; }
    void SetDownBorderBottomColor(const QColor& value) {
        SetColorField(FDownBorderBottomColor, value);
    }

protected:
    QColor CurrentArrowColor() const override;
    void FrameColors(bool sunken, QColor& topLeft, QColor& bottomRight) const override;
    void ArrowGlyphChanged() override { update(); }

private:
    void SetColorField(QColor& field, const QColor& value);

    QColor FArrowColor;
    QColor FDisabledArrowColor;
    QColor FHotBorderTopColor;
    QColor FHotBorderBottomColor;
    QColor FDownBorderTopColor;
    QColor FDownBorderBottomColor;
};

} // namespace velmora
