#include "widgets/KvTabLayout.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

bool StartsAtOuterEdge(TTabPosition p) {
    return p == tpTop || p == tpLeft;
}

int LineOf(const TTabGrid& g, TTabCoord c) {
    return g.Horizontal() ? c.Y : c.X;
}

} // namespace

int TabsPerLine(const TTabGrid& g) {
    const int p = g.Horizontal() ? (g.Width - g.Reserve) / std::max(1, g.TabWidth)
                                 : (g.Height - g.Reserve) / std::max(1, g.TabHeight);
    return std::max(1, p);
}

TTabCoord TabCoord(const TTabGrid& g, int index) {
    const int p = TabsPerLine(g);
    if (g.Horizontal())
        return {index % p, index / p};
    return {index / p, index % p};
}

TTabCoord TabCount(const TTabGrid& g) {
    const TTabCoord last = TabCoord(g, g.Count - 1);
    if (g.Horizontal())
        return {TabsPerLine(g), last.Y + 1};
    return {last.X + 1, TabsPerLine(g)};
}

int LineCount(const TTabGrid& g) {
    return LineOf(g, TabCount(g));
}

QRect TabRect(const TTabGrid& g, const TVisibleRange& shown, int index) {
    const TTabCoord c = TabCoord(g, index);
    int left = 0;
    int top = 0;
    switch (g.Position) {
    case tpTop:
        left = g.TabWidth * c.X;
        top = g.TabHeight * (c.Y - TabCoord(g, shown.First).Y) + 2;
        break;
    case tpBottom:
        left = g.TabWidth * c.X;
        top = g.TabHeight * (TabCoord(g, shown.Last).Y - c.Y);
        break;
    case tpLeft:
        left = g.TabWidth * (c.X - TabCoord(g, shown.First).X) + 2;
        top = g.TabHeight * c.Y;
        break;
    case tpRight:
        left = g.TabWidth * (TabCoord(g, shown.Last).X - c.X);
        top = g.TabHeight * c.Y;
        break;
    }
    return QRect(left, top, g.TabWidth, g.TabHeight);
}

int IndexOfTabAt(const TTabGrid& g, const TVisibleRange& shown, QPoint p) {
    for (int i = 0; i < g.Count; ++i) {
        if (TabRect(g, shown, i).contains(p))
            return i;
    }
    return -1;
}

int FirstVisibleIndex(const TTabGrid& g, const TVisibleRange& shown) {
    return IndexOfTabAt(g, shown, QPoint(g.TabWidth / 2, g.TabHeight / 2));
}

QSize TabSetSize(const TTabGrid& grid, int tabSteps) {
    TTabGrid g = grid;
    if (g.Horizontal()) {
        g.Width = std::max(g.Width, g.TabWidth + g.Reserve);
        const int lines = LineCount(g);
        const int shownLines = (tabSteps != 0 && tabSteps < lines) ? tabSteps : lines;
        return QSize(g.Width, shownLines * g.TabHeight + 2);
    }
    g.Height = std::max(g.Height, g.TabHeight + g.Reserve);
    const int lines = LineCount(g);
    const int shownLines = (tabSteps != 0 && tabSteps < lines) ? tabSteps : lines;
    return QSize(shownLines * g.TabWidth + 2, g.Height);
}

TVisibleRange UpdatedVisibleRange(const TTabGrid& g, int tabSteps, const TVisibleRange& old) {
    if (g.Count <= 0)
        return {-1, -1};
    if (tabSteps == 0)
        return {0, g.Count - 1};
    const int f = FirstVisibleIndex(g, old);
    const int p = TabsPerLine(g);
    const int lines = LineCount(g);
    TVisibleRange r;
    if (StartsAtOuterEdge(g.Position)) {
        r.First = std::max(0, f >= 0 ? f : old.First - p);
        r.Last = std::min(g.Count - 1, p * tabSteps + r.First - 1);
        // All lines fit but the first shown one is not line 0 (tabs were
        // removed at the end): show the line before it too.
        if (tabSteps == lines && p * (tabSteps - 1) >= r.Last + 1 - r.First)
            r.First = std::max(0, r.First - p);
        return r;
    }
    const int m = lines < tabSteps ? lines - 1 : tabSteps - 1;
    r.First = std::max(0, f >= 0 ? f - p * m : old.First - p);
    r.Last = g.Count - 1;
    return r;
}

TLineStep StepLines(const TTabGrid& g, int tabSteps, const TVisibleRange& shown, bool forward) {
    const int p = TabsPerLine(g);
    const int last = g.Count - 1;
    if (!(tabSteps > 0 && tabSteps < LineCount(g)))
        return {shown, false};
    const int f = FirstVisibleIndex(g, shown);
    if (f < 0)
        return {shown, false};
    if (StartsAtOuterEdge(g.Position)) {
        if (forward && last >= p * tabSteps + shown.First)
            return {{f + p, std::min(last, f + p + p * tabSteps - 1)}, true};
        if (!forward && shown.First - p >= 0)
            return {{f - p, std::min(last, f + p * tabSteps - p - 1)}, true};
        return {shown, false};
    }
    if (forward && last >= f + p)
        return {{f - p * (tabSteps - 2), std::min(last, f + 2 * p - 1)}, true};
    if (!forward && f - p * tabSteps >= 0)
        return {{f - p * tabSteps, std::min(last, f - 1)}, true};
    return {shown, false};
}

bool ScrollUpStepsForward(TTabPosition position) {
    return position == tpBottom || position == tpLeft;
}

int LinesToScroll(const TTabGrid& g, int tabSteps, const TVisibleRange& shown, int index) {
    if (tabSteps <= 0 || index < 0 || index >= g.Count)
        return 0;
    const int f = FirstVisibleIndex(g, shown);
    if (f < 0)
        return 0;
    const int k = LineOf(g, TabCoord(g, index)) - LineOf(g, TabCoord(g, f));
    const bool shownAlready = StartsAtOuterEdge(g.Position) ? (0 <= k && k <= tabSteps - 1)
                                                            : (1 - tabSteps <= k && k <= 0);
    return shownAlready ? 0 : k;
}

int NeighborIndex(int count, int index, bool goForward) {
    if (goForward)
        return index >= count ? count - 1 : index;
    return index - 1 < 0 ? index : index - 1;
}

int LastSelectedIndex(const std::vector<std::int64_t>& stamps) {
    int best = -1;
    for (int i = 0; i < int(stamps.size()); ++i) {
        if (best < 0 || stamps[i] > stamps[best])
            best = i;
    }
    return best;
}

int WrapIndex(int index, int count) {
    if (index < 0)
        return count - 1;
    if (index > count - 1)
        return 0;
    return index;
}

QPoint DropMarkerPlace(const TTabGrid& g, const QRect& r, bool leading) {
    const int right = r.x() + r.width();
    const int bottom = r.y() + r.height();
    switch (g.Position) {
    case tpTop:
        return {(leading ? r.x() : right) - 5, r.y() + g.TabHeight - 11};
    case tpBottom:
        return {(leading ? r.x() : right) - 5, r.y() + 1};
    case tpLeft:
        return {r.x() + g.TabWidth - 11, (leading ? r.y() : bottom) - 5};
    case tpRight:
        break;
    }
    return {r.x() + 1, (leading ? r.y() : bottom) - 5};
}

QSize DraggedImageSize(QSize controlSize) {
    const int w = controlSize.width();
    const int h = controlSize.height();
    if (w <= 0 || h <= 0)
        return {0, 0};
    const double scale = std::min({180.0 / w, 180.0 / h, 1.0});
    // Halves go to the even neighbour.
    return {int(std::nearbyint(w * scale)), int(std::nearbyint(h * scale))};
}

} // namespace velmora
