// A pair of arrow buttons with configurable colours (KvTimerButtonEx.h) that can
// blend its parent's picture into its own background, so that only the arrows
// stand out on a painted parent. Events as in KvUpDownButton.h.
#pragma once

#include "widgets/KvTimerButtonEx.h"
#include "widgets/KvUpDownButton.h"

#include <QImage>

namespace velmora {

class TKvAlphaUpDownButton : public TKvCustomUpDownButton {
    Q_OBJECT
public:
    // Arrow size and colours of both halves. Setters pass the value to both.
    class TButtonOptions {
    public:
        explicit TButtonOptions(TKvAlphaUpDownButton* owner);
        TButtonOptions(const TButtonOptions&) = delete;
        TButtonOptions& operator=(const TButtonOptions&) = delete;
        int ArrowWidth() const { return FArrowWidth; }
        void SetArrowWidth(int value);
        int ArrowHeight() const { return FArrowHeight; }
        void SetArrowHeight(int value);
        QColor ArrowColor() const { return FArrowColor; }
        void SetArrowColor(const QColor& value);
        QColor DisabledArrowColor() const { return FDisabledArrowColor; }
        void SetDisabledArrowColor(const QColor& value);
        QColor HotBorderTopColor() const { return FHotBorderTopColor; }
        void SetHotBorderTopColor(const QColor& value);
        QColor HotBorderBottomColor() const { return FHotBorderBottomColor; }
        void SetHotBorderBottomColor(const QColor& value);
        QColor DownBorderTopColor() const { return FDownBorderTopColor; }
        void SetDownBorderTopColor(const QColor& value);
        QColor DownBorderBottomColor() const { return FDownBorderBottomColor; }
        void SetDownBorderBottomColor(const QColor& value);
        void Assign(const TButtonOptions& source);

    private:
        template <typename Setter> void ToHalves(Setter set);

        TKvAlphaUpDownButton* FKvAlphaUpDownButton;
        int FArrowWidth = 6;
        int FArrowHeight = 3;
        QColor FArrowColor;
        QColor FDisabledArrowColor;
        QColor FHotBorderTopColor;
        QColor FHotBorderBottomColor;
        QColor FDownBorderTopColor;
        QColor FDownBorderBottomColor;
    };

    explicit TKvAlphaUpDownButton(QWidget* parent = nullptr);

    TButtonOptions& ButtonOptions() { return FButtonOptions; }
    const TButtonOptions& ButtonOptions() const { return FButtonOptions; }
    void SetButtonOptions(const TButtonOptions& value) { FButtonOptions.Assign(value); }
    TKvTimerButtonEx* UpButtonEx() const;
    TKvTimerButtonEx* DownButtonEx() const;

    // When on, the parent's picture shows through the background:
    // AlphaBlendValue 0 shows the parent unchanged, 255 the plain Color.
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    quint8 AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(quint8 value);

protected:
    void FitOptionsToOrientation() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintBlendedBackground(QPainter& painter);

    TButtonOptions FButtonOptions{this};
    bool FAlphaBlend = false;
    quint8 FAlphaBlendValue = 255;
    QImage FParentBmp;
    QImage FSelfBmp;
};

} // namespace velmora
