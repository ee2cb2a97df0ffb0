#include "app/about/AboutForm.h"

#include "app/about/AboutLogic.h"
#include "app/Credits.h"
#include "core/CommandLine.h"
#include "core/KvTimer.h"
#include "core/KvVersionInfo.h"
#include "app/LangFiles.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "core/VersionBlockWriter.h"
#include "fakes/FakePlatform.h"
#include "platform/linux/LinuxPlatform.h"
#include "unit/core/VersionFiles.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

TEST(AboutLogic, LinkColourFromTheDesktopText) {
    struct Case {
        const char* text;
        int r, g, b;
    } cases[] = {
        {"0,0,128", 0, 0, 128},       // dark blue
        {"255,0,0", 255, 0, 0},       // red
        {"1,2", 1, 2, 255},           // blue missing: 255
        {"", 0, 0, 255},              // nothing: blue
        {"0,0,255", 0, 0, 255},       // what is used when the desktop names none
        {"x,y,z", 0, 0, 255},         // not integers
        {"10,,30", 10, 0, 30},        // an empty part
        {",,", 0, 0, 255},            // three empty parts: none is an integer
        {"1 2 3", 1, 2, 3},           // blanks separate too
        {" 4 , 5 ,6 ", 4, 5, 6},      // a blank next to a comma adds no part
        {"7,\"8\",9", 7, 8, 9},       // a quoted part
        {"256,257,511", 0, 1, 255},   // low 8 bits
        {"-1,0,0", 255, 0, 0},        // -1 is $FFFFFFFF: its low byte
        {"+12,0,0", 12, 0, 0},        // a sign
        {"0x10,$20,1e2", 0, 0, 255},  // decimal only
        {"99999999999,1,1", 0, 1, 1}, // beyond 32 bits: not an integer
        {"1.5,2,3", 0, 2, 3},         // not an integer
        {"12,34,56,78", 12, 34, 56},  // a fourth part is ignored
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseAnchorColor(QString::fromUtf8(c.text)), TColor(c.r | c.g << 8 | c.b << 16))
            << c.text;
}

TEST(AboutLogic, CommaTextParts) {
    EXPECT_EQ(SplitCommaText("a, b ,c"), QStringList({"a", "b", "c"}));
    EXPECT_EQ(SplitCommaText("a,"), QStringList({"a", ""}));
    EXPECT_EQ(SplitCommaText("  "), QStringList());
    EXPECT_EQ(SplitCommaText("\"a b\",\"q\"\"q\""), QStringList({"a b", "q\"q"}));
    EXPECT_EQ(SplitCommaText("\"open"), QStringList({"open"}));
}

TEST(AboutLogic, TextTopMargin) {
    struct Case {
        int height, text, margin;
    } cases[] = {{12, 12, 0},  {12, 9, 1},   {12, 8, 2},   {12, 13, 0},  {12, 14, -1},
                 {12, 15, -2}, {12, 17, -2}, {12, 19, -4}, {12, 21, -4}, {20, 13, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(TextTopMargin(c.height, c.text), c.margin) << c.height << " " << c.text;
}

TEST(AboutLogic, CreditsNameTheCarriedLibrariesWithTheirRunningVersions) {
    // SDL's versions from the sound player as built.
    LinuxPlatform platform{TLaunchHelpers{.SoundPlayer = QStringLiteral(VELMORA_SOUND_PLAYER)}};
    const TSoundLibraryVersions sound = platform.SoundLibraryVersions();
    const auto credits = CarriedLibraries(sound.Sdl, sound.Mixer);
    QStringList names;
    for (const auto& c : credits) {
        names << c.Name;
        EXPECT_FALSE(c.Version.isEmpty()) << c.Name.toStdString();
        EXPECT_TRUE(c.Notice.startsWith("(C) ")) << c.Name.toStdString();
        EXPECT_FALSE(c.Licence.isEmpty()) << c.Name.toStdString();
        EXPECT_TRUE(c.Address.startsWith("http")) << c.Name.toStdString();
    }
    EXPECT_EQ(names, QStringList({"Qt", "libpng", "zlib", "SDL2", "SDL2_mixer", "libX11"}));
    EXPECT_EQ(credits[0].Version, QString::fromLatin1(qVersion()));
    const QRegularExpression number(R"(^\d+\.\d+\.\d+)");
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(number.match(credits[i].Version).hasMatch())
            << credits[i].Version.toStdString();
    EXPECT_EQ(credits[0].Licence, "GNU LGPL version 3");
    EXPECT_EQ(credits[2].Licence, "zlib License");

    const QStringList lines = CreditLines({{"Lib", "1.2", "(C) A", "MIT", "https://x/"},
                                           {"Other", "", "(C) B", "Zlib", "https://y/"}});
    EXPECT_EQ(lines, QStringList({"* Lib 1.2", "  (C) A", "  MIT", "  https://x/", "* Other",
                                  "  (C) B", "  Zlib", "  https://y/"}));
}

namespace {

constexpr velmora::TVersionStamp kStamp{3,
                                        4,
                                        0,
                                        0,
                                        0x0411,
                                        0x03A4,
                                        "041103A4",
                                        "Velmora",
                                        "3.4.0.0.20161013",
                                        "A clock",
                                        "velmora.exe"};

class AboutFormTest : public ::testing::Test {
protected:
    QTemporaryDir Tmp;
    FakePlatform Platform;
    QString Exe;

    void SetUp() override {
        ResetLangState();
        SetLangDir(Tmp.path() + "/Lang/");
        QDir().mkpath(Tmp.path() + "/Lang");
        SetCurrentLangFile(Tmp.path() + "/Lang/missing.lang");
        Exe = Tmp.filePath("clock.exe");
        const auto w = WriteVersionBlock<4096>(kStamp);
        QFile f(Exe);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(testfiles::PeFile(
            QByteArray(reinterpret_cast<const char*>(w.Bytes.data()), qsizetype(w.Size)), false));
    }
    void TearDown() override { ResetLangState(); }

    std::unique_ptr<TAboutForm> Shown(const QString& exe = QString()) {
        auto form = std::make_unique<TAboutForm>(Platform, exe.isEmpty() ? Exe : exe);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
};

} // namespace

TEST_F(AboutFormTest, ShowsTheTextsTheVersionAndTheCredits) {
    auto f = Shown();
    EXPECT_EQ(f->size(), QSize(382, 206));
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Velmoraの バージョン じょーほー"));
    EXPECT_EQ(f->VersionLabel->text(), "3.4.0.0.20161013");
    EXPECT_EQ(f->OKButton->text(), "OK");
    EXPECT_EQ(f->WebSiteLabel->text(), QString::fromUtf8("「Velmora Project」"));
    EXPECT_FALSE(f->IconImage->pixmap().isNull());
    EXPECT_EQ(f->IconImage->pixmap().size(), QSize(48, 48));
    const QStringList memo = f->CreditMemo->toPlainText().split('\n');
    QString first;
    for (const TCaption& c : LoadAboutFormTexts())
        if (c.Key == "CreditMemo.Text")
            first = c.Text;
    EXPECT_TRUE(first.startsWith(QString::fromUtf8("Velmoraは いかの"))) << first.toStdString();
    EXPECT_EQ(memo[0], first);
    EXPECT_EQ(memo[1], "* Qt " + QString::fromLatin1(qVersion()));
    EXPECT_TRUE(memo.contains("  https://zlib.net/"));
    // Every credits line fits the box: wrapping would lose its indent.
    const QFontMetrics fm(f->CreditMemo->font());
    const int room =
        f->CreditMemo->viewport()->width() - 2 * int(f->CreditMemo->document()->documentMargin());
    for (const QString& line : memo.mid(1))
        EXPECT_LE(fm.horizontalAdvance(line), room) << line.toStdString();
    EXPECT_TRUE(f->CreditMemo->isReadOnly());
    EXPECT_EQ(f->CreditMemo->frameShape(), QFrame::NoFrame);
    EXPECT_FALSE(f->CreditMemo->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(f->CreditMemo->palette().color(QPalette::Base), Platform.SystemColor(15));
    EXPECT_TRUE(f->OKButton->isDefault());
    // The title is one point larger than the menu font the dialog uses.
    EXPECT_EQ(f->font().family(), Platform.MenuFont().family());
    EXPECT_EQ(f->TitleLabel->font().pointSizeF(), Platform.MenuFont().pointSizeF() + 1);
}

TEST_F(AboutFormTest, LabelsSitWhereA12PixelLineWould) {
    auto f = Shown();
    struct Place {
        QLabel* label;
        int top;
    } places[] = {
        {f->TitleLabel, 8}, {f->VersionLabel, 36}, {f->AuthorLabel, 56}, {f->WebSiteLabel, 76}};
    for (const Place& p : places) {
        const int h = QFontMetrics(p.label->font()).height();
        ASSERT_GT(h, 12);
        EXPECT_EQ(p.label->y(), p.top + TextTopMargin(12, h))
            << p.label->objectName().toStdString();
        EXPECT_EQ(p.label->height(), h);
        EXPECT_LT(p.label->y(), p.top); // moved up: the menu font is taller than 12 pixels
        // Nothing is clipped by the dialog's edge.
        EXPECT_LE(p.label->geometry().right(), f->width());
    }
    EXPECT_EQ(f->IconImage->pos(), QPoint(8, 36)); // the icon is no line of text
    EXPECT_EQ(f->CreditMemo->geometry(), QRect(74, 106, 300, 92));
    EXPECT_EQ(f->OKButton->geometry(), QRect(284, 68, 90, 21));
}

TEST_F(AboutFormTest, VersionOfFilesWithoutOrWithABrokenBlock) {
    EXPECT_EQ(Shown(Tmp.filePath("nothing"))->VersionLabel->text(), "No Version Information");
    QFile f(Exe);
    ASSERT_TRUE(f.resize(f.size() - 40)); // the block cut short
    EXPECT_EQ(Shown()->VersionLabel->text(), "Cannot Load Version Information");
    // This program: its own block.
    EXPECT_EQ(Shown(RunningExecutableName())->VersionLabel->text(), ProgramVersionStr());
}

TEST_F(AboutFormTest, TheLinkLightsUpUnderTheMouseAndOpensTheSite) {
    Platform.AnchorColor = "255,0,0";
    auto f = Shown();
    EXPECT_EQ(f->IEAnchorColor(), TColor(0x0000FF));
    QLabel* link = f->WebSiteLabel;
    const QColor menuText = Platform.SystemColor(7);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), menuText);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->toolTip(), kMakerWebSite);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), menuText);
    EXPECT_FALSE(link->font().underline());
    EXPECT_TRUE(link->toolTip().isEmpty());

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(Platform.Calls.filter("url:"), QStringList({"url:" + kMakerWebSite}));
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(f->AuthorLabel, Qt::LeftButton);
    EXPECT_EQ(Platform.Calls.filter("url:").size(), 1);
    // A browser that does not start is not reported: the dialog stays as it is.
    Platform.OpenResult = false;
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_TRUE(f->isVisible());
}

TEST_F(AboutFormTest, WithoutADesktopLinkColourTheLinkIsBlue) {
    Platform.AnchorColor = QString();
    EXPECT_EQ(TAboutForm(Platform, Exe).IEAnchorColor(), TColor(0xFF0000));
    Platform.AnchorColor = "0,0,128";
    EXPECT_EQ(TAboutForm(Platform, Exe).IEAnchorColor(), TColor(0x800000));
}

TEST_F(AboutFormTest, EscapeAndEnterCloseTheDialog) {
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        for (bool inMemo : {false, true}) {
            auto f = Shown();
            f->activateWindow();
            if (inMemo)
                f->CreditMemo->setFocus();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : static_cast<QWidget*>(f.get()),
                            Qt::Key(key));
            EXPECT_FALSE(f->isVisible()) << key << " " << inMemo;
            EXPECT_EQ(f->result(), QDialog::Accepted) << key << " " << inMemo;
        }
    }
}

TEST_F(AboutFormTest, TheCreditsBoxSelectsAllAndHasNoContextMenu) {
    auto f = Shown();
    f->activateWindow();
    QPlainTextEdit* memo = f->CreditMemo;
    const QString all = memo->toPlainText();
    // Tabbing into the box selects all of it.
    f->OKButton->setFocus();
    QTest::keyClick(f->OKButton, Qt::Key_Tab);
    ASSERT_TRUE(memo->hasFocus());
    EXPECT_EQ(memo->textCursor().selectedText().size(), all.size());

    QTextCursor c = memo->textCursor();
    c.clearSelection();
    memo->setTextCursor(c);
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(memo->textCursor().selectedText().isEmpty());
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(memo->textCursor().selectedText().isEmpty());
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(memo->textCursor().selectedText().size(), all.size());
    EXPECT_EQ(memo->toPlainText(), all); // read-only: typing changes nothing
    QTest::keyClicks(memo, "xyz");
    EXPECT_EQ(memo->toPlainText(), all);

    // A right-click (mouse or keyboard) opens no menu.
    for (QWidget* target : {static_cast<QWidget*>(memo), memo->viewport()}) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5),
                            target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &e);
        EXPECT_TRUE(e.isAccepted());
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}

TEST(AboutAction, OnlyOneDialogAtATime) {
    QTemporaryDir dir;
    FakePlatform platform;
    FakeClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    ResetLangState();
    TMainForm main(platform, clock, dir.filePath("velmora.ini"));
    main.ClockTimer()->SetEnabled(false);
    int dialogs = -1;
    bool openInside = false;
    QTimer::singleShot(0, [&] {
        openInside = main.DialogOpen();
        main.Menu().ActPopShowAboutExecute(); // a second request while one is open: nothing
        dialogs = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            dialogs += qobject_cast<TAboutForm*>(w) && w->isVisible() ? 1 : 0;
        QTest::keyClick(main.Menu().AboutForm(), Qt::Key_Escape);
    });
    EXPECT_FALSE(main.DialogOpen());
    main.Menu().ActPopShowAbout()->trigger();
    EXPECT_TRUE(openInside);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(main.DialogOpen());
    ResetLangState();
}

TEST_F(AboutFormTest, VersionAndAddressAreTheOnesOfVersionAndThePackage) {
    // The project's own values, which --version and the package take.
    QFile cmake(QStringLiteral(VELMORA_SOURCE_DIR "/CMakeLists.txt"));
    ASSERT_TRUE(cmake.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch project =
        QRegularExpression(R"re(project\(Velmora VERSION (\S+) HOMEPAGE_URL "([^"]+)")re")
            .match(QString::fromUtf8(cmake.readAll()));
    ASSERT_TRUE(project.hasMatch());
    const QString version = project.captured(1), address = project.captured(2);
    EXPECT_EQ(VersionText("velmora", QStringLiteral(VELMORA_VERSION)),
              "velmora " + version + "\n"); // what --version prints
    // The package names the same address and version.
    QFile packaging(QStringLiteral(VELMORA_SOURCE_DIR "/packaging/Packaging.cmake"));
    ASSERT_TRUE(packaging.open(QIODevice::ReadOnly));
    const QString rules = QString::fromUtf8(packaging.readAll());
    EXPECT_TRUE(rules.contains(R"re(set(VELMORA_HOMEPAGE "${PROJECT_HOMEPAGE_URL}"))re"));
    EXPECT_TRUE(rules.contains("set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})"));
    // The dialog on this very program: its version block, its link.
    auto f = Shown(RunningExecutableName());
    EXPECT_EQ(f->VersionLabel->text(), version);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f->WebSiteLabel, &enter);
    EXPECT_EQ(f->WebSiteLabel->toolTip(), address);
    QTest::mouseClick(f->WebSiteLabel, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(Platform.Calls.filter("url:"), QStringList({"url:" + address}));
}

TEST_F(AboutFormTest, TheCreditsAreSelectedWhenTheBoxTakesTheFocusNotWhenTheWindowComesBack) {
    auto f = Shown();
    const auto focusIn = [&f](Qt::FocusReason reason) {
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(f->CreditMemo, &in);
        return f->CreditMemo->textCursor().selectedText().size();
    };
    const qsizetype all = f->CreditMemo->toPlainText().size();
    EXPECT_EQ(focusIn(Qt::TabFocusReason), all);
    // The user narrows the selection, leaves the window and comes back.
    const struct {
        Qt::FocusReason Reason;
        bool SelectsAll;
    } cases[] = {{Qt::ActiveWindowFocusReason, false}, {Qt::PopupFocusReason, false},
                 {Qt::BacktabFocusReason, true}, {Qt::MouseFocusReason, true},
                 {Qt::ShortcutFocusReason, true}, {Qt::OtherFocusReason, true}};
    for (const auto& c : cases) {
        QTextCursor cursor = f->CreditMemo->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        f->CreditMemo->setTextCursor(cursor);
        EXPECT_EQ(focusIn(c.Reason), c.SelectsAll ? all : 3) << int(c.Reason);
    }
}
