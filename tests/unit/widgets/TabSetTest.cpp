#include "TabSetTestUtil.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using namespace tabsettest;

namespace {

// Records the selection events as "before", "<index>+" and "<index>-".
struct TEventLog {
    std::string Text;
    void Attach(TKvTabSet* tabs) {
        tabs->SetOnTabBeforeSelect([this](TKvTabSet*, bool&) { Add("before"); });
        tabs->SetOnTabSelected([this](TKvTabSet*, TKvTab* tab, bool selected) {
            Add(std::to_string(tab->Index()) + (selected ? "+" : "-"));
        });
    }
    void Add(const std::string& s) { Text += (Text.empty() ? "" : ",") + s; }
};

void Wheel(QWidget* w, int dy) {
    const QPointF at(5, 5);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    EXPECT_TRUE(e.isAccepted());
}

} // namespace

TEST(TabSet, SelectionEventOrder) {
    struct Case {
        const char* name;
        int start; // TabIndex before the action
        std::function<void(THost&)> action;
        std::string events;
        int tabIndex;
        int selected = -2; // the selected tab, when it differs from TabIndex
    } cases[] = {
        {"select B while A", 0, [](THost& h) { h.Tabs->SetTabIndex(1); }, "0-,1+", 1},
        {"same index again", 1, [](THost& h) { h.Tabs->SetTabIndex(1); }, "", 1},
        {"deselect all", 1, [](THost& h) { h.Tabs->SetTabIndex(-1); }, "1-", -1},
        {"press selects", 0,
         [](THost& h) { QTest::mousePress(h.Tabs, Qt::LeftButton, {}, h.Centre(2)); },
         "before,0-,2+", 2},
        {"press vetoed", 0,
         [](THost& h) {
             h.Tabs->SetOnTabBeforeSelect([](TKvTabSet*, bool& allow) { allow = false; });
             QTest::mousePress(h.Tabs, Qt::LeftButton, {}, h.Centre(2));
         },
         "", 0},
        {"press with Ctrl ignored", 0,
         [](THost& h) {
             QTest::mousePress(h.Tabs, Qt::LeftButton, Qt::ControlModifier, h.Centre(2));
         },
         "", 0},
        {"right button ignored", 0,
         [](THost& h) { QTest::mousePress(h.Tabs, Qt::RightButton, {}, h.Centre(2)); }, "", 0},
        {"next wraps forward", 2, [](THost& h) { h.Tabs->SelectNextTab(true); }, "2-,0+", 0},
        {"previous from none", -1, [](THost& h) { h.Tabs->SelectNextTab(false); }, "2+", 2},
        {"tab deselected among three", 0, [](THost& h) { h.Tabs->Tabs()[0]->SetSelected(false); },
         "0-", 0, -1},
    };
    for (const auto& c : cases) {
        THost host;
        host.AddTabs(3);
        host.Tabs->SetTabIndex(c.start);
        TEventLog log;
        log.Attach(host.Tabs);
        c.action(host);
        EXPECT_EQ(log.Text, c.events) << c.name;
        EXPECT_EQ(host.Tabs->TabIndex(), c.tabIndex) << c.name;
        const int selected = c.selected == -2 ? c.tabIndex : c.selected;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(host.Tabs->Tabs()[i]->Selected(), i == selected) << c.name << " tab " << i;
    }
}

TEST(TabSet, SelectionStampsTimeAndGlyphState) {
    THost host;
    host.AddTabs(2);
    TKvTab* t0 = host.Tabs->Tabs()[0];
    EXPECT_FALSE(t0->SelectedTime().isValid());
    host.Tabs->SetTabIndex(0);
    EXPECT_TRUE(t0->SelectedTime().isValid());
    EXPECT_EQ(t0->GlyphState(), gsActive);
    host.Tabs->SetTabIndex(1);
    EXPECT_EQ(t0->GlyphState(), gsInactive);
    EXPECT_EQ(host.Tabs->GetLastSelectedIndex(), 1);
}

TEST(TabSet, DeselectingTheOnlyTabClearsTabIndex) {
    THost host;
    host.Tabs->AddTab("only");
    ASSERT_EQ(host.Tabs->TabIndex(), 0);
    host.Tabs->Tabs()[0]->SetSelected(false);
    EXPECT_EQ(host.Tabs->TabIndex(), -1);
}

TEST(TabSet, TabIndexOutOfRange) {
    struct Case {
        int count, value;
        bool throws;
        int result;
    } cases[] = {
        {3, 3, true, 1},    {3, -2, true, 1},  {3, 2, false, 2},
        {3, -1, false, -1}, {0, 5, false, -1}, // no tabs: anything gives -1
        {0, -7, false, -1},
    };
    for (const auto& c : cases) {
        THost host;
        host.AddTabs(c.count);
        if (c.count > 0)
            host.Tabs->SetTabIndex(1);
        if (c.throws) {
            try {
                host.Tabs->SetTabIndex(c.value);
                ADD_FAILURE() << "no error for " << c.value;
            } catch (const ETabIndexError& e) {
                EXPECT_STREQ(e.what(), "タブインデックスが範囲を超えています");
            }
        } else {
            host.Tabs->SetTabIndex(c.value);
        }
        EXPECT_EQ(host.Tabs->TabIndex(), c.result) << c.value;
        if (c.count > 0) {
            EXPECT_EQ(host.Tabs->GetSelectedIndex(), c.result) << c.value;
        }
    }
}

TEST(TabSet, RemoveTabChoosesTheNextTab) {
    struct Case {
        const char* name;
        std::vector<int> history; // selected in this order; the last stays selected
        int removed;
        TNextFocus rule;
        std::string selected; // caption of the tab selected afterwards
        std::string events;
    } cases[] = {
        {"forward: the tab that took its place", {0, 3, 1}, 1, nfForward, "t2", "1+"},
        {"forward from the last: the new last", {4}, 4, nfForward, "t3", "3+"},
        {"backward: the tab before", {0, 3, 2}, 2, nfBackward, "t1", "1+"},
        {"backward from tab 0 stays 0", {0}, 0, nfBackward, "t1", "0+"},
        {"last selected", {3, 0, 4, 2}, 2, nfLastSelected, "t4", "3+"},
        {"last selected, none before", {2}, 2, nfLastSelected, "t0", "0+"},
        {"unselected tab: selection stays", {2, 3}, 1, nfForward, "t3", ""},
    };
    for (const auto& c : cases) {
        THost host;
        host.AddTabs(5);
        for (int i : c.history)
            host.Tabs->SetTabIndex(i);
        TKvTab* victim = host.Tabs->Tabs()[c.removed];
        int closing = 0;
        host.Tabs->SetOnTabClosing([&](TKvTabSet*, TKvTab* tab, TNextFocus& next) {
            EXPECT_EQ(tab, victim);
            EXPECT_EQ(next, nfLastSelected);
            next = c.rule;
            ++closing;
        });
        TEventLog log;
        log.Attach(host.Tabs);
        EXPECT_EQ(host.Tabs->RemoveTab(victim), c.removed) << c.name;
        EXPECT_EQ(closing, 1) << c.name;
        EXPECT_EQ(host.Tabs->Tabs().Count(), 4);
        ASSERT_GE(host.Tabs->TabIndex(), 0) << c.name;
        EXPECT_EQ(host.Tabs->Tabs()[host.Tabs->TabIndex()]->Caption().toStdString(), c.selected)
            << c.name;
        EXPECT_EQ(host.Tabs->GetSelectedIndex(), host.Tabs->TabIndex()) << c.name;
        EXPECT_EQ(log.Text, c.events) << c.name;
    }
}

TEST(TabSet, RemoveTabOfAnotherSetDoesNothing) {
    THost host, other;
    host.AddTabs(2);
    other.AddTabs(1);
    int events = 0;
    host.Tabs->SetOnTabClosing([&](TKvTabSet*, TKvTab*, TNextFocus&) { ++events; });
    EXPECT_EQ(host.Tabs->RemoveTab(other.Tabs->Tabs()[0]), -1);
    EXPECT_EQ(host.Tabs->RemoveTab(nullptr), -1);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(host.Tabs->Tabs().Count(), 2);
}

TEST(TabSet, RemovingTheLastTabLeavesNothingSelected) {
    THost host;
    TKvTab* only = host.Tabs->AddTab("only");
    EXPECT_EQ(host.Tabs->RemoveTab(only), 0);
    EXPECT_EQ(host.Tabs->TabIndex(), -1);
    EXPECT_EQ(host.Tabs->FirstIndex(), -1);
    EXPECT_EQ(host.Tabs->LastIndex(), -1);
}

TEST(TabSet, AddTabSelectsUnlessTheHandlerSaysNo) {
    THost host;
    TKvTab* a = host.Tabs->AddTab("a");
    EXPECT_TRUE(a->Selected());
    host.Tabs->SetOnTabAdding([](TKvTabSet*, TKvTab* tab, bool& as) {
        EXPECT_EQ(tab->Caption(), "b"); // the caption is set before the event
        as = false;
    });
    TKvTab* b = host.Tabs->AddTab("b");
    EXPECT_FALSE(b->Selected());
    EXPECT_EQ(host.Tabs->TabIndex(), 0);
    EXPECT_EQ(host.Tabs->LastIndex(), 1);
}

TEST(TabSet, DocksToItsEdgeAndSizesForItsLines) {
    struct Case {
        TTabPosition position;
        int tabs;
        QRect geometry; // in a 400 x 300 host
    } cases[] = {
        {tpTop, 0, QRect(0, 0, 400, 26)}, // no tabs: one line
        {tpTop, 5, QRect(0, 0, 400, 50)}, // 4 per row: two rows
        {tpBottom, 5, QRect(0, 250, 400, 50)},
        {tpLeft, 13, QRect(0, 0, 202, 300)}, // 12 per column
        {tpRight, 13, QRect(198, 0, 202, 300)},
    };
    for (const auto& c : cases) {
        THost host(QSize(400, 300), c.position);
        host.AddTabs(c.tabs);
        EXPECT_EQ(host.Tabs->geometry(), c.geometry) << c.position;
    }
}

TEST(TabSet, FollowsItsOwnerWhenTheOwnerResizes) {
    THost host(QSize(400, 300), tpBottom);
    host.AddTabs(2);
    host.Window->resize(500, 200);
    EXPECT_EQ(host.Tabs->geometry(), QRect(0, 174, 500, 26));
    host.Tabs->TabOptions().SetTabPosition(tpRight);
    host.Window->resize(450, 220);
    EXPECT_EQ(host.Tabs->geometry(), QRect(348, 0, 102, 220));
}

TEST(TabSet, OptionsDialogLayout) {
    THost host(QSize(600, 400), tpLeft);
    host.Tabs->TabOptions().SetTabWidth(130);
    host.Tabs->TabOptions().SetTabHeight(28);
    host.AddTabs(6);
    EXPECT_EQ(host.Tabs->width(), 132);
    EXPECT_EQ(host.Tabs->GetTabRect(5), QRect(2, 140, 130, 28));
    EXPECT_EQ(host.Tabs->IndexOfTabAt(3, 28 * 3 + 1), 3);
}

TEST(TabSet, GlyphActsAsAButton) {
    THost host;
    host.AddTabs(2);
    host.Tabs->SetTabIndex(0);
    host.Tabs->SetGlyphInactive(SolidPng({8, 8}, Qt::blue));
    host.Tabs->SetGlyphHot(SolidPng({8, 8}, Qt::green));
    host.Tabs->SetGlyphDown(SolidPng({8, 8}, Qt::red));
    host.Tabs->SetGlyphActive(SolidPng({8, 8}, Qt::yellow));
    std::vector<int> clicks;
    host.Tabs->SetOnGlyphClick([&](TKvTabSet*, int i) { clicks.push_back(i); });
    const QRect glyph = host.Tabs->GetGlyphRect(1);
    EXPECT_EQ(glyph, QRect(188, 10, 8, 8)); // right margin 4, centred in 24
    TKvTab* t1 = host.Tabs->Tabs()[1];

    QTest::mouseMove(host.Tabs, glyph.center());
    EXPECT_EQ(t1->GlyphState(), gsHot);
    EXPECT_TRUE(Near(host.Tabs->Render().pixelColor(glyph.center()), Qt::green));
    QTest::mousePress(host.Tabs, Qt::LeftButton, {}, glyph.center());
    EXPECT_EQ(t1->GlyphState(), gsDown);
    EXPECT_TRUE(Near(host.Tabs->Render().pixelColor(glyph.center()), Qt::red));
    EXPECT_FALSE(t1->Selected()); // a press on the glyph does not select
    QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, glyph.center());
    EXPECT_EQ(clicks, std::vector<int>{1});
    EXPECT_EQ(t1->GlyphState(), gsHot);

    // Released away from the glyph: no click.
    QTest::mousePress(host.Tabs, Qt::LeftButton, {}, glyph.center());
    QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, host.Centre(1) - QPoint(30, 0));
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(t1->GlyphState(), gsInactive);

    // The selected tab's glyph rests active.
    EXPECT_TRUE(
        Near(host.Tabs->Render().pixelColor(host.Tabs->GetGlyphRect(0).center()), Qt::yellow));
    // Leaving the tab set puts a lit glyph out.
    QTest::mouseMove(host.Tabs, glyph.center());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(host.Tabs, &leave);
    EXPECT_EQ(t1->GlyphState(), gsInactive);
    EXPECT_EQ(host.Tabs->HotIndex(), -1);
}

TEST(TabSet, GlyphClickMayCloseItsTab) {
    THost host;
    host.AddTabs(3);
    host.Tabs->SetTabIndex(1);
    host.Tabs->SetGlyphInactive(SolidPng({8, 8}, Qt::blue));
    host.Tabs->SetOnGlyphClick([](TKvTabSet* s, int i) { s->CloseTab(i); });
    const QPoint g = host.Tabs->GetGlyphRect(2).center();
    QTest::mousePress(host.Tabs, Qt::LeftButton, {}, g);
    QTest::mouseRelease(host.Tabs, Qt::LeftButton, {}, g);
    EXPECT_EQ(host.Captions(), "t0,t1");
    EXPECT_EQ(host.Tabs->ClosedTabList().Count(), 1);
    QTest::mouseMove(host.Tabs, g); // no tab there any more
    EXPECT_EQ(host.Tabs->HotIndex(), -1);
}

TEST(TabSet, TakesFocusOnClickButIgnoresArrowKeys) {
    THost host;
    host.AddTabs(3);
    host.Tabs->SetTabIndex(0);
    host.Window->activateWindow();
    QTest::mouseClick(host.Tabs, Qt::LeftButton, {}, host.Centre(1));
    EXPECT_TRUE(host.Tabs->hasFocus());
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Down, Qt::Key_Up, Qt::Key_Home})
        QTest::keyClick(host.Tabs, key);
    EXPECT_EQ(host.Tabs->TabIndex(), 1);
}

TEST(TabSet, FocusRectangleOnTheSelectedTab) {
    THost host;
    host.AddTabs(2);
    host.Tabs->SetTabIndex(0);
    host.Window->activateWindow();
    host.Tabs->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(host.Tabs->hasFocus(), 5000);
    const QRect r = host.Tabs->GetTabRect(0).adjusted(2, 3, -2, -3);
    auto dotsOnTopEdge = [&](const QImage& img) {
        int dark = 0;
        for (int x = r.left() + 4; x < r.right() - 4; ++x)
            dark += qGray(img.pixel(x, r.top())) < 60;
        return dark;
    };
    const int focused = dotsOnTopEdge(host.Tabs->Render());
    EXPECT_GT(focused, 20); // every other pixel of the line
    host.Tabs->SetShowFocus(false);
    EXPECT_EQ(dotsOnTopEdge(host.Tabs->Render()), 0);
}

TEST(TabSet, WheelIsHandledButScrollsOnlyWithTabSteps) {
    THost host(QSize(328, 300));
    host.AddTabs(12);
    Wheel(host.Tabs, -120);
    EXPECT_EQ(host.Tabs->FirstIndex(), 0);
    EXPECT_EQ(host.Tabs->LastIndex(), 11);
}

TEST(TabSet, CaptionsAreFittedWithAnEllipsis) {
    THost host;
    host.AddTabs(1);
    TKvTab* tab = host.Tabs->Tabs()[0];
    const QFontMetrics fm(host.Tabs->font());
    const int room = 100 - 4 - 4;
    tab->SetCaption("Short");
    EXPECT_EQ(host.Tabs->FittedCaption(0), "Short");
    tab->SetCaption("A caption far too long for one hundred pixels");
    const QString fitted = host.Tabs->FittedCaption(0);
    EXPECT_TRUE(fitted.endsWith("...")) << fitted.toStdString();
    EXPECT_LE(fm.horizontalAdvance(fitted), room);
    tab->SetCaption("日本語の見出しがとても長い場合");
    EXPECT_LE(fm.horizontalAdvance(host.Tabs->FittedCaption(0)), room);
    // A glyph narrows the room by its width and 4 more pixels.
    host.Tabs->SetGlyphInactive(SolidPng({40, 8}, Qt::blue));
    EXPECT_LE(fm.horizontalAdvance(host.Tabs->FittedCaption(0)), room - 44);
    // Not even one character fits: nothing is drawn.
    host.Tabs->TabOptions().SetTabWidth(52);
    EXPECT_EQ(host.Tabs->FittedCaption(0), "");
}

TEST(TabSet, ModifiedCaptionInModifiedFontColor) {
    THost host;
    host.AddTabs(2);
    host.Tabs->SetTabIndex(0);
    host.Tabs->Tabs()[1]->SetCaption("MMMM");
    host.Tabs->Tabs()[1]->SetModified(true);
    host.Tabs->TabOptions().SetModifiedFontColor(QColor(0, 0, 255));
    auto hasColour = [&](const QImage& img, int tab, QColor want) {
        const QRect r = host.Tabs->GetTabRect(tab);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (Near(img.pixelColor(x, y), want, 40))
                    return true;
        return false;
    };
    const QImage img = host.Tabs->Render();
    EXPECT_TRUE(hasColour(img, 1, QColor(0, 0, 255)));
    host.Tabs->Tabs()[1]->SetModified(false);
    EXPECT_FALSE(hasColour(host.Tabs->Render(), 1, QColor(0, 0, 255)));
}

TEST(TabSet, SelectedTabOpensIntoThePage) {
    // The open side: the edge line and the line next to it, per position.
    struct Case {
        TTabPosition position;
        bool closeFigure;
    } cases[] = {{tpTop, true},  {tpBottom, true},  {tpLeft, true},  {tpRight, true},
                 {tpTop, false}, {tpBottom, false}, {tpLeft, false}, {tpRight, false}};
    const QColor border(0x96, 0x96, 0x96);
    for (const auto& c : cases) {
        THost host(QSize(400, 300), c.position);
        host.AddTabs(3);
        host.Tabs->SetTabIndex(1);
        host.Tabs->TabOptions().SetTabCloseFigure(c.closeFigure);
        const QImage img = host.Tabs->Render();
        auto edgeLine = [&](int tab, int step) { // step 0: edge, 1: the line inside it
            const QRect r = host.Tabs->GetTabRect(tab);
            std::vector<QRgb> line;
            const bool across = c.position == tpTop || c.position == tpBottom;
            for (int t = 0; t < (across ? r.width() : r.height()); ++t) {
                QPoint p;
                switch (c.position) {
                case tpTop:
                    p = {r.left() + t, r.bottom() - step};
                    break;
                case tpBottom:
                    p = {r.left() + t, r.top() + step};
                    break;
                case tpLeft:
                    p = {r.right() - step, r.top() + t};
                    break;
                case tpRight:
                    p = {r.left() + step, r.top() + t};
                    break;
                }
                line.push_back(img.pixel(p));
            }
            return line;
        };
        // Selected: the edge repeats the line next to it, and has no border.
        EXPECT_EQ(edgeLine(1, 0), edgeLine(1, 1)) << c.position;
        const auto selectedEdge = edgeLine(1, 0);
        EXPECT_FALSE(Near(QColor(selectedEdge[selectedEdge.size() / 2]), border)) << c.position;
        EXPECT_TRUE(Near(QColor(selectedEdge[0]), border)) << c.position; // side lines run on
        // Inactive: a border line only when the figure is closed.
        const auto inactiveEdge = edgeLine(0, 0);
        EXPECT_EQ(Near(QColor(inactiveEdge[inactiveEdge.size() / 2]), border), c.closeFigure)
            << c.position << " close " << c.closeFigure;
    }
}

TEST(TabSet, TransparentStyleShowsTheBarThroughInactiveTabs) {
    THost host;
    host.AddTabs(2);
    host.Tabs->SetTabIndex(0);
    host.Tabs->TabOptions().SetBarColors(QColor(0, 128, 0), QColor(0, 128, 0));
    host.Tabs->TabOptions().SetTabDrawingStyle(tdsGradientTransparent);
    const QImage img = host.Tabs->Render();
    const QPoint inside = host.Tabs->GetTabRect(1).topLeft() + QPoint(50, 6);
    EXPECT_TRUE(Near(img.pixelColor(inside), QColor(0, 128, 0)));
    const QPoint selected = host.Tabs->GetTabRect(0).topLeft() + QPoint(50, 6);
    EXPECT_FALSE(Near(img.pixelColor(selected), QColor(0, 128, 0)));
}

TEST(TabSet, AdjustDefaultColorsGivesTheFlatGreys) {
    TTabOptions options;
    options.SetTabColors(Qt::red, Qt::red, Qt::red, Qt::red, Qt::red, Qt::red, Qt::red);
    options.SetBarColors(Qt::red, Qt::red);
    options.AdjustDefaultColors();
    EXPECT_EQ(options.BarStartColor(), QColor(0xB0, 0xB0, 0xB0));
    EXPECT_EQ(options.BarEndColor(), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(options.BorderColor(), QColor(0x96, 0x96, 0x96));
    EXPECT_EQ(options.ActiveStartColor(), QColor(0xEC, 0xEC, 0xEC));
    EXPECT_EQ(options.HotEndColor(), QColor(0xC4, 0xC4, 0xC4));
    TTabOptions copy;
    options.SetTabWidth(77);
    options.SetTabPosition(tpRight);
    copy.Assign(options);
    EXPECT_EQ(copy.TabWidth(), 77);
    EXPECT_EQ(copy.TabPosition(), tpRight);
    EXPECT_EQ(copy.HotEndColor(), options.HotEndColor());
}

TEST(TabSet, UpdateBracketNests) {
    THost host;
    host.Tabs->BeginUpdate();
    host.Tabs->BeginUpdate();
    host.Tabs->EndUpdate();
    EXPECT_FALSE(host.Tabs->updatesEnabled());
    host.Tabs->EndUpdate();
    EXPECT_TRUE(host.Tabs->updatesEnabled());
    host.Tabs->EndUpdate(); // an extra end is harmless
    EXPECT_TRUE(host.Tabs->updatesEnabled());
}

TEST(TabSet, HintShowsTheCaptionOfTheTabUnderThePointer) {
    THost host;
    host.AddTabs(2);
    host.Tabs->Tabs()[1]->SetCaption("Second tab");
    const QPoint p = host.Centre(1);
    QHelpEvent help(QEvent::ToolTip, p, host.Tabs->mapToGlobal(p));
    QApplication::sendEvent(host.Tabs, &help);
    QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), QString("Second tab"), 5000);
    QToolTip::hideText();
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 5000);
    // Asked again within two pixels of the last hint: no new hint.
    QHelpEvent again(QEvent::ToolTip, p + QPoint(1, 1), host.Tabs->mapToGlobal(p));
    QApplication::sendEvent(host.Tabs, &again);
    EXPECT_FALSE(QToolTip::isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 5000);
    const QPoint bar(390, 10); // right of the last tab: no hint
    QHelpEvent none(QEvent::ToolTip, bar, host.Tabs->mapToGlobal(bar));
    QApplication::sendEvent(host.Tabs, &none);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST(TabSet, ImagesAndAdditionalDrawingHooks) {
    THost host;
    host.AddTabs(2);
    host.Tabs->SetTabIndex(1);
    QImage red(16, 16, QImage::Format_ARGB32_Premultiplied);
    red.fill(Qt::red);
    host.Tabs->SetImages({red});
    host.Tabs->Tabs()[0]->SetImageIndex(0);
    host.Tabs->Tabs()[1]->SetImageIndex(5); // no such image: nothing drawn
    std::vector<std::string> calls;
    host.Tabs->SetOnAdditionalDrawBar([&](TKvTabSet*, QPainter&, const QRect& r) {
        EXPECT_EQ(r, host.Tabs->rect());
        calls.push_back("bar");
    });
    auto tabHook = [&](const char* what) {
        return [&calls, &host, what](TKvTabSet*, QPainter&, int i, const QRect& r, bool active,
                                     bool hot) {
            EXPECT_EQ(r, host.Tabs->GetTabRect(i));
            EXPECT_EQ(active, i == 1);
            EXPECT_FALSE(hot);
            calls.push_back(what + std::to_string(i));
        };
    };
    host.Tabs->SetOnAdditionalDrawBefore(tabHook("before"));
    host.Tabs->SetOnAdditionalDrawAfter(tabHook("after"));
    const QImage img = host.Tabs->Render();
    EXPECT_EQ(calls, (std::vector<std::string>{"bar", "before0", "after0", "before1", "after1"}));
    // The image sits after the left margin, centred in the tab's height.
    const QRect r0 = host.Tabs->GetTabRect(0);
    EXPECT_EQ(QColor(img.pixel(r0.left() + 4, r0.top() + 4)), QColor(Qt::red));
    EXPECT_EQ(QColor(img.pixel(r0.left() + 19, r0.top() + 19)), QColor(Qt::red));
    EXPECT_NE(QColor(img.pixel(r0.left() + 20, r0.top() + 12)), QColor(Qt::red));
    const QRect r1 = host.Tabs->GetTabRect(1);
    EXPECT_NE(QColor(img.pixel(r1.left() + 10, r1.top() + 12)), QColor(Qt::red));
}
