#include "widgets/KvGrid.h"

#include "widgets/KvContrast.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace velmora {

namespace {

std::optional<TNavKey> NavKeyOf(int key) {
    switch (key) {
    case Qt::Key_PageUp:
        return TNavKey::PageUp;
    case Qt::Key_PageDown:
        return TNavKey::PageDown;
    case Qt::Key_Left:
        return TNavKey::Left;
    case Qt::Key_Up:
        return TNavKey::Up;
    case Qt::Key_Right:
        return TNavKey::Right;
    case Qt::Key_Down:
        return TNavKey::Down;
    default:
        return std::nullopt;
    }
}

bool NoModifier(Qt::KeyboardModifiers mods) {
    return !(mods & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier));
}

constexpr int KWheelStep = 120;

} // namespace

TKvGrid::TKvGrid(QWidget* parent)
    : TKvBaseGrid(parent), FViewOptions(std::make_unique<TViewOptions>(this)) {
    setFrameShape(QFrame::NoFrame);
    SetDefaultRowHeight(24);
    SetOptions(Options() | goThumbTracking);
    for (const Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        connect(Bar(o), &QScrollBar::actionTriggered, this,
                [this, o](int action) { ScrollBarAction(o, action); });
        connect(Bar(o), &QScrollBar::sliderReleased, this, [this, o] { ScrollBarReleased(o); });
    }
    UpdateScrollBars();
}

TKvGrid::~TKvGrid() {
    // The bars outlive this part of the object; nothing of it may be called from them.
    horizontalScrollBar()->disconnect(this);
    verticalScrollBar()->disconnect(this);
}

void TKvGrid::BeginUpdate() {
    if (FUpdateLock++ == 0)
        viewport()->setUpdatesEnabled(false);
}

void TKvGrid::EndUpdate() {
    if (FUpdateLock <= 0)
        return;
    if (--FUpdateLock == 0) {
        viewport()->setUpdatesEnabled(true);
        viewport()->update();
    }
}

bool TKvGrid::IsScrollBarVisible(int ABarFlag) const {
    const QScrollBar* bar = ABarFlag == 0 ? horizontalScrollBar() : verticalScrollBar();
    return bar->isVisibleTo(this);
}

void TKvGrid::SetWidthFixedCols(std::vector<int> AIndexArray) {
    FWidthFixedCols = std::move(AIndexArray);
}

void TKvGrid::SetHeightFixedRows(std::vector<int> AIndexArray) {
    FHeightFixedRows = std::move(AIndexArray);
}

void TKvGrid::SetClickDisabledFixedCells(std::vector<QPoint> ACells) {
    FClickDisabledFixedCells = std::move(ACells);
    viewport()->update();
}

void TKvGrid::MakeColVisible(int ACol) {
    BeginUpdate();
    SetLeftCol(MakeIndexVisible(ACol, LeftCol(), VisibleColCount(), ColCount()));
    UpdateScrollBar(Qt::Horizontal);
    EndUpdate();
}

void TKvGrid::MakeRowVisible(int ARow) {
    BeginUpdate();
    SetTopRow(MakeIndexVisible(ARow, TopRow(), VisibleRowCount(), RowCount()));
    UpdateScrollBar(Qt::Vertical);
    EndUpdate();
}

void TKvGrid::MakeCellVisible(int ACol, int ARow) {
    MakeColVisible(ACol);
    MakeRowVisible(ARow);
}

void TKvGrid::LimitColWidth() {
    std::vector<int> widths(ColCount());
    for (int i = 0; i < ColCount(); ++i)
        widths[i] = ColWidths(i);
    const std::vector<int> limited = LimitColWidths(widths, FixedCols(), ClientSize().width());
    for (int i = 0; i < ColCount(); ++i) {
        if (limited[i] != widths[i])
            SetColWidths(i, limited[i]);
    }
}

void TKvGrid::UpdateScrollBars() {
    // Showing a bar shrinks the client area, which asks again; a few rounds settle it.
    if (FScrollBarUpdates >= 3)
        return;
    ++FScrollBarUpdates;
    UpdateScrollBar(Qt::Horizontal);
    UpdateScrollBar(Qt::Vertical);
    --FScrollBarUpdates;
}

QScrollBar* TKvGrid::Bar(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
}

void TKvGrid::UpdateScrollBar(Qt::Orientation orientation) {
    const bool horz = orientation == Qt::Horizontal;
    const TScrollBarState s =
        horz ? CalcScrollBar(FViewOptions->ShowHorzScrollBar(), ColCount(), FixedCols(),
                             VisibleColCount(), LeftCol() - FixedCols())
             : CalcScrollBar(FViewOptions->ShowVertScrollBar(), RowCount(), FixedRows(),
                             VisibleRowCount(), TopRow() - FixedRows());
    QScrollBar* bar = Bar(orientation);
    // The toolkit's range is that of the position; the page is kept apart.
    bar->setRange(s.Min, s.Max - s.Page + 1);
    bar->setPageStep(s.Page);
    bar->setSingleStep(1);
    bar->setSliderPosition(s.Position);
    const Qt::ScrollBarPolicy policy = s.Visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horz && horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
    else if (!horz && verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
}

void TKvGrid::ScrollBarAction(Qt::Orientation orientation, int action) {
    const bool horz = orientation == Qt::Horizontal;
    const int count = horz ? ColCount() : RowCount();
    const int fixed = horz ? FixedCols() : FixedRows();
    const int visible = horz ? VisibleColCount() : VisibleRowCount();
    int first = horz ? LeftCol() : TopRow();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        ++first;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        --first;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        first += visible;
        break;
    case QAbstractSlider::SliderPageStepSub:
        first -= visible;
        break;
    case QAbstractSlider::SliderToMinimum:
        first = fixed;
        break;
    case QAbstractSlider::SliderToMaximum:
        first = count;
        break;
    case QAbstractSlider::SliderMove:
        if (!(Options() & goThumbTracking))
            return;
        first = ScrollPositionToFirst(Bar(orientation)->sliderPosition(), count, fixed, visible);
        break;
    default:
        return;
    }
    horz ? SetLeftCol(first) : SetTopRow(first);
    UpdateScrollBar(orientation);
}

void TKvGrid::ScrollBarReleased(Qt::Orientation orientation) {
    if (Options() & goThumbTracking)
        return;
    const bool horz = orientation == Qt::Horizontal;
    const int position = Bar(orientation)->sliderPosition();
    if (horz)
        SetLeftCol(ScrollPositionToFirst(position, ColCount(), FixedCols(), VisibleColCount()));
    else
        SetTopRow(ScrollPositionToFirst(position, RowCount(), FixedRows(), VisibleRowCount()));
    UpdateScrollBar(orientation);
}

TGridPos TKvGrid::Pos() const {
    TGridPos p;
    p.ColCount = ColCount();
    p.RowCount = RowCount();
    p.FixedCols = FixedCols();
    p.FixedRows = FixedRows();
    p.Col = Col();
    p.Row = Row();
    p.LeftCol = LeftCol();
    p.TopRow = TopRow();
    p.VisibleColCount = VisibleColCount();
    p.VisibleRowCount = VisibleRowCount();
    return p;
}

void TKvGrid::ApplyMove(const TGridMove& move) {
    if (move.Col)
        SetCol(*move.Col);
    if (move.Row)
        SetRow(*move.Row);
    if (move.LeftCol)
        SetLeftCol(*move.LeftCol);
    if (move.TopRow)
        SetTopRow(*move.TopRow);
    if (move.UpdateHorz)
        UpdateScrollBar(Qt::Horizontal);
    if (move.UpdateVert)
        UpdateScrollBar(Qt::Vertical);
}

void TKvGrid::DrawCell(QPainter& painter, int col, int row, const QRect& rect,
                       TGridDrawState state) {
    QRect r = rect;
    DrawCellBackground(painter, col, row, r, state);
    if (FOnDrawCell)
        FOnDrawCell(painter, col, row, r, state);
}

void TKvGrid::DrawCellBackground(QPainter& painter, int col, int row, QRect& rect,
                                 TGridDrawState& state) {
    if ((Options() & (goFixedColClick | goFixedRowClick)) && IsClickDisabled(col, row)) {
        state.Pressed = false;
        state.Hot = false;
    }
    const TViewOptions& vo = *FViewOptions;
    painter.setBrush(palette().color(QPalette::Base));
    painter.setFont(font());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(palette().color(QPalette::Text));
    if (state.Fixed) {
        QColor top = vo.FixedNormalStartColor();
        QColor bottom = vo.FixedNormalEndColor();
        if (state.Pressed)
            std::swap(top, bottom);
        else if (state.Hot)
            top = vo.FixedHotStartColor(), bottom = vo.FixedHotEndColor();
        QLinearGradient g(rect.left(), rect.top(), rect.left(), rect.top() + rect.height());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        painter.fillRect(rect, g);
        // The header greys are fixed colours: the palette's text must not vanish on them.
        painter.setPen(
            ReadableTextColor(MidColor(top, bottom), palette().color(QPalette::WindowText)));
        return;
    }
    painter.fillRect(rect, palette().color(QPalette::Base));
    if (!state.Selected || rect.isEmpty())
        return;
    const bool focused = hasFocus();
    painter.setPen(focused ? vo.SelectedFontColor() : vo.InactiveSelectedFontColor());
    if (FSelectedColorBmp.size() != rect.size())
        FSelectedColorBmp = QPixmap(rect.size());
    FSelectedColorBmp.fill(focused ? vo.SelectedColor() : vo.InactiveSelectedColor());
    painter.save();
    painter.setOpacity(vo.SelectedColorAlphaBlendValue() / 255.0);
    painter.drawPixmap(rect.topLeft(), FSelectedColorBmp);
    painter.restore();
}

void TKvGrid::ColWidthsChanged() {
    UpdateScrollBars();
    if (FOnColWidthsChanged)
        FOnColWidthsChanged();
}

void TKvGrid::RowHeightsChanged() {
    UpdateScrollBars();
    if (FOnRowHeightsChanged)
        FOnRowHeightsChanged();
}

void TKvGrid::TopLeftChanged() {
    UpdateScrollBars();
}
void TKvGrid::SizeChanged() {
    UpdateScrollBars();
}

bool TKvGrid::IsClickDisabled(int col, int row) const {
    return std::find(FClickDisabledFixedCells.begin(), FClickDisabledFixedCells.end(),
                     QPoint(col, row)) != FClickDisabledFixedCells.end();
}

bool TKvGrid::IsSizingProtected(const TGridSizing& sizing) const {
    auto listed = [&sizing](const std::vector<int>& list) {
        return std::find(list.begin(), list.end(), sizing.Index) != list.end();
    };
    if (sizing.State == TGridSizingState::ColSizing)
        return listed(FWidthFixedCols);
    if (sizing.State == TGridSizingState::RowSizing)
        return listed(FHeightFixedRows);
    return false;
}

Qt::CursorShape TKvGrid::CursorAt(const QPoint& pt) const {
    if (SizingState() == TGridSizingState::Normal && IsSizingProtected(CalcSizingState(pt)))
        return Qt::ArrowCursor;
    return TKvBaseGrid::CursorAt(pt);
}

void TKvGrid::showEvent(QShowEvent* event) {
    TKvBaseGrid::showEvent(event);
    UpdateScrollBars();
}

void TKvGrid::hideEvent(QHideEvent* event) {
    TKvBaseGrid::hideEvent(event);
    UpdateScrollBars();
}

void TKvGrid::resizeEvent(QResizeEvent* event) {
    TKvBaseGrid::resizeEvent(event);
    UpdateScrollBars();
    if (FOnResize)
        FOnResize();
    viewport()->update();
}

void TKvGrid::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    const std::optional<TNavKey> nav = NavKeyOf(key);
    const bool handled = nav && NoModifier(event->modifiers());
    if (handled) {
        BeginUpdate();
        const TGridMove move =
            NavigateByKey(Pos(), *nav, Options() & goRowSelect, event->isAutoRepeat(), FFlagVk);
        ApplyMove(move);
        if (move.Consumed)
            key = 0;
        EndUpdate();
    }
    if (FOnKeyDown)
        FOnKeyDown(key, event->modifiers());
    event->setAccepted(handled);
}

void TKvGrid::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    const std::optional<TNavKey> nav = NavKeyOf(key);
    // Holding a key sends releases between the repeats; only a real release re-arms.
    if (nav && !event->isAutoRepeat() && NoModifier(event->modifiers()))
        ReleaseArrowKey(*nav, FFlagVk);
    if (FOnKeyUp)
        FOnKeyUp(key, event->modifiers());
    event->setAccepted(bool(nav));
}

void TKvGrid::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint delta = event->angleDelta();
    FWheelDelta += delta.y() != 0 ? delta.y() : delta.x();
    while (FWheelDelta >= KWheelStep) {
        FWheelDelta -= KWheelStep;
        WheelStep(TWheelDir::Up, event);
    }
    while (FWheelDelta <= -KWheelStep) {
        FWheelDelta += KWheelStep;
        WheelStep(TWheelDir::Down, event);
    }
}

void TKvGrid::WheelStep(TWheelDir dir, QWheelEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const TWheelMods wm{bool(mods & Qt::ShiftModifier), bool(mods & Qt::ControlModifier),
                        bool(mods & Qt::AltModifier)};
    BeginUpdate();
    ApplyMove(NavigateByWheel(Pos(), dir, wm, Options() & goRowSelect));
    UpdateScrollBars();
    EndUpdate();
    bool handled = false;
    const TMouseWheelUpDownEvent& fn = dir == TWheelDir::Up ? FOnMouseWheelUp : FOnMouseWheelDown;
    if (fn)
        fn(mods, event->position().toPoint(), handled);
}

void TKvGrid::mousePressEvent(QMouseEvent* event) {
    const TGridSizing sizing = CalcSizingState(event->position().toPoint());
    FSizingIndex = sizing.Index;
    FSizingPos = sizing.Pos;
    FSizingOfs = sizing.Ofs;
    if (event->button() == Qt::LeftButton && IsSizingProtected(sizing)) {
        event->accept();
        return;
    }
    TKvBaseGrid::mousePressEvent(event);
    UpdateScrollBars();
}

} // namespace velmora
