#include "widgets/KvGridViewOptions.h"

#include "widgets/KvContrast.h"
#include "widgets/KvGrid.h"
#include "widgets/KvGridLogic.h"

namespace velmora {

TViewOptions::TViewOptions(TKvGrid* grid)
    : FKvGrid(grid), FFixedFontColor(grid->palette().color(QPalette::WindowText)),
      FSelectedFontColor(grid->palette().color(QPalette::Base)),
      FInactiveSelectedFontColor(grid->palette().color(QPalette::Text)) {
    MatchSelectedFontColors();
}

void TViewOptions::MatchSelectedFontColors() {
    // The palette's colours, unless they would vanish into the selection colours
    // (a dark palette's light text on the light grey of an unfocused selection).
    FSelectedFontColor = ReadableTextColor(FSelectedColor, FSelectedFontColor);
    FInactiveSelectedFontColor =
        ReadableTextColor(FInactiveSelectedColor, FInactiveSelectedFontColor);
}

void TViewOptions::Assign(const TViewOptions& source) {
    if (&source == this)
        return;
    SetFixedFontColor(source.FFixedFontColor);
    SetFixedNormalStartColor(source.FFixedNormalStartColor);
    SetFixedNormalEndColor(source.FFixedNormalEndColor);
    SetFixedHotStartColor(source.FFixedHotStartColor);
    SetFixedHotEndColor(source.FFixedHotEndColor);
    SetSelectedFontColor(source.FSelectedFontColor);
    SetInactiveSelectedFontColor(source.FInactiveSelectedFontColor);
    SetSelectedColor(source.FSelectedColor);
    SetInactiveSelectedColor(source.FInactiveSelectedColor);
    SetSelectedColorAlphaBlendValue(source.FSelectedColorAlphaBlendValue);
    SetShowHorzScrollBar(source.FShowHorzScrollBar);
    SetShowVertScrollBar(source.FShowVertScrollBar);
}

void TViewOptions::AdjustDefaultColors() {
    // The desktop draws its own themes; the grid keeps the flat look under a light
    // palette and takes shades of a dark palette's button face, so that its light
    // text stays readable on the headers.
    const QPalette& pal = FKvGrid->palette();
    const TVisualStyle style = IsDarkPalette(pal) ? TVisualStyle::ThemedLegacy : TVisualStyle::Off;
    const TGridDefaultColors c =
        CalcDefaultColors(style, pal.color(QPalette::Button), pal.color(QPalette::Highlight));
    FFixedNormalStartColor = c.FixedNormalStart;
    FFixedNormalEndColor = c.FixedNormalEnd;
    FFixedHotStartColor = c.FixedHotStart;
    FFixedHotEndColor = c.FixedHotEnd;
    FSelectedColor = c.Selected;
    FInactiveSelectedColor = c.InactiveSelected;
    MatchSelectedFontColors();
}

void TViewOptions::Repaint() {
    FKvGrid->viewport()->update();
}

void TViewOptions::SetColor(QColor& field, const QColor& value) {
    if (field == value)
        return;
    field = value;
    Repaint();
}

void TViewOptions::SetFixedFontColor(const QColor& value) {
    SetColor(FFixedFontColor, value);
}
void TViewOptions::SetFixedNormalStartColor(const QColor& value) {
    SetColor(FFixedNormalStartColor, value);
}
void TViewOptions::SetFixedNormalEndColor(const QColor& value) {
    SetColor(FFixedNormalEndColor, value);
}
void TViewOptions::SetFixedHotStartColor(const QColor& value) {
    SetColor(FFixedHotStartColor, value);
}
void TViewOptions::SetFixedHotEndColor(const QColor& value) {
    SetColor(FFixedHotEndColor, value);
}
void TViewOptions::SetSelectedFontColor(const QColor& value) {
    SetColor(FSelectedFontColor, value);
}
void TViewOptions::SetInactiveSelectedFontColor(const QColor& value) {
    SetColor(FInactiveSelectedFontColor, value);
}
void TViewOptions::SetSelectedColor(const QColor& value) {
    SetColor(FSelectedColor, value);
}
void TViewOptions::SetInactiveSelectedColor(const QColor& value) {
    SetColor(FInactiveSelectedColor, value);
}

void TViewOptions::SetSelectedColorAlphaBlendValue(std::uint8_t value) {
    if (value == FSelectedColorAlphaBlendValue)
        return;
    FSelectedColorAlphaBlendValue = value;
    Repaint();
}

void TViewOptions::SetShowHorzScrollBar(bool value) {
    if (value == FShowHorzScrollBar)
        return;
    FShowHorzScrollBar = value;
    FKvGrid->UpdateScrollBars();
}

void TViewOptions::SetShowVertScrollBar(bool value) {
    if (value == FShowVertScrollBar)
        return;
    FShowVertScrollBar = value;
    FKvGrid->UpdateScrollBars();
}

} // namespace velmora
