#include "ScreenPlace.h"

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

// Squared distance between two rectangles (0 when they touch or overlap).
qint64 Distance2(const QRect& a, const QRect& b) {
    const qint64 dx =
        std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy =
        std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

int Clamp(int v, int lo, int hi) {
    return hi < lo ? lo : std::clamp(v, lo, hi);
}

} // namespace

QPoint PlaceOnScreens(const QRect& window, const QList<QRect>& screens) {
    if (screens.isEmpty())
        return window.topLeft();
    for (const QRect& s : screens)
        if (s.intersects(window))
            return window.topLeft();
    const QRect* nearest = nullptr;
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect& s : screens)
        if (const qint64 d = Distance2(window, s); d < best) {
            best = d;
            nearest = &s;
        }
    return {Clamp(window.left(), nearest->left(), nearest->right() - window.width() + 1),
            Clamp(window.top(), nearest->top(), nearest->bottom() - window.height() + 1)};
}

} // namespace velmora
