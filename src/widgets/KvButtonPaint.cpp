#include "widgets/KvButtonPaint.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace velmora {

QColor SysButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}
QColor SysButtonShadow() {
    return QApplication::palette().color(QPalette::Dark);
}
QColor SysButtonHighlight() {
    return QApplication::palette().color(QPalette::Light);
}
QColor SysWindowText() {
    return QApplication::palette().color(QPalette::WindowText);
}
QColor SysGrayText() {
    return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
}

void Draw3DFrame(QPainter& painter, const QRect& r, const QColor& topLeft,
                 const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const int l = r.left();
    const int t = r.top();
    const int rr = r.left() + r.width() - 1;
    const int b = r.top() + r.height() - 1;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Filled one-pixel rectangles rather than lines: no pen-width rounding.
    painter.fillRect(QRect(l, t, r.width(), 1), topLeft);
    painter.fillRect(QRect(l, t, 1, r.height()), topLeft);
    painter.fillRect(QRect(l, b, r.width(), 1), bottomRight);
    painter.fillRect(QRect(rr, t, 1, r.height()), bottomRight);
    painter.restore();
}

void DrawArrowTriangle(QPainter& painter, const QPolygonF& triangle, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Qt puts pixel centres at half coordinates.
    painter.translate(0.5, 0.5);
    // A bevel join keeps the sharp apex inside the arrow's box.
    QPen pen(color, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    painter.setPen(pen);
    painter.setBrush(color);
    painter.drawPolygon(triangle);
    painter.restore();
}

} // namespace velmora
