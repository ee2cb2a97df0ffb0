#include "widgets/KvTabPaint.h"

#include "widgets/KvPng.h"

#include <QLinearGradient>
#include <QPainter>
#include <stdexcept>

// The resources live in a static library; this keeps them linked in.
static void InitKvUnitsResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(kvunits);
        return true;
    }();
    (void)done;
}

namespace velmora {

namespace {

QLinearGradient Gradient(const QRectF& r, TTabGradientDirection direction, const QColor& start,
                         const QColor& end) {
    const QPointF to = direction == TTabGradientDirection::gdHorizontal
                           ? QPointF(r.left() + r.width(), r.top())
                           : QPointF(r.left(), r.top() + r.height());
    QLinearGradient g(r.topLeft(), to);
    g.setColorAt(0, start);
    g.setColorAt(1, end);
    return g;
}

QImage LoadMarker(const char* name) {
    QString error;
    QImage image = KvLoadPng(QStringLiteral(":/kv/%1.png").arg(QLatin1String(name)), &error);
    if (image.isNull())
        throw std::runtime_error(QStringLiteral("resource %1 not found: %2")
                                     .arg(QLatin1String(name), error)
                                     .toStdString());
    return image;
}

} // namespace

QPainterPath TabOutline(TTabPosition position, QSize tabSize, int radius, bool closed) {
    // Arc angles are counter-clockwise in Qt; the corners are swept clockwise
    // from the first line to the second.
    const qreal x0 = 0, y0 = 0;
    const qreal x1 = tabSize.width() - 1, y1 = tabSize.height() - 1;
    const qreal d = 2 * radius;
    QPainterPath path;
    switch (position) {
    case tpTop:
        path.moveTo(x0, y1);
        path.lineTo(x0, y0 + d);
        path.arcTo(QRectF(x0, y0, d, d), 180, -90);
        path.arcTo(QRectF(x1 - d, y0, d, d), 90, -90);
        path.lineTo(x1, y0 + d);
        path.lineTo(x1, y1);
        break;
    case tpBottom:
        path.moveTo(x0, y0);
        path.lineTo(x0, y1 - d);
        path.arcTo(QRectF(x0, y1 - d, d, d), 180, 90);
        path.arcTo(QRectF(x1 - d, y1 - d, d, d), 270, 90);
        path.lineTo(x1, y1 - d);
        path.lineTo(x1, y0);
        break;
    case tpLeft:
        path.moveTo(x1, y0);
        path.lineTo(x0 + d, y0);
        path.arcTo(QRectF(x0, y0, d, d), 90, 90);
        path.arcTo(QRectF(x0, y1 - d, d, d), 180, 90);
        path.lineTo(x0 + d, y1);
        path.lineTo(x1, y1);
        break;
    case tpRight:
        path.moveTo(x0, y0);
        path.lineTo(x1 - d, y0);
        path.arcTo(QRectF(x1 - d, y0, d, d), 90, -90);
        path.arcTo(QRectF(x1 - d, y1 - d, d, d), 0, -90);
        path.lineTo(x1 - d, y1);
        path.lineTo(x0, y1);
        break;
    }
    if (closed)
        path.closeSubpath();
    return path;
}

void DrawTabBar(QPainter& canvas, const QRect& rect, const TTabOptions& options) {
    canvas.fillRect(rect, Gradient(rect, options.BarGradientDirection(), options.BarStartColor(),
                                   options.BarEndColor()));
}

void DrawTabShape(QPainter& canvas, const QRect& rect, bool active, bool hot,
                  const TTabOptions& options, const QImage& barPicture) {
    // Drawn on its own picture first, because the open edge of the selected tab
    // is repaired pixel by pixel before the tab joins the bar.
    QImage tab(rect.size(), QImage::Format_ARGB32_Premultiplied);
    tab.fill(Qt::transparent);
    {
        QPainter p(&tab);
        p.setRenderHint(QPainter::Antialiasing);
        // Pixel centres lie on the half pixel: this keeps one-pixel lines crisp.
        p.translate(0.5, 0.5);
        const QPainterPath outline =
            TabOutline(options.TabPosition(), rect.size(), options.TabBorderRadius(),
                       !active && options.TabCloseFigure());
        const QColor start = active ? options.ActiveStartColor()
                             : hot  ? options.HotStartColor()
                                    : options.InactiveStartColor();
        const QColor end = active ? options.ActiveEndColor()
                           : hot  ? options.HotEndColor()
                                  : options.InactiveEndColor();
        const QRectF local(-0.5, -0.5, rect.width(), rect.height());
        p.fillPath(outline, Gradient(local, options.TabGradientDirection(), start, end));
        if (options.TabDrawingStyle() == tdsGradientTransparent && !active && !hot &&
            !barPicture.isNull()) {
            p.drawImage(QPointF(-0.5, -0.5), barPicture,
                        QRect(rect.x(), rect.y(), rect.width() - 1, rect.height() - 1));
        }
        p.setPen(QPen(options.BorderColor(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(outline);
    }
    if (active)
        RestoreOpenEdge(tab, options.TabPosition());
    canvas.drawImage(rect.topLeft(), tab);
}

void RestoreOpenEdge(QImage& tab, TTabPosition position) {
    const int w = tab.width();
    const int h = tab.height();
    if (w < 2 || h < 2)
        return;
    switch (position) {
    case tpTop:
        for (int x = 0; x < w; ++x)
            tab.setPixel(x, h - 1, tab.pixel(x, h - 2));
        break;
    case tpBottom:
        for (int x = 0; x < w; ++x)
            tab.setPixel(x, 0, tab.pixel(x, 1));
        break;
    case tpLeft:
        for (int y = 0; y < h; ++y)
            tab.setPixel(w - 1, y, tab.pixel(w - 2, y));
        break;
    case tpRight:
        for (int y = 0; y < h; ++y)
            tab.setPixel(0, y, tab.pixel(1, y));
        break;
    }
}

const QImage& TDropMarkers::For(TTabPosition position) const {
    switch (position) {
    case tpTop:
        return Top;
    case tpBottom:
        return Bottom;
    case tpLeft:
        return Left;
    case tpRight:
        break;
    }
    return Right;
}

TDropMarkers LoadDropMarkers() {
    InitKvUnitsResources();
    return {LoadMarker("TOPMARKER"), LoadMarker("BOTTOMMARKER"), LoadMarker("LEFTMARKER"),
            LoadMarker("RIGHTMARKER")};
}

} // namespace velmora
