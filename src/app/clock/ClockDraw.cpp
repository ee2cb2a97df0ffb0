#include "app/clock/ClockDraw.h"

#include "core/TextForms.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

namespace velmora {

QPointF GetGradientEndPoint(TGradientDirection direction, QSize size) {
    return direction == gdHorizontal ? QPointF(size.width(), 0) : QPointF(0, size.height());
}

QFont GradientPathFont(const QFont& font, double dotsPerInch) {
    QFont f = font;
    if (font.pointSizeF() > 0 && dotsPerInch > 0)
        f.setPointSize(std::max(1, int(RoundHalfEven(font.pointSizeF() / (dotsPerInch / 96.0)))));
    return f;
}

int TextTop(int windowHeight) {
    return int(RoundHalfEven(windowHeight * 0.125));
}

namespace {

QLinearGradient Gradient(TGradientDirection direction, QSize size, const QColor& start,
                         const QColor& end) {
    // Stops are interpolated on the colour values as stored (gamma 2.2) and the
    // gradient is clamped beyond its ends.
    QLinearGradient g(QPointF(0, 0), GetGradientEndPoint(direction, size));
    g.setColorAt(0.0, start);
    g.setColorAt(1.0, end);
    g.setSpread(QGradient::PadSpread);
    return g;
}

// The background of both paths; returns whether it is see-through.
bool DrawBackground(QPainter& canvas, const TClockDrawState& s) {
    const QRect r(QPoint(0, 0), s.Size);
    canvas.save();
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    bool seeThrough = false;
    switch (s.BackgroundColorMode) {
    case cmTransparent:
        // Key-coloured pixels become see-through; with a compositor the text's
        // soft edges blend with what is below instead of with the key colour.
        canvas.fillRect(r, s.SeeThrough == TSeeThrough::Compositor ? QColor(Qt::transparent)
                                                                   : s.BackgroundColor);
        seeThrough = true;
        break;
    case cmSolid:
        canvas.fillRect(r, s.BackgroundColor);
        break;
    case cmGradient:
        canvas.fillRect(r, Gradient(s.BackgroundGradientDirection, s.Size, s.BackgroundStartColor,
                                    s.BackgroundEndColor));
        break;
    }
    canvas.restore();
    return seeThrough;
}

void DrawText(QPainter& canvas, const TClockDrawState& s, const QFont& font, const QPen& pen) {
    if (s.Text.isEmpty())
        return;
    canvas.save();
    canvas.setFont(font);
    canvas.setPen(pen);
    canvas.setRenderHint(QPainter::TextAntialiasing, true);
    const QFontMetrics fm(font, canvas.device());
    canvas.drawText(QPoint(0, TextTop(s.Size.height()) + fm.ascent()), s.Text);
    canvas.restore();
}

} // namespace

void DrawBorder(QPainter& canvas, QSize size, const QColor& color, bool show) {
    if (!show || size.isEmpty())
        return;
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    const int w = size.width(), h = size.height();
    for (const QRect& edge :
         {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)})
        canvas.fillRect(edge, color);
    canvas.restore();
}

void DrawClockGdi(QPainter& canvas, const TClockDrawState& s) {
    DrawBackground(canvas, s);
    DrawText(canvas, s, s.Font, QPen(s.FontColor));
    DrawBorder(canvas, s.Size, s.BorderColor, s.ShowBorder);
}

void DrawClockD2D(QPainter& canvas, const TClockDrawState& s) {
    DrawBackground(canvas, s);
    // The text's coverage first, from the font's cached glyphs, then the gradient
    // through it, one span a row: text drawn with a gradient pen goes through
    // hundreds of small spans, which the toolkit hands to its thread pool, waking
    // threads every second for a few pixels.
    QImage text(s.Size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    text.fill(Qt::transparent);
    {
        QPainter p(&text);
        DrawText(p, s, s.Font, QPen(Qt::black));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        // The text gradient spans the whole box, not the bounds of the text.
        p.fillRect(text.rect(),
                   Gradient(s.FontGradientDirection, s.Size, s.FontStartColor, s.FontEndColor));
    }
    canvas.drawImage(0, 0, text);
    DrawBorder(canvas, s.Size, s.BorderColor, s.ShowBorder);
}

QImage RenderClock(const TClockDrawState& s) {
    QImage img(s.Size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        if (s.FontColorMode == cmGradient)
            DrawClockD2D(p, s);
        else
            DrawClockGdi(p, s);
    }
    if (s.BackgroundColorMode == cmTransparent) {
        // Every pixel exactly in the key colour is see-through, text included.
        const QRgb key = s.BackgroundColor.rgb() | 0xFF000000u;
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    return img;
}

QRegion VisibleRegion(const QImage& rendered) {
    // Every pixel with any coverage stays, so soft text edges are not cut.
    QRegion region;
    for (int y = 0; y < rendered.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
        int x = 0;
        while (x < rendered.width()) {
            while (x < rendered.width() && qAlpha(line[x]) == 0)
                ++x;
            const int start = x;
            while (x < rendered.width() && qAlpha(line[x]) != 0)
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

} // namespace velmora
