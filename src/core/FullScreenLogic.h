// Whether a topmost clock steps aside for a full-screen window: decided from what
// the window system says of the active window, with no window of its own.
#pragma once

#include <QList>
#include <QRect>
#include <cstdint>

namespace velmora {

// A window as far as covering a monitor goes.
struct TCoverWindow {
    uint64_t Window = 0;  // 0: none (no active window, or it has gone)
    uint64_t Program = 0; // the same for every window of one program; 0: unknown
    bool FullScreen = false;
    QRect Geometry; // logical pixels
};

// One consistent look at the desktop: the active window, and the window that hid
// the clock while another window of its program is active.
struct TCoverView {
    TCoverWindow Active;
    TCoverWindow Held;
};

enum class TCoverAction {
    None,
    Hide,
    Show,
    // No window is active: a window manager passes through that between two windows
    // (one closes, the next gets the focus). Show unless news come first (Settle).
    ShowSoon,
};

// How long a clock hidden for a full-screen window waits, when no window is
// active, before it shows again: the window manager names the next window sooner.
inline constexpr int kCoverSettleMs = 150;

// True when `w` is full-screen and lies over the whole of `monitor`.
bool CoversMonitor(const TCoverWindow& w, const QRect& monitor);

// The monitor the clock lies on: the one holding its centre, else the one it
// overlaps most; an empty rectangle when there is no screen.
QRect MonitorOf(const QRect& clock, const QList<QRect>& monitors);

class TFullScreenGuard {
public:
    // A new look at the desktop, or a change of the setting, the stacking or the
    // clock's monitor. `enabled`: HideOnFullScreen; `topmost`: FormOnTopmost.
    TCoverAction Update(bool enabled, bool topmost, const TCoverView& view, const QRect& monitor);
    // The wait of ShowSoon ended with no news in between.
    TCoverAction Settle();
    // The clock is hidden because of a full-screen window.
    bool Hidden() const { return FHidden; }
    // The window whose state still matters while another one is active; 0: none.
    uint64_t HeldWindow() const { return FHeld; }

private:
    TCoverAction ShowAgain();

    bool FHidden = false;
    bool FSettling = false;
    uint64_t FHeld = 0;
};

} // namespace velmora
