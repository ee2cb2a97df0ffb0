// Keeping the clock where a person can see it.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

namespace velmora {

// Where a window at `window` should be: unchanged when it lies wholly on the
// screens (also across two of them); otherwise moved the shortest way wholly onto
// the screen that shows most of it, or the nearest one when none shows any (a
// monitor was removed, the resolution became smaller, a place was saved in other
// units). A window larger than the screen keeps its top-left corner on it.
QPoint PlaceOnScreens(const QRect& window, const QList<QRect>& screens);

} // namespace velmora
