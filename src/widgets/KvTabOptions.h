// Look and size settings of a tab set.
#pragma once

#include "widgets/KvTabTypes.h"

#include <QColor>
#include <QPalette>

namespace velmora {

// What a change of the options asks of the tab set.
enum class TTabOptionsChange {
    Repaint,       // colours, margins, style
    Realign,       // TabPosition: dock again, place the scroll button, repaint
    Resize,        // TabWidth / TabHeight: UpdateTabSetSize and repaint
    ModifiedColor, // ModifiedFontColor: repaint the modified tabs
};

class ITabOptionsOwner {
public:
    virtual void TabOptionsChanged(TTabOptionsChange change) = 0;
    // The palette the tab set is drawn under, for the default colours.
    virtual QPalette TabPalette() const = 0;

protected:
    ~ITabOptionsOwner() = default;
};

class TTabOptions {
public:
    explicit TTabOptions(ITabOptionsOwner* owner = nullptr) : FKvTabSet(owner) {}
    TTabOptions(const TTabOptions&) = delete;
    TTabOptions& operator=(const TTabOptions&) = delete;

    // Copies every setting; neither re-aligns nor repaints.
    void Assign(const TTabOptions& source);
    // The nine bar and tab colours for the owner's palette (the application's
    // without an owner); does not repaint.
    void AdjustDefaultColors();
    // Under a light palette the flat greys; under a dark one, shades of its button
    // colour, so that the palette's light text stays readable on them.
    void AdjustDefaultColors(const QPalette& palette);
    void SetBarColors(const QColor& barStart, const QColor& barEnd);
    void SetTabColors(const QColor& border, const QColor& activeStart, const QColor& activeEnd,
                      const QColor& inactiveStart, const QColor& inactiveEnd,
                      const QColor& hotStart, const QColor& hotEnd);

    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int v);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int v);
    // Close the outline of inactive tabs along their open side.
    bool TabCloseFigure() const { return FTabCloseFigure; }
    void SetTabCloseFigure(bool v) { Store(FTabCloseFigure, v); }
    int TabBorderRadius() const { return FTabBorderRadius; }
    void SetTabBorderRadius(int v) { Store(FTabBorderRadius, v); }
    int TabLeftMargin() const { return FTabLeftMargin; }
    void SetTabLeftMargin(int v) { Store(FTabLeftMargin, v); }
    int TabRightMargin() const { return FTabRightMargin; }
    void SetTabRightMargin(int v) { Store(FTabRightMargin, v); }
    TTabPosition TabPosition() const { return FTabPosition; }
    // Always re-docks, even when unchanged.
    void SetTabPosition(TTabPosition v);
    TTabDrawingStyle TabDrawingStyle() const { return FTabDrawingStyle; }
    void SetTabDrawingStyle(TTabDrawingStyle v) { Store(FTabDrawingStyle, v); }
    TTabGradientDirection TabGradientDirection() const { return FTabGradientDirection; }
    void SetTabGradientDirection(TTabGradientDirection v) { Store(FTabGradientDirection, v); }
    TTabGradientDirection BarGradientDirection() const { return FBarGradientDirection; }
    void SetBarGradientDirection(TTabGradientDirection v) { Store(FBarGradientDirection, v); }

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& v) { Store(FBorderColor, v); }
    QColor ActiveStartColor() const { return FActiveStartColor; }
    void SetActiveStartColor(const QColor& v) { Store(FActiveStartColor, v); }
    QColor ActiveEndColor() const { return FActiveEndColor; }
    void SetActiveEndColor(const QColor& v) { Store(FActiveEndColor, v); }
    QColor InactiveStartColor() const { return FInactiveStartColor; }
    void SetInactiveStartColor(const QColor& v) { Store(FInactiveStartColor, v); }
    QColor InactiveEndColor() const { return FInactiveEndColor; }
    void SetInactiveEndColor(const QColor& v) { Store(FInactiveEndColor, v); }
    QColor HotStartColor() const { return FHotStartColor; }
    void SetHotStartColor(const QColor& v) { Store(FHotStartColor, v); }
    QColor HotEndColor() const { return FHotEndColor; }
    void SetHotEndColor(const QColor& v) { Store(FHotEndColor, v); }
    QColor BarStartColor() const { return FBarStartColor; }
    void SetBarStartColor(const QColor& v) { Store(FBarStartColor, v); }
    QColor BarEndColor() const { return FBarEndColor; }
    void SetBarEndColor(const QColor& v) { Store(FBarEndColor, v); }
    QColor ModifiedFontColor() const { return FModifiedFontColor; }
    void SetModifiedFontColor(const QColor& v);

private:
    template <class T> void Store(T& field, const T& v) {
        if (field == v)
            return;
        field = v;
        Notify(TTabOptionsChange::Repaint);
    }
    void Notify(TTabOptionsChange change);

    ITabOptionsOwner* FKvTabSet;
    int FTabWidth = 100;
    int FTabHeight = 24;
    bool FTabCloseFigure = true;
    int FTabBorderRadius = 4;
    int FTabLeftMargin = 4;
    int FTabRightMargin = 4;
    TTabPosition FTabPosition = tpTop;
    TTabDrawingStyle FTabDrawingStyle = tdsGradient;
    TTabGradientDirection FTabGradientDirection = TTabGradientDirection::gdVertical;
    TTabGradientDirection FBarGradientDirection = TTabGradientDirection::gdVertical;
    QColor FBorderColor{0x96, 0x96, 0x96};
    QColor FActiveStartColor{0xEC, 0xEC, 0xEC};
    QColor FActiveEndColor{0xCE, 0xCE, 0xCE};
    QColor FInactiveStartColor{0xCE, 0xCE, 0xCE};
    QColor FInactiveEndColor{0xB0, 0xB0, 0xB0};
    QColor FHotStartColor{0xE2, 0xE2, 0xE2};
    QColor FHotEndColor{0xC4, 0xC4, 0xC4};
    QColor FBarStartColor{0xB0, 0xB0, 0xB0};
    QColor FBarEndColor{0xC0, 0xC0, 0xC0};
    QColor FModifiedFontColor{0xFF, 0x00, 0x00};
};

} // namespace velmora
