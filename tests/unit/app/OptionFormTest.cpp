// The options dialog's frame: the remembered page, closing (always OK, refused
// without an alarm action), one dialog at a time, what the clock does after it.
#include "OptionFixture.h"
#include "app/DayWords.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockMenu.h"
#include "app/options/OptionAlarmPage.h"
#include "app/options/OptionTextPage.h"
#include "core/KvCommandList.h"
#include "widgets/KvContrast.h"
#include "widgets/KvEdit.h"
#include "widgets/KvPngButton.h"
#include "widgets/KvTabSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace velmora;

TEST(OptionForm, FrameShapeAndShowing) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    EXPECT_EQ(f.size(), QSize(f.Scaled(541), f.Scaled(533)));
    EXPECT_EQ(f.windowTitle(), "Velmora - オプション");
    EXPECT_EQ(f.OptionTabSet->Tabs().Count(), 6);
    EXPECT_EQ(f.OptionTabSet->Tabs()[1]->Caption(), "フォント・いろ");
    EXPECT_EQ(f.OptionTabSet->TabOptions().TabWidth(), f.Scaled(130));
    EXPECT_EQ(f.OptionTabSet->TabOptions().TabHeight(), f.Scaled(28));
    EXPECT_EQ(f.OptionTabSet->TabOptions().TabPosition(), tpLeft);
    EXPECT_FALSE(f.OptionTabSet->AllowDragTab());
    EXPECT_EQ(f.OptionPageControl->count(), 6);
    EXPECT_TRUE(f.SaveSettingsButton->isDefault());
    EXPECT_EQ(f.SaveSettingsButton->text(), "せってーを ほぞん");
    EXPECT_EQ(f.ShortcutSpeedButton->Action(), fx.Main->Menu().ActCreateShortcut());
    EXPECT_EQ(f.ShortcutSpeedButton->GlyphUp().size(), QSize(16, 16));
    EXPECT_EQ(f.font().family(), fx.Platform.MenuFont().family());
    // Choosing a tab shows its page.
    f.OptionTabSet->SetTabIndex(4);
    EXPECT_EQ(f.ActivePageIndex(), 4);
    EXPECT_EQ(f.OptionPageControl->currentWidget()->objectName(), "TabSheet5");
}

TEST(OptionForm, AFixedDialogFrameWithOnlyACloseBox) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    const Qt::WindowFlags flags = f.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_EQ(f.windowHandle()->flags() & Qt::WindowType_Mask, Qt::Dialog);
}

TEST(OptionForm, TabCaptionsSitInTheMiddleOfTheirTabs) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    QApplication::processEvents();
    TKvTabSet& tabs = *f.OptionTabSet;
    const QImage image = tabs.Render().convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < tabs.Tabs().Count(); ++i) {
        const QRect tab = tabs.GetTabRect(i);
        const QColor fill = image.pixelColor(tab.right() - 12, tab.center().y());
        // The caption's own pixels, from the tab's top line to its bottom line.
        int top = -1, bottom = -1;
        for (int y = tab.top(); y <= tab.bottom(); ++y)
            for (int x = tab.left() + 6; x < tab.left() + 60; ++x)
                if (ContrastRatio(image.pixelColor(x, y), fill) > 2.0 && y > tab.top() + 1 &&
                    y < tab.bottom() - 1) {
                    top = top < 0 ? y : top;
                    bottom = y;
                }
        ASSERT_GE(top, 0) << "no caption on tab " << i;
        EXPECT_GE(top, tab.top() + 4) << "the caption of tab " << i << " touches its top line";
        EXPECT_NEAR((top + bottom) / 2.0, tab.top() + tab.height() / 2.0, 3.0)
            << "caption rows " << top << ".." << bottom << " in tab " << tab.top() << ".."
            << tab.bottom();
    }
}

TEST(OptionForm, RememberedPage) {
    struct {
        const char* stored;
        int page;
    } cases[] = {{nullptr, 0}, {"3", 3},  {"5", 5}, {"0", 0},
                 {"6", 0},     {"-1", 0}, {"x", 0}, {"0x4", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "none");
        OptionFixture fx(c.stored ? QStringLiteral("[OptionForm]\nActivePageIndex=%1").arg(c.stored)
                                  : QString());
        TOptionForm& f = fx.Open();
        EXPECT_EQ(f.ActivePageIndex(), c.page);
        EXPECT_EQ(f.OptionTabSet->TabIndex(), c.page);
    }
}

TEST(OptionForm, EscapeDoesNotCloseAndEveryCloseIsOk) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_TRUE(fx.Boxes.isEmpty());
}

TEST(OptionForm, ClosingIsRefusedWhileTheAlarmHasNoAction) {
    OptionFixture fx("[Alarm]\nIsAlarmSet=1");
    TOptionForm& f = fx.Open();
    auto& alarm = fx.Page<TOptionAlarmPage>();
    const QString warning = FallbackText("MsgWarnAlarmOptionNotChecked");
    // The close box, the save button and Enter in an edit box: each refused, each warned.
    EXPECT_FALSE(f.close());
    f.SaveSettingsButton->click();
    alarm.Edit502->setFocus();
    QTest::keyClick(alarm.Edit502, Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(fx.Boxes, QStringList({warning, warning, warning}));
    alarm.CheckBox505->setChecked(true);
    f.SaveSettingsButton->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(fx.Boxes.size(), 3);
}

TEST(OptionForm, CloseBoxCommitsAndTheClockSavesInOrder) {
    OptionFixture fx;
    auto empty = std::make_unique<TKvCommandItem>();
    fx.Main->Commands().ACommandList().Add(std::make_unique<TKvCommandItem>());
    auto named = std::make_unique<TKvCommandItem>();
    named->SetTitle("kept");
    fx.Main->Commands().ACommandList().Add(std::move(named));
    fx.Main->Commands().ACommandList().Items(0).SetTitle(QString()); // an emptied time sync
    fx.Main->Commands().ACommandList().Items(0).SetFileName(QString());
    bool secondOpened = false;
    QTimer::singleShot(0, [&] {
        TOptionForm* f = fx.Main->FOptionForm;
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(fx.Main->DialogOpen());
        // A second Options command while the dialog is open does nothing.
        fx.Main->ActPopShowOptionExecute();
        secondOpened = fx.Main->FOptionForm != f;
        auto& alarm = *f->PageOf<TOptionAlarmPage>();
        alarm.CheckBox504->setChecked(true);
        alarm.Edit501->setFocus();
        alarm.Edit501->setText("Tea is ready");
        fx.Main->ActStartAlarmExecute(); // a test alarm still runs
        f->SaveSettingsButton->setFocus();
        f->OptionTabSet->SetTabIndex(2);
        f->close(); // the window manager's close box
    });
    fx.Main->ActPopShowOptionExecute();
    EXPECT_FALSE(secondOpened);
    EXPECT_EQ(fx.Main->FOptionForm, nullptr);
    EXPECT_FALSE(fx.Main->RunState().IsAlarmRunning);
    EXPECT_EQ(fx.Main->Settings().AlarmHint, "Tea is ready");
    ASSERT_EQ(fx.Main->Commands().ACommandList().Count(),
              2); // the empty one went, command 0 stayed
    EXPECT_EQ(fx.Main->Commands().ACommandList().Items(1).Title(), "kept");
    const IniDocument ini(fx.Ini(), QLocale::c());
    EXPECT_EQ(ini.ReadInteger("OptionForm", "ActivePageIndex", -1), 2);
    EXPECT_EQ(ini.ReadString("Alarm", "AlarmHint", ""), "Tea is ready");
    EXPECT_TRUE(ini.ReadBool("Alarm", "UseAlarmBalloon", false));
    EXPECT_EQ(ini.ReadSections().first(), "OptionForm"); // written a moment before the rest
    // The day words' kind is stored: the file is rewritten without its comments.
    QFile day(DayLangFile());
    ASSERT_TRUE(day.open(QIODevice::ReadOnly));
    const QByteArray bytes = day.readAll();
    EXPECT_FALSE(
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2)
            .contains("[General]"));
}

TEST(OptionForm, ALanguageChosenWhileOpenRetitlesIt) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    const QString path = LangDir() + "English.lang";
    {
        IniDocument d(path, QLocale::c());
        d.SetStrings({"[OptionForm]", "OptionForm.Caption=Velmora - Options",
                      "OptionTabSet.Tabs[4].Caption=Alarm", "Button502.Caption=Test the alarm",
                      "RadioGroup101.Items[1]=12:34", "[Lang: Caption]",
                      "StopAlarmCaption=Stop the alarm"});
        d.UpdateFile();
    }
    fx.Main->ActStartAlarmExecute();
    fx.Main->Menu().LanguageListClick(path);
    EXPECT_EQ(f.windowTitle(), "Velmora - Options");
    EXPECT_EQ(f.OptionTabSet->Tabs()[4]->Caption(), "Alarm");
    auto& alarm = fx.Page<TOptionAlarmPage>();
    EXPECT_EQ(alarm.ButtonCaption(), "Test the alarm");
    EXPECT_EQ(alarm.Button502->text(), "Stop the alarm"); // the alarm runs
    fx.Main->ActPopStopAlarmExecute();
    EXPECT_EQ(alarm.Button502->text(), "Test the alarm");
    EXPECT_EQ(fx.Page<TOptionTextPage>()
                  .findChild<QWidget*>("RadioGroup101Item1")
                  ->property("text")
                  .toString(),
              "12:34");
}

TEST(OptionForm, ALoopEndingWithoutACloseStillSaves) {
    OptionFixture fx;
    QTimer::singleShot(0, [&] {
        fx.Main->Settings().ShowDate = false;
        fx.Main->FOptionForm->OptionTabSet->SetTabIndex(5);
        // Hidden without a close, as when the program quits under the open dialog
        // (the test cannot quit its own application).
        fx.Main->FOptionForm->hide();
    });
    fx.Main->ActPopShowOptionExecute();
    EXPECT_EQ(fx.Main->FOptionForm, nullptr);
    const IniDocument ini(fx.Ini(), QLocale::c());
    EXPECT_EQ(ini.ReadInteger("OptionForm", "ActivePageIndex", -1), 5);
    EXPECT_FALSE(ini.ReadBool("ClockStr", "ShowDate", true));
}

TEST(OptionForm, AHandMadeUtf8SettingsFileIsKeptBeforeTheDialogStateIsWritten) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("velmora.ini");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[ClockStr]\r\nShowDate=0\r\n");
    }
    FakePlatform platform;
    FakeClock clock;
    QStringList boxes;
    SetMessageDialogHook([&](const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) {
        boxes << text;
        return mrOk;
    });
    {
        TMainForm main(platform, clock, ini);
        main.ClockTimer()->SetEnabled(false);
        QTimer::singleShot(0, [&] { main.FOptionForm->close(); });
        main.ActPopShowOptionExecute();
    }
    SetMessageDialogHook({});
    // The original went to the side unchanged; the new file has everything.
    QFile backup(ini + ".bak");
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), QByteArray("[ClockStr]\r\nShowDate=0\r\n"));
    EXPECT_TRUE(IniDocument(ini).SectionExists("ClockStr"));
    EXPECT_EQ(boxes.size(), 1); // the notice at start, no error
}

TEST(OptionForm, FitsTheWorkAreaOfASmallOrScaledScreen) {
    // Work areas in logical pixels: 1920 x 1080 at 200 % with a panel; 1600 x 1000
    // at scale 2; a tiny one; a large one where the design size stays.
    struct Case {
        const char* what;
        QRect available;
        QMargins frame;
    };
    const Case cases[] = {
        {"1920x1080 at 200 %", QRect(0, 0, 960, 516), QMargins(1, 20, 1, 1)},
        {"1600x1000 at scale 2", QRect(0, 0, 800, 500), QMargins(1, 20, 1, 1)},
        {"tiny", QRect(0, 0, 400, 300), QMargins(4, 30, 4, 4)},
        {"large", QRect(0, 0, 1920, 1050), QMargins(1, 20, 1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OptionFixture fx;
        TOptionForm& f = fx.Open();
        f.FitInto(c.available, c.frame);
        QApplication::processEvents();
        const QSize room = c.available.size() - QSize(c.frame.left() + c.frame.right(),
                                                      c.frame.top() + c.frame.bottom());
        EXPECT_LE(f.width(), room.width());
        EXPECT_LE(f.height(), room.height());
        EXPECT_EQ(f.minimumSize(), f.maximumSize()); // still a fixed frame
        // The bottom bar with the save button is wholly inside the dialog.
        const QRect save(f.SaveSettingsButton->mapTo(&f, QPoint(0, 0)),
                         f.SaveSettingsButton->size());
        EXPECT_TRUE(f.rect().contains(save)) << save.x() << "," << save.y();
        // The pages scroll where they do not fit, and begin at their top left.
        const bool small = f.height() < f.DesignSize().height();
        EXPECT_EQ(f.PageScroller->verticalScrollBar()->maximum() > 0, small);
        EXPECT_EQ(f.PageScroller->verticalScrollBar()->value(), 0);
        if (!small) {
            EXPECT_EQ(f.size(), f.DesignSize());
        }
        // Only one scroll bar where the width allows.
        if (room.width() >= f.DesignSize().width() + 40) {
            EXPECT_EQ(f.PageScroller->horizontalScrollBar()->maximum(), 0);
        }
    }
}

TEST(OptionForm, TheAutostartButtonAddsOrRemovesAndSaysWhichItWillDo) {
    OptionFixture fx;
    auto& f = fx.Open();
    const QString add = FallbackText("ActCreateShortcut.Caption");
    const QString remove = FallbackText("ActRemoveShortcut.Caption");
    ASSERT_NE(add, remove);
    EXPECT_EQ(f.ShortcutSpeedButton->Caption(), add);
    QTest::mouseClick(f.ShortcutSpeedButton, Qt::LeftButton);
    EXPECT_TRUE(fx.Platform.Autostart);
    EXPECT_EQ(f.ShortcutSpeedButton->Caption(), remove);
    QTest::mouseClick(f.ShortcutSpeedButton, Qt::LeftButton);
    EXPECT_FALSE(fx.Platform.Autostart);
    EXPECT_EQ(f.ShortcutSpeedButton->Caption(), add);
    EXPECT_EQ(fx.Boxes, QStringList({FallbackText("MsgInfoCreatedShortcut"),
                                     FallbackText("MsgInfoRemovedShortcut")}));
    // An entry made meanwhile elsewhere: the dialog opened again offers to remove it.
    fx.Platform.Autostart = true;
    fx.Main->FOptionForm = nullptr;
    fx.Form.reset();
    EXPECT_EQ(fx.Open().ShortcutSpeedButton->Caption(), remove);
}
