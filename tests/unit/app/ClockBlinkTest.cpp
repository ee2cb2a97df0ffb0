// The alarm blink hides and shows the clock, but never while the user is in one
// of its menus or dialogs, and the clock never takes the focus by appearing.
#include "ClockFormFixture.h"
#include "app/clock/ClockAlarm.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct Fixture : ClockFormFixture {
    Fixture() : ClockFormFixture(QStringLiteral("[Alarm]\nUseAlarmBlink=1")) {
        Main->ActStartAlarmExecute();
        Main->Alarm().BlinkTimer()->SetEnabled(false); // and the blinks
    }
};

} // namespace

TEST(ClockBlink, AnOpenMenuKeepsTheClockShownAndTheBlinkGoesOnAfterwards) {
    Fixture fx;
    TMainForm& m = *fx.Main;
    QMenu* menu = m.Menu().PopupMenu1();
    m.Menu().Popup(m.geometry().center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    for (int i = 0; i < 4; ++i) {
        m.Alarm().BlinkTimerTimer();
        EXPECT_TRUE(m.isVisible()) << "blink " << i;
        EXPECT_TRUE(menu->isVisible()) << "blink " << i;
    }
    menu->close();
    // Four blinks: the next is a dark half again.
    m.Alarm().BlinkTimerTimer();
    EXPECT_FALSE(m.isVisible());
    m.Alarm().BlinkTimerTimer();
    EXPECT_TRUE(m.isVisible());
}

TEST(ClockBlink, AModalDialogKeepsTheClockShown) {
    Fixture fx;
    TMainForm& m = *fx.Main;
    QWidget dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    m.Alarm().BlinkTimerTimer();
    EXPECT_TRUE(m.isVisible());
    dialog.close();
    m.Alarm().BlinkTimerTimer();
    m.Alarm().BlinkTimerTimer();
    EXPECT_FALSE(m.isVisible());
}

TEST(ClockBlink, TheClockAppearsWithoutTakingTheFocus) {
    Fixture fx;
    TMainForm& m = *fx.Main;
    EXPECT_TRUE(m.testAttribute(Qt::WA_ShowWithoutActivating));
    ASSERT_NE(m.windowHandle(), nullptr);
    // What the window system reads when it maps the window, every time.
    EXPECT_TRUE(m.windowHandle()->property("_q_showWithoutActivating").toBool());
    m.Alarm().BlinkTimerTimer();
    m.Alarm().BlinkTimerTimer();
    EXPECT_TRUE(m.windowHandle()->property("_q_showWithoutActivating").toBool());
}
