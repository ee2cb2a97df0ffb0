#include "widgets/KvButtonPaint.h"
#include "widgets/KvEdit.h"
#include "widgets/KvPopupList.h"
#include "widgets/KvSpacer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

QImage Grab(QWidget* w, QColor under = Qt::magenta) {
    QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(under);
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

// Closes whatever popup opens next and reports whether one did.
struct PopupWatcher {
    bool Seen = false;
    void Arm() {
        QTimer::singleShot(0, [this] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                Seen = true;
                popup->close();
            }
        });
    }
};

} // namespace

TEST(EditFrameLayout, Table) {
    struct Case {
        const char* name;
        TEditFrameInput in;
        QRect line, top, bottom, left, right;
    } cases[] = {
        // Single border, 23 high, text 15: a = 2, H = 19, q = round(2) = 2.
        {"single centre",
         {100, 23, 15, 1, ebsSingle, kfsFlatNone, taVerticalCenter},
         QRect(2, 4, 96, 15),
         QRect(2, 2, 96, 2),
         QRect(2, 19, 96, 2),
         QRect(2, 4, 0, 15),
         QRect(98, 4, 0, 15)},
        // (19 - 14) / 2 = 2.5 goes to the even 2; (19 - 12) / 2 = 3.5 goes to 4.
        {"half to even down",
         {100, 23, 14, 1, ebsSingle, kfsFlatNone, taVerticalCenter},
         QRect(2, 4, 96, 14),
         QRect(2, 2, 96, 2),
         QRect(2, 18, 96, 3),
         QRect(2, 4, 0, 14),
         QRect(98, 4, 0, 14)},
        {"half to even up",
         {100, 23, 12, 1, ebsSingle, kfsFlatNone, taVerticalCenter},
         QRect(2, 6, 96, 12),
         QRect(2, 2, 96, 4),
         QRect(2, 18, 96, 3),
         QRect(2, 6, 0, 12),
         QRect(98, 6, 0, 12)},
        // No border, flat frame: one pixel of frame, two pixels in from the sides.
        {"flat top",
         {100, 23, 15, 1, ebsNone, kfsFlatNormal, taAlignTop},
         QRect(2, 1, 96, 15),
         QRect(0, 0, 100, 1),
         QRect(0, 16, 100, 7),
         QRect(0, 1, 2, 15),
         QRect(98, 1, 2, 15)},
        {"flat bottom",
         {100, 23, 15, 1, ebsNone, kfsFlatRounded, taAlignBottom},
         QRect(2, 7, 96, 15),
         QRect(0, 0, 100, 7),
         QRect(0, 22, 100, 1),
         QRect(0, 7, 2, 15),
         QRect(98, 7, 2, 15)},
        {"plain no border",
         {100, 23, 15, 1, ebsNone, kfsFlatNone, taAlignTop},
         QRect(1, 0, 98, 15),
         QRect(0, 0, 100, 0),
         QRect(0, 15, 100, 8),
         QRect(0, 0, 1, 15),
         QRect(99, 0, 1, 15)},
    };
    for (const Case& c : cases) {
        const TEditFrameLayout l = EditFrameLayout(c.in);
        EXPECT_EQ(l.TextLine, c.line) << c.name;
        EXPECT_EQ(l.TopRect, c.top) << c.name;
        EXPECT_EQ(l.BottomRect, c.bottom) << c.name;
        EXPECT_EQ(l.LeftRect, c.left) << c.name;
        EXPECT_EQ(l.RightRect, c.right) << c.name;
    }
}

TEST(EditFrameLayout, AutoHeight) {
    struct Case {
        TEditBorderStyle border;
        TKvFlatStyle flat;
        int height, text, expected;
    } cases[] = {
        {ebsSingle, kfsFlatNone, 23, 15, 23}, // fits
        {ebsSingle, kfsFlatNone, 16, 15, 19}, // 15 + 2 * 2
        {ebsNone, kfsFlatNormal, 10, 15, 17}, // 15 + 2 * 1
        {ebsNone, kfsFlatNone, 10, 15, 15},   {ebsNone, kfsFlatRounded, 17, 15, 17},
    };
    for (const Case& c : cases) {
        TEditFrameInput in;
        in.Height = c.height;
        in.TextHeight = c.text;
        in.BorderStyle = c.border;
        in.FlatStyle = c.flat;
        EXPECT_EQ(EditAutoHeight(in), c.expected) << c.height << " " << c.text;
    }
}

TEST(TKvEdit, DefaultsAndTextLineFollowTheFont) {
    TKvEdit e;
    EXPECT_EQ(e.height(), 23);
    EXPECT_EQ(e.VerticalAlignment(), taVerticalCenter);
    EXPECT_EQ(e.FlatStyle(), kfsFlatNone);
    EXPECT_EQ(e.BorderStyle(), ebsSingle);
    EXPECT_EQ(e.CornerRadius(), 2);
    EXPECT_FALSE(e.DefaultContextMenuEnabled());
    EXPECT_EQ(e.FlatBorderColor(), SysButtonShadow());
    const int tm = e.fontMetrics().height();
    ASSERT_LE(tm, 19);
    EXPECT_EQ(e.FrameLayout().TextLine.height(), tm);
    EXPECT_EQ(e.TopRect().height() + tm + e.BottomRect().height(), 19);

    e.SetBorderStyle(ebsNone);
    e.SetFlatStyle(kfsFlatNormal);
    e.SetVerticalAlignment(taAlignTop);
    EXPECT_EQ(e.FrameLayout().TextLine.topLeft(), QPoint(2, 1));
    EXPECT_EQ(e.textMargins().top(), 1);
    EXPECT_EQ(e.textMargins().left(), 2);
}

TEST(TKvEdit, GrowsWhenTheFontNoLongerFits) {
    TKvEdit e;
    QFont big = e.font();
    big.setPixelSize(40);
    e.setFont(big);
    const int tm = QFontMetrics(big).height();
    EXPECT_EQ(e.height(), tm + 4);
    EXPECT_EQ(e.FrameLayout().TextLine.height(), tm);
    QFont small = big;
    small.setPixelSize(8);
    e.setFont(small);
    EXPECT_EQ(e.height(), tm + 4); // never shrinks by itself
}

TEST(TKvEdit, KeepsItsHeightInALayout) {
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* e = new TKvEdit(&host);
    layout->addWidget(e);
    layout->addStretch();
    host.resize(200, 300);
    host.show();
    for (int i = 0; i < 5; ++i) {
        layout->invalidate();
        layout->activate();
        QApplication::processEvents();
    }
    EXPECT_EQ(e->height(), 23);
    EXPECT_EQ(e->FrameLayout().TextLine.height(), e->fontMetrics().height());
    EXPECT_LE(e->minimumSizeHint().height(), 23);
}

TEST(TKvEdit, BandsShowTheEditColourAndFlatFrames) {
    QWidget host;
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 0));
    host.setPalette(pal);
    TKvEdit e(&host);
    e.resize(80, 23);
    e.SetColor(QColor(255, 255, 200));
    host.resize(100, 40);
    host.show();

    QImage img = Grab(&e);
    const QRect top = e.TopRect();
    ASSERT_GT(top.height(), 0);
    EXPECT_EQ(img.pixelColor(40, top.top()), QColor(255, 255, 200));
    EXPECT_EQ(img.pixelColor(40, e.BottomRect().top()), QColor(255, 255, 200));
    EXPECT_EQ(img.pixelColor(0, 10).rgb(), SysButtonShadow().rgb()); // the single border

    e.SetBorderStyle(ebsNone);
    e.SetFlatStyle(kfsFlatNormal);
    e.SetFlatBorderColor(Qt::red);
    img = Grab(&e);
    for (QPoint p : {QPoint(0, 0), QPoint(79, 0), QPoint(79, 22), QPoint(0, 22), QPoint(40, 0)})
        EXPECT_EQ(img.pixelColor(p), QColor(Qt::red)) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixelColor(40, 1), QColor(255, 255, 200));

    e.SetFlatStyle(kfsFlatRounded);
    e.SetCornerRadius(4);
    img = Grab(&e);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(0, 128, 0)); // the parent shows at the corner
    EXPECT_EQ(img.pixelColor(40, 0).red(), 255);        // the top edge is the frame
    EXPECT_LT(img.pixelColor(40, 0).green(), 60);
    EXPECT_EQ(img.pixelColor(40, 2), QColor(255, 255, 200));
}

TEST(TKvEdit, ContextMenuOnlyWhenAskedFor) {
    TKvEdit e;
    e.show();
    QApplication::setActiveWindow(&e);
    PopupWatcher w;
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5), e.mapToGlobal(QPoint(5, 5)));

    w.Arm();
    QApplication::sendEvent(&e, &ev);
    QTest::qWait(20);
    EXPECT_FALSE(w.Seen);

    e.SetDefaultContextMenuEnabled(true);
    w.Arm();
    QApplication::sendEvent(&e, &ev);
    QTRY_VERIFY_WITH_TIMEOUT(w.Seen, 5000);

    QMenu own;
    own.addAction("Own");
    bool ownShown = false;
    QObject::connect(&own, &QMenu::aboutToShow, [&] { ownShown = true; });
    e.SetPopupMenu(&own);
    w = PopupWatcher();
    w.Arm();
    QApplication::sendEvent(&e, &ev);
    EXPECT_TRUE(ownShown);
}

TEST(TKvEdit, DoubleClickAndNumbersOnly) {
    TKvEdit e;
    e.show();
    int dbl = 0;
    e.SetOnDblClick([&](QObject* s) { dbl += s == &e ? 1 : 100; });
    QTest::mouseDClick(&e, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(dbl, 1);
    e.SetNumbersOnly(true);
    e.setFocus();
    QTest::keyClicks(&e, "a1b2");
    EXPECT_EQ(e.text(), "12");
}

TEST(TKvEdit, TextHintOnlyWhileNotFocused) {
    QWidget host;
    auto* e = new TKvEdit(&host);
    auto* other = new QLineEdit(&host);
    other->move(0, 40);
    host.show();
    QApplication::setActiveWindow(&host);
    e->SetTextHint(QStringLiteral("ここに入力"));
    other->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(other->hasFocus(), 5000);
    EXPECT_EQ(e->placeholderText(), QStringLiteral("ここに入力"));
    e->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(e->hasFocus(), 5000);
    EXPECT_TRUE(e->placeholderText().isEmpty());
    EXPECT_EQ(e->TextHint(), QStringLiteral("ここに入力"));
    other->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(other->hasFocus(), 5000);
    EXPECT_EQ(e->placeholderText(), QStringLiteral("ここに入力"));
}

TEST(TKvEdit, EnterAndExitAreRealFocusMovesBetweenControls) {
    QWidget host;
    auto* e = new TKvEdit(&host);
    auto* other = new QLineEdit(&host);
    other->move(0, 40);
    QStringList events;
    e->SetOnEnter([&](QObject* s) { events << (s == e ? "enter" : "?"); });
    e->SetOnExit([&](QObject* s) { events << (s == e ? "exit" : "?"); });
    host.show();
    QApplication::setActiveWindow(&host);
    other->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(other->hasFocus(), 5000);
    events.clear();
    e->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(events, QStringList{"enter"});
    // Return is not leaving (editingFinished would fire here).
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(events, QStringList{"enter"});
    struct {
        Qt::FocusReason reason;
        bool counts;
    } cases[] = {{Qt::PopupFocusReason, false},
                 {Qt::ActiveWindowFocusReason, false},
                 {Qt::MouseFocusReason, true},
                 {Qt::TabFocusReason, true}};
    for (const auto& c : cases) {
        events.clear();
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(e, &out);
        QFocusEvent in(QEvent::FocusIn, c.reason);
        QApplication::sendEvent(e, &in);
        SCOPED_TRACE(int(c.reason));
        EXPECT_EQ(events, c.counts ? QStringList({"exit", "enter"}) : QStringList());
    }
    events.clear();
    other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(events, QStringList{"exit"});
}

TEST(TKvEdit, MouseMoveIsReportedWithoutAButton) {
    TKvEdit e;
    e.show();
    QPoint seen(-1, -1);
    Qt::KeyboardModifiers mods;
    e.SetOnMouseMove([&](QObject*, Qt::KeyboardModifiers m, int x, int y) {
        seen = QPoint(x, y);
        mods = m;
    });
    EXPECT_TRUE(e.hasMouseTracking());
    QMouseEvent move(QEvent::MouseMove, QPointF(7, 9), e.mapToGlobal(QPointF(7, 9)), Qt::NoButton,
                     Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(&e, &move);
    EXPECT_EQ(seen, QPoint(7, 9));
    EXPECT_EQ(mods, Qt::ShiftModifier);
}

TEST(TKvEdit, SwitchingTheInputMethodOffLeavesItUsable) {
    QWidget host;
    auto* e = new TKvEdit(&host);
    host.show();
    QApplication::setActiveWindow(&host);
    e->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(e->hasFocus(), 5000);
    QInputMethodEvent compose(QStringLiteral("にほ"), {});
    QApplication::sendEvent(e, &compose);
    KvSwitchInputMethodOff(&host);
    EXPECT_TRUE(e->testAttribute(Qt::WA_InputMethodEnabled));
    KvSwitchInputMethodOff(nullptr); // nothing to switch off
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本"));
    QApplication::sendEvent(e, &commit);
    EXPECT_EQ(e->text(), QStringLiteral("日本"));
}

TEST(SpacerLines, Table) {
    struct Case {
        QSize size;
        TLineShape shape;
        TLineDirection dir;
        std::vector<QLine> lines;
    } cases[] = {
        {{10, 166}, lsSingle, ldVertical, {QLine(4, 2, 4, 163)}},
        {{346, 5}, lsSingle, ldHorizontal, {QLine(2, 1, 343, 1)}},
        {{346, 5}, lsDouble, ldHorizontal, {QLine(2, 1, 343, 1), QLine(2, 2, 343, 2)}},
        {{10, 166}, lsDouble, ldVertical, {QLine(4, 2, 4, 163), QLine(5, 2, 5, 163)}},
        {{50, 50}, lsNone, ldVertical, {}},
    };
    for (const Case& c : cases) {
        const auto got = SpacerLines(c.size, c.shape, c.dir);
        ASSERT_EQ(got.size(), c.lines.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Line, c.lines[i]);
            EXPECT_EQ(got[i].TopLeft, i == 0);
        }
    }
}

TEST(TKvSpacer, DrawsItsLinesAndNothingElse) {
    TKvSpacer s;
    EXPECT_EQ(s.size(), QSize(50, 50));
    EXPECT_EQ(s.LineShape(), lsNone);
    EXPECT_EQ(s.LineDirection(), ldVertical);
    s.resize(10, 166);
    QImage img = Grab(&s, Qt::white);
    EXPECT_EQ(img, [&] {
        QImage blank(img.size(), img.format());
        blank.fill(Qt::white);
        return blank;
    }());

    s.SetLineShape(lsSingle);
    s.SetTopLeftLineColor(Qt::blue);
    img = Grab(&s, Qt::white);
    for (int y = 0; y < 166; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool onLine = x == 4 && y >= 2 && y <= 163;
            ASSERT_EQ(img.pixelColor(x, y), onLine ? QColor(Qt::blue) : QColor(Qt::white))
                << x << "," << y;
        }

    int calls = 0;
    s.SetCustomDrawing(true);
    s.SetOnCustomDrawSpacer([&](QObject* sender, QPainter& p) {
        calls += sender == &s;
        p.fillRect(0, 0, 1, 1, Qt::red);
    });
    img = Grab(&s, Qt::white);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(4, 10), QColor(Qt::white)); // no lines then
}

TEST(TKvPopupList, EveryListedMenuHearsOfAClose) {
    TKvPopupList list;
    auto a = std::make_unique<QMenu>();
    auto b = std::make_unique<QMenu>();
    QStringList log;
    list.Add(a.get(), [&](QMenu* m) { log << (m == a.get() ? "a closed->a" : "b closed->a"); });
    list.Add(b.get(), [&](QMenu* m) { log << (m == a.get() ? "a closed->b" : "b closed->b"); });
    list.Add(b.get(), [&](QMenu*) { log << "duplicate"; });
    EXPECT_EQ(list.Count(), 2);
    a->addAction("x");
    a->popup(QPoint(0, 0));
    a->hide();
    EXPECT_EQ(log, QStringList({"a closed->a", "a closed->b"}));
    b.reset(); // a destroyed menu leaves the list
    EXPECT_EQ(list.Count(), 1);
    list.Remove(a.get());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_NE(KvPopupList(), nullptr);
    EXPECT_EQ(KvPopupList(), KvPopupList());
}
