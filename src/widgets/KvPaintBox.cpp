#include "widgets/KvPaintBox.h"

#include <QPainter>

namespace velmora {

TKvPaintBox::TKvPaintBox(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
    // Every pixel is painted by the owner: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TKvPaintBox::SetD2DEnabled(bool value) {
    if (!FD2DSupported) {
        FD2DEnabled = false;
        return;
    }
    if (value == FD2DEnabled)
        return;
    FD2DEnabled = value;
    if (FPainting)
        update();
    else
        repaint();
}

void TKvPaintBox::SetColor(const QColor& value) {
    if (value == FColor)
        return;
    FColor = value;
    update();
}

void TKvPaintBox::PaintTo(QPainter& canvas) {
    canvas.setFont(font());
    canvas.setBrush(FColor);
    // The plain path draws shapes on whole pixels; both paths smooth text edges.
    canvas.setRenderHint(QPainter::TextAntialiasing, true);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, FD2DEnabled);
    if (FOnPaint)
        FOnPaint(this, canvas);
}

void TKvPaintBox::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    FPainting = true;
    PaintTo(canvas);
    FPainting = false;
}

} // namespace velmora
