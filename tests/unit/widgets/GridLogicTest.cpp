#include "widgets/KvGridAxis.h"
#include "widgets/KvGridLogic.h"

#include <gtest/gtest.h>

using namespace velmora;

// Readable colours in failure messages; file-local so that other test files may have their own.
static void PrintTo(const QColor& c, std::ostream* os) {
    *os << c.name().toStdString();
}

namespace {

// Four columns, no fixed column; six rows, one fixed; all columns and four rows shown.
TGridPos SmallGrid(int col, int row, int topRow = 1) {
    TGridPos p;
    p.ColCount = 4;
    p.RowCount = 6;
    p.FixedCols = 0;
    p.FixedRows = 1;
    p.Col = col;
    p.Row = row;
    p.LeftCol = 0;
    p.TopRow = topRow;
    p.VisibleColCount = 4;
    p.VisibleRowCount = 4;
    return p;
}

TGridPos TallGrid(int row, int topRow) {
    TGridPos p = SmallGrid(0, row, topRow);
    p.RowCount = 20;
    return p;
}

std::string Str(const std::optional<int>& v) {
    return v ? std::to_string(*v) : "-";
}

} // namespace

TEST(GridLogic, ArrowKeysMoveAndWrapOnlyOnAFreshPress) {
    struct Case {
        const char* name;
        TGridPos pos;
        TNavKey key;
        bool rowSelect;
        bool autoRepeat;
        bool flag; // the key's wrap flag before the press
        std::optional<int> col, row, leftCol, topRow;
        bool consumed;
        bool flagAfter;
    } cases[] = {
        {"down inside",
         SmallGrid(0, 2),
         TNavKey::Down,
         false,
         false,
         true,
         {},
         3,
         {},
         {},
         false,
         false},
        {"down wraps",
         SmallGrid(0, 5, 2),
         TNavKey::Down,
         false,
         false,
         true,
         {},
         1,
         {},
         1,
         true,
         false},
        {"down held at end",
         SmallGrid(0, 5, 2),
         TNavKey::Down,
         false,
         false,
         false,
         {},
         {},
         {},
         {},
         false,
         false},
        {"down auto-repeat at end",
         SmallGrid(0, 5, 2),
         TNavKey::Down,
         false,
         true,
         true,
         {},
         {},
         {},
         {},
         false,
         true},
        {"up inside", SmallGrid(0, 3), TNavKey::Up, false, true, true, {}, 2, {}, {}, false, false},
        {"up wraps", SmallGrid(0, 1), TNavKey::Up, false, false, true, {}, 5, {}, 2, true, false},
        {"up held at fixed row",
         SmallGrid(0, 1),
         TNavKey::Up,
         false,
         false,
         false,
         {},
         {},
         {},
         {},
         false,
         false},
        {"left wraps",
         SmallGrid(0, 2),
         TNavKey::Left,
         false,
         false,
         true,
         3,
         {},
         0,
         {},
         true,
         false},
        {"right inside",
         SmallGrid(1, 2),
         TNavKey::Right,
         false,
         false,
         true,
         2,
         {},
         {},
         {},
         false,
         false},
        {"right wraps",
         SmallGrid(3, 2),
         TNavKey::Right,
         false,
         false,
         true,
         0,
         {},
         0,
         {},
         true,
         false},
        {"left with row select",
         SmallGrid(2, 2),
         TNavKey::Left,
         true,
         false,
         true,
         {},
         {},
         {},
         {},
         false,
         true},
        {"right with row select",
         SmallGrid(3, 2),
         TNavKey::Right,
         true,
         false,
         true,
         {},
         {},
         {},
         {},
         false,
         true},
        {"page down",
         TallGrid(1, 1),
         TNavKey::PageDown,
         false,
         false,
         true,
         {},
         4,
         {},
         4,
         false,
         true},
        {"page down to the end",
         TallGrid(14, 12),
         TNavKey::PageDown,
         false,
         false,
         true,
         {},
         17,
         {},
         16,
         false,
         true},
        {"page down on the last page",
         TallGrid(17, 16),
         TNavKey::PageDown,
         false,
         false,
         true,
         {},
         19,
         {},
         {},
         false,
         true},
        {"page up",
         TallGrid(10, 8),
         TNavKey::PageUp,
         false,
         false,
         true,
         {},
         7,
         {},
         5,
         false,
         true},
        {"page up to the top",
         TallGrid(5, 2),
         TNavKey::PageUp,
         false,
         false,
         true,
         {},
         2,
         {},
         1,
         false,
         true},
        {"page up on the first page",
         TallGrid(3, 1),
         TNavKey::PageUp,
         false,
         false,
         true,
         {},
         1,
         {},
         {},
         false,
         true},
    };
    for (const Case& c : cases) {
        TArrowKeyFlags flags;
        flags.Down = flags.Up = flags.Left = flags.Right = c.flag;
        const TGridMove m = NavigateByKey(c.pos, c.key, c.rowSelect, c.autoRepeat, flags);
        EXPECT_EQ(Str(m.Col), Str(c.col)) << c.name;
        EXPECT_EQ(Str(m.Row), Str(c.row)) << c.name;
        EXPECT_EQ(Str(m.LeftCol), Str(c.leftCol)) << c.name;
        EXPECT_EQ(Str(m.TopRow), Str(c.topRow)) << c.name;
        EXPECT_EQ(m.Consumed, c.consumed) << c.name;
        const bool flagAfter = c.key == TNavKey::Down    ? flags.Down
                               : c.key == TNavKey::Up    ? flags.Up
                               : c.key == TNavKey::Left  ? flags.Left
                               : c.key == TNavKey::Right ? flags.Right
                                                         : c.flag;
        EXPECT_EQ(flagAfter, c.flagAfter) << c.name;
    }
}

TEST(GridLogic, HoldingDownStopsAtTheLastRowAndAReleaseRearmsTheWrap) {
    TArrowKeyFlags flags;
    TGridPos p = SmallGrid(0, 3);
    // A held key: one real press, then auto-repeats.
    std::vector<int> rows;
    for (int i = 0; i < 5; ++i) {
        const TGridMove m = NavigateByKey(p, TNavKey::Down, false, i > 0, flags);
        if (m.Row)
            p.Row = *m.Row;
        rows.push_back(p.Row);
    }
    EXPECT_EQ(rows, (std::vector<int>{4, 5, 5, 5, 5}));
    // Even a fresh press does not wrap until the key was released.
    EXPECT_FALSE(NavigateByKey(p, TNavKey::Down, false, false, flags).Row.has_value());
    ReleaseArrowKey(TNavKey::Up, flags); // another key's release does not count
    EXPECT_FALSE(NavigateByKey(p, TNavKey::Down, false, false, flags).Row.has_value());
    ReleaseArrowKey(TNavKey::Down, flags);
    const TGridMove wrap = NavigateByKey(p, TNavKey::Down, false, false, flags);
    EXPECT_EQ(Str(wrap.Row), "1");
    EXPECT_TRUE(wrap.Consumed);
}

TEST(GridLogic, WheelWrapsAtOnceAndHonoursModifiers) {
    struct Case {
        const char* name;
        TGridPos pos;
        TWheelDir dir;
        TWheelMods mods;
        bool rowSelect;
        std::optional<int> col, row, leftCol, topRow;
    } cases[] = {
        {"down inside", SmallGrid(0, 2), TWheelDir::Down, {}, false, {}, 3, {}, {}},
        {"down wraps", SmallGrid(0, 5, 2), TWheelDir::Down, {}, false, {}, 1, {}, 1},
        {"up wraps", SmallGrid(0, 1), TWheelDir::Up, {}, false, {}, 5, {}, 2},
        {"up inside", SmallGrid(0, 4), TWheelDir::Up, {}, false, {}, 3, {}, {}},
        {"shift up wraps",
         SmallGrid(0, 2),
         TWheelDir::Up,
         {true, false, false},
         false,
         3,
         {},
         0,
         {}},
        {"shift down wraps",
         SmallGrid(3, 2),
         TWheelDir::Down,
         {true, false, false},
         false,
         0,
         {},
         0,
         {}},
        {"shift ctrl moves columns",
         SmallGrid(1, 2),
         TWheelDir::Down,
         {true, true, false},
         false,
         2,
         {},
         {},
         {}},
        {"shift with row select",
         SmallGrid(1, 2),
         TWheelDir::Down,
         {true, false, false},
         true,
         {},
         {},
         {},
         {}},
        {"ctrl alone",
         SmallGrid(1, 2),
         TWheelDir::Down,
         {false, true, false},
         false,
         {},
         {},
         {},
         {}},
        {"alt", SmallGrid(1, 2), TWheelDir::Down, {false, false, true}, false, {}, {}, {}, {}},
        {"row select still moves rows", SmallGrid(1, 5), TWheelDir::Down, {}, true, {}, 1, {}, 1},
    };
    for (const Case& c : cases) {
        const TGridMove m = NavigateByWheel(c.pos, c.dir, c.mods, c.rowSelect);
        EXPECT_EQ(Str(m.Col), Str(c.col)) << c.name;
        EXPECT_EQ(Str(m.Row), Str(c.row)) << c.name;
        EXPECT_EQ(Str(m.LeftCol), Str(c.leftCol)) << c.name;
        EXPECT_EQ(Str(m.TopRow), Str(c.topRow)) << c.name;
    }
    // Repeated wheel steps keep wrapping: no release is needed.
    TGridPos p = SmallGrid(0, 5, 2);
    p.Row = *NavigateByWheel(p, TWheelDir::Down, {}, false).Row;
    EXPECT_EQ(p.Row, 1);
    p.Row = *NavigateByWheel(p, TWheelDir::Up, {}, false).Row;
    EXPECT_EQ(p.Row, 5);
}

TEST(GridLogic, ScrollBarRunsFrom0To127WithAProportionalPage) {
    struct Case {
        bool allowed;
        int count, fixed, visible, pos;
        bool shown;
        int page, position;
    } cases[] = {
        {true, 6, 1, 4, 1, true, 254, 127}, // Round(127*4/2); last TopRow gives 127
        {true, 6, 1, 4, 0, true, 254, 0},
        {true, 6, 1, 5, 0, false, 1, 0},  // every scrollable row shown
        {false, 6, 1, 4, 1, false, 1, 0}, // switched off
        {true, 100, 1, 4, 48, true, 5, 64},
        {true, 100, 1, 4, 95, true, 5, 127},
        {true, 1000, 0, 4, 0, true, 1, 0},  // page below 2 becomes 1
        {true, 5, 0, 3, 1, true, 190, 64},  // 190.5 and 63.5: halves to even
        {true, 5, 0, 3, 9, true, 190, 127}, // out-of-range position is clamped
    };
    for (const auto& c : cases) {
        const TScrollBarState s = CalcScrollBar(c.allowed, c.count, c.fixed, c.visible, c.pos);
        EXPECT_EQ(s.Visible, c.shown) << c.count << "/" << c.visible;
        EXPECT_EQ(s.Page, c.page) << c.count << "/" << c.visible;
        EXPECT_EQ(s.Position, c.position) << c.count << "/" << c.visible << "@" << c.pos;
        EXPECT_EQ(s.Min, 0);
        EXPECT_EQ(s.Max, s.Page + 126);
        EXPECT_EQ(s.Max - s.Page + 1, KvScrollRange); // the thumb's last position
    }
}

TEST(GridLogic, ThumbPositionMapsBackToTheFirstRow) {
    struct Case {
        int position, count, fixed, visible, first;
    } cases[] = {
        {0, 6, 1, 4, 1},     {63, 6, 1, 4, 1},     {64, 6, 1, 4, 2},
        {127, 6, 1, 4, 2},   {500, 6, 1, 4, 2},    {-3, 6, 1, 4, 1},
        {64, 100, 1, 4, 49}, {127, 100, 1, 4, 96}, {50, 5, 1, 4, 1}, // nothing to scroll
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScrollPositionToFirst(c.position, c.count, c.fixed, c.visible), c.first)
            << c.position << " " << c.count;
}

TEST(GridLogic, MakeIndexVisible) {
    struct Case {
        int index, first, visible, count, expected;
    } cases[] = {
        {3, 5, 4, 20, 3},   // above the view: becomes the first
        {5, 5, 4, 20, 5},   // first shown
        {8, 5, 4, 20, 5},   // last shown
        {9, 5, 4, 20, 6},   // just below: becomes the last shown
        {15, 1, 4, 20, 12}, // far below
        {19, 1, 4, 20, 16}, // the last row
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeIndexVisible(c.index, c.first, c.visible, c.count), c.expected) << c.index;
}

TEST(GridLogic, LimitColWidths) {
    struct Case {
        std::vector<int> widths;
        int fixedCols, clientWidth;
        std::vector<int> expected;
    } cases[] = {
        {{50, 300, 100}, 1, 200, {50, 149, 100}},
        {{50, 150, 149}, 1, 200, {50, 149, 149}}, // exactly the room is too wide
        {{400, 80}, 0, 200, {199, 80}},
        {{250, 100}, 1, 200, {250, 0}}, // no room at all: never negative
        {{}, 0, 200, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LimitColWidths(c.widths, c.fixedCols, c.clientWidth), c.expected);
}

TEST(GridLogic, BlendRoundsHalvesToEvenAndLimitsThePercentage) {
    struct Case {
        QColor a, b;
        int percent;
        QColor expected;
    } cases[] = {
        {QColor(0, 0, 0), QColor(255, 255, 255), 25, QColor(64, 64, 64)},             // 63.75
        {QColor(255, 255, 255), QColor(0, 0, 0), 25, QColor(191, 191, 191)},          // -63.75
        {QColor(0, 0, 0), QColor(2, 6, 10), 25, QColor(0, 2, 2)},                     // .5 1.5 2.5
        {QColor(0x33, 0x99, 0xFF), QColor(255, 255, 255), 25, QColor(102, 179, 255)}, // 51, 25.5
        {QColor(10, 20, 30), QColor(200, 100, 0), 150, QColor(200, 100, 0)},
        {QColor(10, 20, 30), QColor(200, 100, 0), -5, QColor(10, 20, 30)},
        {QColor(10, 20, 30), QColor(200, 100, 0), 0, QColor(10, 20, 30)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BlendColors(c.a, c.b, c.percent), c.expected)
            << c.percent << " " << c.a.name().toStdString();
}

TEST(GridLogic, DefaultColorsPerVisualStyle) {
    const QColor face(0xF0, 0xF0, 0xF0);
    const QColor highlight(0x30, 0x8C, 0xC6);
    const QColor selected = BlendColors(highlight, Qt::white, 25);

    const TGridDefaultColors off = CalcDefaultColors(TVisualStyle::Off, face, highlight);
    EXPECT_EQ(off.FixedNormalStart, QColor(0xEC, 0xEC, 0xEC));
    EXPECT_EQ(off.FixedNormalEnd, QColor(0xCE, 0xCE, 0xCE));
    EXPECT_EQ(off.FixedHotStart, QColor(0xF6, 0xF6, 0xF6));
    EXPECT_EQ(off.FixedHotEnd, QColor(0xD8, 0xD8, 0xD8));
    EXPECT_EQ(off.Selected, selected);
    // The inactive selection is the header's lower colour lightened by a quarter.
    EXPECT_EQ(off.InactiveSelected, QColor(0xDA, 0xDA, 0xDA));

    const TGridDefaultColors modern =
        CalcDefaultColors(TVisualStyle::ThemedModern, face, highlight);
    EXPECT_EQ(modern.FixedNormalStart, QColor(0xF5, 0xF5, 0xF5));
    EXPECT_EQ(modern.FixedNormalEnd, QColor(0xE6, 0xE6, 0xE6));
    EXPECT_EQ(modern.FixedHotStart, QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(modern.FixedHotEnd, QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(modern.Selected, selected);
    EXPECT_EQ(modern.InactiveSelected, BlendColors(QColor(0xE6, 0xE6, 0xE6), Qt::white, 25));

    const QColor grey(0x80, 0x80, 0x80);
    const TGridDefaultColors legacy =
        CalcDefaultColors(TVisualStyle::ThemedLegacy, grey, highlight);
    EXPECT_GT(legacy.FixedNormalStart.lightness(), grey.lightness());
    EXPECT_LT(legacy.FixedNormalEnd.lightness(), grey.lightness());
    EXPECT_GT(legacy.FixedHotStart.lightness(), legacy.FixedNormalStart.lightness());
    EXPECT_LT(legacy.FixedHotEnd.lightness(), legacy.FixedHotStart.lightness());
    EXPECT_GT(legacy.FixedHotEnd.lightness(), legacy.FixedNormalEnd.lightness());
}

TEST(GridLogic, AdjustLumaWorksOnThe240Scale) {
    // 24 steps of 240 are a tenth of the range: 25.5 on Qt's 0..255 scale.
    const QColor moved = AdjustLuma(QColor(100, 100, 100), 24);
    EXPECT_NEAR(moved.lightness(), 125.5, 1.0);
    EXPECT_EQ(moved.red(), moved.blue());
    EXPECT_EQ(AdjustLuma(Qt::white, 10), QColor(Qt::white));
    EXPECT_EQ(AdjustLuma(Qt::black, -10), QColor(Qt::black));
    // The hue survives.
    const QColor blue = AdjustLuma(QColor(0, 0, 200), 20);
    EXPECT_GT(blue.blue(), 200);
    EXPECT_EQ(blue.red(), blue.green());
}

TEST(GridAxis, Geometry) {
    TGridAxis a;
    a.Sizes = {30, 50, 50, 50, 50};
    a.FixedCount = 1;
    a.First = 1;
    a.Extent = 150;
    EXPECT_EQ(a.FixedExtent(), 31);
    EXPECT_EQ(a.Start(0), 0);
    EXPECT_EQ(a.Start(1), 31);
    EXPECT_EQ(a.Start(3), 133);
    EXPECT_EQ(a.Start(5), -1);
    EXPECT_EQ(a.VisibleCount(), 2);
    EXPECT_EQ(a.MaxFirst(), 3);
    struct Hit {
        int pos, index;
    } hits[] = {{0, 0}, {29, 0}, {30, 0}, {31, 1}, {81, 1}, {82, 2}, {149, 3}, {150, -1}, {-1, -1}};
    for (const auto& h : hits)
        EXPECT_EQ(a.IndexAt(h.pos), h.index) << h.pos;
    EXPECT_EQ(a.BoundaryAt(81, 3), 1);
    EXPECT_EQ(a.BoundaryAt(84, 3), 1);
    EXPECT_EQ(a.BoundaryAt(27, 3), 0);
    EXPECT_EQ(a.BoundaryAt(60, 3), -1);

    a.First = 3; // scrolled: cells 1 and 2 are out of view
    EXPECT_EQ(a.Start(1), -1);
    EXPECT_EQ(a.Start(3), 31);
    EXPECT_EQ(a.IndexAt(31), 3);
    EXPECT_EQ(a.VisibleCount(), 2);

    TGridAxis wide; // one cell wider than the view still counts as shown
    wide.Sizes = {300};
    wide.Extent = 100;
    EXPECT_EQ(wide.VisibleCount(), 1);
    EXPECT_EQ(wide.MaxFirst(), 0);

    TGridAxis roomy; // everything fits
    roomy.Sizes = {20, 20, 20};
    roomy.FixedCount = 1;
    roomy.First = 1;
    roomy.Extent = 500;
    EXPECT_EQ(roomy.VisibleCount(), 2);
    EXPECT_EQ(roomy.MaxFirst(), 1);
}
