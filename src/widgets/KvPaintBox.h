// A custom-drawn box whose owner paints it, with a switch between the plain
// drawing path and the anti-aliased one that also fills text with gradients.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

class QPainter;

namespace velmora {

class TKvPaintBox : public QWidget {
    Q_OBJECT
public:
    using TPaintEvent = std::function<void(class TKvPaintBox* sender, QPainter& canvas)>;

    explicit TKvPaintBox(QWidget* parent = nullptr);

    // Whether the anti-aliased path can be used here; always so with QPainter.
    bool D2DSupported() const { return FD2DSupported; }
    bool D2DEnabled() const { return FD2DEnabled; }
    // Switching paths repaints the box at once (from inside a paint: right after it).
    void SetD2DEnabled(bool value);

    QColor Color() const { return FColor; }
    void SetColor(const QColor& value);

    void SetOnPaint(TPaintEvent handler) { FOnPaint = std::move(handler); }
    // Paints the box into any device (an image in tests, the screen otherwise),
    // through the path in force.
    void PaintTo(QPainter& canvas);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool FD2DSupported = true;
    bool FD2DEnabled = false;
    QColor FColor = Qt::white;
    TPaintEvent FOnPaint;
    bool FPainting = false;
};

} // namespace velmora
