// The tab set's arithmetic, kept apart from the widget so that it can be tested
// directly: the layout grid, the shown range of lines and its line steps, the
// choice of the next tab after a removal and the places of drop markers.
//
// A "line" is a row of tabs for tpTop / tpBottom and a column for tpLeft / tpRight.
// Line 0 lies at the outer edge (the parent's edge); later lines follow toward
// the inner edge that faces the page.
#pragma once

#include "widgets/KvTabTypes.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>
#include <cstdint>
#include <vector>

namespace velmora {

// Rounds to the nearest integer, halves to the even neighbour. Not named after
// the application's RoundHalfEven (which returns a double): two functions of one
// name and parameter list link as one, and the tab set then read a double's
// register as its int, which put every caption at the top of its tab.
inline int RoundPixels(double v) {
    return int(std::nearbyint(v));
}

// Pixels kept free for the scroll button while it is visible.
inline constexpr int kTabScrollReserve = 28;

struct TTabGrid {
    TTabPosition Position = tpTop;
    int Width = 0; // client size of the tab set
    int Height = 0;
    int TabWidth = 100;
    int TabHeight = 24;
    int Reserve = 0; // kTabScrollReserve while the scroll button shows, else 0
    int Count = 0;   // number of tabs

    bool Horizontal() const { return Position == tpTop || Position == tpBottom; }
};

// First and last tab painted; -1 / -1 without tabs.
struct TVisibleRange {
    int First = -1;
    int Last = -1;
    bool operator==(const TVisibleRange&) const = default;
};

// P: tabs per line. Never below 1, so that a tab set narrower than one tab still
// has a grid instead of dividing by zero.
int TabsPerLine(const TTabGrid& g);
TTabCoord TabCoord(const TTabGrid& g, int index);
// The grid's extent; with no tabs the last tab counts as index -1, giving one line.
TTabCoord TabCount(const TTabGrid& g);
// L: number of lines.
int LineCount(const TTabGrid& g);
QRect TabRect(const TTabGrid& g, const TVisibleRange& shown, int index);
// First tab (of all, not only the painted ones) whose rectangle holds p, or -1.
int IndexOfTabAt(const TTabGrid& g, const TVisibleRange& shown, QPoint p);
// The tab in the layout cell at the client area's top-left corner, or -1.
int FirstVisibleIndex(const TTabGrid& g, const TVisibleRange& shown);
// Client size the tab set takes for its tabs and TabSteps.
QSize TabSetSize(const TTabGrid& g, int tabSteps);

// Range after a change of the tabs or of the size.
TVisibleRange UpdatedVisibleRange(const TTabGrid& g, int tabSteps, const TVisibleRange& old);
// One line step; `moved` tells whether the step's condition held.
struct TLineStep {
    TVisibleRange Range;
    bool Moved = false;
};
TLineStep StepLines(const TTabGrid& g, int tabSteps, const TVisibleRange& shown, bool forward);
// Whether the scroll button's up half (and wheel up) steps forward at this position.
bool ScrollUpStepsForward(TTabPosition position);
// Signed number of forward line steps that bring tab `index`'s line into view
// (negative: back steps); 0 when it is shown already or scrolling is off.
int LinesToScroll(const TTabGrid& g, int tabSteps, const TVisibleRange& shown, int index);

// Index to select after a removal, given the one that was selected (still
// counting the removed tab's place) and the number of tabs left.
int NeighborIndex(int count, int index, bool goForward);
// Selection order: higher stamps were selected later; 0 = never selected.
int LastSelectedIndex(const std::vector<std::int64_t>& stamps);
// SelectNextTab's wrap-around.
int WrapIndex(int index, int count);

// Where the 10 x 10 drop marker goes on tab rectangle `r`; `leading` marks the
// edge before the tab (dragging toward the start), else the edge after it.
QPoint DropMarkerPlace(const TTabGrid& g, const QRect& r, bool leading);
// Size of the floating picture for a control of `controlSize`: fitted into
// 180 x 180 and never enlarged.
QSize DraggedImageSize(QSize controlSize);

} // namespace velmora
