#include "widgets/KvTabLayout.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

TTabGrid Grid(TTabPosition position, int w, int h, int count, int tabW = 100, int tabH = 24,
              int reserve = 0) {
    TTabGrid g;
    g.Position = position;
    g.Width = w;
    g.Height = h;
    g.TabWidth = tabW;
    g.TabHeight = tabH;
    g.Reserve = reserve;
    g.Count = count;
    return g;
}

std::string Str(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

} // namespace

TEST(TabSetLayout, GridInAllFourPositions) {
    // Seven tabs, three per line, all shown: line 0 at the outer edge.
    struct Case {
        TTabPosition position;
        int index;
        TTabCoord coord;
        QRect rect;
    } cases[] = {
        {tpTop, 0, {0, 0}, QRect(0, 2, 100, 24)},
        {tpTop, 4, {1, 1}, QRect(100, 26, 100, 24)},
        {tpTop, 6, {0, 2}, QRect(0, 50, 100, 24)},
        {tpBottom, 0, {0, 0}, QRect(0, 48, 100, 24)}, // line 0 lowest, at the parent's edge
        {tpBottom, 6, {0, 2}, QRect(0, 0, 100, 24)},  // last line at the inner edge
        {tpLeft, 0, {0, 0}, QRect(2, 0, 100, 24)},
        {tpLeft, 4, {1, 1}, QRect(102, 24, 100, 24)},
        {tpRight, 0, {0, 0}, QRect(200, 0, 100, 24)}, // line 0 rightmost
        {tpRight, 6, {2, 0}, QRect(0, 0, 100, 24)},
    };
    for (const auto& c : cases) {
        const bool horizontal = c.position == tpTop || c.position == tpBottom;
        const TTabGrid g = horizontal ? Grid(c.position, 320, 74, 7) : Grid(c.position, 302, 72, 7);
        EXPECT_EQ(TabsPerLine(g), 3);
        EXPECT_EQ(TabCoord(g, c.index), c.coord) << c.position << " " << c.index;
        EXPECT_EQ(Str(TabRect(g, {0, 6}, c.index)), Str(c.rect)) << c.position << " " << c.index;
        EXPECT_EQ(LineCount(g), 3);
    }
}

TEST(TabSetLayout, OptionsDialogColumn) {
    // Six tabs of 130 x 28 on the left edge of a tall page: one column.
    const TTabGrid g = Grid(tpLeft, 132, 400, 6, 130, 28);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(TabRect(g, {0, 5}, i), QRect(QPoint(2, 28 * i), QPoint(131, 28 * i + 27)));
    EXPECT_EQ(TabSetSize(g, 0), QSize(132, 400));
}

TEST(TabSetLayout, SizeFollowsLinesAndSteps) {
    struct Case {
        TTabGrid grid;
        int steps;
        QSize size;
    } cases[] = {
        {Grid(tpTop, 320, 10, 0), 0, {320, 26}}, // no tabs: one line
        {Grid(tpTop, 50, 10, 1), 0, {100, 26}},  // never narrower than one tab
        {Grid(tpTop, 50, 10, 1, 100, 24, 28), 2, {128, 26}},
        {Grid(tpBottom, 328, 10, 12, 100, 24, 28), 0, {328, 98}},
        {Grid(tpBottom, 328, 10, 12, 100, 24, 28), 2, {328, 50}},
        {Grid(tpTop, 328, 10, 12, 100, 24, 28), 5, {328, 98}}, // more steps than lines
        {Grid(tpLeft, 10, 72, 7), 0, {302, 72}},
        {Grid(tpRight, 10, 72, 7), 2, {202, 72}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TabSetSize(c.grid, c.steps), c.size) << c.grid.Position << " " << c.steps;
}

TEST(TabSetLayout, HitTestingIsHalfOpenAndCoversHiddenLines) {
    const TTabGrid g = Grid(tpTop, 300, 26, 6);
    const TVisibleRange shown{3, 5}; // second row drawn at the top
    struct Case {
        QPoint p;
        int index;
    } cases[] = {
        {{0, 2}, 3},   {{99, 25}, 3},
        {{100, 2}, 4}, {{0, 1}, 0}, // row 0 lies above the client area but still counts
        {{0, 26}, -1}, {{300, 5}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IndexOfTabAt(g, shown, c.p), c.index) << c.p.x() << "," << c.p.y();
    EXPECT_EQ(FirstVisibleIndex(g, shown), 3);
}

TEST(TabSetLayout, NarrowerThanOneTabStillHasOneTabPerLine) {
    const TTabGrid g = Grid(tpTop, 10, 26, 3);
    EXPECT_EQ(TabsPerLine(g), 1);
    EXPECT_EQ(TabCoord(g, 2), (TTabCoord{0, 2}));
}

TEST(TabSetLayout, LineStepsTwelveTabsThreePerLine) {
    // Reserve 28 for the scroll button leaves room for three tabs.
    const TTabGrid top = Grid(tpTop, 328, 50, 12, 100, 24, 28);
    TVisibleRange r = UpdatedVisibleRange(top, 2, {0, 11});
    EXPECT_EQ(r, (TVisibleRange{0, 5})); // rows 0-1
    const TVisibleRange topForward[] = {{3, 8}, {6, 11}};
    for (const TVisibleRange& expected : topForward) {
        const TLineStep s = StepLines(top, 2, r, true);
        EXPECT_TRUE(s.Moved);
        EXPECT_EQ(s.Range, expected);
        r = s.Range;
    }
    EXPECT_FALSE(StepLines(top, 2, r, true).Moved); // rows 2-3 is the end
    EXPECT_EQ(StepLines(top, 2, r, false).Range, (TVisibleRange{3, 8}));

    const TTabGrid bottom = Grid(tpBottom, 328, 50, 12, 100, 24, 28);
    r = UpdatedVisibleRange(bottom, 2, {0, 11});
    EXPECT_EQ(r, (TVisibleRange{6, 11})); // rows 2-3, row 3 at the inner edge
    EXPECT_EQ(TabRect(bottom, r, 9).y(), 0);
    const TVisibleRange bottomBack[] = {{3, 8}, {0, 5}};
    for (const TVisibleRange& expected : bottomBack) {
        const TLineStep s = StepLines(bottom, 2, r, false);
        EXPECT_TRUE(s.Moved);
        EXPECT_EQ(s.Range, expected);
        r = s.Range;
    }
    EXPECT_FALSE(StepLines(bottom, 2, r, false).Moved);
    EXPECT_EQ(StepLines(bottom, 2, r, true).Range, (TVisibleRange{3, 8}));
    // Any later change shows the last lines of a bottom tab set again.
    EXPECT_EQ(UpdatedVisibleRange(bottom, 2, r).Last, 11);
}

TEST(TabSetLayout, NoStepsWithoutScrollingOrWhenAllLinesShow) {
    const TTabGrid g = Grid(tpTop, 328, 98, 12, 100, 24, 28);
    EXPECT_FALSE(StepLines(g, 0, {0, 11}, true).Moved);
    EXPECT_FALSE(StepLines(g, 4, {0, 11}, true).Moved); // TabSteps == lines
    EXPECT_EQ(UpdatedVisibleRange(g, 0, {3, 8}), (TVisibleRange{0, 11}));
    EXPECT_EQ(UpdatedVisibleRange(Grid(tpTop, 328, 26, 0), 2, {0, 5}), (TVisibleRange{-1, -1}));
}

TEST(TabSetLayout, RemovingTabsAtTheEndPullsTheRangeBack) {
    // Rows 2-3 shown of 12 tabs; after tabs 6..11 go only rows 0-1 remain.
    const TTabGrid g = Grid(tpTop, 328, 50, 6, 100, 24, 28);
    EXPECT_EQ(UpdatedVisibleRange(g, 2, {6, 11}), (TVisibleRange{0, 5}));
}

TEST(TabSetLayout, LinesToScroll) {
    const TTabGrid top = Grid(tpTop, 328, 50, 12, 100, 24, 28);
    const TTabGrid bottom = Grid(tpBottom, 328, 50, 12, 100, 24, 28);
    struct Case {
        TTabGrid g;
        TVisibleRange shown;
        int index;
        int lines;
    } cases[] = {
        {top, {0, 5}, 4, 0},                               // on a shown row
        {top, {0, 5}, 7, 2},                               // row 2: its row becomes the first shown
        {top, {6, 11}, 1, -2},    {bottom, {6, 11}, 7, 0}, // rows 2-3 shown
        {bottom, {6, 11}, 1, -3}, {bottom, {0, 5}, 10, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesToScroll(c.g, 2, c.shown, c.index), c.lines) << c.index;
    EXPECT_EQ(LinesToScroll(top, 0, {0, 11}, 11), 0);
    EXPECT_TRUE(ScrollUpStepsForward(tpBottom));
    EXPECT_TRUE(ScrollUpStepsForward(tpLeft));
    EXPECT_FALSE(ScrollUpStepsForward(tpTop));
    EXPECT_FALSE(ScrollUpStepsForward(tpRight));
}

TEST(TabSetLayout, NextSelectionRules) {
    struct Case {
        int count, index;
        bool forward;
        int next;
    } cases[] = {
        {4, 2, true, 2},  // the tab that took its place
        {4, 4, true, 3},  // removed the last: the new last
        {4, 2, false, 1}, // the tab before it
        {4, 0, false, 0}, // tab 0 stays 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(NeighborIndex(c.count, c.index, c.forward), c.next);
    EXPECT_EQ(LastSelectedIndex({0, 5, 2, 5}), 1); // ties go to the lower index
    EXPECT_EQ(LastSelectedIndex({0, 0}), 0);       // never selected ranks last
    EXPECT_EQ(LastSelectedIndex({}), -1);
    EXPECT_EQ(WrapIndex(-1, 4), 3);
    EXPECT_EQ(WrapIndex(4, 4), 0);
    EXPECT_EQ(WrapIndex(2, 4), 2);
}

TEST(TabSetLayout, DropMarkerPlaces) {
    const QRect r(100, 2, 100, 24);
    struct Case {
        TTabPosition position;
        QRect rect;
        bool leading;
        QPoint at;
    } cases[] = {
        {tpTop, r, false, {195, 15}},
        {tpTop, r, true, {95, 15}},
        {tpBottom, QRect(100, 0, 100, 24), false, {195, 1}},
        {tpLeft, QRect(2, 24, 100, 24), true, {91, 19}},
        {tpLeft, QRect(2, 24, 100, 24), false, {91, 43}},
        {tpRight, QRect(0, 24, 100, 24), false, {1, 43}},
    };
    for (const auto& c : cases) {
        TTabGrid g = Grid(c.position, 300, 300, 6);
        EXPECT_EQ(DropMarkerPlace(g, c.rect, c.leading), c.at) << c.position;
    }
}

TEST(TabSetLayout, DraggedImageFitsInto180AndNeverGrows) {
    struct Case {
        QSize in, out;
    } cases[] = {
        {{100, 50}, {100, 50}},  {{360, 180}, {180, 90}},
        {{400, 100}, {180, 45}}, {{1000, 5}, {180, 1}}, // 0.9 rounds to 1
        {{720, 10}, {180, 2}},                          // 2.5 rounds to the even 2
        {{0, 10}, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DraggedImageSize(c.in), c.out) << c.in.width() << "x" << c.in.height();
}
