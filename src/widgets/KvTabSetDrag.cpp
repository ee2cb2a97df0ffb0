// TKvTabSet: closing and re-opening tabs, dragging tabs to a new place and
// showing only TabSteps lines at a time.
#include "widgets/KvTabSet.h"

#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>
#include <stdexcept>

namespace velmora {

namespace {

// The half-transparent picture that follows the pointer while a tab is dragged.
class TDraggedImageWindow : public QWidget {
public:
    TDraggedImageWindow()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowOpacity(128 / 255.0);
        resize(180, 180);
    }
    void SetPicture(const QPixmap& picture) {
        FPicture = picture;
        update();
    }
    const QPixmap& Picture() const { return FPicture; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), FPicture);
    }

private:
    QPixmap FPicture;
};

} // namespace

// --- closing and re-opening ------------------------------------------------------

int TKvTabSet::CloseTab(int AIndex) {
    TKvTab* tab = FTabs.Items(AIndex); // a bad index changes nothing
    if (FClosedTabCount > 0) {
        if (FClosedTabList->Count() >= FClosedTabCount)
            FClosedTabList->Delete(FClosedTabList->Count() - 1);
        auto info = std::make_unique<TKvTabInfoItem>();
        info->SetCaption(tab->Caption());
        info->SetImageIndex(tab->ImageIndex());
        info->SetTag(tab->Tag());
        info->SetModified(tab->Modified());
        info->SetIndexAtClosing(AIndex);
        info->SetClosedTime(QDateTime::currentDateTime());
        info->Data = tab->Data;
        FClosedTabList->Insert(0, std::move(info));
    }
    return RemoveTab(tab);
}

TKvTab* TKvTabSet::ReOpenTab(int AIndex) {
    const TKvTabInfoItem* entry = FClosedTabList->Items(AIndex);
    const int at = entry->IndexAtClosing();
    TKvTab* tab = nullptr;
    {
        TTabListUpdate bracket(FTabs);
        tab = (at >= 0 && at < FTabs.Count()) ? FTabs.Insert(at) : FTabs.Add();
        tab->FCaption = entry->Caption();
        tab->FImageIndex = entry->ImageIndex();
        tab->FTag = entry->Tag();
        tab->FModified = entry->Modified();
        tab->Data = entry->Data;
    }
    FClosedTabList->Delete(AIndex);
    bool asSelected = true;
    DoTabReOpening(tab, asSelected);
    if (asSelected && FTabs.IndexOf(tab) >= 0) {
        TTabListUpdate bracket(FTabs);
        SetTabIndex(tab->Index());
    }
    UpdateTabSetSize();
    update();
    return tab;
}

// --- scrolling by lines -------------------------------------------------------------

void TKvTabSet::SetTabSteps(int v) {
    v = std::abs(v);
    FTabSteps = v;
    if (v == 0) {
        FFirstIndex = FTabs.Count() > 0 ? 0 : -1;
        FLastIndex = FTabs.Count() - 1;
    }
    if (FScrollButton)
        FScrollButton->setVisible(v != 0);
    UpdateTabSetSize();
    UpdateVisibleRange();
    update();
}

bool TKvTabSet::ScrollButtonVisible() const {
    return FTabSteps != 0;
}

void TKvTabSet::StepLines(bool forward) {
    const TLineStep step = velmora::StepLines(Grid(), FTabSteps, Shown(), forward);
    if (!step.Moved)
        return;
    FFirstIndex = step.Range.First;
    FLastIndex = step.Range.Last;
    update();
}

void TKvTabSet::ScrollUpClick() {
    StepLines(ScrollUpStepsForward(FTabOptions.TabPosition()));
}

void TKvTabSet::ScrollDownClick() {
    StepLines(!ScrollUpStepsForward(FTabOptions.TabPosition()));
}

void TKvTabSet::ScrollTo(int AIndex) {
    const int k = LinesToScroll(Grid(), FTabSteps, Shown(), AIndex);
    const bool upIsForward = ScrollUpStepsForward(FTabOptions.TabPosition());
    for (int i = 0; i < std::abs(k); ++i) {
        const bool forward = k > 0;
        if (forward == upIsForward)
            ScrollUpClick();
        else
            ScrollDownClick();
    }
}

void TKvTabSet::CreateScrollButton() {
    auto* button = new TKvAlphaUpDownButton(this);
    button->SetFocusControl(this);
    // Fully see-through background: only the arrows show over the bar.
    button->SetAlphaBlend(true);
    button->SetAlphaBlendValue(0);
    button->resize(20, 20);
    button->SetOrientation(boVertical);
    button->ButtonOptions().SetArrowWidth(6);
    button->ButtonOptions().SetArrowHeight(4);
    button->SetOnUpClick([this](QObject*) { ScrollUpClick(); });
    button->SetOnDownClick([this](QObject*) { ScrollDownClick(); });
    button->hide();
    FScrollButton = button;
}

void TKvTabSet::PlaceScrollButton() {
    if (!FScrollButton)
        return;
    const TTabPosition position = FTabOptions.TabPosition();
    FScrollButton->SetOrientation(position == tpTop || position == tpBottom ? boVertical
                                                                            : boHorizontal);
    const int w = width();
    const int h = height();
    switch (position) {
    case tpTop:
    case tpLeft:
        FScrollButton->move(w - 24, h - 24);
        break;
    case tpBottom:
        FScrollButton->move(w - 24, 4);
        break;
    case tpRight:
        FScrollButton->move(4, h - 24);
        break;
    }
}

// --- dragging ---------------------------------------------------------------------

void TKvTabSet::BeginTabDrag() {
    FDragActive = true;
    FDragInside = false;
    FDragAccepted = false;
    StartDrag();
}

void TKvTabSet::StartDrag() {
    if (FOnStartDrag)
        FOnStartDrag(this);
    if (FShowDraggedImage)
        FDraggedImage = std::make_unique<TDraggedImageWindow>();
}

void TKvTabSet::DragMoveTo(QPoint p) {
    const bool inside = rect().contains(p);
    bool accept = false;
    if (inside != FDragInside) {
        FDragInside = inside;
        DragOver(this, p.x(), p.y(), inside ? TDragState::dsDragEnter : TDragState::dsDragLeave,
                 accept);
        if (inside)
            DragOver(this, p.x(), p.y(), TDragState::dsDragMove, accept);
    } else if (inside) {
        DragOver(this, p.x(), p.y(), TDragState::dsDragMove, accept);
    }
    FDragAccepted = inside && accept;
    setCursor(FDragAccepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void TKvTabSet::DragOver(QObject* Source, int X, int Y, TDragState State, bool& Accept) {
    if (FOnDragOver)
        FOnDragOver(this, Source, X, Y, State, Accept);
    const int d = IndexOfTabAt(X, Y);
    if (d != FDragIndex) {
        FDragIndex = d;
        FMarkerTab = -1;
        update();
    }
    const bool own = Source == this;
    Accept = own && d >= 0 && FTabs.Count() > 1;
    if (Accept && d != FTabIndex)
        DrawDropMarker(d);
    if (own && FShowDraggedImage && FDraggedImage && FDraggedControl)
        UpdateDraggedImage(State, QPoint(X, Y));
}

void TKvTabSet::DrawDropMarker(int index) {
    const QRect r = GetTabRect(index);
    FMarkerAt = DropMarkerPlace(Grid(), r, index < FTabIndex);
    FMarkerTab = index;
    update(QRect(FMarkerAt, QSize(10, 10)));
}

void TKvTabSet::UpdateDraggedImage(TDragState state, QPoint p) {
    auto* window = static_cast<TDraggedImageWindow*>(FDraggedImage.get());
    const QPoint global = mapToGlobal(p);
    window->move(global.x(), global.y() + 25);
    switch (state) {
    case TDragState::dsDragEnter:
        window->show();
        break;
    case TDragState::dsDragLeave:
        window->hide();
        break;
    case TDragState::dsDragMove:
        window->resize(DraggedImageSize(FDraggedControl->size()));
        window->SetPicture(FDraggedControl->grab());
        break;
    }
}

void TKvTabSet::FinishDrag(QPoint p, bool cancelled) {
    const bool drop = !cancelled && FDragInside && FDragAccepted;
    if (drop)
        DragDrop(this, p.x(), p.y());
    EndDrag(drop);
}

void TKvTabSet::DragDrop(QObject* Source, int X, int Y) {
    if (FOnDragDrop)
        FOnDragDrop(this, Source, X, Y);
    const int t = IndexOfTabAt(X, Y);
    const int from = GetSelectedIndex();
    if (from < 0 || t < 0 || t == from)
        return;
    {
        TTabListUpdate bracket(FTabs);
        FTabs.Move(from, t);
        SetTabIndex(t);
    }
    update();
}

void TKvTabSet::EndDrag(bool dropped) {
    FDragActive = false;
    FDragInside = false;
    FDragAccepted = false;
    FDragIndex = -1;
    FMarkerTab = -1;
    unsetCursor();
    update();
    if (FDraggedImage) {
        FDraggedImage->hide();
        FDraggedImage.release()->deleteLater();
    }
    if (FOnEndDrag)
        FOnEndDrag(this, dropped);
}

} // namespace velmora
