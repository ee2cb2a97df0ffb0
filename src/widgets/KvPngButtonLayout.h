// Value logic of the PNG button: where glyph, caption and drop-down arrow go,
// where a drop-down menu opens, and the faded glyph of a disabled button.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>

namespace velmora {

enum TKvPngButtonStyle { pbsFlat = 0, pbsFlatCheck = 1, pbsNoFrame = 2, pbsDropdown = 3 };
// How far glyph and caption move while the button is pressed.
enum TKvDownOffsetStyle { dosBottomRight = 0, dosRight = 1, dosNone = 2 };
enum TButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };
// Which point of the menu the drop-down point is: its left, right or centre.
enum TPopupAlignment { paLeft = 0, paRight = 1, paCenter = 2 };

// The width of the drop-down arrow area at the right of a pbsDropdown button.
constexpr int kDropDownArrowWidth = 18;

struct TButtonPartsInput {
    QSize Client;
    QSize Glyph;   // empty without a glyph
    QSize Caption; // the measured caption, empty without one
    TKvPngButtonStyle Style = pbsFlat;
    TButtonLayout Layout = blGlyphLeft;
    int Spacing = 4;
    TKvDownOffsetStyle DownOffsetStyle = dosRight;
    bool PressedOrDown = false; // shown pressed, or latched down
};

struct TButtonParts {
    QRect GlyphRect;
    QRect CaptionRect;
    QRect ArrowRect;
};

TButtonParts LayoutButtonParts(const TButtonPartsInput& in);

// The little filled triangle of the drop-down arrow area.
QPolygon DropDownArrowTriangle(const QRect& arrowRect);

// Where a drop-down menu opens below a button whose client origin is at
// `origin` on the screen, kept on `monitor`; when the menu's `menuHeight`
// does not fit below, the point moves up by the button's height.
QPoint DropDownPoint(QPoint origin, QSize button, TPopupAlignment alignment, const QRect& monitor,
                     int menuHeight);

// The glyph of a disabled button: the same picture at half its opacity.
QImage DisabledGlyph(const QImage& glyph);

} // namespace velmora
