#include "widgets/KvArrowGeometry.h"

namespace velmora {

bool IsShownPressed(TButtonState state, bool mouseInControl) {
    return (state == bsDown || state == bsExclusive) && mouseInControl;
}

TButtonState HeldButtonState(bool inside, bool down) {
    if (down)
        return bsExclusive;
    return inside ? bsDown : bsUp;
}

QRect ArrowRect(QSize client, int arrowWidth, int arrowHeight, TArrowGlyph glyph,
                bool shownPressed) {
    const int cw = client.width();
    const int ch = client.height();
    // C++ integer division truncates toward zero, as the layout intends.
    int left = (cw - arrowWidth) / 2;
    int top = (ch - arrowHeight) / 2;
    const int right = left + arrowWidth;
    const int bottom = top + arrowHeight;
    if (glyph == agDown && top < ch - bottom)
        ++top;
    if (glyph == agRight && left < cw - right)
        ++left;
    if (shownPressed)
        ++left;
    return QRect(left, top, arrowWidth, arrowHeight);
}

QPolygonF ArrowTriangle(const QRect& box, TArrowGlyph glyph) {
    const qreal x0 = box.left();
    const qreal y0 = box.top();
    const qreal x1 = box.left() + box.width() - 1;
    const qreal y1 = box.top() + box.height() - 1;
    const qreal cx = x0 + (x1 - x0) / 2;
    const qreal cy = y0 + (y1 - y0) / 2;
    switch (glyph) {
    case agUp:
        return QPolygonF({{x0, y1}, {x1, y1}, {cx, y0}});
    case agDown:
        return QPolygonF({{x0, y0}, {x1, y0}, {cx, y1}});
    case agLeft:
        return QPolygonF({{x1, y0}, {x1, y1}, {x0, cy}});
    case agRight:
        break;
    }
    return QPolygonF({{x0, y0}, {x0, y1}, {x1, cy}});
}

std::pair<TArrowGlyph, TArrowGlyph> PairGlyphs(TButtonOrientation orientation) {
    if (orientation == boHorizontal)
        return {agRight, agLeft};
    return {agUp, agDown};
}

std::pair<QRect, QRect> PairLayout(TButtonOrientation orientation, QSize size) {
    const int w = size.width();
    const int h = size.height();
    if (orientation == boHorizontal) {
        const QRect down(0, 0, w / 2, h);
        const QRect up(w / 2 + w % 2, 0, w / 2, h);
        return {up, down};
    }
    const QRect up(0, 0, w, h / 2);
    const QRect down(0, h / 2 + h % 2, w, h / 2);
    return {up, down};
}

QSize FitArrowToOrientation(TButtonOrientation orientation, QSize arrow) {
    const bool swap = orientation == boHorizontal ? arrow.height() < arrow.width()
                                                  : arrow.width() < arrow.height();
    return swap ? arrow.transposed() : arrow;
}

} // namespace velmora
