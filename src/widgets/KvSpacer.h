// A separator line: one or two one-pixel lines across the middle of its
// area, horizontal or vertical, or whatever its owner draws instead.
//
// The custom drawing event is a std::function set with SetOnCustomDrawSpacer;
// it receives the spacer and a painter on it.
#pragma once

#include <QColor>
#include <QLine>
#include <QWidget>
#include <functional>
#include <vector>

class QPainter;

namespace velmora {

enum TLineShape { lsNone = 0, lsSingle = 1, lsDouble = 2 };
enum TLineDirection { ldHorizontal = 0, ldVertical = 1 };

struct TSpacerLine {
    QLine Line;          // end point inclusive
    bool TopLeft = true; // drawn in the top-left colour, else the bottom-right one
};

// The lines of a spacer of `size`; their ends stay two pixels in from the edges.
std::vector<TSpacerLine> SpacerLines(QSize size, TLineShape shape, TLineDirection direction);

class TKvSpacer : public QWidget {
    Q_OBJECT
public:
    using TCustomDrawEvent = std::function<void(QObject* Sender, QPainter& Canvas)>;

    explicit TKvSpacer(QWidget* parent = nullptr);

    TLineShape LineShape() const { return FLineShape; }
    void SetLineShape(TLineShape value);
    TLineDirection LineDirection() const { return FLineDirection; }
    void SetLineDirection(TLineDirection value);
    QColor TopLeftLineColor() const { return FTopLeftLineColor; }
    void SetTopLeftLineColor(const QColor& value);
    QColor BottomRightLineColor() const { return FBottomRightLineColor; }
    void SetBottomRightLineColor(const QColor& value);
    bool CustomDrawing() const { return FCustomDrawing; }
    void SetCustomDrawing(bool value);
    void SetOnCustomDrawSpacer(TCustomDrawEvent handler);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TLineShape FLineShape = lsNone;
    TLineDirection FLineDirection = ldVertical;
    QColor FTopLeftLineColor;
    QColor FBottomRightLineColor;
    bool FCustomDrawing = false;
    TCustomDrawEvent FOnCustomDrawSpacer;
};

} // namespace velmora
