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
#include <vector>

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

// Where the text may be drawn from instead of its first character, when only
// its end has changed: shaping costs by the character, and the characters before
// `From` then lie wholly outside the part drawn. The rest, shaped alone, starts
// `X` pixels right of the text's start.
struct TTextTail {
    qsizetype From = 0;
    qreal X = 0;
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
// With a `tail`, only the text from tail.From on is drawn; see TailDrawsAlike.
void RenderClockPart(QImage& image, const TClockDrawState& s, const QRect& part,
                     const QImage& textGradient, TTextTail tail = {});
// Whether the text drawn from `tail` alone covers the pixels of `part` exactly as
// the whole text does: false where shaping joins characters across tail.From (a
// mark that belongs to the character before it, a kerned pair) or a glyph before
// it reaches into the part.
bool TailDrawsAlike(const TClockDrawState& s, const QRect& part, TTextTail tail);
// The pixels a see-through window keeps (the rest lets clicks through).
QRegion VisibleRegion(const QImage& rendered);
// The same pixels row by row, kept between ticks: a tick that draws the image
// again from some column on scans only those columns, and the region is made in
// one step instead of one rectangle at a time.
class TVisibleRows {
public:
    // Scans `image` from column `fromX` to its right edge and keeps what is left
    // of it (all of it anew when the image's height changed).
    void Rescan(const QImage& image, int fromX);
    QRegion Region() const;

private:
    struct TSpan {
        int Left = 0, Right = 0; // columns [Left, Right)
        bool operator==(const TSpan&) const = default;
    };
    std::vector<std::vector<TSpan>> FRows;
};

} // namespace velmora
