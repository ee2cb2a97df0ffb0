// The menu part on a plain window: what its items ask of the window's side.
#include "app/clock/ClockMenu.h"

#include "app/MessageDialog.h"
#include "fakes/FakePlatform.h"
#include "widgets/KvTrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace velmora;

namespace {

struct MenuFixture {
    QWidget Window;
    FakePlatform Platform;
    TProgramPaths Paths;
    TClockRunState Run;
    QStringList Asked; // what the window's side was asked, in order
    QStringList Titles{"sync", "first", "second"};
    bool DialogOpen = false;
    std::unique_ptr<TClockMenu> Menu;

    MenuFixture() {
        Paths.ProgramFile = QStringLiteral("/opt/velmora/velmora");
        TClockMenu::TWindowSide side;
        side.StopTimers = [this] { Asked << "stop-timers"; };
        side.ShowOptions = [this] { Asked << "options"; };
        side.DialogOpen = [this] {
            Asked << "dialog-open?";
            return DialogOpen;
        };
        side.AdjustTime = [this] { Asked << "adjust-time"; };
        side.StartAlarm = [this] { Asked << "start-alarm"; };
        side.StopAlarm = [this] { Asked << "stop-alarm"; };
        side.CommandTitles = [this] { return Titles; };
        side.RunCommand = [this](int i) { Asked << QStringLiteral("run:%1").arg(i); };
        side.LanguageChosen = [this] { Asked << "language"; };
        side.BringForward = [this] { Asked << "forward"; };
        Menu = std::make_unique<TClockMenu>(Window, Platform, Paths, Run, std::move(side));
    }
    QAction* Action(const char* name) const {
        return Window.findChild<QAction*>(QLatin1String(name));
    }
};

} // namespace

TEST(ClockMenu, ItemsOfTheWindowReachItsSide) {
    MenuFixture fx;
    for (const char* name :
         {"ActPopAdjustTime", "ActPopStopAlarm", "ActStartAlarm", "ActPopShowOption"}) {
        ASSERT_NE(fx.Action(name), nullptr) << name;
        fx.Action(name)->trigger();
    }
    fx.Menu->TrayIcon1DblClick();
    EXPECT_EQ(fx.Asked,
              (QStringList{"adjust-time", "stop-alarm", "start-alarm", "options", "forward"}));
    EXPECT_EQ(fx.Menu->TrayIcon1()->parent(), &fx.Window);
    EXPECT_EQ(fx.Menu->TrayIcon1()->PopupMenu(), fx.Menu->PopupMenu1());
}

TEST(ClockMenu, TheCommandMenuListsEveryCommandButTheTimeSync) {
    MenuFixture fx;
    fx.Menu->BuildCommandMenu(fx.Menu->Command1());
    QStringList texts;
    for (QAction* a : fx.Menu->Command1()->actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{"1: first", "2: second"}));
    fx.Menu->Command1()->actions().at(1)->trigger();
    EXPECT_EQ(fx.Asked, QStringList{"run:2"});
}

TEST(ClockMenu, TheStopItemsShowOnlyWhileTheAlarmRuns) {
    MenuFixture fx;
    EXPECT_FALSE(fx.Menu->StopAlarm1()->isVisible());
    EXPECT_FALSE(fx.Menu->PopSep1()->isVisible());
    fx.Run.IsAlarmRunning = true;
    fx.Menu->UpdateStopItems();
    EXPECT_TRUE(fx.Menu->StopAlarm1()->isVisible());
    EXPECT_TRUE(fx.Menu->PopSep1()->isVisible());
    fx.Run.IsAlarmRunning = false;
    fx.Menu->UpdateStopItems();
    EXPECT_FALSE(fx.Menu->StopAlarm1()->isVisible());
}

TEST(ClockMenu, NoAboutDialogWhileAnotherDialogIsOpen) {
    MenuFixture fx;
    fx.DialogOpen = true;
    fx.Menu->ActPopShowAbout()->trigger();
    EXPECT_EQ(fx.Asked, QStringList{"dialog-open?"});
    EXPECT_EQ(fx.Menu->AboutForm(), nullptr);
}

TEST(ClockMenu, TheShortcutItemMakesTheAutostartEntryOfTheProgram) {
    MenuFixture fx;
    QStringList boxes;
    SetMessageDialogHook([&boxes](const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) {
        boxes << text;
        return mrOk;
    });
    fx.Menu->ActCreateShortcut()->trigger();
    SetMessageDialogHook({});
    EXPECT_TRUE(fx.Platform.Calls.contains("autostart:/opt/velmora/velmora"));
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_TRUE(fx.Asked.isEmpty());
}

TEST(ClockMenu, ItsObjectsGoWithIt) {
    MenuFixture fx;
    fx.Menu.reset();
    EXPECT_EQ(fx.Action("ActPopQuit"), nullptr);
    EXPECT_EQ(fx.Window.findChild<QMenu*>(QStringLiteral("PopupMenu1")), nullptr);
    EXPECT_EQ(fx.Window.findChild<TKvTrayIcon*>(), nullptr);
}
