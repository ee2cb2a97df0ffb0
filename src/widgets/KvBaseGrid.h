// A small generic grid: columns and rows with fixed (header) cells, column widths and
// row heights, a current cell, scrolling by first column/row, sizing by dragging a
// boundary in a header, hot and pressed header cells, and owner drawing of every
// cell. It has no scroll bars of its own; the derived grid decides about them.
//
// Events are std::function members set through Set<Event>(); an empty one is skipped.
#pragma once

#include "widgets/KvGridAxis.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <functional>

namespace velmora {

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goColSizing = 1u << 4,
    goRowSizing = 1u << 5,
    goRowSelect = 1u << 6,
    goThumbTracking = 1u << 7,
    goFixedColClick = 1u << 8, // header cells of the fixed rows can be clicked
    goFixedRowClick = 1u << 9, // header cells of the fixed columns can be clicked
    goFixedHotTrack = 1u << 10,
};
using TGridOptions = unsigned;

struct TGridDrawState {
    bool Selected = false;
    bool Focused = false;
    bool Fixed = false;
    bool RowSelected = false;
    bool Hot = false;
    bool Pressed = false;
};

enum class TGridSizingState { Normal, RowSizing, ColSizing };

struct TGridSizing {
    TGridSizingState State = TGridSizingState::Normal;
    int Index = -1; // the column or row being sized
    int Pos = 0;    // pixel position of its trailing line
    int Ofs = 0;    // distance from the press to that line
};

class TKvBaseGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TKvBaseGrid(QWidget* parent = nullptr);

    int ColCount() const { return FCols.Count(); }
    void SetColCount(int value);
    int RowCount() const { return FRows.Count(); }
    void SetRowCount(int value);
    int FixedCols() const { return FCols.FixedCount; }
    void SetFixedCols(int value);
    int FixedRows() const { return FRows.FixedCount; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);

    int Col() const { return FCol; }
    void SetCol(int value);
    int Row() const { return FRow; }
    void SetRow(int value);
    int LeftCol() const { return FCols.First; }
    void SetLeftCol(int value);
    int TopRow() const { return FRows.First; }
    void SetTopRow(int value);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    int MaxLeftCol() const;
    int MaxTopRow() const;

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);

    // The client (viewport) size; before the grid is first shown, the size it will have.
    QSize ClientSize() const;
    // Cell rectangle in client (viewport) coordinates; empty when not shown.
    QRect CellRect(int col, int row) const;
    // The cell under a client point; (-1, -1) when none.
    QPoint MouseToCell(const QPoint& pt) const;
    // Whether a press at `pt` would size a column or a row.
    TGridSizing CalcSizingState(const QPoint& pt) const;
    // The sizing drag in progress, if any.
    TGridSizingState SizingState() const { return FDrag.State; }
    QPoint HotCell() const { return FHot; }
    QPoint PressedCell() const { return FPressed; }

    void SetOnClick(std::function<void()> fn) { FOnClick = std::move(fn); }
    void SetOnDblClick(std::function<void()> fn) { FOnDblClick = std::move(fn); }
    void SetOnFixedCellClick(std::function<void(int ACol, int ARow)> fn) {
        FOnFixedCellClick = std::move(fn);
    }

protected:
    // Draws one cell's background and content; the grid lines are drawn afterwards.
    virtual void DrawCell(QPainter& painter, int col, int row, const QRect& rect,
                          TGridDrawState state) = 0;
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void TopLeftChanged() {}
    virtual void SizeChanged() {}
    // Fixed cells that ignore clicks (no pressed look, no OnFixedCellClick).
    virtual bool IsClickDisabled(int /*col*/, int /*row*/) const { return false; }
    virtual Qt::CursorShape CursorAt(const QPoint& pt) const;
    QColor GridLineColor(bool fixed) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SyncExtents() const;
    void Relayout();
    void ClampView();
    bool MoveCurrent(int col, int row); // true when the current cell changed
    void ScrollIntoView(int col, int row);
    TGridDrawState StateOf(int col, int row) const;
    bool IsFixedClickable(int col, int row) const;
    void DrawLines(QPainter& p) const;
    void DragTo(const QPoint& pt);

    // Mutable only so that the client size is picked up before any geometry question:
    // a hidden widget gets its resize event late.
    mutable TGridAxis FCols;
    mutable TGridAxis FRows;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FCol = 0;
    int FRow = 0;
    TGridOptions FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
    TGridSizing FDrag;
    QPoint FHot{-1, -1};
    QPoint FPressed{-1, -1};
    std::function<void()> FOnClick;
    std::function<void()> FOnDblClick;
    std::function<void(int, int)> FOnFixedCellClick;
};

} // namespace velmora
