// The window, balloon and command pages of the options dialog: loading from the
// clock's settings gives the states their handlers give, every control writes the
// clock live, and the command list keeps its order, its timing and command 0.
#include "OptionFixture.h"
#include "app/LangFiles.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionBalloonPage.h"
#include "app/options/OptionCommandPage.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionWindowPage.h"
#include "core/IniDocument.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "core/MessageTable.h"
#include "widgets/KvEdit.h"
#include "widgets/KvGrid.h"
#include "widgets/KvPngButton.h"
#include "widgets/KvSpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Writes an executable file into the fixture's folder; returns its path.
QString Program(const OptionFixture& fx, const QString& name) {
    const QString path = fx.Dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

QStringList StackCalls(const FakePlatform& platform) {
    return platform.Calls.filter(QRegularExpression(QStringLiteral("^(stack:|foreground$)")));
}

} // namespace

// --- window page ------------------------------------------------------------------

TEST(OptionWindowPage, LoadingGivesTheStatesTheHandlersGive) {
    struct Row {
        const char* name;
        double scaleX, scaleY;
        bool alpha;
        int alphaValue;
        bool topmost;
    } rows[] = {
        {"defaults", 1.0, 1.0, false, 255, true},
        {"alpha on, topmost", 0.75, 1.25, true, 128, true},
        {"alpha off keeps its value", 1.1, 0.9, false, 40, true},
        {"bottom of the stack", 1.2, 0.8, true, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        OptionFixture fx;
        TMainForm& m = *fx.Main;
        m.Settings().ScalingRateX = r.scaleX;
        m.Settings().ScalingRateY = r.scaleY;
        m.Settings().AlphaBlend = r.alpha;
        m.Settings().AlphaBlendValue = r.alphaValue;
        m.Settings().FormOnTopmost = r.topmost;
        m.AdjustMainFormMaxSize(m.Settings().FontColorMode);
        const QSize before = m.size();
        fx.Platform.Calls.clear();
        fx.Open();
        auto& page = fx.Page<TOptionWindowPage>();

        EXPECT_DOUBLE_EQ(page.SpinEdit301->Value().toDouble(), r.scaleX);
        EXPECT_DOUBLE_EQ(page.SpinEdit302->Value().toDouble(), r.scaleY);
        EXPECT_EQ(m.size(), before) << "loading the scale re-sized the clock";
        EXPECT_EQ(page.CheckBox301->isChecked(), r.alpha);
        EXPECT_EQ(page.Label303->isEnabled(), r.alpha);
        EXPECT_EQ(page.SpinEdit303->isEnabled(), r.alpha);
        EXPECT_EQ(page.SpinEdit303->Value().toInt(), r.alphaValue);
        EXPECT_EQ(m.Settings().AlphaBlendValue, r.alphaValue);
        EXPECT_EQ(page.RadioGroup301->ItemIndex(), r.topmost ? 0 : 1);
        // The stacking handler ran once: topmost again, or to the bottom again
        // followed by the tray double-click action.
        const QStringList expected =
            r.topmost ? QStringList{"stack:0"} : QStringList{"stack:2", "foreground"};
        EXPECT_EQ(StackCalls(fx.Platform), expected);

        // The alarm switch clicked off and on again through its handler lands on
        // the same states.
        page.CheckBox301->click();
        page.CheckBox301->click();
        EXPECT_EQ(m.Settings().AlphaBlend, r.alpha);
        EXPECT_EQ(page.SpinEdit303->isEnabled(), r.alpha);
        EXPECT_EQ(page.Label303->isEnabled(), r.alpha);
    }
}

TEST(OptionWindowPage, AScaleOutsideTheRangeIsShownLimitedAndNotWrittenBack) {
    OptionFixture fx;
    fx.Main->Settings().ScalingRateX = 1.3;
    fx.Open();
    EXPECT_EQ(fx.Page<TOptionWindowPage>().SpinEdit301->text(), "1.25");
    EXPECT_DOUBLE_EQ(fx.Main->Settings().ScalingRateX, 1.3); // the handler was detached
}

TEST(OptionWindowPage, EachControlWritesTheClockLive) {
    OptionFixture fx;
    TMainForm& m = *fx.Main;
    fx.Open();
    auto& page = fx.Page<TOptionWindowPage>();
    const QSize base = m.size();

    page.SpinEdit301->SetValue(1.2);
    EXPECT_DOUBLE_EQ(m.Settings().ScalingRateX, 1.2);
    EXPECT_GT(m.width(), base.width());
    page.SpinEdit302->SetValue(0.8);
    EXPECT_DOUBLE_EQ(m.Settings().ScalingRateY, 0.8);
    EXPECT_LT(m.height(), base.height());

    page.CheckBox301->click();
    EXPECT_TRUE(m.Settings().AlphaBlend);
    EXPECT_TRUE(page.SpinEdit303->isEnabled());
    page.SpinEdit303->SetValue(qlonglong(128));
    EXPECT_EQ(m.Settings().AlphaBlendValue, 128);
    EXPECT_NEAR(m.windowOpacity(), 128 / 255.0, 0.01);
    page.CheckBox301->click();
    EXPECT_FALSE(m.Settings().AlphaBlend);
    EXPECT_DOUBLE_EQ(m.windowOpacity(), 1.0);
    EXPECT_FALSE(page.SpinEdit303->isEnabled());

    struct Stack {
        int item;
        bool topmost;
        QStringList calls;
    } stacks[] = {{1, false, {"stack:2", "foreground"}}, {0, true, {"stack:0"}}};
    for (const Stack& s : stacks) {
        fx.Platform.Calls.clear();
        page.RadioGroup301->Item(s.item)->click();
        EXPECT_EQ(m.Settings().FormOnTopmost, s.topmost);
        EXPECT_EQ(StackCalls(fx.Platform), s.calls);
    }
}

TEST(OptionWindowPage, TheFullScreenSwitchIsLiveAndFollowsTheStacking) {
    struct Row {
        const char* name;
        bool topmost, hide;
        bool watching;
    } rows[] = {
        {"off, topmost", true, false, false},
        {"on, topmost", true, true, true},
        {"on, bottom: kept but idle", false, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        OptionFixture fx(QStringLiteral("[Appearance]\nFormOnTopmost=%1\nHideOnFullScreen=%2")
                             .arg(int(r.topmost))
                             .arg(int(r.hide)));
        TMainForm& m = *fx.Main;
        fx.Open();
        auto& page = fx.Page<TOptionWindowPage>();
        EXPECT_EQ(page.CheckBox302->text(), "ぜんがめんの まどが あるときは かくれる");
        EXPECT_EQ(page.CheckBox302->isChecked(), r.hide);
        EXPECT_EQ(page.CheckBox302->isEnabled(), r.topmost);
        EXPECT_EQ(bool(fx.Platform.OnActiveWindow), r.watching);
        EXPECT_EQ(m.Settings().HideOnFullScreen, r.hide);
    }

    OptionFixture fx;
    TMainForm& m = *fx.Main;
    fx.Open();
    auto& page = fx.Page<TOptionWindowPage>();
    ASSERT_TRUE(page.CheckBox302->isEnabled());
    page.CheckBox302->click();
    EXPECT_TRUE(m.Settings().HideOnFullScreen);
    EXPECT_TRUE(fx.Platform.OnActiveWindow) << "the watch starts at once";
    page.RadioGroup301->Item(1)->click(); // bottom: the watch ends, the value stays
    EXPECT_FALSE(page.CheckBox302->isEnabled());
    EXPECT_FALSE(fx.Platform.OnActiveWindow);
    EXPECT_TRUE(m.Settings().HideOnFullScreen);
    page.RadioGroup301->Item(0)->click();
    EXPECT_TRUE(page.CheckBox302->isEnabled());
    EXPECT_TRUE(fx.Platform.OnActiveWindow);
    page.CheckBox302->click();
    EXPECT_FALSE(m.Settings().HideOnFullScreen);
    EXPECT_FALSE(fx.Platform.OnActiveWindow);
    EXPECT_EQ(fx.Platform.Calls.filter("watch-active:"),
              QStringList(
                  {"watch-active:on", "watch-active:off", "watch-active:on", "watch-active:off"}));
}

TEST(OptionWindowPage, ATypedNumberBeyondTheRangeNeverReachesTheClock) {
    OptionFixture fx;
    TMainForm& m = *fx.Main;
    fx.Open();
    auto& page = fx.Page<TOptionWindowPage>();
    page.CheckBox301->click();
    struct Row {
        TKvSpinEdit* spin;
        const char* typed;
        std::function<double()> field;
        double expected;
    } rows[] = {
        {page.SpinEdit301, "3", [&] { return m.Settings().ScalingRateX; }, 1.25},
        {page.SpinEdit302, "0.1", [&] { return m.Settings().ScalingRateY; }, 0.75},
        {page.SpinEdit303, "1000", [&] { return double(m.Settings().AlphaBlendValue); }, 255},
    };
    for (const Row& r : rows) {
        r.spin->selectAll();
        QTest::keyClicks(r.spin, r.typed);
        EXPECT_DOUBLE_EQ(r.field(), r.expected) << r.typed;
    }
}

// --- balloon page -----------------------------------------------------------------

TEST(OptionBalloonPage, TheLargeIconSwitchIsEnabledLoadedAndLive) {
    for (bool large : {false, true}) {
        OptionFixture fx;
        fx.Main->Settings().ShowLargeNotificationIcon = large;
        fx.Open();
        auto& page = fx.Page<TOptionBalloonPage>();
        EXPECT_TRUE(page.CheckBox401->isEnabled());
        EXPECT_EQ(page.CheckBox401->isChecked(), large);
        page.CheckBox401->click();
        EXPECT_EQ(fx.Main->Settings().ShowLargeNotificationIcon, !large);
    }
}

// --- command page -----------------------------------------------------------------

namespace {

// Command 0 (the sync), "one" timed at 11:00:30, "two", "three"; the dialog open.
struct CommandFixture : OptionFixture {
    QString one, two, three;
    TOptionCommandPage* page = nullptr;

    CommandFixture() {
        Main->Commands().ACommandList().Items(0).SetOptionStr("127.0.0.1");
        for (const char* name : {"one", "two", "three"}) {
            auto item = std::make_unique<TKvCommandItem>();
            item->SetTitle(name);
            item->SetFileName(Program(*this, name));
            Main->Commands().ACommandList().Add(std::move(item));
        }
        one = Dir.filePath("one");
        two = Dir.filePath("two");
        three = Dir.filePath("three");
        List().Items(1).SetCommandOptions("/t=11:00:30", QLocale::c());
        Main->Commands().SetCommandTimingArray();
        Open();
        Form->SetActivePageIndex(5);
        page = &Page<TOptionCommandPage>();
    }
    TKvCommandList& List() { return Main->Commands().ACommandList(); }
    QStringList Titles() {
        QStringList t;
        for (int i = 1; i < List().Count(); ++i)
            t << List().Items(i).Title();
        return t;
    }
    // Which programs the clock starts when 11:00:30 comes (on a day of its own
    // each time: a set time runs once a day).
    int Days = 0;
    QStringList TimedLaunches() {
        Platform.Calls.clear();
        Main->Commands().RunSpTimeCommands(
            QDateTime(QDate(2026, 12, 7).addDays(Days++), QTime(11, 0, 30)));
        QStringList out;
        for (const QString& c : Platform.Calls.filter("launch:"))
            out << QFileInfo(c.mid(7).section('|', 0, 0)).fileName();
        return out;
    }
};

} // namespace

TEST(OptionCommandPage, LoadingShowsTheListAndProtectsTheSyncCommand) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    EXPECT_EQ(p.Grid601->RowCount(), 5);
    EXPECT_EQ(p.Grid601->FixedRows(), 1);
    EXPECT_EQ(p.Grid601->ColCount(), 4);
    EXPECT_EQ(p.Grid601->Row(), 1);
    EXPECT_EQ(p.Edit603->text(), "127.0.0.1");
    struct Row {
        int row;
        bool protectedRow;
    } rows[] = {{1, true}, {2, false}, {4, false}};
    for (const Row& r : rows) {
        p.Grid601->SetRow(r.row);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 p.Edit601, p.Edit602, p.Button602, p.Button603, p.PngButton601, p.PngButton602})
            EXPECT_EQ(w->isEnabled(), !r.protectedRow)
                << "row " << r.row << " " << w->objectName().toStdString();
        EXPECT_TRUE(p.Edit603->isEnabled());
        EXPECT_TRUE(p.Edit604->isEnabled());
        EXPECT_EQ(p.Edit601->text(), fx.List().Items(r.row - 1).Title());
    }
}

TEST(OptionCommandPage, TheSyncCommandIsNeverDeletedMovedOrRenamed) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    p.Grid601->SetRow(1);
    const QString title = fx.List().Items(0).Title();
    const QString file = fx.List().Items(0).FileName();
    p.Button603Click();
    p.MoveCommandItem(-1);
    p.MoveCommandItem(+1);
    // Boxes filled by hand (they are disabled for a person) are not taken over.
    p.Edit601->setText("renamed");
    p.Edit602->setText("/bin/false");
    p.Edit603->setText("ntp.example");
    p.CommitEdits();
    QApplication::processEvents();
    EXPECT_TRUE(fx.Boxes.isEmpty()) << fx.Boxes.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(fx.List().Count(), 4);
    EXPECT_EQ(fx.List().Items(0).Title(), title);
    EXPECT_EQ(fx.List().Items(0).FileName(), file);
    EXPECT_EQ(fx.List().Items(0).OptionStr(), "ntp.example"); // the server stays editable
    EXPECT_EQ(fx.Titles(), (QStringList{"one", "two", "three"}));
}

TEST(OptionCommandPage, MovesKeepTheTimedCommandTimed) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    EXPECT_EQ(fx.TimedLaunches(), QStringList{"one"});
    struct Step {
        int row;       // chosen before the move
        int direction; // -1 up, +1 down
        QStringList titles;
        int rowAfter;
    } steps[] = {
        {2, -1, {"one", "two", "three"}, 2}, // command 1 never goes above command 0
        {2, +1, {"two", "one", "three"}, 3}, {3, +1, {"two", "three", "one"}, 4},
        {4, +1, {"two", "three", "one"}, 4}, // the last stays last
        {4, -1, {"two", "one", "three"}, 3}, {3, -1, {"one", "two", "three"}, 2},
    };
    for (const Step& s : steps) {
        p.Grid601->SetRow(s.row);
        if (s.direction < 0)
            p.PngButton601Click();
        else
            p.PngButton602Click();
        EXPECT_EQ(fx.Titles(), s.titles) << "row " << s.row << " dir " << s.direction;
        EXPECT_EQ(p.Grid601->Row(), s.rowAfter);
        EXPECT_EQ(p.Edit601->text(), fx.List().Items(s.rowAfter - 1).Title());
        // The moved command keeps every field; its timing follows it.
        EXPECT_EQ(fx.TimedLaunches(), QStringList{"one"});
    }
}

TEST(OptionCommandPage, AddAndDeleteRebuildTheTimingLists) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    // Deleting "one" itself: nothing is timed any more, nothing else runs.
    p.Grid601->SetRow(2);
    fx.Answers.push_back(mrCancel);
    p.Button603Click();
    ASSERT_EQ(fx.Boxes.size(), 1);
    EXPECT_TRUE(fx.Boxes[0].contains("[one]"));
    EXPECT_TRUE(fx.Boxes[0].contains("\r\n\r\n"));
    EXPECT_EQ(fx.Titles(), (QStringList{"one", "two", "three"}));
    // Time "three", then delete "two" above it: "three" moves up one place.
    p.Grid601->SetRow(4);
    p.Edit604->setText("/t=11:00:30");
    p.Edit604Exit();
    EXPECT_EQ(p.Edit604->text(), fx.List().Items(3).GetCommandOptionsStr());
    EXPECT_EQ(fx.TimedLaunches(), (QStringList{"one", "three"}));
    p.Grid601->SetRow(3);
    p.Button603Click(); // answered OK
    EXPECT_EQ(fx.Boxes.size(), 2);
    EXPECT_EQ(fx.Titles(), (QStringList{"one", "three"}));
    EXPECT_EQ(p.Grid601->Row(), 2); // the row above
    EXPECT_EQ(p.Grid601->RowCount(), 4);
    EXPECT_EQ(fx.TimedLaunches(), (QStringList{"one", "three"}));

    // Adding: a new empty last row, chosen, its title box focused.
    p.Button601Click();
    EXPECT_EQ(fx.List().Count(), 4);
    EXPECT_EQ(p.Grid601->RowCount(), 5);
    EXPECT_EQ(p.Grid601->Row(), 4);
    EXPECT_TRUE(p.Edit601->text().isEmpty());
    EXPECT_TRUE(p.Edit601->isEnabled());
    p.Edit601->setText("four");
    p.Edit604->setText("/t=11:00:30");
    p.CommitEdits();
    EXPECT_EQ(fx.List().Items(3).Title(), "four");
    EXPECT_EQ(fx.TimedLaunches().size(), 2); // "four" has no program: not started
    // ... and says so, in a box queued out of the tick.
    QApplication::processEvents();
    ASSERT_EQ(fx.Boxes.size(), 3);
    EXPECT_EQ(fx.Boxes[2], FormatMsg(Messages().MsgErrorFileNotFound, {QString()}));
}

TEST(OptionCommandPage, EditBoxesStoreRealChangesOnly) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    p.Grid601->SetRow(3);
    TKvCommandItem& two = fx.List().Items(2);
    struct Row {
        TKvEdit* edit;
        QString typed;
        std::function<QString()> stored;
        QString expected;
    } rows[] = {
        {p.Edit601, "TWO", [&] { return two.Title(); }, "two"}, // letter case alone: kept
        {p.Edit601, "second", [&] { return two.Title(); }, "second"},
        // Program files and options differing in letter case only are other
        // files and other options on this system: stored.
        {p.Edit602, fx.two.toUpper(), [&] { return two.FileName(); }, fx.two.toUpper()},
        {p.Edit602, fx.three, [&] { return two.FileName(); }, fx.three},
        {p.Edit603, "--verbose", [&] { return two.OptionStr(); }, "--verbose"},
        {p.Edit603, "--VERBOSE", [&] { return two.OptionStr(); }, "--VERBOSE"},
        {p.Edit603, "-v", [&] { return two.OptionStr(); }, "-v"},
        {p.Edit603, "-V", [&] { return two.OptionStr(); }, "-V"},
    };
    for (const Row& r : rows) {
        r.edit->setText(r.typed);
        p.CommitEdits();
        EXPECT_EQ(r.stored(), r.expected) << r.typed.toStdString();
    }
    // Leaving a box for another control commits it as well.
    fx.Form->activateWindow();
    p.Edit601->setFocus();
    QApplication::processEvents();
    if (!p.Edit601->hasFocus())
        GTEST_SKIP() << "no keyboard focus on this platform";
    p.Edit601->setText("by focus");
    p.Edit603->setFocus();
    EXPECT_EQ(two.Title(), "by focus");
}

TEST(OptionCommandPage, BrowseTakesTheChosenProgram) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    p.Grid601->SetRow(3);
    const QString other = Program(fx, "other");
    bool accept = false;
    fx.Form->Dialogs.OpenFile = [&](QFileDialog& dialog) -> std::optional<QString> {
        EXPECT_EQ(QDir(dialog.directory()).absolutePath(), QDir(fx.Dir.path()).absolutePath());
        EXPECT_TRUE(dialog.filter() & QDir::Executable);
        if (!accept)
            return std::nullopt;
        return other;
    };
    p.Button602Click(); // cancelled
    EXPECT_EQ(fx.List().Items(2).FileName(), fx.two);
    accept = true;
    p.Button602Click();
    EXPECT_EQ(p.Edit602->text(), other);
    EXPECT_EQ(fx.List().Items(2).FileName(), other);
}

TEST(OptionCommandPage, BrowseTakesAProgramDifferingInLetterCaseOnly) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    p.Grid601->SetRow(3);
    const QString upper = Program(fx, "TWO"); // beside "two": another file
    fx.Form->Dialogs.OpenFile = [&](QFileDialog&) -> std::optional<QString> { return upper; };
    p.Button602Click();
    EXPECT_EQ(fx.List().Items(2).FileName(), upper);
}

TEST(OptionCommandPage, TypedTextSurvivesAMoveAndALanguageSwitch) {
    // A person types into the boxes and, without leaving them, clicks an arrow
    // button (which never takes the focus) or picks another language.
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    fx.Form->activateWindow();
    p.Grid601->SetRow(3); // "two"
    p.Edit601->setFocus();
    QApplication::processEvents();
    if (!p.Edit601->hasFocus())
        GTEST_SKIP() << "no keyboard focus on this platform";
    p.Edit601->selectAll();
    QTest::keyClicks(p.Edit601, "second");
    p.Edit603->setText("--fast"); // also typed, not committed
    ASSERT_TRUE(p.Edit601->hasFocus());
    QTest::mouseClick(p.PngButton601, Qt::LeftButton, {}, p.PngButton601->rect().center());
    EXPECT_TRUE(p.Edit601->hasFocus()); // the arrow took no focus
    EXPECT_EQ(fx.Titles(), (QStringList{"second", "one", "three"}));
    EXPECT_EQ(p.Grid601->Row(), 2);
    EXPECT_EQ(p.Edit601->text(), "second");
    EXPECT_EQ(fx.List().Items(1).OptionStr(), "--fast");
    // Typed again, then the language changes under the open dialog.
    const QString path = LangDir() + "English.lang";
    {
        IniDocument d(path, QLocale::c());
        d.SetStrings({"[OptionForm]", "OptionForm.Caption=Velmora - Options"});
        d.UpdateFile();
    }
    QTest::keyClicks(p.Edit601, " command");
    fx.Main->Menu().LanguageListClick(path);
    EXPECT_EQ(fx.Form->windowTitle(), "Velmora - Options");
    EXPECT_EQ(fx.List().Items(1).Title(), "second command");
    EXPECT_EQ(p.Edit601->text(), "second command");
}

TEST(OptionCommandPage, DoubleClickRunsTheChosenCommand) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    p.Grid601->SetRow(4);
    fx.Platform.Calls.clear();
    p.Grid601DblClick();
    EXPECT_EQ(fx.Platform.Calls.filter("launch:" + fx.three).size(), 1);
}

TEST(OptionCommandPage, ColumnWidthsRoundTrip) {
    CommandFixture fx;
    TOptionCommandPage& p = *fx.page;
    const int widths[] = {150, 200, 200, 150};
    // Shown with the stored (here: default) widths and the first column in view,
    // although the grid had no size of its own yet when the dialog loaded them.
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(p.ColWidth(c), widths[c]) << "column " << c;
    EXPECT_EQ(p.Grid601->LeftCol(), 0);
    for (int c = 0; c < 4; ++c) {
        p.SetColWidth(c, widths[c] + c);
        EXPECT_EQ(p.ColWidth(c), widths[c] + c);
    }
    p.SetColWidth(1, 0); // nonsense is ignored
    EXPECT_EQ(p.ColWidth(1), 201);
    // Kept with the dialog's state in the settings file, and read back from there.
    fx.Form->SaveOptionFormState();
    const IniDocument doc(fx.Ini());
    EXPECT_EQ(doc.ReadInteger("OptionForm", "ColWidths[3]", 0), 153);
    p.SetColWidth(3, 99);
    fx.Form->LoadOptionFormState();
    EXPECT_EQ(p.ColWidth(3), 153);
}
