#include "widgets/KvPngButtonLayout.h"

#include <algorithm>

namespace velmora {

TButtonParts LayoutButtonParts(const TButtonPartsInput& in) {
    const int cw = in.Client.width();
    const int ch = in.Client.height();
    // A missing glyph or caption takes no room.
    const QSize glyph = in.Glyph.isEmpty() ? QSize(0, 0) : in.Glyph;
    const QSize caption = in.Caption.isEmpty() ? QSize(0, 0) : in.Caption;
    const int gw = glyph.width();
    const int gh = glyph.height();
    const int tw = caption.width();
    const int th = caption.height();
    const int arrow = in.Style == pbsDropdown ? kDropDownArrowWidth : 0;
    const bool both = !in.Glyph.isEmpty() && !in.Caption.isEmpty();
    const int s = both ? in.Spacing : 0;

    int gx = (cw - arrow - gw) / 2;
    int gy = (ch - gh) / 2;
    int tx = (cw - arrow - tw) / 2;
    int ty = (ch - th) / 2;
    const int x0 = (cw - (arrow + gw + tw + s)) / 2;
    const int y0 = (ch - (gh + th + s)) / 2;
    switch (in.Layout) {
    case blGlyphLeft:
        gx = x0;
        tx = x0 + gw + s;
        break;
    case blGlyphRight:
        tx = x0;
        gx = x0 + tw + s;
        break;
    case blGlyphTop:
        gy = y0;
        ty = y0 + gh + s;
        break;
    case blGlyphBottom:
        ty = y0;
        gy = y0 + th + s;
        break;
    }
    int a = cw - kDropDownArrowWidth;
    int b = 0;
    const int o = in.PressedOrDown ? 1 : 0;
    if (in.DownOffsetStyle == dosBottomRight) {
        gx += o;
        gy += o;
        tx += o;
        ty += o;
        a += o;
        b = o;
    } else if (in.DownOffsetStyle == dosRight) {
        gx += o;
        tx += o;
        a += o;
    }
    TButtonParts out;
    out.GlyphRect = QRect(gx, gy, gw, gh);
    const int captionBottom = in.Layout == blGlyphBottom ? gy : ch;
    out.CaptionRect = QRect(tx, ty, tw, captionBottom - ty);
    out.ArrowRect = QRect(a, b, kDropDownArrowWidth, ch);
    return out;
}

QPolygon DropDownArrowTriangle(const QRect& r) {
    const int l = r.left();
    const int y = r.top() + (r.height() - 4) / 2;
    return QPolygon({QPoint(l + 5, y), QPoint(l + 11, y), QPoint(l + 8, y + 3)});
}

QPoint DropDownPoint(QPoint origin, QSize button, TPopupAlignment alignment, const QRect& monitor,
                     int menuHeight) {
    int x = origin.x();
    if (alignment == paRight)
        x += button.width();
    else if (alignment == paCenter)
        x += button.width() / 2;
    int y = origin.y() + button.height();
    // Kept on the monitor that holds the point, wherever that monitor lies.
    x = std::clamp(x, monitor.left(), monitor.left() + monitor.width());
    if (monitor.top() + monitor.height() - y < menuHeight)
        y -= button.height();
    return QPoint(x, y);
}

QImage DisabledGlyph(const QImage& glyph) {
    if (glyph.isNull())
        return glyph;
    QImage out = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), qAlpha(line[x]) >> 1);
    }
    return out;
}

} // namespace velmora
