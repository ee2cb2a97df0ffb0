// Drawing the clock: background, text and outline, on either drawing path.
#pragma once

#include "core/Settings.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

class QPainter;

namespace velmora {

// How a see-through background is made on the current desktop.
enum class TSeeThrough {
    Compositor, // real per-pixel transparency: the background is cleared
    ShapeMask,  // no compositor: key-coloured pixels are cut away by a window shape
};

// Everything a paint needs, resolved to real colours.
struct TClockDrawState {
    QString Text;
    QFont Font;
    QSize Size;
    TVlmColorMode FontColorMode = cmSolid;
    TVlmColorMode BackgroundColorMode = cmSolid;
    TGradientDirection FontGradientDirection = gdHorizontal;
    TGradientDirection BackgroundGradientDirection = gdVertical;
    QColor FontColor, BackgroundColor, FontStartColor, FontEndColor;
    QColor BackgroundStartColor, BackgroundEndColor, BorderColor;
    bool ShowBorder = false;
    TSeeThrough SeeThrough = TSeeThrough::ShapeMask;

    // Every field takes part: a kept image of the clock is drawn again whenever
    // anything it was drawn from differs.
    bool operator==(const TClockDrawState&) const = default;
};

// The clock as the next paint shows it.
struct TRenderedClock {
    QImage Image;
    // The pixels a see-through window keeps (the rest lets clicks through).
    QRegion Visible;
};

// The point a gradient runs to from (0, 0): the right edge or the bottom edge.
QPointF GetGradientEndPoint(TGradientDirection direction, QSize size);
// The font of the gradient path: the size compensated for the screen's scale
// (size / (dpi / 96), to the nearest integer, halves to even).
QFont GradientPathFont(const QFont& font, double dotsPerInch);
// The top of the text: one eighth of the window height, halves to even.
int TextTop(int windowHeight);

// The plain path: solid text.
void DrawClockGdi(QPainter& canvas, const TClockDrawState& s);
// The anti-aliased path: text filled with a gradient across the whole box.
void DrawClockD2D(QPainter& canvas, const TClockDrawState& s);
// A one-pixel frame on the outermost rows and columns.
void DrawBorder(QPainter& canvas, QSize size, const QColor& color, bool show);

// Renders the clock into a new image through the path its text mode asks for;
// in see-through mode the key-coloured pixels come out fully transparent.
QImage RenderClock(const TClockDrawState& s);
// The gradient that fills gradient text, over the whole box (a null image for
// solid text): the same from one tick to the next.
QImage TextGradient(const TClockDrawState& s);
// Renders `part` of `image` (of the state's size) as RenderClock would, pixel for
// pixel, and leaves the rest as it is; `textGradient` is TextGradient(s).
void RenderClockPart(QImage& image, const TClockDrawState& s, const QRect& part,
                     const QImage& textGradient);
// The pixels a see-through window keeps (the rest lets clicks through).
QRegion VisibleRegion(const QImage& rendered);
// The same, of `part` of the image alone.
QRegion VisibleRegion(const QImage& rendered, const QRect& part);

} // namespace velmora
