#include "KvUnits/KvTabSet.h"

#include "KvUnits/KvPng.h"
#include "KvUnits/KvTextFit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace velmora {

namespace {

int RoundHalfEven(double v) {
    return int(std::nearbyint(v));
}

} // namespace

TKvTabSet::TKvTabSet(QWidget* parent)
    : QWidget(parent), FTabs(this), FTabOptions(this),
      FClosedTabList(std::make_unique<TKvTabInfoList>()), FMarkers(LoadDropMarkers()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(320, 26);
    FHandledSize = size();
    CreateScrollButton();
    FOwnerControl = parent;
    if (FOwnerControl)
        FOwnerControl->installEventFilter(this);
    UpdateTabSetSize();
    PlaceScrollButton();
    UpdateVisibleRange();
}

TKvTabSet::~TKvTabSet() {
    if (FOwnerControl)
        FOwnerControl->removeEventFilter(this);
    delete FScrollButton.data();
}

// --- properties --------------------------------------------------------------

void TKvTabSet::SetTabOptions(const TTabOptions& v) {
    FTabOptions.Assign(v);
    TabOptionsChanged(TTabOptionsChange::Realign);
}

void TKvTabSet::SetClosedTabList(std::unique_ptr<TKvTabInfoList> v) {
    FClosedTabList = v ? std::move(v) : std::make_unique<TKvTabInfoList>();
}

void TKvTabSet::SetImages(const QList<QImage>& v) {
    FImages = v;
    update();
}

void TKvTabSet::SetGlyph(TGlyphState state, const QByteArray& pngData) {
    FGlyphs[std::size_t(state)] =
        pngData.isEmpty() ? QImage() : KvDecodePng(KvRemoveGammaChunk(pngData));
    update();
}

void TKvTabSet::SetTabIndex(int v) {
    if (FTabs.Count() == 0) {
        FTabIndex = -1;
        return;
    }
    if (v < -1 || v >= FTabs.Count())
        throw ETabIndexError();
    FTabIndex = v;
    if (v == -1) {
        for (int i = 0; i < FTabs.Count(); ++i)
            FTabs[i]->SetSelected(false);
        update();
    } else {
        FTabs[v]->SetSelected(true);
    }
}

void TKvTabSet::SetShowFocus(bool v) {
    if (FShowFocus == v)
        return;
    FShowFocus = v;
    update();
}

// --- adding, removing, selecting ------------------------------------------------

TKvTab* TKvTabSet::AddTab(const QString& ACaption) {
    TKvTab* tab = FTabs.Add();
    tab->SetCaption(ACaption);
    bool asSelected = true;
    DoTabAdding(tab, asSelected);
    if (asSelected) {
        TTabListUpdate bracket(FTabs);
        SetTabIndex(tab->Index());
    }
    UpdateTabSetSize();
    const TTabPosition position = FTabOptions.TabPosition();
    if (FTabSteps > 0 && (position == tpTop || position == tpLeft))
        ScrollTo(tab->Index());
    return tab;
}

int TKvTabSet::RemoveTab(TKvTab* ATab) {
    if (FTabs.IndexOf(ATab) < 0)
        return -1;
    const bool wasSelected = ATab->Selected();
    TNextFocus nextFocus = nfLastSelected;
    DoTabClosing(ATab, nextFocus);
    // The handler may have removed the tab itself.
    const int index = FTabs.IndexOf(ATab);
    if (index < 0)
        return -1;
    {
        TTabListUpdate bracket(FTabs);
        FTabs.Delete(index);
        if (FHotIndex >= FTabs.Count())
            FHotIndex = -1;
        if (FGlyphClickedIndex == index)
            FGlyphClicked = false;
        // FTabIndex still names the removed tab's place here.
        SetTabIndex(GetNextIndex(wasSelected, nextFocus));
    }
    UpdateTabSetSize();
    update();
    return index;
}

int TKvTabSet::GetNextIndex(bool ASelected, TNextFocus ANextFocus) const {
    if (FTabs.Count() == 0)
        return -1;
    if (!ASelected)
        return GetSelectedIndex();
    switch (ANextFocus) {
    case nfForward:
        return GetNeighborIndex(FTabIndex, true);
    case nfBackward:
        return GetNeighborIndex(FTabIndex, false);
    case nfLastSelected:
        break;
    }
    return GetLastSelectedIndex();
}

int TKvTabSet::GetNeighborIndex(int ATabIndex, bool GoForward) const {
    return NeighborIndex(FTabs.Count(), ATabIndex, GoForward);
}

int TKvTabSet::GetLastSelectedIndex() const {
    std::vector<std::int64_t> stamps;
    for (int i = 0; i < FTabs.Count(); ++i)
        stamps.push_back(FTabs[i]->SelectionStamp());
    return LastSelectedIndex(stamps);
}

int TKvTabSet::GetSelectedIndex() const {
    for (int i = 0; i < FTabs.Count(); ++i) {
        if (FTabs[i]->Selected())
            return i;
    }
    return -1;
}

void TKvTabSet::SelectNextTab(bool GoForward) {
    SetTabIndex(WrapIndex(GetSelectedIndex() + (GoForward ? 1 : -1), FTabs.Count()));
}

void TKvTabSet::TabSelectionChanged(TKvTab* tab, bool selected) {
    DoTabSelected(tab, selected);
}

void TKvTabSet::TabsUpdated() {
    // A tab inserted or moved before the selected one shifts it.
    const int selected = GetSelectedIndex();
    if (selected >= 0)
        FTabIndex = selected;
    UpdateVisibleRange();
    update();
}

// --- dispatchers ----------------------------------------------------------------

void TKvTabSet::DoTabBeforeSelect(bool& AllowChange) {
    if (FOnTabBeforeSelect)
        FOnTabBeforeSelect(this, AllowChange);
}

void TKvTabSet::DoTabSelected(TKvTab* ATab, bool ASelected) {
    if (ASelected) {
        FTabIndex = ATab->Index();
        update();
    } else if (FTabs.Count() == 1) {
        SetTabIndex(-1);
    }
    if (FOnTabSelected)
        FOnTabSelected(this, ATab, ASelected);
}

void TKvTabSet::DoTabAdding(TKvTab* ATab, bool& AsSelected) {
    if (FOnTabAdding)
        FOnTabAdding(this, ATab, AsSelected);
}

void TKvTabSet::DoTabReOpening(TKvTab* ATab, bool& AsSelected) {
    if (FOnTabReOpening)
        FOnTabReOpening(this, ATab, AsSelected);
}

void TKvTabSet::DoTabClosing(TKvTab* ATab, TNextFocus& ANextFocus) {
    if (FOnTabClosing)
        FOnTabClosing(this, ATab, ANextFocus);
}

void TKvTabSet::DoGlyphClick(int AIndex) {
    if (FOnGlyphClick)
        FOnGlyphClick(this, AIndex);
}

void TKvTabSet::DoAdditionalDrawBar(QPainter& canvas, const QRect& barRect) {
    if (FOnAdditionalDrawBar)
        FOnAdditionalDrawBar(this, canvas, barRect);
}

void TKvTabSet::DoAdditionalDrawBefore(QPainter& canvas, int AIndex, const QRect& tabRect,
                                       bool Active, bool Hot) {
    if (FOnAdditionalDrawBefore)
        FOnAdditionalDrawBefore(this, canvas, AIndex, tabRect, Active, Hot);
}

void TKvTabSet::DoAdditionalDrawAfter(QPainter& canvas, int AIndex, const QRect& tabRect,
                                      bool Active, bool Hot) {
    if (FOnAdditionalDrawAfter)
        FOnAdditionalDrawAfter(this, canvas, AIndex, tabRect, Active, Hot);
}

// --- layout ---------------------------------------------------------------------

TTabGrid TKvTabSet::Grid() const {
    TTabGrid g;
    g.Position = FTabOptions.TabPosition();
    g.Width = width();
    g.Height = height();
    g.TabWidth = FTabOptions.TabWidth();
    g.TabHeight = FTabOptions.TabHeight();
    g.Reserve = ScrollButtonVisible() ? kTabScrollReserve : 0;
    g.Count = FTabs.Count();
    return g;
}

TTabCoord TKvTabSet::GetTabCoord(int AIndex) const {
    return TabCoord(Grid(), AIndex);
}

TTabCoord TKvTabSet::GetTabCount() const {
    return TabCount(Grid());
}

QRect TKvTabSet::GetTabRect(int AIndex) const {
    return TabRect(Grid(), Shown(), AIndex);
}

int TKvTabSet::IndexOfTabAt(int X, int Y) const {
    return velmora::IndexOfTabAt(Grid(), Shown(), QPoint(X, Y));
}

QSize TKvTabSet::GetGlyphSize() const {
    QSize s(0, 0);
    for (const QImage& g : FGlyphs)
        s = s.expandedTo(g.size());
    return s;
}

QRect TKvTabSet::GetGlyphRect(int AIndex) const {
    const QRect r = GetTabRect(AIndex);
    const QSize g = GetGlyphSize();
    const int right = r.x() + r.width() - FTabOptions.TabRightMargin();
    const int top = r.y() + RoundHalfEven((FTabOptions.TabHeight() - g.height()) / 2.0);
    return QRect(right - g.width(), top, g.width(), g.height());
}

void TKvTabSet::UpdateTabSetSize() {
    TTabGrid g = Grid();
    QWidget* owner = parentWidget();
    // Docked: the tab set spans its parent's edge and is as thick as its lines.
    if (owner) {
        if (g.Horizontal())
            g.Width = owner->width();
        else
            g.Height = owner->height();
    }
    const QSize s = TabSetSize(g, FTabSteps);
    QRect r(pos(), s);
    if (owner) {
        switch (g.Position) {
        case tpTop:
        case tpLeft:
            r.moveTopLeft(QPoint(0, 0));
            break;
        case tpBottom:
            r.moveTopLeft(QPoint(0, owner->height() - s.height()));
            break;
        case tpRight:
            r.moveTopLeft(QPoint(owner->width() - s.width(), 0));
            break;
        }
    }
    if (r != geometry()) {
        setGeometry(r);
        if (size() != FHandledSize)
            AfterResize();
    }
}

void TKvTabSet::UpdateVisibleRange() {
    const TVisibleRange r = UpdatedVisibleRange(Grid(), FTabSteps, Shown());
    FFirstIndex = r.First;
    FLastIndex = r.Last;
}

void TKvTabSet::AfterResize() {
    FHandledSize = size();
    UpdateTabSetSize();
    PlaceScrollButton();
    UpdateVisibleRange();
    update();
    if (FOnResize)
        FOnResize(this);
}

void TKvTabSet::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (size() != FHandledSize)
        AfterResize();
}

bool TKvTabSet::eventFilter(QObject* watched, QEvent* e) {
    // Re-dock after the owner's own size handling.
    if (watched == FOwnerControl && e->type() == QEvent::Resize)
        UpdateTabSetSize();
    return QWidget::eventFilter(watched, e);
}

void TKvTabSet::TabOptionsChanged(TTabOptionsChange change) {
    switch (change) {
    case TTabOptionsChange::Repaint:
        break;
    case TTabOptionsChange::Realign:
        UpdateTabSetSize();
        PlaceScrollButton();
        UpdateVisibleRange();
        break;
    case TTabOptionsChange::Resize:
        UpdateTabSetSize();
        UpdateVisibleRange();
        break;
    case TTabOptionsChange::ModifiedColor:
        RepaintModifiedTabs();
        return;
    }
    update();
}

// --- update bracket -------------------------------------------------------------

void TKvTabSet::BeginUpdate() {
    if (FUpdateLock++ == 0)
        setUpdatesEnabled(false);
}

void TKvTabSet::EndUpdate() {
    if (FUpdateLock <= 0)
        return;
    if (--FUpdateLock == 0) {
        setUpdatesEnabled(true);
        update();
    }
}

void TKvTabSet::InvalidateTab(int AIndex) {
    if (AIndex < 0 || AIndex >= FTabs.Count())
        return;
    update(GetTabRect(AIndex));
}

void TKvTabSet::InvalidateGlyph(int index) {
    if (index >= 0 && index < FTabs.Count())
        update(GetGlyphRect(index));
}

void TKvTabSet::RepaintModifiedTabs() {
    for (int i = 0; i < FTabs.Count(); ++i) {
        if (FTabs[i]->Modified())
            InvalidateTab(i);
    }
}

// --- painting -------------------------------------------------------------------

void TKvTabSet::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    PaintAll(canvas);
}

QImage TKvTabSet::Render() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter canvas(&image);
    PaintAll(canvas);
    return image;
}

void TKvTabSet::PaintAll(QPainter& canvas) {
    const QRect client = rect();
    if (FTabOptions.TabDrawingStyle() == tdsGradientTransparent) {
        FTempBmp = QImage(client.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter bar(&FTempBmp);
        DrawTabBar(bar, client, FTabOptions);
        bar.end();
        canvas.drawImage(0, 0, FTempBmp);
    } else {
        DrawTabBar(canvas, client, FTabOptions);
    }
    DoAdditionalDrawBar(canvas, client);
    if (FTabs.Count() == 0)
        return;
    const int first = std::max(0, FFirstIndex);
    const int last = std::min(FTabs.Count() - 1, FLastIndex);
    for (int i = first; i <= last; ++i)
        PaintTab(canvas, i);
    if (FMarkerTab >= 0)
        canvas.drawImage(FMarkerAt, FMarkers.For(FTabOptions.TabPosition()));
}

void TKvTabSet::PaintTab(QPainter& canvas, int index) {
    const QRect r = GetTabRect(index);
    const bool active = index == FTabIndex;
    const bool hot = index == FHotIndex;
    canvas.save();
    DrawTabShape(canvas, r, active, hot, FTabOptions, FTempBmp);
    DoAdditionalDrawBefore(canvas, index, r, active, hot);
    DrawTabImage(canvas, index, r);
    DrawTabCaption(canvas, index, r);
    DrawGlyph(canvas, GetGlyphRect(index), FTabs[index]->GlyphState());
    DoAdditionalDrawAfter(canvas, index, r, active, hot);
    if (FShowFocus)
        DrawTabFocus(canvas, r, active);
    canvas.restore();
}

void TKvTabSet::DrawTabImage(QPainter& canvas, int index, const QRect& rect) {
    const int image = FTabs[index]->ImageIndex();
    if (image < 0 || image >= FImages.size())
        return;
    const QImage& picture = FImages[image];
    canvas.drawImage(
        QPoint(rect.x() + FTabOptions.TabLeftMargin(),
               rect.y() + RoundHalfEven((FTabOptions.TabHeight() - picture.height()) / 2.0)),
        picture);
}

QMargins TKvTabSet::CaptionMargins(int index) const {
    // Room for a 16-pixel image (scaled with the screen) is kept whenever the
    // tab names one, even without an image list.
    const int left = FTabs[index]->ImageIndex() < 0 ? FTabOptions.TabLeftMargin()
                                                    : RoundHalfEven(16 * logicalDpiX() / 96.0) +
                                                          FTabOptions.TabLeftMargin() + 4;
    // The widest glyph image, as GetGlyphRect places it, so that a caption
    // never runs under a glyph whose active image happens to be empty.
    const int glyphWidth = GetGlyphSize().width();
    const int right = glyphWidth == 0 ? FTabOptions.TabRightMargin()
                                      : glyphWidth + FTabOptions.TabRightMargin() + 4;
    return QMargins(left, 0, right, 0);
}

QString TKvTabSet::FittedCaption(int AIndex) const {
    if (AIndex < 0 || AIndex >= FTabs.Count())
        return QString();
    const QMargins m = CaptionMargins(AIndex);
    return FitTextWithEllipsis(QFontMetrics(font()), FTabOptions.TabWidth() - m.left() - m.right(),
                               FTabs[AIndex]->Caption())
        .Text;
}

void TKvTabSet::DrawTabCaption(QPainter& canvas, int index, const QRect& rect) {
    const QString text = FittedCaption(index);
    if (text.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int h = metrics.height();
    const int y = RoundHalfEven((FTabOptions.TabHeight() - h) / 2.0);
    const TKvTab* tab = FTabs[index];
    canvas.save();
    canvas.setFont(font());
    canvas.setClipRect(rect, Qt::IntersectClip);
    canvas.setPen(tab->Modified() ? FTabOptions.ModifiedFontColor()
                                  : palette().color(QPalette::WindowText));
    canvas.drawText(QRect(rect.x() + CaptionMargins(index).left(), rect.y() + y,
                          metrics.horizontalAdvance(text) + 1, h),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    canvas.restore();
}

void TKvTabSet::DrawGlyph(QPainter& canvas, const QRect& glyphRect, TGlyphState state) {
    const QImage& glyph = FGlyphs[std::size_t(state)];
    if (!glyph.isNull())
        canvas.drawImage(glyphRect.topLeft(), glyph);
}

void TKvTabSet::DrawTabFocus(QPainter& canvas, const QRect& rect, bool active) {
    if (!active || !FFocused)
        return;
    const QRect r = rect.adjusted(2, 3, -2, -3);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(palette().color(QPalette::WindowText), 0);
    pen.setDashPattern({1, 1});
    canvas.setPen(pen);
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::OpaqueMode);
    canvas.setBackground(palette().color(QPalette::Button));
    canvas.drawRect(r.adjusted(0, 0, -1, -1));
    canvas.restore();
}

// --- mouse, focus, wheel, hints --------------------------------------------------

void TKvTabSet::mousePressEvent(QMouseEvent* e) {
    const Qt::KeyboardModifiers blocking =
        Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;
    if (!isEnabled() || e->button() != Qt::LeftButton || (e->modifiers() & blocking))
        return;
    try {
        HandlePress(e->position().toPoint());
    } catch (...) {
        // A failing handler must not leave a glyph or a drag half-pressed.
        FGlyphClicked = false;
        FDragging = false;
    }
}

void TKvTabSet::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click neither selects nor arms a drag.
}

void TKvTabSet::HandlePress(QPoint p) {
    // The hot tab normally follows the pointer already; a press without a move
    // before it (a touch pad tap, a synthetic click) still finds its tab.
    UpdateHotTab(p);
    if (FHotIndex >= 0 && GetGlyphRect(FHotIndex).contains(p)) {
        FMouseInGlyph = true;
        FGlyphClicked = true;
        FGlyphClickedIndex = FHotIndex;
        FTabs[FHotIndex]->SetGlyphState(gsDown);
        InvalidateGlyph(FHotIndex);
        return;
    }
    if (FHotIndex >= 0) {
        FDragging = true;
        const int t = QApplication::startDragDistance();
        FDragRect = QRect(p.x() - t, p.y() - t, 2 * t + 1, 2 * t + 1);
    }
    setFocus(Qt::MouseFocusReason);
    bool allowChange = true;
    DoTabBeforeSelect(allowChange);
    if (allowChange && FHotIndex >= 0 && FHotIndex < FTabs.Count())
        SetTabIndex(FHotIndex);
}

void TKvTabSet::mouseMoveEvent(QMouseEvent* e) {
    if (!isEnabled())
        return;
    const QPoint p = e->position().toPoint();
    if (FDragActive) {
        DragMoveTo(p);
        return;
    }
    if (FAllowDragTab && FDragging && !FDragRect.contains(p)) {
        BeginTabDrag();
        DragMoveTo(p);
        return;
    }
    UpdateHotTab(p);
    UpdateHotGlyph(p);
}

void TKvTabSet::UpdateHotTab(QPoint p) {
    const int old = FHotIndex;
    FHotIndex = IndexOfTabAt(p.x(), p.y());
    if (FHotIndex == old)
        return;
    // A glyph lit by the pointer goes dark when the pointer moves on.
    if (old >= 0 && old < FTabs.Count() && FTabs[old]->GlyphState() == gsHot)
        FTabs[old]->SetGlyphState(FTabs[old]->RestingGlyphState());
    InvalidateTab(old);
    if (FHotIndex != FTabIndex)
        InvalidateTab(FHotIndex);
}

void TKvTabSet::UpdateHotGlyph(QPoint p) {
    if (FHotIndex < 0)
        return;
    TKvTab* tab = FTabs[FHotIndex];
    FMouseInGlyph = GetGlyphRect(FHotIndex).contains(p);
    if (FGlyphClicked) {
        if (FHotIndex != FGlyphClickedIndex)
            tab->SetGlyphState(tab->RestingGlyphState());
    } else {
        tab->SetGlyphState(FMouseInGlyph ? gsHot : tab->RestingGlyphState());
    }
    InvalidateGlyph(FHotIndex);
}

void TKvTabSet::mouseReleaseEvent(QMouseEvent* e) {
    FDragging = false;
    const QPoint p = e->position().toPoint();
    if (FDragActive) {
        FinishDrag(p, false);
        return;
    }
    if (!FGlyphClicked)
        return;
    FGlyphClicked = false;
    const int index = FGlyphClickedIndex;
    if (index < 0 || index >= FTabs.Count())
        return;
    TKvTab* tab = FTabs[index];
    FMouseInGlyph = GetGlyphRect(index).contains(p);
    if (FMouseInGlyph) {
        tab->SetGlyphState(gsHot);
        InvalidateGlyph(index);
        DoGlyphClick(index);
    } else {
        tab->SetGlyphState(tab->RestingGlyphState());
        InvalidateGlyph(index);
    }
}

void TKvTabSet::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    if (FDragActive)
        return;
    FDragging = false;
    const int old = FHotIndex;
    FHotIndex = -1;
    FMouseInGlyph = false;
    if (old >= 0 && old < FTabs.Count()) {
        TKvTab* tab = FTabs[old];
        if (tab->GlyphState() == gsHot)
            tab->SetGlyphState(tab->RestingGlyphState());
        InvalidateTab(old);
    }
}

void TKvTabSet::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (!FFocused) {
        FFocused = true;
        InvalidateTab(FTabIndex);
    }
}

void TKvTabSet::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    if (FFocused) {
        FFocused = false;
        InvalidateTab(FTabIndex);
    }
}

void TKvTabSet::wheelEvent(QWheelEvent* e) {
    e->accept();
    if (FTabSteps <= 0)
        return;
    const int dy = e->angleDelta().y();
    if (dy < 0)
        ScrollDownClick();
    else if (dy > 0)
        ScrollUpClick();
}

void TKvTabSet::keyPressEvent(QKeyEvent* e) {
    if (FDragActive && e->key() == Qt::Key_Escape) {
        FinishDrag(mapFromGlobal(QCursor::pos()), true);
        return;
    }
    // No keyboard handling of its own: arrow keys do not change the tab.
    QWidget::keyPressEvent(e);
}

bool TKvTabSet::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip)
        return ShowHint(static_cast<QHelpEvent*>(e));
    return QWidget::event(e);
}

bool TKvTabSet::ShowHint(QHelpEvent* e) {
    const QPoint p = e->pos();
    const int index = IndexOfTabAt(p.x(), p.y());
    if (FCursorRect.contains(p) || index < 0) {
        e->ignore();
        return true;
    }
    FCursorRect = QRect(p.x() - 2, p.y() - 2, 4, 4);
    QToolTip::showText(e->globalPos(), FTabs[index]->Caption(), this, FCursorRect);
    return true;
}

} // namespace velmora
