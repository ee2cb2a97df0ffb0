// Drawing pieces shared by the library's flat buttons: the system colours they
// use, the one-pixel three-dimensional frame and the anti-aliased arrow.
#pragma once

#include <QColor>
#include <QPolygonF>
#include <QRect>

class QPainter;

namespace velmora {

// The desktop palette's counterparts of the classic system colours.
QColor SysButtonFace();
QColor SysButtonShadow();
QColor SysButtonHighlight();
QColor SysWindowText();
QColor SysGrayText();

// A one-pixel frame on `r`: top and left edges in `topLeft`, bottom and right
// edges in `bottomRight`.
void Draw3DFrame(QPainter& painter, const QRect& r, const QColor& topLeft,
                 const QColor& bottomRight);

// Fills and strokes (one-pixel pen) a triangle given in pixel-centre
// coordinates, anti-aliased, in one colour.
void DrawArrowTriangle(QPainter& painter, const QPolygonF& triangle, const QColor& color);

} // namespace velmora
