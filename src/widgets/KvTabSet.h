// TKvTabSet: an owner-drawn strip of tabs docked to one edge of its parent.
//
// It draws each tab as a rounded gradient shape, wraps tabs into lines, can show
// only TabSteps lines and scroll them, lets the user re-order tabs by dragging,
// shows an optional per-tab glyph that acts as a small button, and keeps a list
// of recently closed tabs. It owns no pages: its user switches pages in
// OnTabSelected.
//
// Events are std::function members set through Set<Event>(); each receives the
// tab set as Sender. Handlers may be empty. A handler must not destroy the tab
// set it is called from.
#pragma once

#include "widgets/KvAlphaUpDownButton.h"
#include "widgets/KvTabInfoList.h"
#include "widgets/KvTabLayout.h"
#include "widgets/KvTabList.h"
#include "widgets/KvTabOptions.h"
#include "widgets/KvTabPaint.h"

#include <QImage>
#include <QList>
#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QPainter;
class QHelpEvent;

namespace velmora {

// State of a drag-over notification.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

class TKvTabSet : public QWidget, private ITabListOwner, private ITabOptionsOwner {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TKvTabSet* Sender)>;
    using TTabBeforeSelectEvent = std::function<void(TKvTabSet* Sender, bool& AllowChange)>;
    using TTabSelectedEvent = std::function<void(TKvTabSet* Sender, TKvTab* ATab, bool ASelected)>;
    using TTabOpeningEvent = std::function<void(TKvTabSet* Sender, TKvTab* ATab, bool& AsSelected)>;
    using TTabClosingEvent =
        std::function<void(TKvTabSet* Sender, TKvTab* ATab, TNextFocus& ANextFocus)>;
    using TGlyphClickEvent = std::function<void(TKvTabSet* Sender, int AIndex)>;
    using TAdditionalDrawBarEvent =
        std::function<void(TKvTabSet* Sender, QPainter& ABarCanvas, const QRect& ABarRect)>;
    using TAdditionalDrawTabEvent =
        std::function<void(TKvTabSet* Sender, QPainter& ATabCanvas, int AIndex,
                           const QRect& ATabRect, bool Active, bool Hot)>;
    // The drag notifications of the user of the control; they run before the
    // tab set's own handling, which then decides the accept flag.
    using TStartDragEvent = std::function<void(TKvTabSet* Sender)>;
    using TDragOverEvent = std::function<void(TKvTabSet* Sender, QObject* Source, int X, int Y,
                                              TDragState State, bool& Accept)>;
    using TDragDropEvent = std::function<void(TKvTabSet* Sender, QObject* Source, int X, int Y)>;
    using TEndDragEvent = std::function<void(TKvTabSet* Sender, bool Dropped)>;

    explicit TKvTabSet(QWidget* parent = nullptr);
    ~TKvTabSet() override;

    // --- properties ---
    TKvTabList& Tabs() { return FTabs; }
    const TKvTabList& Tabs() const { return FTabs; }
    TTabOptions& TabOptions() { return FTabOptions; }
    const TTabOptions& TabOptions() const { return FTabOptions; }
    // Copies the settings, then docks, sizes and repaints for them.
    void SetTabOptions(const TTabOptions& v);
    TKvTabInfoList& ClosedTabList() { return *FClosedTabList; }
    // Takes over `v`; the list held before is freed.
    void SetClosedTabList(std::unique_ptr<TKvTabInfoList> v);
    int ClosedTabCount() const { return FClosedTabCount; }
    void SetClosedTabCount(int v) { FClosedTabCount = v; }
    const QList<QImage>& Images() const { return FImages; }
    void SetImages(const QList<QImage>& v);
    // Glyph images, given as PNG data (its gamma chunk is ignored); empty data
    // clears the image.
    const QImage& Glyph(TGlyphState state) const { return FGlyphs[std::size_t(state)]; }
    void SetGlyph(TGlyphState state, const QByteArray& pngData);
    const QImage& GlyphActive() const { return Glyph(gsActive); }
    void SetGlyphActive(const QByteArray& png) { SetGlyph(gsActive, png); }
    const QImage& GlyphInactive() const { return Glyph(gsInactive); }
    void SetGlyphInactive(const QByteArray& png) { SetGlyph(gsInactive, png); }
    const QImage& GlyphHot() const { return Glyph(gsHot); }
    void SetGlyphHot(const QByteArray& png) { SetGlyph(gsHot, png); }
    const QImage& GlyphDown() const { return Glyph(gsDown); }
    void SetGlyphDown(const QByteArray& png) { SetGlyph(gsDown, png); }
    int TabSteps() const { return FTabSteps; }
    void SetTabSteps(int v);
    int FirstIndex() const { return FFirstIndex; }
    int LastIndex() const { return FLastIndex; }
    int TabIndex() const { return FTabIndex; }
    // Throws ETabIndexError for an index outside -1 .. Count - 1 (with tabs).
    void SetTabIndex(int v);
    int HotIndex() const { return FHotIndex; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool v);
    bool AllowDragTab() const { return FAllowDragTab; }
    void SetAllowDragTab(bool v) { FAllowDragTab = v; }
    bool ShowDraggedImage() const { return FShowDraggedImage; }
    void SetShowDraggedImage(bool v) { FShowDraggedImage = v; }
    // The control whose picture floats beside the pointer while a tab is dragged.
    QWidget* DraggedControl() const { return FDraggedControl; }
    void SetDraggedControl(QWidget* v) { FDraggedControl = v; }
    // The floating picture window of the drag in progress, or nullptr.
    QWidget* DraggedImage() const { return FDraggedImage.get(); }
    bool IsDragActive() const { return FDragActive; }
    TKvAlphaUpDownButton* ScrollButton() const { return FScrollButton; }

    // --- operations ---
    TKvTab* AddTab(const QString& ACaption);
    int RemoveTab(TKvTab* ATab);
    // Throws std::out_of_range for an index that names no tab.
    int CloseTab(int AIndex);
    // Throws std::out_of_range for an index outside the closed list.
    TKvTab* ReOpenTab(int AIndex);
    int GetNextIndex(bool ASelected, TNextFocus ANextFocus) const;
    int GetNeighborIndex(int ATabIndex, bool GoForward) const;
    int GetLastSelectedIndex() const;
    int GetSelectedIndex() const;
    void SelectNextTab(bool GoForward);
    int IndexOfTabAt(int X, int Y) const;
    TTabCoord GetTabCoord(int AIndex) const;
    TTabCoord GetTabCount() const;
    QRect GetTabRect(int AIndex) const;
    QSize GetGlyphSize() const;
    QRect GetGlyphRect(int AIndex) const;
    // The caption as drawn: cut to the room its tab leaves, with "...".
    QString FittedCaption(int AIndex) const;
    // The colour the tab's caption is drawn in (a modified tab aside).
    QColor CaptionColor(int index) const;
    void InvalidateTab(int AIndex);
    void ScrollTo(int AIndex);
    void BeginUpdate();
    void EndUpdate();
    // Drag-and-drop notifications; `Source` is the control the drag came from.
    void DragOver(QObject* Source, int X, int Y, TDragState State, bool& Accept);
    void DragDrop(QObject* Source, int X, int Y);

    // --- events ---
    void SetOnResize(TNotifyEvent v) { FOnResize = std::move(v); }
    void SetOnTabBeforeSelect(TTabBeforeSelectEvent v) { FOnTabBeforeSelect = std::move(v); }
    void SetOnTabSelected(TTabSelectedEvent v) { FOnTabSelected = std::move(v); }
    void SetOnTabAdding(TTabOpeningEvent v) { FOnTabAdding = std::move(v); }
    void SetOnTabReOpening(TTabOpeningEvent v) { FOnTabReOpening = std::move(v); }
    void SetOnTabClosing(TTabClosingEvent v) { FOnTabClosing = std::move(v); }
    void SetOnGlyphClick(TGlyphClickEvent v) { FOnGlyphClick = std::move(v); }
    void SetOnAdditionalDrawBar(TAdditionalDrawBarEvent v) { FOnAdditionalDrawBar = std::move(v); }
    void SetOnAdditionalDrawBefore(TAdditionalDrawTabEvent v) {
        FOnAdditionalDrawBefore = std::move(v);
    }
    void SetOnAdditionalDrawAfter(TAdditionalDrawTabEvent v) {
        FOnAdditionalDrawAfter = std::move(v);
    }
    void SetOnStartDrag(TStartDragEvent v) { FOnStartDrag = std::move(v); }
    void SetOnDragOver(TDragOverEvent v) { FOnDragOver = std::move(v); }
    void SetOnDragDrop(TDragDropEvent v) { FOnDragDrop = std::move(v); }
    void SetOnEndDrag(TEndDragEvent v) { FOnEndDrag = std::move(v); }

    // Pixel picture of the tab set as painted (for checks and the gallery).
    QImage Render();

public slots:
    virtual void ScrollUpClick();
    virtual void ScrollDownClick();

protected:
    virtual void DoTabBeforeSelect(bool& AllowChange);
    virtual void DoTabSelected(TKvTab* ATab, bool ASelected);
    virtual void DoTabAdding(TKvTab* ATab, bool& AsSelected);
    virtual void DoTabReOpening(TKvTab* ATab, bool& AsSelected);
    virtual void DoTabClosing(TKvTab* ATab, TNextFocus& ANextFocus);
    virtual void DoGlyphClick(int AIndex);
    virtual void DoAdditionalDrawBar(QPainter& canvas, const QRect& barRect);
    virtual void DoAdditionalDrawBefore(QPainter& canvas, int AIndex, const QRect& tabRect,
                                        bool Active, bool Hot);
    virtual void DoAdditionalDrawAfter(QPainter& canvas, int AIndex, const QRect& tabRect,
                                       bool Active, bool Hot);

    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // ITabListOwner
    void TabSelectionChanged(TKvTab* tab, bool selected) override;
    void TabNeedsRepaint(int index) override { InvalidateTab(index); }
    void TabsUpdated() override;
    // ITabOptionsOwner
    void TabOptionsChanged(TTabOptionsChange change) override;
    QPalette TabPalette() const override { return palette(); }

    // Layout and docking.
    TTabGrid Grid() const;
    TVisibleRange Shown() const { return {FFirstIndex, FLastIndex}; }
    void UpdateTabSetSize();
    void UpdateVisibleRange();
    void ApplyDocking();
    void AfterResize();
    void CreateScrollButton();
    void PlaceScrollButton();
    bool ScrollButtonVisible() const;
    void StepLines(bool forward);

    // Painting.
    void PaintAll(QPainter& canvas);
    void PaintTab(QPainter& canvas, int index);
    void DrawTabImage(QPainter& canvas, int index, const QRect& rect);
    void DrawTabCaption(QPainter& canvas, int index, const QRect& rect);
    QColor TabFillColor(int index) const;
    QMargins CaptionMargins(int index) const;
    void DrawGlyph(QPainter& canvas, const QRect& glyphRect, TGlyphState state);
    void DrawTabFocus(QPainter& canvas, const QRect& rect, bool active);
    void DrawDropMarker(int index);
    void InvalidateGlyph(int index);
    void RepaintModifiedTabs();

    // Mouse.
    void HandlePress(QPoint p);
    void UpdateHotTab(QPoint p);
    void UpdateHotGlyph(QPoint p);
    bool ShowHint(QHelpEvent* e);

    // Dragging.
    void BeginTabDrag();
    void StartDrag();
    void DragMoveTo(QPoint p);
    void FinishDrag(QPoint p, bool cancelled);
    void EndDrag(bool dropped);
    void UpdateDraggedImage(TDragState state, QPoint p);

    TKvTabList FTabs;
    TTabOptions FTabOptions;
    std::unique_ptr<TKvTabInfoList> FClosedTabList;
    int FClosedTabCount = 10;
    QList<QImage> FImages;
    QPointer<TKvAlphaUpDownButton> FScrollButton; // a child: Qt owns it
    int FTabSteps = 0;
    int FFirstIndex = -1;
    int FLastIndex = -1;
    bool FMouseInGlyph = false;
    bool FGlyphClicked = false;
    int FGlyphClickedIndex = -1;
    std::array<QImage, 4> FGlyphs; // by TGlyphState
    QImage FTempBmp;
    int FTabIndex = -1;
    int FHotIndex = -1;
    bool FFocused = false;
    bool FShowFocus = true;
    bool FAllowDragTab = true;
    bool FDragging = false; // armed: a press on a tab may become a drag
    bool FDragActive = false;
    bool FDragInside = false;
    bool FDragAccepted = false;
    int FDragIndex = -1;
    QRect FDragRect;
    bool FShowDraggedImage = false;
    std::unique_ptr<QWidget> FDraggedImage;
    QPointer<QWidget> FDraggedControl;
    TDropMarkers FMarkers;
    QPoint FMarkerAt{-1, -1}; // top-left of the marker drawn over the picture
    int FMarkerTab = -1;
    int FUpdateLock = 0;
    QRect FCursorRect;
    QPointer<QWidget> FOwnerControl;
    QSize FHandledSize{-1, -1};

    TNotifyEvent FOnResize;
    TTabBeforeSelectEvent FOnTabBeforeSelect;
    TTabSelectedEvent FOnTabSelected;
    TTabOpeningEvent FOnTabAdding;
    TTabOpeningEvent FOnTabReOpening;
    TTabClosingEvent FOnTabClosing;
    TGlyphClickEvent FOnGlyphClick;
    TAdditionalDrawBarEvent FOnAdditionalDrawBar;
    TAdditionalDrawTabEvent FOnAdditionalDrawBefore;
    TAdditionalDrawTabEvent FOnAdditionalDrawAfter;
    TStartDragEvent FOnStartDrag;
    TDragOverEvent FOnDragOver;
    TDragDropEvent FOnDragDrop;
    TEndDragEvent FOnEndDrag;
};

} // namespace velmora
