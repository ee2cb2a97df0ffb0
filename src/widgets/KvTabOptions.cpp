#include "widgets/KvTabOptions.h"

#include "widgets/KvContrast.h"
#include "widgets/KvGridLogic.h"

#include <QGuiApplication>

namespace velmora {

void TTabOptions::Assign(const TTabOptions& source) {
    if (&source == this)
        return;
    FTabWidth = source.FTabWidth;
    FTabHeight = source.FTabHeight;
    FTabCloseFigure = source.FTabCloseFigure;
    FTabBorderRadius = source.FTabBorderRadius;
    FTabLeftMargin = source.FTabLeftMargin;
    FTabRightMargin = source.FTabRightMargin;
    FTabPosition = source.FTabPosition;
    FTabDrawingStyle = source.FTabDrawingStyle;
    FTabGradientDirection = source.FTabGradientDirection;
    FBarGradientDirection = source.FBarGradientDirection;
    FBorderColor = source.FBorderColor;
    FActiveStartColor = source.FActiveStartColor;
    FActiveEndColor = source.FActiveEndColor;
    FInactiveStartColor = source.FInactiveStartColor;
    FInactiveEndColor = source.FInactiveEndColor;
    FHotStartColor = source.FHotStartColor;
    FHotEndColor = source.FHotEndColor;
    FBarStartColor = source.FBarStartColor;
    FBarEndColor = source.FBarEndColor;
    FModifiedFontColor = source.FModifiedFontColor;
}

void TTabOptions::AdjustDefaultColors() {
    AdjustDefaultColors(FKvTabSet ? FKvTabSet->TabPalette() : QGuiApplication::palette());
}

void TTabOptions::AdjustDefaultColors(const QPalette& palette) {
    if (IsDarkPalette(palette)) {
        // The luminance steps of a themed look, taken from the dark button face.
        const QColor face = palette.color(QPalette::Button);
        FBarStartColor = AdjustLuma(face, -25);
        FBarEndColor = AdjustLuma(face, -5);
        FBorderColor = AdjustLuma(face, -45);
        FActiveStartColor = AdjustLuma(face, 15);
        FActiveEndColor = AdjustLuma(face, -10);
        FInactiveStartColor = AdjustLuma(face, -10);
        FInactiveEndColor = AdjustLuma(face, -35);
        FHotStartColor = AdjustLuma(face, 5);
        FHotEndColor = AdjustLuma(face, -20);
        return;
    }
    // This platform has no themed tab look to follow, so the flat greys apply.
    FBarStartColor = QColor(0xB0, 0xB0, 0xB0);
    FBarEndColor = QColor(0xC0, 0xC0, 0xC0);
    FBorderColor = QColor(0x96, 0x96, 0x96);
    FActiveStartColor = QColor(0xEC, 0xEC, 0xEC);
    FActiveEndColor = QColor(0xCE, 0xCE, 0xCE);
    FInactiveStartColor = QColor(0xCE, 0xCE, 0xCE);
    FInactiveEndColor = QColor(0xB0, 0xB0, 0xB0);
    FHotStartColor = QColor(0xE2, 0xE2, 0xE2);
    FHotEndColor = QColor(0xC4, 0xC4, 0xC4);
}

void TTabOptions::SetBarColors(const QColor& barStart, const QColor& barEnd) {
    FBarStartColor = barStart;
    FBarEndColor = barEnd;
    Notify(TTabOptionsChange::Repaint);
}

void TTabOptions::SetTabColors(const QColor& border, const QColor& activeStart,
                               const QColor& activeEnd, const QColor& inactiveStart,
                               const QColor& inactiveEnd, const QColor& hotStart,
                               const QColor& hotEnd) {
    FBorderColor = border;
    FActiveStartColor = activeStart;
    FActiveEndColor = activeEnd;
    FInactiveStartColor = inactiveStart;
    FInactiveEndColor = inactiveEnd;
    FHotStartColor = hotStart;
    FHotEndColor = hotEnd;
    Notify(TTabOptionsChange::Repaint);
}

void TTabOptions::SetTabWidth(int v) {
    if (FTabWidth == v)
        return;
    FTabWidth = v;
    Notify(TTabOptionsChange::Resize);
}

void TTabOptions::SetTabHeight(int v) {
    if (FTabHeight == v)
        return;
    FTabHeight = v;
    Notify(TTabOptionsChange::Resize);
}

void TTabOptions::SetTabPosition(TTabPosition v) {
    FTabPosition = v;
    Notify(TTabOptionsChange::Realign);
}

void TTabOptions::SetModifiedFontColor(const QColor& v) {
    if (FModifiedFontColor == v)
        return;
    FModifiedFontColor = v;
    Notify(TTabOptionsChange::ModifiedColor);
}

void TTabOptions::Notify(TTabOptionsChange change) {
    if (FKvTabSet)
        FKvTabSet->TabOptionsChanged(change);
}

} // namespace velmora
