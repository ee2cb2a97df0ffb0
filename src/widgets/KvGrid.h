// TKvGrid: the owner-drawn grid. It paints cell backgrounds itself (gradient header
// cells with hot and pressed looks, a selection colour laid over selected cells with
// an adjustable opacity) and leaves the content to OnDrawCell. It keeps its own
// proportional scroll bars (position 0..127), wraps keyboard and wheel navigation at
// the ends (arrow keys only on a fresh press), protects listed columns and rows from
// being sized, and can scroll a cell into view or narrow over-wide columns.
//
// Events are std::function members set through Set<Event>(); the sender is implied.
// OnDrawCell receives the painter (the canvas), already holding the font and, for a
// selected cell, the selected font colour as pen. OnKeyDown / OnKeyUp receive the key
// by reference; a key that wrapped the cursor arrives as 0. The wheel is always taken
// by the grid; OnMouseWheelUp / OnMouseWheelDown may set Handled for their own use.
#pragma once

#include "widgets/KvBaseGrid.h"
#include "widgets/KvGridLogic.h"
#include "widgets/KvGridViewOptions.h"

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QScrollBar;

namespace velmora {

class TKvGrid : public TKvBaseGrid {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void()>;
    using TDrawCellEvent = std::function<void(QPainter& Canvas, int ACol, int ARow,
                                              const QRect& Rect, TGridDrawState State)>;
    using TKeyEvent = std::function<void(int& Key, Qt::KeyboardModifiers Shift)>;
    using TMouseWheelUpDownEvent =
        std::function<void(Qt::KeyboardModifiers Shift, const QPoint& MousePos, bool& Handled)>;

    explicit TKvGrid(QWidget* parent = nullptr);
    ~TKvGrid() override;

    TViewOptions& ViewOptions() { return *FViewOptions; }
    const TViewOptions& ViewOptions() const { return *FViewOptions; }
    void SetViewOptions(const TViewOptions& value) { FViewOptions->Assign(value); }

    void BeginUpdate();
    void EndUpdate();
    // ABarFlag 0: the horizontal bar; any other value: the vertical bar.
    bool IsScrollBarVisible(int ABarFlag) const;
    void SetWidthFixedCols(std::vector<int> AIndexArray);
    void SetHeightFixedRows(std::vector<int> AIndexArray);
    void SetClickDisabledFixedCells(std::vector<QPoint> ACells);
    void MakeColVisible(int ACol);
    void MakeRowVisible(int ARow);
    void MakeCellVisible(int ACol, int ARow);
    void LimitColWidth();
    void UpdateScrollBars();

    void SetOnColWidthsChanged(TNotifyEvent fn) { FOnColWidthsChanged = std::move(fn); }
    void SetOnRowHeightsChanged(TNotifyEvent fn) { FOnRowHeightsChanged = std::move(fn); }
    void SetOnDrawCell(TDrawCellEvent fn) { FOnDrawCell = std::move(fn); }
    void SetOnResize(TNotifyEvent fn) { FOnResize = std::move(fn); }
    void SetOnKeyDown(TKeyEvent fn) { FOnKeyDown = std::move(fn); }
    void SetOnKeyUp(TKeyEvent fn) { FOnKeyUp = std::move(fn); }
    void SetOnMouseWheelUp(TMouseWheelUpDownEvent fn) { FOnMouseWheelUp = std::move(fn); }
    void SetOnMouseWheelDown(TMouseWheelUpDownEvent fn) { FOnMouseWheelDown = std::move(fn); }

protected:
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect,
                  TGridDrawState state) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void TopLeftChanged() override;
    void SizeChanged() override;
    bool IsClickDisabled(int col, int row) const override;
    Qt::CursorShape CursorAt(const QPoint& pt) const override;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void DrawCellBackground(QPainter& painter, int col, int row, QRect& rect,
                            TGridDrawState& state);
    void UpdateScrollBar(Qt::Orientation orientation);
    void ScrollBarAction(Qt::Orientation orientation, int action);
    void ScrollBarReleased(Qt::Orientation orientation);
    QScrollBar* Bar(Qt::Orientation orientation) const;
    TGridPos Pos() const;
    void ApplyMove(const TGridMove& move);
    void WheelStep(TWheelDir dir, QWheelEvent* event);
    bool IsSizingProtected(const TGridSizing& sizing) const;

    int FUpdateLock = 0;
    std::unique_ptr<TViewOptions> FViewOptions;
    TArrowKeyFlags FFlagVk; // FFlagVkDown, FFlagVkUp, FFlagVkRight, FFlagVkLeft
    QPixmap FSelectedColorBmp;
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    std::vector<int> FWidthFixedCols;
    std::vector<int> FHeightFixedRows;
    std::vector<QPoint> FClickDisabledFixedCells;
    int FWheelDelta = 0;       // wheel units not yet turned into a step
    int FScrollBarUpdates = 0; // guards against re-entry while a bar appears
    TNotifyEvent FOnColWidthsChanged;
    TNotifyEvent FOnRowHeightsChanged;
    TDrawCellEvent FOnDrawCell;
    TNotifyEvent FOnResize;
    TKeyEvent FOnKeyDown;
    TKeyEvent FOnKeyUp;
    TMouseWheelUpDownEvent FOnMouseWheelUp;
    TMouseWheelUpDownEvent FOnMouseWheelDown;
};

} // namespace velmora
