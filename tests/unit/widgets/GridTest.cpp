#include "widgets/KvGrid.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora;

// Readable colours in failure messages; file-local so that other test files may have their own.
static void PrintTo(const QColor& c, std::ostream* os) {
    *os << c.name().toStdString();
}

namespace {

constexpr int KRowHeight = 20;
constexpr int KColWidth = 50;

// Four columns that all fit, six rows of which one is fixed and four are shown whole.
std::unique_ptr<TKvGrid> MakeGrid(int cols = 4, int rows = 6, int fixedCols = 0) {
    auto g = std::make_unique<TKvGrid>();
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetFixedCols(fixedCols);
    g->SetFixedRows(1);
    g->SetDefaultColWidth(KColWidth);
    g->SetDefaultRowHeight(KRowHeight);
    g->resize(400, 1 + KRowHeight + 4 * (KRowHeight + 1) + 5);
    g->show();
    QApplication::processEvents();
    return g;
}

void SendKey(QWidget* w, QEvent::Type type, int key, bool autoRepeat,
             Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(type, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

void PressKey(QWidget* w, int key, bool autoRepeat = false,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
    SendKey(w, QEvent::KeyPress, key, autoRepeat, mods);
}

void ReleaseKey(QWidget* w, int key, bool autoRepeat = false) {
    SendKey(w, QEvent::KeyRelease, key, autoRepeat);
}

void Wheel(TKvGrid* g, int deltaY, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPointF pos(10, 30);
    QWheelEvent e(pos, g->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, deltaY), Qt::NoButton,
                  mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g->viewport(), &e);
}

void MoveMouse(QWidget* w, QPoint pt, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent e(QEvent::MouseMove, pt, w->mapToGlobal(pt), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QImage Shot(TKvGrid* g) {
    return g->viewport()->grab().toImage();
}

bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

TEST(Grid, DefaultsAndViewOptions) {
    TKvGrid g;
    EXPECT_EQ(g.DefaultRowHeight(), 24);
    EXPECT_EQ(g.DefaultColWidth(), 64);
    EXPECT_TRUE(g.Options() & goThumbTracking);
    EXPECT_EQ(g.frameShape(), QFrame::NoFrame);
    const TViewOptions& vo = g.ViewOptions();
    EXPECT_EQ(vo.FixedNormalStartColor(), QColor(0xEC, 0xEC, 0xEC));
    EXPECT_EQ(vo.FixedNormalEndColor(), QColor(0xCE, 0xCE, 0xCE));
    EXPECT_EQ(vo.FixedHotStartColor(), QColor(0xF6, 0xF6, 0xF6));
    EXPECT_EQ(vo.FixedHotEndColor(), QColor(0xD8, 0xD8, 0xD8));
    EXPECT_EQ(vo.SelectedColor(), QColor(0x47, 0x5B, 0x8F)); // $8F5B47 is blue-green-red
    EXPECT_EQ(vo.InactiveSelectedColor(), QColor(0xDA, 0xDA, 0xDA));
    EXPECT_EQ(vo.SelectedFontColor(), g.palette().color(QPalette::Base));
    EXPECT_EQ(vo.InactiveSelectedFontColor(), g.palette().color(QPalette::Text));
    EXPECT_EQ(vo.SelectedColorAlphaBlendValue(), 255);
    EXPECT_TRUE(vo.ShowHorzScrollBar());
    EXPECT_TRUE(vo.ShowVertScrollBar());

    // Assign copies every field.
    TKvGrid other;
    TViewOptions& src = other.ViewOptions();
    src.SetFixedFontColor(Qt::red);
    src.SetFixedNormalStartColor(QColor(1, 1, 1));
    src.SetFixedNormalEndColor(QColor(2, 2, 2));
    src.SetFixedHotStartColor(QColor(3, 3, 3));
    src.SetFixedHotEndColor(QColor(4, 4, 4));
    src.SetSelectedFontColor(QColor(5, 5, 5));
    src.SetInactiveSelectedFontColor(QColor(6, 6, 6));
    src.SetSelectedColor(QColor(7, 7, 7));
    src.SetInactiveSelectedColor(QColor(8, 8, 8));
    src.SetSelectedColorAlphaBlendValue(9);
    src.SetShowHorzScrollBar(false);
    src.SetShowVertScrollBar(false);
    g.SetViewOptions(src);
    EXPECT_EQ(vo.FixedFontColor(), QColor(Qt::red));
    EXPECT_EQ(vo.FixedNormalStartColor(), QColor(1, 1, 1));
    EXPECT_EQ(vo.FixedNormalEndColor(), QColor(2, 2, 2));
    EXPECT_EQ(vo.FixedHotStartColor(), QColor(3, 3, 3));
    EXPECT_EQ(vo.FixedHotEndColor(), QColor(4, 4, 4));
    EXPECT_EQ(vo.SelectedFontColor(), QColor(5, 5, 5));
    EXPECT_EQ(vo.InactiveSelectedFontColor(), QColor(6, 6, 6));
    EXPECT_EQ(vo.SelectedColor(), QColor(7, 7, 7));
    EXPECT_EQ(vo.InactiveSelectedColor(), QColor(8, 8, 8));
    EXPECT_EQ(vo.SelectedColorAlphaBlendValue(), 9);
    EXPECT_FALSE(vo.ShowHorzScrollBar());
    EXPECT_FALSE(vo.ShowVertScrollBar());
}

TEST(Grid, AdjustDefaultColorsBlendsThePaletteHighlight) {
    TKvGrid g;
    QPalette pal = g.palette();
    pal.setColor(QPalette::Highlight, QColor(0x33, 0x99, 0xFF));
    g.setPalette(pal);
    g.ViewOptions().SetFixedNormalStartColor(Qt::black);
    g.ViewOptions().AdjustDefaultColors();
    const TViewOptions& vo = g.ViewOptions();
    EXPECT_EQ(vo.SelectedColor(), QColor(102, 179, 255)); // a quarter of the way to white
    EXPECT_EQ(vo.InactiveSelectedColor(), QColor(0xDA, 0xDA, 0xDA));
    EXPECT_EQ(vo.FixedNormalStartColor(), QColor(0xEC, 0xEC, 0xEC));
    EXPECT_EQ(vo.FixedHotEndColor(), QColor(0xD8, 0xD8, 0xD8));
}

TEST(Grid, ArrowKeysWrapOnlyOnAFreshPress) {
    auto g = MakeGrid();
    ASSERT_EQ(g->VisibleRowCount(), 4);
    std::vector<int> keysSeen;
    g->SetOnKeyDown([&](int& key, Qt::KeyboardModifiers) { keysSeen.push_back(key); });
    g->SetRow(3);
    int clicks = 0; // the owner follows the current row through OnClick
    g->SetOnClick([&] { ++clicks; });

    // Holding Down: one press, then auto-repeats (with their auto-repeat releases).
    PressKey(g.get(), Qt::Key_Down);
    EXPECT_EQ(g->Row(), 4);
    for (int i = 0; i < 4; ++i) {
        ReleaseKey(g.get(), Qt::Key_Down, true);
        PressKey(g.get(), Qt::Key_Down, true);
    }
    EXPECT_EQ(g->Row(), 5); // stops on the last row
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(clicks, 2);
    ReleaseKey(g.get(), Qt::Key_Down);

    // A fresh press wraps to the first scrollable row and scrolls it into view.
    keysSeen.clear();
    PressKey(g.get(), Qt::Key_Down);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(keysSeen, std::vector<int>{0}); // the wrapping key was used up
    EXPECT_EQ(g->verticalScrollBar()->value(), 0);
    ReleaseKey(g.get(), Qt::Key_Down);

    // Up on the first scrollable row wraps to the last one.
    PressKey(g.get(), Qt::Key_Up);
    EXPECT_EQ(g->Row(), 5);
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(g->verticalScrollBar()->value(), 127);
    ReleaseKey(g.get(), Qt::Key_Up);

    // Keys with a modifier do nothing.
    PressKey(g.get(), Qt::Key_Down, false, Qt::ShiftModifier);
    EXPECT_EQ(g->Row(), 5);

    // Left and Right across columns, wrapping both ways.
    g->SetCol(0);
    PressKey(g.get(), Qt::Key_Left);
    EXPECT_EQ(g->Col(), 3);
    ReleaseKey(g.get(), Qt::Key_Left);
    PressKey(g.get(), Qt::Key_Right);
    EXPECT_EQ(g->Col(), 0);
}

TEST(Grid, PageKeys) {
    auto g = MakeGrid(4, 20);
    g->SetRow(1);
    PressKey(g.get(), Qt::Key_PageDown);
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(g->TopRow(), 4);
    g->SetRow(18);
    PressKey(g.get(), Qt::Key_PageDown);
    EXPECT_EQ(g->Row(), 19);
    EXPECT_EQ(g->verticalScrollBar()->value(), 127);
    PressKey(g.get(), Qt::Key_PageUp);
    EXPECT_EQ(g->Row(), 16);
    EXPECT_EQ(g->TopRow(), 13);
}

TEST(Grid, RowSelectionIgnoresLeftRightAndShiftWheel) {
    auto g = MakeGrid();
    g->SetOptions(g->Options() | goRowSelect);
    g->SetCol(2);
    g->SetRow(2);
    PressKey(g.get(), Qt::Key_Left);
    PressKey(g.get(), Qt::Key_Right);
    Wheel(g.get(), -120, Qt::ShiftModifier);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
    Wheel(g.get(), -120);
    EXPECT_EQ(g->Row(), 3);
}

TEST(Grid, WheelWrapsAtOnce) {
    auto g = MakeGrid();
    int ups = 0, downs = 0;
    g->SetOnMouseWheelUp([&](Qt::KeyboardModifiers, const QPoint&, bool&) { ++ups; });
    g->SetOnMouseWheelDown([&](Qt::KeyboardModifiers, const QPoint&, bool&) { ++downs; });
    g->SetRow(5);
    Wheel(g.get(), -120);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->TopRow(), 1);
    Wheel(g.get(), 120);
    EXPECT_EQ(g->Row(), 5);
    EXPECT_EQ(g->TopRow(), 2);
    Wheel(g.get(), 120);
    EXPECT_EQ(g->Row(), 4);
    // Fine-grained wheels add up to whole steps.
    Wheel(g.get(), -60);
    EXPECT_EQ(g->Row(), 4);
    Wheel(g.get(), -60);
    EXPECT_EQ(g->Row(), 5);
    // Alt moves nothing; Shift moves across columns.
    Wheel(g.get(), -120, Qt::AltModifier);
    EXPECT_EQ(g->Row(), 5);
    g->SetCol(0);
    Wheel(g.get(), 120, Qt::ShiftModifier);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 5);
    EXPECT_EQ(ups, 3);
    EXPECT_EQ(downs, 3);
}

TEST(Grid, ScrollBarsAreProportionalFrom0To127) {
    auto g = MakeGrid();
    QScrollBar* v = g->verticalScrollBar();
    // Six rows, one fixed, four shown: page Round(127 * 4 / 2) = 254.
    EXPECT_TRUE(g->IsScrollBarVisible(1));
    EXPECT_FALSE(g->IsScrollBarVisible(0)); // every column fits
    EXPECT_EQ(v->minimum(), 0);
    EXPECT_EQ(v->maximum(), 127);
    EXPECT_EQ(v->pageStep(), 254);
    g->SetTopRow(2);
    EXPECT_EQ(v->value(), 127);

    // The bar moves the view: a line, then the thumb.
    g->SetTopRow(1);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(v->value(), 127);
    v->setSliderPosition(10);
    v->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(v->value(), 0);

    // Without thumb tracking the view follows the thumb only when it is let go.
    g->SetOptions(g->Options() & ~goThumbTracking);
    v->setSliderDown(true);
    v->setSliderPosition(127);
    v->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(g->TopRow(), 1);
    v->setSliderDown(false);
    EXPECT_EQ(g->TopRow(), 2);

    g->ViewOptions().SetShowVertScrollBar(false);
    EXPECT_FALSE(g->IsScrollBarVisible(1));
    g->SetRowCount(50);
    EXPECT_FALSE(g->IsScrollBarVisible(1));
    g->ViewOptions().SetShowVertScrollBar(true);
    EXPECT_TRUE(g->IsScrollBarVisible(1));

    // Columns that no longer fit bring the horizontal bar.
    g->SetColCount(20);
    EXPECT_TRUE(g->IsScrollBarVisible(0));
    EXPECT_EQ(g->horizontalScrollBar()->maximum(), 127);
    g->SetColCount(2);
    EXPECT_FALSE(g->IsScrollBarVisible(0));
}

TEST(Grid, MakeCellVisible) {
    auto g = MakeGrid(30, 20);
    // Room for the horizontal bar too, so that four rows stay in view.
    g->resize(g->width(), g->height() + g->horizontalScrollBar()->sizeHint().height());
    QApplication::processEvents();
    ASSERT_TRUE(g->IsScrollBarVisible(0));
    ASSERT_EQ(g->VisibleRowCount(), 4);
    const int visCols = g->VisibleColCount();
    ASSERT_GT(visCols, 1);
    ASSERT_LT(visCols, 29);
    struct Case {
        int col, row, leftCol, topRow, vertPos;
    } cases[] = {
        {25, 15, 25 - visCols + 1, 12, 93}, // below and right: becomes the last shown
        {26, 13, 26 - visCols + 1, 12, 93}, // row already shown: no vertical move
        {3, 3, 3, 3, 17},                   // above and left: becomes the first shown
        {29, 19, 30 - visCols, 16, 127},    // the last cell
    };
    for (const Case& c : cases) {
        g->MakeCellVisible(c.col, c.row);
        EXPECT_EQ(g->LeftCol(), c.leftCol) << c.col;
        EXPECT_EQ(g->TopRow(), c.topRow) << c.row;
        EXPECT_EQ(g->verticalScrollBar()->value(), c.vertPos) << c.row;
        EXPECT_TRUE(g->CellRect(c.col, c.row).isValid());
    }
}

TEST(Grid, LimitColWidth) {
    auto g = MakeGrid(3, 6, 1);
    const int client = g->viewport()->width();
    g->SetColWidths(1, 1000);
    g->SetColWidths(2, client - KColWidth - 1); // narrow enough already
    g->LimitColWidth();
    EXPECT_EQ(g->ColWidths(1), client - KColWidth - 1);
    EXPECT_EQ(g->ColWidths(2), client - KColWidth - 1);
    EXPECT_EQ(g->ColWidths(0), KColWidth);

    // As the command list uses it: every width change is limited at once.
    int changes = 0;
    g->SetOnColWidthsChanged([&] {
        ++changes;
        g->LimitColWidth();
    });
    g->SetColWidths(2, 5000);
    EXPECT_EQ(g->ColWidths(2), client - KColWidth - 1);
    EXPECT_EQ(changes, 2);
}

TEST(Grid, LimitColWidthBeforeTheGridIsShown) {
    // Widths restored from the settings are limited before the dialog appears.
    TKvGrid g;
    g.SetColCount(4);
    g.SetFixedCols(0);
    g.resize(353, 200);
    g.SetOnColWidthsChanged([&g] { g.LimitColWidth(); });
    g.SetColWidths(1, 120);
    g.SetColWidths(2, 900);
    EXPECT_EQ(g.ColWidths(1), 120);
    EXPECT_LT(g.ColWidths(2), 353);
    EXPECT_GT(g.ColWidths(2), 353 - 40); // only the vertical bar's width, if any, is taken
    g.show();
    QApplication::processEvents();
    EXPECT_LE(g.ColWidths(2), g.viewport()->width() - 1); // the guess matched the real client
}

TEST(Grid, FixedCellsHaveAVerticalGradient) {
    auto g = MakeGrid();
    g->SetOptions(g->Options() | goFixedHotTrack | goFixedColClick);
    int clicks = 0;
    g->SetOnFixedCellClick([&](int col, int row) {
        ++clicks;
        EXPECT_EQ(col, 1);
        EXPECT_EQ(row, 0);
    });
    const QRect r = g->CellRect(1, 0);
    ASSERT_EQ(r.height(), KRowHeight);
    auto column = [&](const QImage& img) {
        std::vector<QColor> c;
        for (int y = r.top(); y <= r.bottom(); ++y)
            c.push_back(img.pixelColor(r.center().x(), y));
        return c;
    };
    struct Look {
        const char* name;
        QColor top, bottom;
    };
    auto check = [&](const Look& look) {
        const std::vector<QColor> c = column(Shot(g.get()));
        EXPECT_TRUE(Near(c.front(), look.top, 4))
            << look.name << " " << c.front().name().toStdString();
        EXPECT_TRUE(Near(c.back(), look.bottom, 4))
            << look.name << " " << c.back().name().toStdString();
        const bool falling = look.top.red() > look.bottom.red();
        for (size_t i = 1; i < c.size(); ++i)
            EXPECT_TRUE(falling ? c[i].red() <= c[i - 1].red() : c[i].red() >= c[i - 1].red())
                << look.name << " row " << i;
    };
    check({"normal", QColor(0xEC, 0xEC, 0xEC), QColor(0xCE, 0xCE, 0xCE)});
    MoveMouse(g->viewport(), r.center());
    check({"hot", QColor(0xF6, 0xF6, 0xF6), QColor(0xD8, 0xD8, 0xD8)});
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, r.center());
    check({"pressed", QColor(0xCE, 0xCE, 0xCE), QColor(0xEC, 0xEC, 0xEC)});
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(clicks, 1);

    // A click-disabled header shows neither the hot nor the pressed look, and ignores clicks.
    const QRect d = g->CellRect(2, 0);
    g->SetClickDisabledFixedCells({QPoint(2, 0)});
    MoveMouse(g->viewport(), d.center());
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, d.center());
    const QImage img = Shot(g.get());
    EXPECT_TRUE(Near(img.pixelColor(d.center().x(), d.top()), QColor(0xEC, 0xEC, 0xEC), 4));
    EXPECT_TRUE(Near(img.pixelColor(d.center().x(), d.bottom()), QColor(0xCE, 0xCE, 0xCE), 4));
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, d.center());
    EXPECT_EQ(clicks, 1);
}

TEST(Grid, SelectionColourIsLaidOverWithItsOpacity) {
    auto g = MakeGrid();
    QPalette pal = g->palette();
    pal.setColor(QPalette::Base, Qt::white);
    g->setPalette(pal);
    TViewOptions& vo = g->ViewOptions();
    vo.SetSelectedColor(QColor(200, 0, 0));
    vo.SetInactiveSelectedColor(QColor(0, 0, 200));
    g->SetCol(1);
    g->SetRow(2);
    QColor fontColour;
    g->SetOnDrawCell([&](QPainter& canvas, int col, int row, const QRect&, TGridDrawState state) {
        if (col == 1 && row == 2) {
            EXPECT_TRUE(state.Selected);
            fontColour = canvas.pen().color();
        }
    });
    const QPoint inSel = g->CellRect(1, 2).center();
    const QPoint other = g->CellRect(2, 2).center();
    struct Case {
        bool focused;
        int alpha;
        QColor expected;
    } cases[] = {
        {false, 255, QColor(0, 0, 200)},    {false, 128, QColor(127, 127, 227)}, // half over white
        {false, 0, QColor(255, 255, 255)},  {true, 255, QColor(200, 0, 0)},
        {true, 128, QColor(227, 127, 127)},
    };
    for (const Case& c : cases) {
        if (c.focused) {
            g->activateWindow();
            g->setFocus();
            QApplication::processEvents();
            if (!g->hasFocus())
                GTEST_SKIP() << "no keyboard focus on this platform";
        } else {
            g->clearFocus();
            ASSERT_FALSE(g->hasFocus());
        }
        vo.SetSelectedColorAlphaBlendValue(std::uint8_t(c.alpha));
        const QImage img = Shot(g.get());
        EXPECT_TRUE(Near(img.pixelColor(inSel), c.expected, 2))
            << c.alpha << " " << img.pixelColor(inSel).name().toStdString();
        EXPECT_EQ(img.pixelColor(other), QColor(Qt::white));
        EXPECT_EQ(fontColour, c.focused ? vo.SelectedFontColor() : vo.InactiveSelectedFontColor());
    }
}

TEST(Grid, RowSelectionPaintsTheWholeRow) {
    auto g = MakeGrid();
    g->SetOptions(g->Options() | goRowSelect);
    g->ViewOptions().SetInactiveSelectedColor(QColor(0, 150, 0));
    g->ViewOptions().SetSelectedColor(QColor(0, 150, 0));
    g->SetRow(3);
    const QImage img = Shot(g.get());
    for (int col = 0; col < 4; ++col) {
        EXPECT_EQ(img.pixelColor(g->CellRect(col, 3).center()), QColor(0, 150, 0)) << col;
        EXPECT_NE(img.pixelColor(g->CellRect(col, 2).center()), QColor(0, 150, 0)) << col;
    }
}

TEST(Grid, ProtectedBoundariesCannotBeDragged) {
    auto g = MakeGrid(4, 6, 1);
    g->SetOptions(g->Options() | goColSizing | goRowSizing);
    g->SetWidthFixedCols({1});
    g->SetHeightFixedRows({2});
    int widthChanges = 0;
    g->SetOnColWidthsChanged([&] { ++widthChanges; });
    g->SetCol(3);
    g->SetRow(4);
    QWidget* vp = g->viewport();

    struct Case {
        const char* name;
        QPoint press;
        QPoint drag; // moved by
        bool sized;
        Qt::CursorShape cursor;
    } cases[] = {
        {"protected column", QPoint(g->CellRect(1, 0).right() + 1, 10), QPoint(30, 0), false,
         Qt::ArrowCursor},
        {"protected row", QPoint(10, g->CellRect(0, 2).bottom() + 1), QPoint(0, 15), false,
         Qt::ArrowCursor},
        {"free column", QPoint(g->CellRect(2, 0).right() + 2, 10), QPoint(30, 0), true,
         Qt::SplitHCursor},
        {"free row", QPoint(10, g->CellRect(0, 1).bottom()), QPoint(0, 15), true, Qt::SplitVCursor},
    };
    for (const Case& c : cases) {
        const std::vector<int> before{g->ColWidths(1), g->ColWidths(2), g->RowHeights(1),
                                      g->RowHeights(2)};
        MoveMouse(vp, c.press);
        EXPECT_EQ(vp->cursor().shape(), c.cursor) << c.name;
        QTest::mousePress(vp, Qt::LeftButton, {}, c.press);
        MoveMouse(vp, c.press + c.drag, Qt::LeftButton);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, c.press + c.drag);
        const std::vector<int> after{g->ColWidths(1), g->ColWidths(2), g->RowHeights(1),
                                     g->RowHeights(2)};
        EXPECT_EQ(before != after, c.sized) << c.name;
        // Neither a sizing press nor a refused one changes the selection.
        EXPECT_EQ(g->Col(), 3) << c.name;
        EXPECT_EQ(g->Row(), 4) << c.name;
    }
    EXPECT_EQ(g->ColWidths(2), KColWidth + 30);
    EXPECT_EQ(g->RowHeights(1), KRowHeight + 15);
    EXPECT_GE(widthChanges, 1);
}

TEST(Grid, ClicksSelectAndNotify) {
    auto g = MakeGrid();
    int clicks = 0, doubles = 0;
    g->SetOnClick([&] { ++clicks; });
    g->SetOnDblClick([&] { ++doubles; });
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->CellRect(2, 3).center());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(clicks, 1);
    // The current cell again, and a press that is let go elsewhere: each is reported once.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->CellRect(2, 3).center());
    EXPECT_EQ(clicks, 2);
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, g->CellRect(0, 4).center());
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, g->CellRect(3, 1).center());
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(clicks, 3);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->CellRect(1, 2).center());
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(g->Row(), 2);
    // A header is not a cell to select.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->CellRect(3, 0).center());
    EXPECT_EQ(g->Row(), 2);
}

TEST(Grid, BeginEndUpdateNests) {
    auto g = MakeGrid();
    g->BeginUpdate();
    g->BeginUpdate();
    g->EndUpdate();
    EXPECT_FALSE(g->viewport()->updatesEnabled());
    g->EndUpdate();
    EXPECT_TRUE(g->viewport()->updatesEnabled());
    g->EndUpdate(); // one too many is harmless
    g->BeginUpdate();
    EXPECT_FALSE(g->viewport()->updatesEnabled());
    g->EndUpdate();
    EXPECT_TRUE(g->viewport()->updatesEnabled());
}

TEST(Grid, ResizeReportsAndRecountsTheBars) {
    auto g = MakeGrid();
    int resizes = 0;
    g->SetOnResize([&] { ++resizes; });
    EXPECT_TRUE(g->IsScrollBarVisible(1));
    g->resize(400, 400); // every row fits now
    QApplication::processEvents();
    EXPECT_GE(resizes, 1);
    EXPECT_FALSE(g->IsScrollBarVisible(1));
    EXPECT_EQ(g->TopRow(), 1);
}
