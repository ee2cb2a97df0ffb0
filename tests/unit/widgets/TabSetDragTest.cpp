#include "widgets/KvPng.h"
#include "TabSetTestUtil.h"

#include <QApplication>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace velmora;
using namespace tabsettest;

namespace {

void Wheel(QWidget* w, int dy) {
    const QPointF at(5, 5);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// Presses on tab `from`, moves past the dead zone and on to `to`.
void DragTo(THost& h, int from, QPoint to) {
    const QPoint start = h.Centre(from);
    QTest::mouseMove(h.Tabs, start);
    QTest::mousePress(h.Tabs, Qt::LeftButton, {}, start);
    const int t = QApplication::startDragDistance();
    QTest::mouseMove(h.Tabs, start + QPoint(t + 1, 0));
    QTest::mouseMove(h.Tabs, to);
}

std::string Range(const TKvTabSet* s) {
    return std::to_string(s->FirstIndex()) + "-" + std::to_string(s->LastIndex());
}

} // namespace

// --- closing and re-opening ----------------------------------------------------------

TEST(TabSetClosing, SnapshotGoesToTheFrontOfTheClosedList) {
    THost host;
    host.AddTabs(3);
    QObject data;
    TKvTab* t1 = host.Tabs->Tabs()[1];
    t1->SetImageIndex(2);
    t1->SetTag(42);
    t1->SetModified(true);
    t1->Data = &data;
    EXPECT_EQ(host.Tabs->CloseTab(1), 1);
    ASSERT_EQ(host.Tabs->ClosedTabList().Count(), 1);
    const TKvTabInfoItem* e = host.Tabs->ClosedTabList().Items(0);
    EXPECT_EQ(e->Caption(), "t1");
    EXPECT_EQ(e->ImageIndex(), 2);
    EXPECT_EQ(e->Tag(), 42);
    EXPECT_TRUE(e->Modified());
    EXPECT_EQ(e->IndexAtClosing(), 1);
    EXPECT_TRUE(e->ClosedTime().isValid());
    EXPECT_EQ(e->Data, &data);
    EXPECT_EQ(host.Captions(), "t0,t2");
}

TEST(TabSetClosing, CapacityDropsTheOldestEntry) {
    struct Case {
        int capacity;       // ClosedTabCount while closing the last tab
        int storedBefore;   // entries closed with capacity 10
        int countAfter;     // entries after one more CloseTab
        bool newestAtFront; // the last closed tab is entry 0
    } cases[] = {
        {10, 10, 10, true},
        {10, 4, 5, true},
        {3, 10, 10, true}, // lowering the capacity does not shorten the list
        {0, 4, 4, false},  // a capacity of 0 keeps no history
    };
    for (const auto& c : cases) {
        THost host;
        host.AddTabs(c.storedBefore + 1);
        for (int i = 0; i < c.storedBefore; ++i)
            host.Tabs->CloseTab(0);
        host.Tabs->SetClosedTabCount(c.capacity);
        host.Tabs->CloseTab(0);
        const TKvTabInfoList& list = host.Tabs->ClosedTabList();
        EXPECT_EQ(list.Count(), c.countAfter) << c.capacity;
        const QString last = QString("t%1").arg(c.storedBefore);
        EXPECT_EQ(list.Items(0)->Caption() == last, c.newestAtFront) << c.capacity;
        if (c.storedBefore == 10 && c.capacity > 0) { // t0, the oldest, is gone
            EXPECT_EQ(list.Items(list.Count() - 1)->Caption(), "t1");
        }
    }
}

TEST(TabSetClosing, BadIndexesChangeNothing) {
    THost host;
    host.AddTabs(2);
    host.Tabs->CloseTab(0);
    EXPECT_THROW(host.Tabs->CloseTab(1), std::out_of_range);
    EXPECT_THROW(host.Tabs->CloseTab(-1), std::out_of_range);
    EXPECT_THROW(host.Tabs->ReOpenTab(1), std::out_of_range);
    EXPECT_EQ(host.Tabs->ClosedTabList().Count(), 1);
    EXPECT_EQ(host.Captions(), "t1");
}

TEST(TabSetClosing, ReOpenPutsTheTabBack) {
    struct Case {
        const char* name;
        int closeIndex;  // closed from t0..t3
        int closeAlso;   // then this index is closed too (-1: none)
        bool asSelected; // what OnTabReOpening leaves
        std::string order;
        int reopenedAt;
    } cases[] = {
        {"back at its place", 1, -1, true, "t0,t1,t2,t3", 1},
        {"beyond the last: appended", 3, 2, true, "t0,t1,t3", 2},
        {"not selected", 1, -1, false, "t0,t1,t2,t3", 1},
    };
    for (const auto& c : cases) {
        THost host;
        host.AddTabs(4);
        host.Tabs->SetTabIndex(2);
        host.Tabs->SetTabIndex(0);
        host.Tabs->CloseTab(c.closeIndex);
        if (c.closeAlso >= 0)
            host.Tabs->CloseTab(c.closeAlso);
        const int entry = c.closeAlso >= 0 ? 1 : 0;
        host.Tabs->SetOnTabReOpening([&](TKvTabSet*, TKvTab*, bool& as) { as = c.asSelected; });
        TKvTab* tab = host.Tabs->ReOpenTab(entry);
        EXPECT_EQ(host.Captions(), c.order) << c.name;
        EXPECT_EQ(tab->Index(), c.reopenedAt) << c.name;
        EXPECT_EQ(host.Tabs->ClosedTabList().Count(), c.closeAlso >= 0 ? 1 : 0) << c.name;
        EXPECT_EQ(tab->Selected(), c.asSelected) << c.name;
        EXPECT_EQ(tab->SelectedTime().isValid(), c.asSelected) << c.name;
        // TabIndex names the selected tab even when a tab went in before it.
        EXPECT_EQ(host.Tabs->TabIndex(), host.Tabs->GetSelectedIndex()) << c.name;
        if (!c.asSelected) { // never selected: ranks last for nfLastSelected
            EXPECT_NE(host.Tabs->GetLastSelectedIndex(), tab->Index()) << c.name;
        }
    }
}

// --- dragging -----------------------------------------------------------------------

TEST(TabSetDrag, DropMovesTheSelectedTab) {
    struct Case {
        int dragged, target;
        std::string order;
        bool leadingMarker;
    } cases[] = {
        {1, 4, "t0,t2,t3,t4,t1,t5", false}, // marker at tab 4's trailing edge
        {4, 1, "t0,t4,t1,t2,t3,t5", true},  // marker at tab 1's leading edge
    };
    for (const auto& c : cases) {
        THost host(QSize(700, 200));
        host.AddTabs(6);
        host.Tabs->SetTabIndex(0);
        int selectedEvents = 0;
        host.Tabs->SetOnTabSelected([&](TKvTabSet*, TKvTab*, bool) { ++selectedEvents; });
        DragTo(host, c.dragged, host.Centre(c.target));
        EXPECT_TRUE(host.Tabs->IsDragActive());
        const int selectionByPress = selectedEvents;

        // The marker: TOPMARKER's opaque pixels, at the edge the tab lands on.
        const QRect r = host.Tabs->GetTabRect(c.target);
        const QPoint at((c.leadingMarker ? r.left() : r.left() + r.width()) - 5, r.top() + 24 - 11);
        const QImage marker = KvLoadPng(":/kv/TOPMARKER.png");
        const QImage img = host.Tabs->Render();
        for (const QPoint m : {QPoint(4, 0), QPoint(0, 4), QPoint(4, 7), QPoint(7, 9)})
            EXPECT_EQ(img.pixel(at + m), marker.pixel(m)) << c.dragged << " at " << m.x();

        QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, host.Centre(c.target));
        EXPECT_FALSE(host.Tabs->IsDragActive());
        EXPECT_EQ(host.Captions(), c.order);
        EXPECT_EQ(host.Tabs->TabIndex(), c.target);
        EXPECT_TRUE(host.Tabs->Tabs()[c.target]->Selected());
        EXPECT_EQ(selectedEvents, selectionByPress); // the move selects nothing new
        EXPECT_NE(host.Tabs->Render().pixel(at + QPoint(4, 7)), marker.pixel(4, 7));
    }
}

TEST(TabSetDrag, DropsThatChangeNothing) {
    struct Case {
        const char* name;
        int tabs;
        QPoint target; // -1, -1: the dragged tab itself
        bool allowDrag;
    } cases[] = {
        {"on itself", 4, {-1, -1}, true},
        {"outside every tab", 4, {650, 10}, true},
        {"outside the tab set", 4, {100, 150}, true},
        {"single tab", 1, {-1, -1}, true},
        {"dragging switched off", 4, {350, 10}, false},
    };
    for (const auto& c : cases) {
        THost host(QSize(700, 200));
        host.AddTabs(c.tabs);
        host.Tabs->SetAllowDragTab(c.allowDrag);
        const QPoint target = c.target.x() < 0 ? host.Centre(0) + QPoint(20, 0) : c.target;
        DragTo(host, 0, target);
        EXPECT_EQ(host.Tabs->IsDragActive(), c.allowDrag) << c.name;
        QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, target);
        std::string expected;
        for (int i = 0; i < c.tabs; ++i)
            expected += (i ? ",t" : "t") + std::to_string(i);
        EXPECT_EQ(host.Captions(), expected) << c.name;
        EXPECT_EQ(host.Tabs->TabIndex(), 0) << c.name;
    }
}

TEST(TabSetDrag, AcceptsOnlyItsOwnTabsOverATab) {
    THost host(QSize(700, 200));
    host.AddTabs(3);
    host.Tabs->SetTabIndex(0);
    host.Tabs->SetOnDragOver(
        [](TKvTabSet*, QObject*, int, int, TDragState, bool& accept) { accept = true; });
    QObject stranger;
    struct Case {
        QObject* source;
        QPoint p;
        bool accept;
    } cases[] = {
        {host.Tabs, host.Centre(2), true},
        {host.Tabs, host.Centre(0), true}, // its own place: accepted, no marker
        {host.Tabs, QPoint(650, 10), false},
        {&stranger, host.Centre(2), false}, // the handler's yes is overruled
    };
    for (const auto& c : cases) {
        bool accept = !c.accept;
        host.Tabs->DragOver(c.source, c.p.x(), c.p.y(), TDragState::dsDragMove, accept);
        EXPECT_EQ(accept, c.accept) << c.p.x();
    }
}

TEST(TabSetDrag, EscapeCancelsTheDrag) {
    THost host(QSize(700, 200));
    host.AddTabs(4);
    bool dropped = true;
    host.Tabs->SetOnEndDrag([&](TKvTabSet*, bool d) { dropped = d; });
    DragTo(host, 0, host.Centre(3));
    QTest::keyClick(host.Tabs, Qt::Key_Escape);
    EXPECT_FALSE(host.Tabs->IsDragActive());
    EXPECT_FALSE(dropped);
    QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, host.Centre(3));
    EXPECT_EQ(host.Captions(), "t0,t1,t2,t3");
}

TEST(TabSetDrag, FloatingPictureLivesForOneDrag) {
    THost host(QSize(700, 200));
    host.AddTabs(3);
    QWidget page;
    page.resize(360, 180);
    host.Tabs->SetShowDraggedImage(true);
    host.Tabs->SetDraggedControl(&page);
    DragTo(host, 0, host.Centre(1));
    QTest::mouseMove(host.Tabs, host.Centre(2));
    QPointer<QWidget> picture = host.Tabs->DraggedImage();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->size(), QSize(180, 90));
    EXPECT_DOUBLE_EQ(picture->windowOpacity(), 128 / 255.0);
    const QPoint global = host.Tabs->mapToGlobal(host.Centre(2));
    EXPECT_EQ(picture->pos(), QPoint(global.x(), global.y() + 25));
    QTest::mouseMove(host.Tabs, QPoint(100, 150)); // off the tab set: hidden
    EXPECT_FALSE(picture->isVisible());
    QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, QPoint(100, 150));
    EXPECT_EQ(host.Tabs->DraggedImage(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(picture.isNull(), 5000);
}

// --- scrolling by lines --------------------------------------------------------------

TEST(TabSetScroll, TwelveTabsThreePerLine) {
    // 328 pixels: three tabs of 100 beside the 28-pixel scroll button.
    struct Case {
        TTabPosition position;
        std::string start;
        std::vector<std::pair<char, std::string>> steps; // 'u'p / 'd'own / wheel 'U' 'D'
    } cases[] = {
        {tpTop, "0-5", {{'d', "3-8"}, {'D', "6-11"}, {'d', "6-11"}, {'U', "3-8"}, {'u', "0-5"}}},
        {tpBottom,
         "6-11",
         {{'d', "3-8"}, {'D', "0-5"}, {'d', "0-5"}, {'u', "3-8"}, {'U', "6-11"}, {'u', "6-11"}}},
    };
    for (const auto& c : cases) {
        THost host(QSize(328, 300), c.position);
        host.AddTabs(12);
        host.Tabs->SetTabSteps(2);
        EXPECT_EQ(host.Tabs->height(), 50);
        EXPECT_EQ(Range(host.Tabs), c.start) << c.position;
        for (const auto& [how, expected] : c.steps) {
            switch (how) {
            case 'u':
                host.Tabs->ScrollUpClick();
                break;
            case 'd':
                host.Tabs->ScrollDownClick();
                break;
            case 'U':
                Wheel(host.Tabs, 120);
                break;
            case 'D':
                Wheel(host.Tabs, -120);
                break;
            }
            EXPECT_EQ(Range(host.Tabs), expected) << c.position << " after " << how;
        }
    }
}

TEST(TabSetScroll, ScrollButtonStepsTheLines) {
    THost host(QSize(328, 300));
    host.AddTabs(12);
    host.Tabs->SetTabSteps(2);
    TKvAlphaUpDownButton* button = host.Tabs->ScrollButton();
    ASSERT_TRUE(button->isVisible());
    EXPECT_EQ(button->geometry(), QRect(328 - 24, 50 - 24, 20, 20));
    EXPECT_EQ(button->Orientation(), boVertical);
    QWidget* down = button->DownButtonEx();
    QTest::mouseClick(down, Qt::LeftButton, {}, down->rect().center());
    EXPECT_EQ(Range(host.Tabs), "3-8");
    QWidget* up = button->UpButtonEx();
    QTest::mouseClick(up, Qt::LeftButton, {}, up->rect().center());
    EXPECT_EQ(Range(host.Tabs), "0-5");
}

TEST(TabSetScroll, TabStepsSetting) {
    THost host(QSize(328, 300));
    host.AddTabs(12);
    host.Tabs->SetTabSteps(-2);
    EXPECT_EQ(host.Tabs->TabSteps(), 2);
    EXPECT_TRUE(host.Tabs->ScrollButton()->isVisible());
    host.Tabs->ScrollDownClick();
    host.Tabs->SetTabSteps(0);
    EXPECT_FALSE(host.Tabs->ScrollButton()->isVisible());
    EXPECT_EQ(Range(host.Tabs), "0-11");
    EXPECT_EQ(host.Tabs->height(), 4 * 24 + 2);
    Wheel(host.Tabs, -120);
    host.Tabs->ScrollDownClick();
    host.Tabs->ScrollTo(11);
    EXPECT_EQ(Range(host.Tabs), "0-11");
}

TEST(TabSetScroll, ScrollToAndAddTab) {
    THost host(QSize(328, 300));
    host.AddTabs(12);
    host.Tabs->SetTabSteps(2);
    host.Tabs->ScrollTo(4); // row 1 is shown
    EXPECT_EQ(Range(host.Tabs), "0-5");
    host.Tabs->ScrollTo(10);
    EXPECT_EQ(Range(host.Tabs), "6-11"); // as far as the steps go
    host.Tabs->ScrollTo(0);
    EXPECT_EQ(Range(host.Tabs), "0-5");
    host.Tabs->AddTab("new"); // a new row 4, scrolled into view as the last shown row
    EXPECT_EQ(Range(host.Tabs), "9-12");
    EXPECT_EQ(host.Tabs->TabIndex(), 12);
}

TEST(TabSetScroll, BottomShowsItsLastLinesAgainAfterAChange) {
    THost host(QSize(328, 300), tpBottom);
    host.AddTabs(12);
    host.Tabs->SetTabSteps(2);
    host.Tabs->ScrollDownClick();
    host.Tabs->ScrollDownClick();
    EXPECT_EQ(Range(host.Tabs), "0-5");
    host.Window->resize(330, 310);
    EXPECT_EQ(host.Tabs->LastIndex(), 11);
    host.Tabs->ScrollDownClick();
    host.Tabs->CloseTab(0);
    EXPECT_EQ(host.Tabs->LastIndex(), 10);
}

TEST(TabSetMarkers, ArrowsOfTenByTen) {
    // Opaque pixels per row of the up arrow: a head widening by two, a shaft of six.
    const int widths[] = {2, 4, 6, 8, 10, 6, 6, 6, 6, 6};
    const QImage top = KvLoadPng(":/kv/TOPMARKER.png");
    const QImage bottom = KvLoadPng(":/kv/BOTTOMMARKER.png");
    const QImage left = KvLoadPng(":/kv/LEFTMARKER.png");
    const QImage right = KvLoadPng(":/kv/RIGHTMARKER.png");
    for (const QImage* m : {&top, &bottom, &left, &right})
        ASSERT_EQ(m->size(), QSize(10, 10));
    for (int y = 0; y < 10; ++y) {
        int opaque = 0;
        for (int x = 0; x < 10; ++x) {
            const int a = qAlpha(top.pixel(x, y));
            EXPECT_TRUE(a == 0 || a == 255);
            opaque += a == 255;
            EXPECT_EQ(bottom.pixel(x, 9 - y), top.pixel(x, y));
            EXPECT_EQ(left.pixel(y, x), top.pixel(x, y));
            EXPECT_EQ(right.pixel(9 - y, x), top.pixel(x, y));
        }
        EXPECT_EQ(opaque, widths[y]) << "row " << y;
    }
    // Dark outline, lighter fill toward the tip.
    EXPECT_EQ(QColor(top.pixel(4, 9)), QColor(0x57, 0x3B, 0x1D));
    EXPECT_LT(qGray(top.pixel(4, 8)), qGray(top.pixel(4, 2)));
}

TEST(TabSetScroll, ScrollButtonPlaceAndDirectionPerPosition) {
    struct Case {
        TTabPosition position;
        TButtonOrientation orientation;
        bool nearRight, nearBottom; // else 4 pixels from the left / top
    } cases[] = {
        {tpTop, boVertical, true, true},
        {tpBottom, boVertical, true, false},
        {tpLeft, boHorizontal, true, true},
        {tpRight, boHorizontal, false, true},
    };
    for (const auto& c : cases) {
        THost host(QSize(400, 300), c.position);
        host.AddTabs(30);
        host.Tabs->SetTabSteps(1);
        const TKvAlphaUpDownButton* b = host.Tabs->ScrollButton();
        const QSize s = host.Tabs->size();
        EXPECT_EQ(b->Orientation(), c.orientation) << c.position;
        EXPECT_EQ(b->pos(),
                  QPoint(c.nearRight ? s.width() - 24 : 4, c.nearBottom ? s.height() - 24 : 4))
            << c.position;
        EXPECT_TRUE(b->AlphaBlend());
        EXPECT_EQ(b->AlphaBlendValue(), 0);
    }
}

TEST(TabSetDrag, DeadZoneAroundThePress) {
    const int t = QApplication::startDragDistance();
    struct Case {
        QPoint offset;
        bool starts;
    } cases[] = {
        {{t, 0}, false},    {{-t, -t}, false},     {{0, t}, false},
        {{t + 1, 0}, true}, {{0, -(t + 1)}, true}, {{-(t + 1), 2}, true},
    };
    for (const auto& c : cases) {
        THost host(QSize(700, 200));
        host.AddTabs(3);
        const QPoint start = host.Centre(1);
        QTest::mouseMove(host.Tabs, start);
        QTest::mousePress(host.Tabs, Qt::LeftButton, {}, start);
        QTest::mouseMove(host.Tabs, start + c.offset);
        EXPECT_EQ(host.Tabs->IsDragActive(), c.starts) << c.offset.x() << "," << c.offset.y();
        QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, start + c.offset);
        EXPECT_FALSE(host.Tabs->IsDragActive());
    }
}
