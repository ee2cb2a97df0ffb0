// Drawing of the tab set's bar and tabs, apart from the widget so that the
// pictures can be checked pixel by pixel.
#pragma once

#include "widgets/KvTabOptions.h"
#include "widgets/KvTabTypes.h"

#include <QImage>
#include <QPainterPath>
#include <QRect>

class QPainter;

namespace velmora {

// The tab's outline in tab-local coordinates (the tab's top-left pixel is 0, 0):
// a line, two rounded corners and a line, open on the side that faces the
// page. `closed` adds the straight edge along that side.
QPainterPath TabOutline(TTabPosition position, QSize tabSize, int radius, bool closed);

// The background bar over `rect`.
void DrawTabBar(QPainter& canvas, const QRect& rect, const TTabOptions& options);

// One tab's body and outline at `rect`. `barPicture` is the painted bar of the
// whole tab set, shown through inactive tabs in tdsGradientTransparent.
void DrawTabShape(QPainter& canvas, const QRect& rect, bool active, bool hot,
                  const TTabOptions& options, const QImage& barPicture);

// Copies the pixel line next to the open side onto the open side, so that the
// selected tab flows into the page without an edge.
void RestoreOpenEdge(QImage& tab, TTabPosition position);

// The four 10 x 10 drop markers, decoded from the program's resources; throws
// std::runtime_error when one is missing or damaged.
struct TDropMarkers {
    QImage Top, Bottom, Left, Right;
    const QImage& For(TTabPosition position) const;
};
TDropMarkers LoadDropMarkers();

} // namespace velmora
