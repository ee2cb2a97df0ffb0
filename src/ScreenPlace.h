// Keeping the clock where a person can see it.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

namespace velmora {

// Where a window at `window` should be: unchanged when any part of it lies on a
// screen; otherwise moved the shortest way onto the nearest screen, wholly inside
// it where it fits (a monitor was removed, the resolution became smaller).
QPoint PlaceOnScreens(const QRect& window, const QList<QRect>& screens);

} // namespace velmora
