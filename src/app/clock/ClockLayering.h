// TClockLayering: where the clock window lies among the others and how it lets
// them through. It keeps the window above all or at the bottom of the stack,
// gives it its whole-window alpha, its see-through shape and the region that
// takes clicks, follows a compositing manager coming and going, and steps the
// window aside for a full-screen window on its monitor. The decision to step
// aside is FullScreenLogic's; this part looks, and carries it out.
#pragma once

#include "core/FullScreenLogic.h"
#include "core/Settings.h"

#include <QRect>
#include <QRegion>
#include <QTimer>
#include <functional>
#include <optional>

class QWidget;

namespace velmora {

class Platform;
struct TRenderedClock;
struct TWindowFacts;

class TClockLayering {
public:
    // What the layering asks of the window.
    struct TWindowSide {
        // Stepped aside or back: the window shows or hides as this and the blink say.
        std::function<void()> VisibilityChanged;
        // A compositor came or went: the clock is drawn the other see-through way.
        std::function<void()> SeeThroughChanged;
    };

    // Must be made before `window` has its native window: with a compositor, a
    // see-through background is real per-pixel transparency, chosen only then.
    TClockLayering(QWidget& window, const TVlmSettings& settings, Platform& platform,
                   TWindowSide side);
    ~TClockLayering();

    // Above all windows or at the bottom of the stack, as FormOnTopmost says.
    void ApplyStacking();
    // At the bottom: a desktop brought to the front must not hide the clock.
    void KeepOnDesktop();
    void ForceForeground();

    // Watches for full-screen windows while HideOnFullScreen and FormOnTopmost
    // both hold; when they no longer do, a clock hidden for one shows at once.
    void UpdateFullScreenWatch();
    // Stepped aside for a full-screen window on its monitor.
    bool HiddenForFullScreen() const { return FFullScreenGuard.Hidden(); }
    // The watch ends (the clock goes).
    void EndFullScreenWatch();
    void StopTimers();

    // Whole-window alpha and, for a see-through background, the window's shape
    // or the region that takes clicks, fitted to `rendered` (the clock as the
    // next paint shows it).
    void ApplyLayering(const TRenderedClock* rendered);
    // A compositing manager started or ended: the see-through look changes way.
    void CompositorChanged();
    // True while see-through pixels are blended by a compositor (an ARGB window).
    bool BlendedSeeThrough() const;
    // The window was shown: its native window exists now.
    void WindowShown();

private:
    void ActiveWindowChanged(const TWindowFacts& active, const TWindowFacts& held);
    void DecideCover();
    void CarryOut(TCoverAction action);
    // The monitor the clock lies on, in logical pixels.
    QRect ClockMonitor() const;

    QWidget& FWindow;
    const TVlmSettings& FSettings;
    Platform& FPlatform;
    TWindowSide FSide;
    QRegion FShape; // the see-through window's shape in force
    bool FShaped = false;
    // Where clicks land on a see-through window blended by a compositor, as sent.
    std::optional<QRegion> FInputRegion;
    bool FCompositor = false; // a compositing manager blends the window now
    TFullScreenGuard FFullScreenGuard;
    TCoverView FCoverView; // the last look at the active window
    bool FWatchingActive = false;
    QTimer FCoverSettleTimer;
};

} // namespace velmora
