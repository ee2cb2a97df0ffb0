#include "widgets/KvBaseGrid.h"

#include "widgets/KvContrast.h"
#include "widgets/KvGridLogic.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace velmora {

namespace {
// Pixels either side of a boundary line where a press starts sizing.
constexpr int KSizingRange = 3;
} // namespace

TKvBaseGrid::TKvBaseGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    FCols.Sizes.assign(5, FDefaultColWidth);
    FRows.Sizes.assign(5, FDefaultRowHeight);
    FCols.FixedCount = FRows.FixedCount = 1;
    FCols.First = FRows.First = 1;
    FCol = FRow = 1;
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
}

void TKvBaseGrid::SetColCount(int value) {
    value = std::max(1, value);
    if (value == ColCount())
        return;
    FCols.Sizes.resize(value, FDefaultColWidth);
    FCols.FixedCount = std::min(FCols.FixedCount, value - 1);
    FCol = std::clamp(FCol, FixedCols(), value - 1);
    ClampView();
    SizeChanged();
    viewport()->update();
}

void TKvBaseGrid::SetRowCount(int value) {
    value = std::max(1, value);
    if (value == RowCount())
        return;
    FRows.Sizes.resize(value, FDefaultRowHeight);
    FRows.FixedCount = std::min(FRows.FixedCount, value - 1);
    FRow = std::clamp(FRow, FixedRows(), value - 1);
    ClampView();
    SizeChanged();
    viewport()->update();
}

void TKvBaseGrid::SetFixedCols(int value) {
    value = std::clamp(value, 0, ColCount() - 1);
    if (value == FixedCols())
        return;
    FCols.FixedCount = value;
    FCol = std::max(FCol, value);
    ClampView();
    SizeChanged();
    viewport()->update();
}

void TKvBaseGrid::SetFixedRows(int value) {
    value = std::clamp(value, 0, RowCount() - 1);
    if (value == FixedRows())
        return;
    FRows.FixedCount = value;
    FRow = std::max(FRow, value);
    ClampView();
    SizeChanged();
    viewport()->update();
}

void TKvBaseGrid::SetDefaultColWidth(int value) {
    FDefaultColWidth = std::max(0, value);
    std::fill(FCols.Sizes.begin(), FCols.Sizes.end(), FDefaultColWidth);
    ClampView();
    ColWidthsChanged();
    viewport()->update();
}

void TKvBaseGrid::SetDefaultRowHeight(int value) {
    FDefaultRowHeight = std::max(0, value);
    std::fill(FRows.Sizes.begin(), FRows.Sizes.end(), FDefaultRowHeight);
    ClampView();
    RowHeightsChanged();
    viewport()->update();
}

int TKvBaseGrid::ColWidths(int col) const {
    return col >= 0 && col < ColCount() ? FCols.Sizes[col] : 0;
}

void TKvBaseGrid::SetColWidths(int col, int width) {
    width = std::max(0, width);
    if (col < 0 || col >= ColCount() || FCols.Sizes[col] == width)
        return;
    FCols.Sizes[col] = width;
    ClampView();
    ColWidthsChanged();
    viewport()->update();
}

int TKvBaseGrid::RowHeights(int row) const {
    return row >= 0 && row < RowCount() ? FRows.Sizes[row] : 0;
}

void TKvBaseGrid::SetRowHeights(int row, int height) {
    height = std::max(0, height);
    if (row < 0 || row >= RowCount() || FRows.Sizes[row] == height)
        return;
    FRows.Sizes[row] = height;
    ClampView();
    RowHeightsChanged();
    viewport()->update();
}

void TKvBaseGrid::SetCol(int value) {
    MoveCurrent(value, FRow);
}
void TKvBaseGrid::SetRow(int value) {
    MoveCurrent(FCol, value);
}

void TKvBaseGrid::SetLeftCol(int value) {
    value = std::clamp(value, FixedCols(), MaxLeftCol());
    if (value == FCols.First)
        return;
    FCols.First = value;
    TopLeftChanged();
    viewport()->update();
}

void TKvBaseGrid::SetTopRow(int value) {
    value = std::clamp(value, FixedRows(), MaxTopRow());
    if (value == FRows.First)
        return;
    FRows.First = value;
    TopLeftChanged();
    viewport()->update();
}

int TKvBaseGrid::VisibleColCount() const {
    SyncExtents();
    return FCols.VisibleCount();
}

int TKvBaseGrid::VisibleRowCount() const {
    SyncExtents();
    return FRows.VisibleCount();
}

int TKvBaseGrid::MaxLeftCol() const {
    SyncExtents();
    return FCols.MaxFirst();
}

int TKvBaseGrid::MaxTopRow() const {
    SyncExtents();
    return FRows.MaxFirst();
}

QSize TKvBaseGrid::ClientSize() const {
    if (isVisible())
        return viewport()->size();
    // A hidden widget lays out its viewport only when it is shown.
    QSize size = maximumViewportSize();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        size.rwidth() -= verticalScrollBar()->sizeHint().width();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        size.rheight() -= horizontalScrollBar()->sizeHint().height();
    return size.expandedTo(QSize(0, 0));
}

void TKvBaseGrid::SyncExtents() const {
    const QSize client = ClientSize();
    FCols.Extent = client.width();
    FRows.Extent = client.height();
}

void TKvBaseGrid::SetOptions(TGridOptions value) {
    if (value == FOptions)
        return;
    FOptions = value;
    viewport()->update();
}

QRect TKvBaseGrid::CellRect(int col, int row) const {
    const int x = FCols.Start(col);
    const int y = FRows.Start(row);
    if (x < 0 || y < 0)
        return {};
    return QRect(x, y, FCols.Sizes[col], FRows.Sizes[row]);
}

QPoint TKvBaseGrid::MouseToCell(const QPoint& pt) const {
    SyncExtents();
    const int col = FCols.IndexAt(pt.x());
    const int row = FRows.IndexAt(pt.y());
    if (col < 0 || row < 0)
        return {-1, -1};
    return {col, row};
}

TGridSizing TKvBaseGrid::CalcSizingState(const QPoint& pt) const {
    SyncExtents();
    TGridSizing s;
    auto hit = [&](const TGridAxis& axis, int pos, TGridSizingState state) {
        const int index = axis.BoundaryAt(pos, KSizingRange);
        if (index < 0)
            return false;
        s.State = state;
        s.Index = index;
        s.Pos = axis.Start(index) + axis.Sizes[index];
        s.Ofs = pos - s.Pos;
        return true;
    };
    if ((FOptions & goColSizing) && pt.y() >= 0 && pt.y() < FRows.FixedExtent() &&
        hit(FCols, pt.x(), TGridSizingState::ColSizing))
        return s;
    if ((FOptions & goRowSizing) && pt.x() >= 0 && pt.x() < FCols.FixedExtent() &&
        hit(FRows, pt.y(), TGridSizingState::RowSizing))
        return s;
    return {};
}

Qt::CursorShape TKvBaseGrid::CursorAt(const QPoint& pt) const {
    const TGridSizingState state =
        FDrag.State != TGridSizingState::Normal ? FDrag.State : CalcSizingState(pt).State;
    if (state == TGridSizingState::ColSizing)
        return Qt::SplitHCursor;
    if (state == TGridSizingState::RowSizing)
        return Qt::SplitVCursor;
    return Qt::ArrowCursor;
}

QColor TKvBaseGrid::GridLineColor(bool fixed) const {
    // Light lines on a dark base would glare; there they are a step from the base.
    if (IsDarkPalette(palette()))
        return BlendColors(palette().color(QPalette::Base), palette().color(QPalette::Text),
                           fixed ? 35 : 20);
    return fixed ? QColor(0xB0, 0xB0, 0xB0) : QColor(0xDC, 0xDC, 0xDC);
}

void TKvBaseGrid::Relayout() {
    SyncExtents();
    ClampView();
}

void TKvBaseGrid::ClampView() {
    const int left = std::clamp(FCols.First, FixedCols(), MaxLeftCol());
    const int top = std::clamp(FRows.First, FixedRows(), MaxTopRow());
    if (left == FCols.First && top == FRows.First)
        return;
    FCols.First = left;
    FRows.First = top;
    TopLeftChanged();
}

bool TKvBaseGrid::MoveCurrent(int col, int row) {
    col = std::clamp(col, FixedCols(), ColCount() - 1);
    row = std::clamp(row, FixedRows(), RowCount() - 1);
    const bool changed = col != FCol || row != FRow;
    FCol = col;
    FRow = row;
    ScrollIntoView(col, row);
    if (!changed)
        return false;
    viewport()->update();
    if (FOnClick)
        FOnClick();
    return true;
}

void TKvBaseGrid::ScrollIntoView(int col, int row) {
    SyncExtents();
    auto first = [](const TGridAxis& axis, int index) {
        TGridAxis a = axis;
        if (index < a.First)
            return index;
        while (a.First < index && index > a.First + a.VisibleCount() - 1)
            ++a.First;
        return a.First;
    };
    const int left = std::clamp(first(FCols, col), FixedCols(), MaxLeftCol());
    const int top = std::clamp(first(FRows, row), FixedRows(), MaxTopRow());
    if (left == FCols.First && top == FRows.First)
        return;
    FCols.First = left;
    FRows.First = top;
    TopLeftChanged();
    viewport()->update();
}

bool TKvBaseGrid::IsFixedClickable(int col, int row) const {
    if (row < FixedRows() && col >= FixedCols())
        return FOptions & goFixedColClick;
    if (col < FixedCols() && row >= FixedRows())
        return FOptions & goFixedRowClick;
    return false;
}

TGridDrawState TKvBaseGrid::StateOf(int col, int row) const {
    TGridDrawState s;
    s.Fixed = col < FixedCols() || row < FixedRows();
    const bool rowSelect = FOptions & goRowSelect;
    if (!s.Fixed) {
        s.Selected = row == FRow && (rowSelect || col == FCol);
        s.RowSelected = rowSelect && row == FRow;
        s.Focused = col == FCol && row == FRow && hasFocus();
    } else {
        s.Hot = (FOptions & goFixedHotTrack) && FHot == QPoint(col, row);
        s.Pressed = FPressed == QPoint(col, row);
    }
    return s;
}

void TKvBaseGrid::paintEvent(QPaintEvent*) {
    SyncExtents();
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    p.setFont(font());
    for (int row = 0; row < RowCount(); ++row) {
        if (row == FixedRows())
            row = std::max(row, TopRow());
        const int y = FRows.Start(row);
        if (row >= RowCount() || y > FRows.Extent)
            break;
        for (int col = 0; col < ColCount(); ++col) {
            if (col == FixedCols())
                col = std::max(col, LeftCol());
            const int x = FCols.Start(col);
            if (col >= ColCount() || x > FCols.Extent)
                break;
            const QRect r = CellRect(col, row);
            p.save();
            p.setClipRect(r);
            DrawCell(p, col, row, r, StateOf(col, row));
            p.restore();
        }
    }
    DrawLines(p);
}

void TKvBaseGrid::DrawLines(QPainter& p) const {
    for (int row = 0; row < RowCount(); ++row) {
        const int y = FRows.Start(row);
        if (y < 0)
            continue;
        if (y > FRows.Extent)
            break;
        for (int col = 0; col < ColCount(); ++col) {
            const int x = FCols.Start(col);
            if (x < 0)
                continue;
            if (x > FCols.Extent)
                break;
            const bool fixed = col < FixedCols() || row < FixedRows();
            const QRect r = CellRect(col, row);
            p.setPen(GridLineColor(fixed));
            if (FOptions & (fixed ? goFixedVertLine : goVertLine))
                p.drawLine(r.right() + 1, r.top(), r.right() + 1, r.bottom() + 1);
            if (FOptions & (fixed ? goFixedHorzLine : goHorzLine))
                p.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.bottom() + 1);
        }
    }
}

void TKvBaseGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void TKvBaseGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    const TGridSizing sizing = CalcSizingState(pt);
    if (sizing.State != TGridSizingState::Normal) {
        FDrag = sizing;
        return;
    }
    const QPoint cell = MouseToCell(pt);
    if (cell.x() < 0)
        return;
    if (cell.x() < FixedCols() || cell.y() < FixedRows()) {
        if (IsFixedClickable(cell.x(), cell.y()) && !IsClickDisabled(cell.x(), cell.y())) {
            FPressed = cell;
            viewport()->update();
        }
        return;
    }
    // A press chooses the cell; the owner hears of it even when it was already current.
    if (!MoveCurrent(cell.x(), cell.y()) && FOnClick)
        FOnClick();
}

void TKvBaseGrid::DragTo(const QPoint& pt) {
    const bool cols = FDrag.State == TGridSizingState::ColSizing;
    const int start = cols ? FCols.Start(FDrag.Index) : FRows.Start(FDrag.Index);
    if (start < 0)
        return;
    if (cols)
        SetColWidths(FDrag.Index, pt.x() - FDrag.Ofs - start);
    else
        SetRowHeights(FDrag.Index, pt.y() - FDrag.Ofs - start);
}

void TKvBaseGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (FDrag.State != TGridSizingState::Normal) {
        DragTo(pt);
        return;
    }
    viewport()->setCursor(CursorAt(pt));
    if (!(FOptions & goFixedHotTrack))
        return;
    QPoint cell = MouseToCell(pt);
    if (cell.x() >= FixedCols() && cell.y() >= FixedRows())
        cell = {-1, -1};
    if (cell != FHot) {
        FHot = cell;
        viewport()->update();
    }
}

void TKvBaseGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = MouseToCell(event->position().toPoint());
    if (FDrag.State != TGridSizingState::Normal) {
        FDrag = {};
        viewport()->setCursor(CursorAt(event->position().toPoint()));
        return;
    }
    if (FPressed.x() >= 0) {
        const QPoint pressed = FPressed;
        FPressed = {-1, -1};
        viewport()->update();
        if (cell == pressed && FOnFixedCellClick)
            FOnFixedCellClick(pressed.x(), pressed.y());
    }
}

void TKvBaseGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    const QPoint cell = MouseToCell(event->position().toPoint());
    if (event->button() == Qt::LeftButton && FDrag.State == TGridSizingState::Normal &&
        cell.x() >= FixedCols() && cell.y() >= FixedRows() && FOnDblClick)
        FOnDblClick();
}

bool TKvBaseGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && FHot.x() >= 0) {
        FHot = {-1, -1};
        viewport()->update();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TKvBaseGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TKvBaseGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace velmora
