#include "app/clock/ClockLayering.h"

#include "app/clock/ClockDraw.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velmora {

TClockLayering::TClockLayering(QWidget& window, const TVlmSettings& settings, Platform& platform,
                               TWindowSide side)
    : FWindow(window), FSettings(settings), FPlatform(platform), FSide(std::move(side)) {
    FCompositor = FPlatform.CompositorActive();
    if (FCompositor)
        FWindow.setAttribute(Qt::WA_TranslucentBackground);
    FCoverSettleTimer.setSingleShot(true);
    FCoverSettleTimer.setInterval(kCoverSettleMs);
    QObject::connect(&FCoverSettleTimer, &QTimer::timeout, &FCoverSettleTimer,
                     [this] { CarryOut(FFullScreenGuard.Settle()); });
}

TClockLayering::~TClockLayering() = default;

void TClockLayering::ApplyStacking() {
    FPlatform.SetStacking(&FWindow,
                          FSettings.FormOnTopmost ? TStacking::Topmost : TStacking::Bottom);
    UpdateFullScreenWatch();
}

void TClockLayering::KeepOnDesktop() {
    if (FPlatform.DesktopIsForeground())
        ForceForeground();
}

void TClockLayering::ForceForeground() {
    FPlatform.ForceForeground(&FWindow);
}

void TClockLayering::UpdateFullScreenWatch() {
    // No window-system work at all unless the clock is to step aside.
    const bool wanted = FSettings.HideOnFullScreen && FSettings.FormOnTopmost;
    if (wanted && !FWatchingActive) {
        FWatchingActive = true;
        FPlatform.WatchActiveWindow([this](const TWindowFacts& active, const TWindowFacts& held) {
            ActiveWindowChanged(active, held);
        });
    } else if (!wanted && FWatchingActive) {
        FWatchingActive = false;
        FPlatform.WatchActiveWindow({});
        FCoverView = {};
    }
    DecideCover();
}

void TClockLayering::EndFullScreenWatch() {
    if (FWatchingActive)
        FPlatform.WatchActiveWindow({});
}

void TClockLayering::StopTimers() {
    FCoverSettleTimer.stop();
}

namespace {
TCoverWindow CoverWindowOf(const TWindowFacts& f) {
    return {f.Window, f.Program, f.FullScreen, f.Geometry};
}
} // namespace

void TClockLayering::ActiveWindowChanged(const TWindowFacts& active, const TWindowFacts& held) {
    FCoverView = {CoverWindowOf(active), CoverWindowOf(held)};
    DecideCover();
}

void TClockLayering::DecideCover() {
    CarryOut(FFullScreenGuard.Update(FSettings.HideOnFullScreen, FSettings.FormOnTopmost,
                                     FCoverView, ClockMonitor()));
    FPlatform.HoldWindow(FFullScreenGuard.HeldWindow());
}

void TClockLayering::CarryOut(TCoverAction action) {
    if (action == TCoverAction::ShowSoon) {
        FCoverSettleTimer.start();
        return;
    }
    FCoverSettleTimer.stop();
    if (action != TCoverAction::None)
        FSide.VisibilityChanged();
}

QRect TClockLayering::ClockMonitor() const {
    QList<QRect> monitors;
    for (QScreen* sc : QGuiApplication::screens())
        monitors << sc->geometry();
    return MonitorOf(FWindow.frameGeometry(), monitors);
}

bool TClockLayering::BlendedSeeThrough() const {
    // The window's pixel format is chosen once, when the native window is made: a
    // compositor that starts later finds a window without alpha, which keeps its
    // shape.
    return FCompositor && FWindow.testAttribute(Qt::WA_TranslucentBackground);
}

void TClockLayering::CompositorChanged() {
    const bool active = FPlatform.CompositorActive();
    if (active == FCompositor)
        return;
    FCompositor = active;
    FSide.SeeThroughChanged();
}

void TClockLayering::ApplyLayering(const TRenderedClock* rendered) {
    const double opacity = FSettings.AlphaBlend ? FSettings.AlphaBlendValue / 255.0 : 1.0;
    if (opacity != FWindow.windowOpacity())
        FWindow.setWindowOpacity(opacity);
    const bool seeThrough = FSettings.BackgroundColorMode == cmTransparent && rendered;
    // Blended by a compositor, key-coloured pixels are transparent in the picture
    // itself: the window keeps its rectangle, so that neither the X server nor the
    // paint is clipped to the text's many small pieces, and only the pixels that
    // take clicks follow the text. Without one, a window shape cuts them away.
    std::optional<QRegion> input;
    if (seeThrough && BlendedSeeThrough())
        input = rendered->Visible;
    if (input != FInputRegion) {
        FInputRegion = input;
        FPlatform.SetInputRegion(&FWindow, FInputRegion);
    }
    if (seeThrough && !BlendedSeeThrough()) {
        const QRegion shape = rendered->Visible;
        // Sent only when it changes: most seconds change a digit or two.
        if (!FShaped || shape != FShape) {
            FShape = shape;
            FShaped = true;
            // An empty shape would let X show the whole window: keep one pixel.
            FWindow.setMask(shape.isEmpty() ? QRegion(0, 0, 1, 1) : shape);
        }
    } else if (FShaped) {
        FShaped = false;
        FShape = QRegion();
        FWindow.clearMask();
    }
}

void TClockLayering::WindowShown() {
    // Worked out before the native window existed: send it now.
    if (FInputRegion)
        FPlatform.SetInputRegion(&FWindow, FInputRegion);
}

} // namespace velmora
