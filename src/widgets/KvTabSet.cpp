#include "widgets/KvTabSet.h"

#include "widgets/KvPng.h"

#include <QEvent>
#include <QPainter>

namespace velmora {

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
    const int top = r.y() + RoundPixels((FTabOptions.TabHeight() - g.height()) / 2.0);
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

} // namespace velmora
