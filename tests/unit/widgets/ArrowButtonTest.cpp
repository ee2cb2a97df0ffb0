#include "widgets/KvAlphaUpDownButton.h"
#include "widgets/KvButtonPaint.h"
#include "widgets/KvUpDownButton.h"

#include <QCursor>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace velmora;

namespace {

// Short delays keep the tests quick; the assertions count clicks, never time.
constexpr TRepeatDelays kFast{20, 5};
constexpr TRepeatDelays kNever{60 * 60 * 1000, 60 * 60 * 1000};

QImage Grab(QWidget* w) {
    QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::magenta);
    w->render(&img);
    return img;
}

bool Near(QColor a, QColor b, int tol = 8) {
    return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol &&
           std::abs(a.blue() - b.blue()) <= tol;
}

struct ClickLog {
    int Count = 0;
    void Attach(TKvTimerButton& b) {
        b.SetOnClick([this](QObject*) { ++Count; });
    }
};

// A shown button with the given repeat delays, its clicks counted.
struct CountedButton {
    TKvTimerButton Button;
    ClickLog Log;
    explicit CountedButton(TRepeatDelays delays) {
        Button.SetRepeatDelays(delays);
        Button.show();
        Log.Attach(Button);
    }
};

} // namespace

TEST(ArrowGeometry, ArrowRectTable) {
    struct Case {
        QSize client;
        int aw, ah;
        TArrowGlyph glyph;
        bool pressed;
        QRect expected;
    } cases[] = {
        {{10, 10}, 6, 3, agUp, false, QRect(2, 3, 6, 3)},
        {{10, 10}, 6, 3, agDown, false, QRect(2, 4, 6, 3)}, // odd spare rows lean down
        {{10, 10}, 6, 3, agUp, true, QRect(3, 3, 6, 3)},    // pressed moves right
        {{10, 10}, 6, 3, agDown, true, QRect(3, 4, 6, 3)},
        {{10, 10}, 3, 6, agRight, false, QRect(4, 2, 3, 6)}, // odd spare columns lean right
        {{10, 10}, 3, 6, agLeft, false, QRect(3, 2, 3, 6)},
        {{10, 10}, 3, 6, agRight, true, QRect(5, 2, 3, 6)},
        {{10, 11}, 6, 3, agDown, false, QRect(2, 4, 6, 3)}, // even spare: no shift
        {{4, 2}, 6, 3, agUp, false, QRect(-1, 0, 6, 3)},    // larger than the client
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArrowRect(c.client, c.aw, c.ah, c.glyph, c.pressed), c.expected)
            << c.client.width() << "x" << c.client.height() << " glyph " << c.glyph;
}

TEST(ArrowGeometry, TriangleApexAndBase) {
    const QRect box(2, 3, 6, 3);
    EXPECT_EQ(ArrowTriangle(box, agUp), QPolygonF({{2, 5}, {7, 5}, {4.5, 3}}));
    EXPECT_EQ(ArrowTriangle(box, agDown), QPolygonF({{2, 3}, {7, 3}, {4.5, 5}}));
    EXPECT_EQ(ArrowTriangle(box, agLeft), QPolygonF({{7, 3}, {7, 5}, {2, 4}}));
    EXPECT_EQ(ArrowTriangle(box, agRight), QPolygonF({{2, 3}, {2, 5}, {7, 4}}));
}

TEST(ArrowGeometry, HeldStateAndShownPressed) {
    EXPECT_EQ(HeldButtonState(true, false), bsDown);
    EXPECT_EQ(HeldButtonState(false, false), bsUp);
    EXPECT_EQ(HeldButtonState(true, true), bsExclusive);
    EXPECT_EQ(HeldButtonState(false, true), bsExclusive);
    EXPECT_TRUE(IsShownPressed(bsDown, true));
    EXPECT_TRUE(IsShownPressed(bsExclusive, true));
    EXPECT_FALSE(IsShownPressed(bsDown, false));
    EXPECT_FALSE(IsShownPressed(bsUp, true));
}

TEST(ArrowGeometry, PairLayoutAndOrientationFit) {
    auto [up, down] = PairLayout(boVertical, QSize(16, 15));
    EXPECT_EQ(up, QRect(0, 0, 16, 7));
    EXPECT_EQ(down, QRect(0, 8, 16, 7)); // the middle line belongs to neither
    std::tie(up, down) = PairLayout(boVertical, QSize(16, 16));
    EXPECT_EQ(up, QRect(0, 0, 16, 8));
    EXPECT_EQ(down, QRect(0, 8, 16, 8));
    std::tie(up, down) = PairLayout(boHorizontal, QSize(15, 16));
    EXPECT_EQ(down, QRect(0, 0, 7, 16));
    EXPECT_EQ(up, QRect(8, 0, 7, 16));

    EXPECT_EQ(FitArrowToOrientation(boHorizontal, QSize(5, 3)), QSize(3, 5));
    EXPECT_EQ(FitArrowToOrientation(boHorizontal, QSize(3, 5)), QSize(3, 5));
    EXPECT_EQ(FitArrowToOrientation(boVertical, QSize(3, 5)), QSize(5, 3));
    EXPECT_EQ(FitArrowToOrientation(boVertical, QSize(4, 4)), QSize(4, 4));
}

TEST(TKvTimerButton, DefaultsAndSetters) {
    TKvTimerButton b;
    EXPECT_EQ(b.size(), QSize(21, 23));
    EXPECT_EQ(b.ArrowGlyph(), agUp);
    EXPECT_EQ(b.ArrowWidth(), 5);
    EXPECT_EQ(b.ArrowHeight(), 3);
    EXPECT_TRUE(b.Transparent());
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.ButtonState(), bsUp);
    EXPECT_EQ(b.RepeatDelays().FirstMs, 500);
    EXPECT_EQ(b.RepeatDelays().NextMs, 50);
    b.SetRepeatDelays({0, -5});
    EXPECT_EQ(b.RepeatDelays().FirstMs, 1);
    EXPECT_EQ(b.RepeatDelays().NextMs, 1);
    b.setEnabled(false);
    EXPECT_EQ(b.ButtonState(), bsDisabled);
    b.setEnabled(true);
    EXPECT_EQ(b.ButtonState(), bsUp);
}

TEST(TKvTimerButton, ShortClickGivesOneClickAtRelease) {
    CountedButton fx(kNever);
    auto& [b, log] = fx;
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.ButtonState(), bsDown);
    EXPECT_TRUE(b.IsRepeating());
    EXPECT_EQ(log.Count, 0);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(log.Count, 1);
    EXPECT_EQ(b.ButtonState(), bsUp);
    EXPECT_FALSE(b.IsRepeating());
}

TEST(TKvTimerButton, ReleaseOutsideGivesNoClick) {
    CountedButton fx(kNever);
    auto& [b, log] = fx;
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&b, QPoint(40, 40));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(log.Count, 0);
    EXPECT_FALSE(b.IsRepeating());
}

TEST(TKvTimerButton, OtherButtonsAndDisabledButtonsDoNotRepeat) {
    CountedButton fx(kNever);
    auto& [b, log] = fx;
    QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b.IsRepeating());
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(log.Count, 0);
    EXPECT_EQ(b.ButtonState(), bsDisabled);
}

TEST(TKvTimerButton, HoldingRepeatsThenReleaseAddsOneAndStops) {
    CountedButton fx(kFast);
    auto& [b, log] = fx;
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(log.Count >= 3, 10000);
    const int beforeRelease = log.Count;
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_GE(log.Count, beforeRelease + 1);
    EXPECT_FALSE(b.IsRepeating());
    const int afterRelease = log.Count;
    QTest::qWait(100); // would be many ticks if the timer ran on
    EXPECT_EQ(log.Count, afterRelease);
}

TEST(TKvTimerButton, FirstDelayThenShortInterval) {
    CountedButton fx({60 * 60 * 1000, 5}); // a first delay that never ends here
    auto& [b, log] = fx;
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::qWait(50);
    EXPECT_EQ(log.Count, 0);
    b.RepeatTimerTick(); // the first delay has run out
    EXPECT_EQ(log.Count, 1);
    EXPECT_EQ(b.findChild<QTimer*>()->interval(), 5);
    QTRY_VERIFY_WITH_TIMEOUT(log.Count >= 4, 10000);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(b.IsRepeating());
}

TEST(TKvTimerButton, MovingOffPausesAndMovingBackResumes) {
    CountedButton fx(kFast);
    auto& [b, log] = fx;
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(log.Count >= 1, 10000);
    QTest::mouseMove(&b, QPoint(60, 60));
    EXPECT_EQ(b.ButtonState(), bsUp);
    const int paused = log.Count;
    QTest::qWait(80);
    EXPECT_EQ(log.Count, paused);
    QTest::mouseMove(&b, QPoint(6, 6));
    EXPECT_EQ(b.ButtonState(), bsDown);
    QTRY_VERIFY_WITH_TIMEOUT(log.Count > paused, 10000);
    QTest::mouseMove(&b, QPoint(60, 60));
    const int beforeRelease = log.Count;
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(log.Count, beforeRelease);
    EXPECT_FALSE(b.IsRepeating());
}

TEST(TKvTimerButton, LatchedButtonNeverRepeats) {
    TKvTimerButton b;
    b.SetRepeatDelays(kFast);
    b.SetDown(true);
    b.show();
    ClickLog log;
    log.Attach(b);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&b, QPoint(6, 6));
    EXPECT_EQ(b.ButtonState(), bsExclusive);
    QTest::qWait(80);
    EXPECT_EQ(log.Count, 0);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(log.Count, 1); // the click at release still comes
}

TEST(TKvTimerButton, ThrowingHandlerStopsRepetition) {
    TKvTimerButton b;
    b.SetRepeatDelays(kNever);
    b.show();
    b.SetOnClick([](QObject*) { throw std::runtime_error("boom"); });
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(b.IsRepeating());
    EXPECT_THROW(b.RepeatTimerTick(), std::runtime_error);
    EXPECT_FALSE(b.IsRepeating());
    EXPECT_EQ(b.ButtonState(), bsDown); // pressed until the release
    b.SetOnClick(nullptr);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(TKvTimerButton, ModalDialogFromAClickEndsTheRepetition) {
    TKvTimerButton b;
    b.SetRepeatDelays(kFast);
    b.show();
    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    int clicks = 0;
    b.SetOnClick([&](QObject*) {
        ++clicks;
        dialog.show(); // the release will go to the dialog, not the button
    });
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(!b.IsRepeating(), 10000);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b.ButtonState(), bsUp);
    dialog.hide();
}

TEST(TKvTimerButton, HandlerMayDestroyTheButton) {
    auto owner = std::make_unique<QWidget>();
    QPointer<TKvTimerButton> b = new TKvTimerButton(owner.get());
    b->SetRepeatDelays(kFast);
    owner->show();
    int clicks = 0;
    b->SetOnClick([&](QObject* sender) {
        ++clicks;
        delete sender;
    });
    QTest::mousePress(b.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(b.isNull(), 10000);
    QTest::qWait(50);
    EXPECT_EQ(clicks, 1);
}

TEST(TKvTimerButton, ReleaseHandlerMayDestroyTheButton) {
    QWidget host;
    QPointer<TKvTimerButton> b = new TKvTimerButton(&host);
    b->SetRepeatDelays(kNever);
    host.show();
    int leaves = 0;
    b->SetOnMouseLeave([&](QObject*) { ++leaves; });
    b->SetOnClick([](QObject* sender) { delete sender; });
    QTest::mouseClick(b.data(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(leaves, 0); // nothing of the button ran after the click
}

TEST(TKvTimerButton, TrackingFollowsThePointer) {
    TKvTimerButton b;
    b.resize(30, 30);
    b.show();
    QCursor::setPos(b.mapToGlobal(QPoint(10, 10)));
    if (QApplication::widgetAt(QCursor::pos()) != &b)
        GTEST_SKIP() << "this platform does not report the pointer";
    b.UpdateTracking();
    EXPECT_TRUE(b.MouseInControl());
    QCursor::setPos(b.mapToGlobal(QPoint(100, 100)));
    b.UpdateTracking();
    EXPECT_FALSE(b.MouseInControl());
}

TEST(TKvTimerButton, NoClickAfterDestructionOrHide) {
    int clicks = 0;
    {
        TKvTimerButton b;
        b.SetRepeatDelays(kFast);
        b.show();
        b.SetOnClick([&](QObject*) { ++clicks; });
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    }
    QTest::qWait(60);
    EXPECT_EQ(clicks, 0);

    TKvTimerButton b;
    b.SetRepeatDelays(kFast);
    b.show();
    b.SetOnClick([&](QObject*) { ++clicks; });
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    b.hide(); // no release will ever reach a hidden button
    EXPECT_FALSE(b.IsRepeating());
    b.show();
    b.setEnabled(false);
    QTest::qWait(60);
    EXPECT_EQ(clicks, 0);
}

TEST(TKvTimerButton, HoverFollowsEnterAndLeave) {
    TKvTimerButton b;
    b.show();
    int enters = 0, leaves = 0;
    b.SetOnMouseEnter([&](QObject*) { ++enters; });
    b.SetOnMouseLeave([&](QObject*) { ++leaves; });
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(&b, &enter);
    EXPECT_TRUE(b.MouseInControl());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_FALSE(b.MouseInControl());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
    b.setEnabled(false);
    QApplication::sendEvent(&b, &enter);
    EXPECT_FALSE(b.MouseInControl());
    EXPECT_EQ(enters, 1); // no events while disabled
}

TEST(TKvTimerButton, ArrowPixelsStayInTheirBox) {
    QWidget host;
    host.resize(10, 10);
    TKvTimerButtonEx b(&host);
    b.resize(10, 10);
    b.SetArrowColor(Qt::black);
    b.SetTransparent(false);
    const QColor face = SysButtonFace();
    struct Case {
        TArrowGlyph glyph;
        QRect box;
    } cases[] = {{agUp, QRect(2, 3, 6, 3)}, {agDown, QRect(2, 4, 6, 3)}};
    for (const Case& c : cases) {
        b.SetArrowGlyph(c.glyph);
        ASSERT_EQ(b.GetArrowRect(), c.box);
        const QImage img = Grab(&b);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (!c.box.contains(x, y)) {
                    EXPECT_TRUE(Near(img.pixelColor(x, y), face))
                        << x << "," << y << img.pixelColor(x, y).name().toStdString() << " "
                        << face.name().toStdString();
                }
        // The base of the triangle is a dark line across the whole box (its
        // ends a little lighter where the corners are smoothed).
        const int baseY = c.glyph == agUp ? c.box.bottom() : c.box.top();
        for (int x = c.box.left(); x <= c.box.right(); ++x)
            EXPECT_LT(img.pixelColor(x, baseY).lightness(), 100) << x;
        // The apex row is dark in the middle and background at the corners.
        const int apexY = c.glyph == agUp ? c.box.top() : c.box.bottom();
        EXPECT_LT(img.pixelColor(4, apexY).lightness(), face.lightness());
        EXPECT_TRUE(Near(img.pixelColor(c.box.left(), apexY), face, 30));
    }
}

TEST(TKvTimerButton, PressedArrowMovesRightAndLatchedIsSunken) {
    QWidget host;
    host.resize(10, 10);
    TKvTimerButtonEx b(&host);
    b.resize(10, 10);
    b.SetArrowWidth(6);
    b.SetDownBorderTopColor(Qt::red);
    b.SetDownBorderBottomColor(Qt::blue);
    host.show();
    b.SetRepeatDelays(kNever);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.GetArrowRect(), QRect(3, 3, 6, 3));
    QImage img = Grab(&b);
    EXPECT_EQ(img.pixelColor(0, 5), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(9, 5), QColor(Qt::blue));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.GetArrowRect(), QRect(2, 3, 6, 3));

    // A latched button is sunken with the pointer away from it.
    b.SetDown(true);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    img = Grab(&b);
    EXPECT_EQ(img.pixelColor(0, 5), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(5, 9), QColor(Qt::blue));
}

TEST(TKvUpDownButton, LayoutGlyphsAndClicks) {
    TKvUpDownButton pair;
    EXPECT_EQ(pair.size(), QSize(16, 15));
    EXPECT_EQ(pair.sizeHint(), QSize(16, 15));
    EXPECT_EQ(pair.UpButton()->geometry(), QRect(0, 0, 16, 7));
    EXPECT_EQ(pair.DownButton()->geometry(), QRect(0, 8, 16, 7));
    EXPECT_EQ(pair.UpButton()->ArrowGlyph(), agUp);
    EXPECT_EQ(pair.DownButton()->ArrowGlyph(), agDown);
    EXPECT_EQ(pair.UpButton()->property("Tag").toInt(), 0);
    EXPECT_EQ(pair.DownButton()->property("Tag").toInt(), 1);

    pair.SetRepeatDelays(kNever);
    pair.show();
    QStringList log;
    pair.SetOnUpClick([&](QObject* s) { log << (s == &pair ? "up" : "?"); });
    pair.SetOnDownClick([&](QObject* s) { log << (s == &pair ? "down" : "?"); });
    QTest::mouseClick(pair.UpButton(), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(pair.DownButton(), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(pair.UpButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(log, QStringList({"up", "down", "up"}));

    pair.setEnabled(false);
    EXPECT_EQ(pair.UpButton()->ButtonState(), bsDisabled);
    EXPECT_EQ(pair.DownButton()->ButtonState(), bsDisabled);
}

TEST(TKvUpDownButton, OrientationSwapsGlyphsLayoutAndArrowBox) {
    TKvUpDownButton pair;
    pair.resize(30, 16);
    pair.ButtonOptions().SetArrowWidth(6);
    pair.ButtonOptions().SetArrowHeight(4);
    pair.SetOrientation(boHorizontal);
    EXPECT_EQ(pair.UpButton()->ArrowGlyph(), agRight);
    EXPECT_EQ(pair.DownButton()->ArrowGlyph(), agLeft);
    EXPECT_EQ(pair.DownButton()->geometry(), QRect(0, 0, 15, 16));
    EXPECT_EQ(pair.UpButton()->geometry(), QRect(15, 0, 15, 16));
    EXPECT_EQ(pair.ButtonOptions().ArrowWidth(), 4);
    EXPECT_EQ(pair.ButtonOptions().ArrowHeight(), 6);
    EXPECT_EQ(pair.UpButton()->ArrowWidth(), 4);
    EXPECT_EQ(pair.DownButton()->ArrowHeight(), 6);
    pair.SetOrientation(boVertical);
    EXPECT_EQ(pair.ButtonOptions().ArrowWidth(), 6);
    EXPECT_EQ(pair.ButtonOptions().ArrowHeight(), 4);
    EXPECT_EQ(pair.UpButton()->ArrowGlyph(), agUp);
}

TEST(TKvUpDownButton, OptionsAssignCopiesAndDownPassesThrough) {
    TKvUpDownButton a, b;
    a.ButtonOptions().SetArrowWidth(7);
    a.ButtonOptions().SetArrowHeight(2);
    b.SetButtonOptions(a.ButtonOptions());
    EXPECT_EQ(b.ButtonOptions().ArrowWidth(), 7);
    EXPECT_EQ(b.DownButton()->ArrowHeight(), 2);
    EXPECT_NE(&a.ButtonOptions(), &b.ButtonOptions());

    b.SetUpButtonDown(true);
    EXPECT_TRUE(b.UpButton()->Down());
    EXPECT_TRUE(b.UpButtonDown());
    EXPECT_FALSE(b.DownButtonDown());
}

TEST(TKvUpDownButton, PressGivesFocusToFocusControl) {
    QWidget host;
    auto* edit = new QWidget(&host);
    edit->setFocusPolicy(Qt::StrongFocus);
    auto* other = new QWidget(&host);
    other->setFocusPolicy(Qt::StrongFocus);
    auto* pair = new TKvUpDownButton(&host);
    pair->SetRepeatDelays(kNever);
    host.show();
    QApplication::setActiveWindow(&host);
    other->setFocus();
    pair->SetFocusControl(edit);
    QTest::mouseClick(pair->UpButton(), Qt::LeftButton, {}, QPoint(3, 3));
    QTRY_VERIFY_WITH_TIMEOUT(edit->hasFocus(), 5000);
    delete edit; // the pair forgets a freed focus control
    EXPECT_EQ(pair->FocusControl(), nullptr);
    QTest::mouseClick(pair->UpButton(), Qt::LeftButton, {}, QPoint(3, 3));
}

TEST(TKvUpDownButton, FocusOnlyToAControlThatTakesIt) {
    QWidget host;
    auto* label = new QWidget(&host); // no tab stop
    auto* other = new QWidget(&host);
    other->setFocusPolicy(Qt::StrongFocus);
    auto* pair = new TKvUpDownButton(&host);
    pair->SetRepeatDelays(kNever);
    host.show();
    QApplication::setActiveWindow(&host);
    other->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(other->hasFocus(), 5000);
    pair->SetFocusControl(label);
    QTest::mouseClick(pair->DownButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(other->hasFocus());
    EXPECT_FALSE(label->hasFocus());
}

TEST(TKvAlphaUpDownButton, DefaultsAndOptionsReachHalves) {
    TKvAlphaUpDownButton pair;
    EXPECT_EQ(pair.size(), QSize(16, 16));
    EXPECT_EQ(pair.ButtonOptions().ArrowWidth(), 6);
    EXPECT_EQ(pair.UpButtonEx()->ArrowWidth(), 6);
    EXPECT_FALSE(pair.AlphaBlend());
    EXPECT_EQ(pair.AlphaBlendValue(), 255);
    pair.ButtonOptions().SetArrowColor(Qt::red);
    pair.ButtonOptions().SetHotBorderTopColor(Qt::green);
    EXPECT_EQ(pair.DownButtonEx()->ArrowColor(), QColor(Qt::red));
    EXPECT_EQ(pair.UpButtonEx()->HotBorderTopColor(), QColor(Qt::green));

    TKvAlphaUpDownButton copy;
    copy.SetButtonOptions(pair.ButtonOptions());
    EXPECT_EQ(copy.UpButtonEx()->ArrowColor(), QColor(Qt::red));
    EXPECT_EQ(copy.ButtonOptions().HotBorderTopColor(), QColor(Qt::green));

    pair.SetOrientation(boHorizontal);
    EXPECT_EQ(pair.ButtonOptions().ArrowWidth(), 3);
    EXPECT_EQ(pair.ButtonOptions().ArrowHeight(), 6);
}

namespace {
class PaintedParent : public QWidget {
public:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 0, 200)); }
};
} // namespace

TEST(TKvAlphaUpDownButton, BlendsTheParentIntoItsBackground) {
    PaintedParent parent;
    parent.resize(60, 40);
    auto* pair = new TKvAlphaUpDownButton(&parent);
    pair->setGeometry(10, 5, 16, 16);
    pair->SetColor(QColor(200, 200, 200));
    parent.show();
    struct Case {
        bool blend;
        int value;
        QColor expected;
    } cases[] = {
        {false, 0, QColor(200, 200, 200)},  // blending off: own colour
        {true, 255, QColor(200, 200, 200)}, // fully opaque: own colour
        {true, 0, QColor(0, 0, 200)},       // fully see-through: the parent
        {true, 128, QColor(100, 100, 200)}, // half and half
    };
    for (const Case& c : cases) {
        pair->SetAlphaBlend(c.blend);
        pair->SetAlphaBlendValue(quint8(c.value));
        const QImage img = Grab(pair);
        // A corner pixel: no arrow and no frame there.
        EXPECT_TRUE(Near(img.pixelColor(0, 0), c.expected, 3))
            << c.blend << " " << c.value << " " << img.pixelColor(0, 0).name().toStdString();
    }
}
