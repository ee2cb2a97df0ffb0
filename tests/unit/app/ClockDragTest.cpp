// Dragging the clock: a press alone never moves it; the window manager's move
// starts only once the pointer has moved with the button still down.
#include "ClockFormFixture.h"
#include "app/clock/MainForm.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct Fixture : ClockFormFixture {
    QPoint Start;

    Fixture() : ClockFormFixture(QStringLiteral("[MainForm]\nLeft=100\nTop=100")) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Main.get()));
        Start = Main->pos();
    }
    // A mouse event at `offset` from the window's first place, on the screen.
    void Send(QEvent::Type type, QPoint offset, Qt::MouseButtons held) {
        const QPoint global = Start + QPoint(5, 5) + offset;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(Main->mapFromGlobal(global)), QPointF(global), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(Main.get(), &e);
    }
    int SystemMoves() const { return int(Platform.Calls.count(QStringLiteral("system-move"))); }
};

} // namespace

TEST(ClockDrag, AClickWithoutMovementNeverMovesTheClock) {
    Fixture fx;
    fx.Platform.SystemMove = true;
    for (int i = 0; i < 5; ++i) {
        fx.Send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
        fx.Send(QEvent::MouseButtonRelease, {}, Qt::NoButton);
    }
    // A jitter below the drag distance is no drag either.
    fx.Send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
    fx.Send(QEvent::MouseMove, {1, 0}, Qt::LeftButton);
    fx.Send(QEvent::MouseButtonRelease, {1, 0}, Qt::NoButton);
    EXPECT_EQ(fx.SystemMoves(), 0);
    EXPECT_EQ(fx.Main->pos(), fx.Start);
}

TEST(ClockDrag, TheWindowManagersMoveStartsOnceThePointerHasMoved) {
    Fixture fx;
    fx.Platform.SystemMove = true;
    fx.Send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
    EXPECT_EQ(fx.SystemMoves(), 0);
    fx.Send(QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    EXPECT_EQ(fx.SystemMoves(), 1);
    fx.Send(QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    EXPECT_EQ(fx.SystemMoves(), 1);
}

TEST(ClockDrag, NoMoveStartsWhenTheButtonIsAlreadyUp) {
    // The release has reached the window system but not yet the program.
    Fixture fx;
    fx.Platform.SystemMove = true;
    fx.Platform.LeftHeld = false;
    fx.Send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
    fx.Send(QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    fx.Send(QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    fx.Send(QEvent::MouseButtonRelease, {60, 40}, Qt::NoButton);
    EXPECT_EQ(fx.SystemMoves(), 0);
    EXPECT_EQ(fx.Main->pos(), fx.Start);
}

TEST(ClockDrag, WithoutAWindowManagerTheClockFollowsThePointerItself) {
    Fixture fx;
    fx.Send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
    fx.Send(QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    fx.Send(QEvent::MouseMove, {150, 100}, Qt::LeftButton);
    fx.Send(QEvent::MouseButtonRelease, {150, 100}, Qt::NoButton);
    EXPECT_EQ(fx.Main->pos(), fx.Start + QPoint(150, 100));
    fx.Send(QEvent::MouseMove, {200, 200}, Qt::NoButton);
    EXPECT_EQ(fx.Main->pos(), fx.Start + QPoint(150, 100));
}
