#include "widgets/KvSpacer.h"

#include "widgets/KvButtonPaint.h"

#include <QPainter>

namespace velmora {

std::vector<TSpacerLine> SpacerLines(QSize size, TLineShape shape, TLineDirection direction) {
    std::vector<TSpacerLine> lines;
    if (shape == lsNone)
        return lines;
    const int w = size.width();
    const int h = size.height();
    // The far ends are exclusive, hence the "- 3".
    if (direction == ldHorizontal) {
        const int m = h / 2;
        lines.push_back({QLine(2, m - 1, w - 3, m - 1), true});
        if (shape == lsDouble)
            lines.push_back({QLine(2, m, w - 3, m), false});
    } else {
        const int m = w / 2;
        lines.push_back({QLine(m - 1, 2, m - 1, h - 3), true});
        if (shape == lsDouble)
            lines.push_back({QLine(m, 2, m, h - 3), false});
    }
    return lines;
}

TKvSpacer::TKvSpacer(QWidget* parent)
    : QWidget(parent), FTopLeftLineColor(SysButtonShadow()),
      FBottomRightLineColor(SysButtonHighlight()) {
    resize(50, 50);
}

void TKvSpacer::SetLineShape(TLineShape value) {
    if (FLineShape == value)
        return;
    FLineShape = value;
    update();
}

void TKvSpacer::SetLineDirection(TLineDirection value) {
    if (FLineDirection == value)
        return;
    FLineDirection = value;
    update();
}

void TKvSpacer::SetTopLeftLineColor(const QColor& value) {
    if (FTopLeftLineColor == value)
        return;
    FTopLeftLineColor = value;
    update();
}

void TKvSpacer::SetBottomRightLineColor(const QColor& value) {
    if (FBottomRightLineColor == value)
        return;
    FBottomRightLineColor = value;
    update();
}

void TKvSpacer::SetCustomDrawing(bool value) {
    if (FCustomDrawing == value)
        return;
    FCustomDrawing = value;
    update();
}

void TKvSpacer::SetOnCustomDrawSpacer(TCustomDrawEvent handler) {
    FOnCustomDrawSpacer = std::move(handler);
    update();
}

void TKvSpacer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (FCustomDrawing) {
        if (FOnCustomDrawSpacer) {
            const TCustomDrawEvent handler = FOnCustomDrawSpacer;
            handler(this, painter);
        }
        return;
    }
    for (const TSpacerLine& l : SpacerLines(size(), FLineShape, FLineDirection)) {
        const QColor c = l.TopLeft ? FTopLeftLineColor : FBottomRightLineColor;
        // Filled one-pixel rectangles: exact pixels at any pen setting.
        painter.fillRect(QRect(l.Line.p1(), l.Line.p2()), c);
    }
}

} // namespace velmora
