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

void DrawText(QPainter& canvas, const TClockDrawState& s, const QFont& font, const QPen& pen,
              TTextTail tail = {}) {
    if (s.Text.size() <= tail.From)
        return;
    canvas.save();
    canvas.setFont(font);
    canvas.setPen(pen);
    canvas.setRenderHint(QPainter::TextAntialiasing, true);
    const QFontMetrics fm(font, canvas.device());
    const QPointF origin(tail.X, TextTop(s.Size.height()) + fm.ascent());
    canvas.drawText(origin, tail.From > 0 ? s.Text.mid(tail.From) : s.Text);
    canvas.restore();
}

void DrawClockGdiTail(QPainter& canvas, const TClockDrawState& s, TTextTail tail) {
    DrawBackground(canvas, s);
    DrawText(canvas, s, s.Font, QPen(s.FontColor), tail);
    DrawBorder(canvas, s.Size, s.BorderColor, s.ShowBorder);
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
    DrawClockGdiTail(canvas, s, {});
}

namespace {

// The gradient path within `part`: the text's coverage first, from the font's
// cached glyphs, then the text's gradient (`gradient`, of the whole box) through
// it. Text drawn with a gradient pen goes through hundreds of small spans, which
// the toolkit hands to its thread pool, waking threads every second for a few
// pixels.
void DrawClockD2DPart(QPainter& canvas, const TClockDrawState& s, const QRect& part,
                      const QImage& gradient, TTextTail tail) {
    DrawBackground(canvas, s);
    if (part.isEmpty())
        return;
    QImage text(part.size(), QImage::Format_ARGB32_Premultiplied);
    text.fill(Qt::transparent);
    {
        QPainter p(&text);
        // Whole pixels: the glyphs fall on the same pixels as in the whole box.
        p.translate(-part.topLeft());
        DrawText(p, s, s.Font, QPen(Qt::black), tail);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.drawImage(part.topLeft(), gradient, part);
    }
    canvas.drawImage(part.topLeft(), text);
    DrawBorder(canvas, s.Size, s.BorderColor, s.ShowBorder);
}

// Every pixel exactly in the key colour is see-through, text included.
void ClearKeyColour(QImage& img, const QColor& keyColour, const QRect& part) {
    const QRgb key = keyColour.rgb() | 0xFF000000u;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = part.left(); x <= part.right(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
}

} // namespace

QImage TextGradient(const TClockDrawState& s) {
    if (s.FontColorMode != cmGradient)
        return {};
    QImage img(s.Size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // Each row in one span: the toolkit steps a gradient from a span's start, so
    // that spans starting elsewhere may differ in the last bit.
    p.fillRect(img.rect(),
               Gradient(s.FontGradientDirection, s.Size, s.FontStartColor, s.FontEndColor));
    return img;
}

void DrawClockD2D(QPainter& canvas, const TClockDrawState& s) {
    DrawClockD2DPart(canvas, s, QRect(QPoint(0, 0), s.Size.expandedTo(QSize(1, 1))),
                     TextGradient(s), {});
}

QImage RenderClock(const TClockDrawState& s) {
    QImage img(s.Size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    RenderClockPart(img, s, img.rect(), TextGradient(s));
    return img;
}

void RenderClockPart(QImage& image, const TClockDrawState& s, const QRect& part,
                     const QImage& textGradient, TTextTail tail) {
    const QRect r = part & image.rect();
    if (r.isEmpty())
        return;
    {
        QPainter p(&image);
        p.setClipRect(r);
        if (s.FontColorMode == cmGradient)
            DrawClockD2DPart(p, s, r, textGradient, tail);
        else
            DrawClockGdiTail(p, s, tail);
    }
    if (s.BackgroundColorMode == cmTransparent)
        ClearKeyColour(image, s.BackgroundColor, r);
}

bool TailDrawsAlike(const TClockDrawState& s, const QRect& part, TTextTail tail) {
    // The text's coverage alone, in one colour: whether the glyphs fall alike does
    // not depend on the colours, which may hide a difference (text in the
    // background's colour) until they change.
    auto coverage = [&](TTextTail from) {
        QImage img(part.size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.translate(-part.topLeft());
        DrawText(p, s, s.Font, QPen(Qt::black), from);
        return img;
    };
    return !part.isEmpty() && coverage({}) == coverage(tail);
}

QRegion VisibleRegion(const QImage& rendered) {
    // Every pixel with any coverage stays, so soft text edges are not cut.
    TVisibleRows rows;
    rows.Rescan(rendered, 0);
    return rows.Region();
}

void TVisibleRows::Rescan(const QImage& image, int fromX) {
    if (FRows.size() != size_t(image.height())) {
        FRows.assign(size_t(image.height()), {});
        fromX = 0;
    }
    fromX = std::max(fromX, 0);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        std::vector<TSpan>& row = FRows[size_t(y)];
        while (!row.empty() && row.back().Left >= fromX)
            row.pop_back();
        if (!row.empty())
            row.back().Right = std::min(row.back().Right, fromX);
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = fromX;
        while (x < width) {
            while (x < width && qAlpha(line[x]) == 0)
                ++x;
            const int start = x;
            while (x < width && qAlpha(line[x]) != 0)
                ++x;
            if (x == start)
                break;
            if (!row.empty() && row.back().Right == start)
                row.back().Right = x; // one run across the column scanned from
            else
                row.push_back({start, x});
        }
    }
}

QRegion TVisibleRows::Region() const {
    // Rows with the same runs become one band, as the region would keep them.
    std::vector<QRect> rects;
    size_t y = 0;
    while (y < FRows.size()) {
        size_t end = y + 1;
        while (end < FRows.size() && FRows[end] == FRows[y])
            ++end;
        for (const TSpan& span : FRows[y])
            rects.emplace_back(span.Left, int(y), span.Right - span.Left, int(end - y));
        y = end;
    }
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace velmora
