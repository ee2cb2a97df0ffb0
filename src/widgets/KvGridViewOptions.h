// The grid's colours and scroll-bar switches (TKvGrid's ViewOptions).
#pragma once

#include <QColor>
#include <cstdint>

namespace velmora {

class TKvGrid;

// The grid's colours and scroll-bar switches. Owned by the grid; Assign copies every
// field. Colour setters repaint the grid; the scroll-bar switches update the bars.
class TViewOptions {
public:
    explicit TViewOptions(TKvGrid* grid);
    TViewOptions(const TViewOptions&) = delete;
    TViewOptions& operator=(const TViewOptions&) = delete;

    void Assign(const TViewOptions& source);
    // Header and selection colours from the desktop palette (the flat greys under a
    // light one, shades of the button face under a dark one); the selected cells'
    // font colours change only where they would not stand out. Does not repaint.
    void AdjustDefaultColors();

    QColor FixedFontColor() const { return FFixedFontColor; }
    void SetFixedFontColor(const QColor& value);
    QColor FixedNormalStartColor() const { return FFixedNormalStartColor; }
    void SetFixedNormalStartColor(const QColor& value);
    QColor FixedNormalEndColor() const { return FFixedNormalEndColor; }
    void SetFixedNormalEndColor(const QColor& value);
    QColor FixedHotStartColor() const { return FFixedHotStartColor; }
    void SetFixedHotStartColor(const QColor& value);
    QColor FixedHotEndColor() const { return FFixedHotEndColor; }
    void SetFixedHotEndColor(const QColor& value);
    QColor SelectedFontColor() const { return FSelectedFontColor; }
    void SetSelectedFontColor(const QColor& value);
    QColor InactiveSelectedFontColor() const { return FInactiveSelectedFontColor; }
    void SetInactiveSelectedFontColor(const QColor& value);
    QColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(const QColor& value);
    QColor InactiveSelectedColor() const { return FInactiveSelectedColor; }
    void SetInactiveSelectedColor(const QColor& value);
    std::uint8_t SelectedColorAlphaBlendValue() const { return FSelectedColorAlphaBlendValue; }
    void SetSelectedColorAlphaBlendValue(std::uint8_t value);
    bool ShowHorzScrollBar() const { return FShowHorzScrollBar; }
    void SetShowHorzScrollBar(bool value);
    bool ShowVertScrollBar() const { return FShowVertScrollBar; }
    void SetShowVertScrollBar(bool value);

private:
    void SetColor(QColor& field, const QColor& value);
    void Repaint();
    void MatchSelectedFontColors();

    TKvGrid* FKvGrid;
    QColor FFixedFontColor;
    QColor FFixedNormalStartColor{0xEC, 0xEC, 0xEC};
    QColor FFixedNormalEndColor{0xCE, 0xCE, 0xCE};
    QColor FFixedHotStartColor{0xF6, 0xF6, 0xF6};
    QColor FFixedHotEndColor{0xD8, 0xD8, 0xD8};
    QColor FSelectedFontColor;
    QColor FInactiveSelectedFontColor;
    QColor FSelectedColor{0x47, 0x5B, 0x8F};
    QColor FInactiveSelectedColor{0xDA, 0xDA, 0xDA};
    std::uint8_t FSelectedColorAlphaBlendValue = 255;
    bool FShowHorzScrollBar = true;
    bool FShowVertScrollBar = true;
};

} // namespace velmora
