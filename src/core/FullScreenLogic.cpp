#include "core/FullScreenLogic.h"

namespace velmora {

namespace {
// Rounding between device and logical pixels may cost a full-screen window a pixel.
constexpr int kSlackPx = 2;
} // namespace

bool CoversMonitor(const TCoverWindow& w, const QRect& monitor) {
    if (!w.Window || !w.FullScreen || monitor.isEmpty())
        return false;
    return w.Geometry.adjusted(-kSlackPx, -kSlackPx, kSlackPx, kSlackPx).contains(monitor);
}

QRect MonitorOf(const QRect& clock, const QList<QRect>& monitors) {
    for (const QRect& m : monitors)
        if (m.contains(clock.center()))
            return m;
    QRect best;
    qint64 bestArea = -1;
    for (const QRect& m : monitors) {
        const QRect overlap = m.intersected(clock);
        const qint64 area = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
        if (area > bestArea) {
            bestArea = area;
            best = m;
        }
    }
    return best;
}

TCoverAction TFullScreenGuard::Update(bool enabled, bool topmost, const TCoverView& view,
                                      const QRect& monitor) {
    FSettling = false;
    if (!enabled || !topmost)
        return ShowAgain();
    if (CoversMonitor(view.Active, monitor)) {
        FHeld = view.Active.Window;
        if (FHidden)
            return TCoverAction::None;
        FHidden = true;
        return TCoverAction::Hide;
    }
    // Another window of the program that hid the clock (its presenter view, a
    // dialog) has the focus while the full-screen one still covers the monitor.
    const bool sameProgram = view.Active.Program != 0 && view.Active.Program == view.Held.Program;
    if (FHidden && FHeld && view.Held.Window == FHeld && sameProgram &&
        CoversMonitor(view.Held, monitor))
        return TCoverAction::None;
    if (FHidden && !view.Active.Window) {
        FSettling = true;
        return TCoverAction::ShowSoon;
    }
    return ShowAgain();
}

TCoverAction TFullScreenGuard::Settle() {
    if (!FSettling)
        return TCoverAction::None;
    FSettling = false;
    return ShowAgain();
}

TCoverAction TFullScreenGuard::ShowAgain() {
    FSettling = false;
    FHeld = 0;
    if (!FHidden)
        return TCoverAction::None;
    FHidden = false;
    return TCoverAction::Show;
}

} // namespace velmora
