// Value logic of the arrow buttons: where the arrow sits, its triangle, the
// state a held button takes while the pointer moves, and how a pair splits its
// area between its two halves. The widgets stay thin over these functions.
#pragma once

#include <QPolygonF>
#include <QRect>
#include <QSize>
#include <utility>

namespace velmora {

enum TArrowGlyph { agUp = 0, agDown = 1, agLeft = 2, agRight = 3 };
enum TButtonOrientation { boHorizontal = 0, boVertical = 1 };
// bsExclusive is the pressed look of a latched (Down) button.
enum TButtonState { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3 };

// A pressed button looks pressed only while the pointer is still over it.
bool IsShownPressed(TButtonState state, bool mouseInControl);

// The state of a held button after the pointer moved inside or outside it.
TButtonState HeldButtonState(bool inside, bool down);

// The arrow's bounding box in a client area of `client`. The box's right and
// bottom edges are exclusive (QRect::left() + width()). Down and right arrows
// lean to the far side when the free space cannot be split evenly, so that a
// pair of halves looks symmetric; a pressed button moves its arrow right.
QRect ArrowRect(QSize client, int arrowWidth, int arrowHeight, TArrowGlyph glyph,
                bool shownPressed);

// The closed triangle of `glyph` in `box` (from ArrowRect), in pixel-centre
// coordinates: (x, y) is the centre of pixel x, y.
QPolygonF ArrowTriangle(const QRect& box, TArrowGlyph glyph);

// The glyphs of the (up, down) halves of a pair in an orientation.
std::pair<TArrowGlyph, TArrowGlyph> PairGlyphs(TButtonOrientation orientation);

// The (up, down) halves' rectangles in a pair of `size`. With an odd size the
// middle line belongs to neither half. Horizontally the down (left) half comes
// first.
std::pair<QRect, QRect> PairLayout(TButtonOrientation orientation, QSize size);

// Turns an arrow box to suit the orientation: wider than high for vertical
// pairs (up/down arrows), higher than wide for horizontal ones.
QSize FitArrowToOrientation(TButtonOrientation orientation, QSize arrow);

} // namespace velmora
