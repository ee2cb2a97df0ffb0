#include "core/ScreenPlace.h"

#include <QRegion>
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
    QRegion all;
    for (const QRect& s : screens)
        all += s;
    if (QRegion(window).subtracted(all).isEmpty())
        return window.topLeft();
    const QRect* nearest = nullptr;
    qint64 bestShown = 0;
    for (const QRect& s : screens) {
        const QRect shown = s.intersected(window);
        if (const qint64 area = qint64(shown.width()) * shown.height(); area > bestShown) {
            bestShown = area;
            nearest = &s;
        }
    }
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect& s : screens)
        if (const qint64 d = Distance2(window, s); !nearest && d < best) {
            best = d;
            nearest = &s;
        }
    if (!nearest)
        nearest = &screens.front();
    return {Clamp(window.left(), nearest->left(), nearest->right() - window.width() + 1),
            Clamp(window.top(), nearest->top(), nearest->bottom() - window.height() + 1)};
}

} // namespace velmora
