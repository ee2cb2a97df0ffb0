#include "app/clock/MainForm.h"

#include "ClockFormFixture.h"
#include "app/LangTexts.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"
#include "widgets/KvPaintBox.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Two seconds before a Monday.
struct Fixture : ClockFolder {
    Fixture() : ClockFolder(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 58))) {} // a Sunday
};

QImage Render(TMainForm& f) {
    QImage img(f.size(), QImage::Format_ARGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    f.ClockPaintBox()->PaintTo(p);
    return img;
}

} // namespace

TEST(MainForm, FirstStartUsesDefaultsAndTheTickBuildsTheText) {
    Fixture fx;
    auto f = fx.Make();
    EXPECT_TRUE(f->ClockStr().isEmpty()); // nothing until the first tick
    EXPECT_EQ(f->windowTitle(), "MainForm");
    EXPECT_TRUE(f->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(f->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(fx.Platform.Calls.contains("stack:0")); // topmost
    EXPECT_TRUE(fx.Platform.Calls.contains("class:TMainForm"));
    EXPECT_EQ(f->pos(), QPoint(324, 522));
    f->ClockTimerTimer();
    EXPECT_EQ(f->ClockStr(), " 2026-12-06 Sun 23:59:58 ");
    // Solid money-green background, green border on the outermost pixels.
    const QImage img = Render(*f);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(img.pixelColor(img.width() / 2, 1), QColor(0xC0, 0xDC, 0xC0));
    bool textPixels = false;
    for (int x = 2; x < img.width() - 2 && !textPixels; ++x)
        for (int y = 2; y < img.height() - 2; ++y)
            if (img.pixelColor(x, y) != QColor(0xC0, 0xDC, 0xC0)) {
                textPixels = true;
                break;
            }
    EXPECT_TRUE(textPixels);
}

TEST(MainForm, SkippedSecondsStillRunTheMidnightCheck) {
    Fixture fx;
    auto f = fx.Make();
    f->DayWords().Sun = "S";
    f->DayWords().Mon = "Monday, a long word";
    f->AdjustMainFormMaxSize(f->Settings().FontColorMode);
    f->ClockTimerTimer(); // 23:59:58 Sunday
    const int sundayWidth = f->width();
    fx.Clock.Set(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 3))); // 00:00:00 .. 02 skipped
    f->ClockTimerTimer();
    EXPECT_GT(f->width(), sundayWidth);
    EXPECT_EQ(f->ClockStr(), " 2026-12-07 Monday, a long word 00:00:03 ");
}

TEST(MainForm, ALongJumpIsNotReplayed) {
    Fixture fx;
    auto f = fx.Make();
    f->DayWords().Mon = "Monday, a long word";
    f->ClockTimerTimer();
    const int width = f->width();
    fx.Clock.Set(QDateTime(QDate(2026, 12, 7), QTime(0, 5, 0))); // after a sleep
    f->ClockTimerTimer();
    EXPECT_EQ(f->width(), width); // midnight passed while asleep: no resize until next one
}

TEST(MainForm, WindowSizeFollowsTheScaling) {
    Fixture fx;
    fx.WriteIniText("[Appearance]\nScalingRateX=1.25\nScalingRateY=0.75\n[ClockStr]\nShowSecond=0");
    auto scaled = fx.Make();
    Fixture plain;
    plain.WriteIniText("[ClockStr]\nShowSecond=0");
    auto unscaled = plain.Make();
    const QSize a = scaled->size(), b = unscaled->size();
    EXPECT_NEAR(a.width(), b.width() * 1.25, 1.0);
    EXPECT_NEAR(a.height(), b.height() * 0.75, 1.0);
}

TEST(MainForm, SettingsRoundTripThroughTheWindow) {
    Fixture fx;
    fx.WriteIniText("; hand-edited\n[MainForm]\nLeft=40\nTop=-5\n[Appearance]\nFormOnTopmost=0\n"
                    "FontStyle=1\nMine=kept");
    {
        auto f = fx.Make();
        EXPECT_EQ(f->pos(), QPoint(40, 0)); // partly off the screen: brought wholly on
        EXPECT_TRUE(f->ClockFont().bold());
        EXPECT_TRUE(fx.Platform.Calls.contains("stack:2")); // bottom
        f->show();
        f->move(70, 80);
        f->hide(); // closed on the way out: the last shown place is kept
    }              // saved on destruction
    IniDocument d(fx.Ini(), QLocale::c());
    EXPECT_EQ(d.ReadInteger("MainForm", "Left", 0), 70);
    EXPECT_EQ(d.ReadInteger("MainForm", "Top", 0), 80);
    EXPECT_EQ(d.ReadString("Appearance", "Mine", ""), "kept");
    EXPECT_EQ(d.ReadSections().first(), "MainForm");
    QFile raw(fx.Ini());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains(QByteArray("h\0a\0n\0d\0", 8))); // comment dropped
}

TEST(MainForm, BottomModeTakesTheForegroundWhenTheDesktopHasIt) {
    Fixture fx;
    fx.WriteIniText("[Appearance]\nFormOnTopmost=0");
    auto f = fx.Make();
    fx.Platform.Calls.clear();
    f->ClockTimerTimer();
    EXPECT_FALSE(fx.Platform.Calls.contains("foreground"));
    fx.Platform.Desktop = true;
    f->ClockTimerTimer();
    EXPECT_TRUE(fx.Platform.Calls.contains("foreground"));
}

TEST(MainForm, UnreadableSettingsAreNotOverwritten) {
    Fixture fx;
    // A folder where the settings file should be cannot be read as a file.
    QDir(fx.Dir.path()).mkdir("velmora.ini");
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                box->accept();
    });
    {
        auto f = fx.Make();
        EXPECT_EQ(f->Settings().NormalBackgroundColor, 0xC0DCC0); // defaults
    }
    EXPECT_TRUE(QFileInfo(fx.Ini()).isDir());
}

TEST(MainForm, Utf8SettingsFileIsKeptBesideTheNewOne) {
    Fixture fx;
    QFile f(fx.Ini());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[ClockStr]\r\nShowDate=0\r\n");
    f.close();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                shown = box->text();
                box->accept();
            }
    });
    {
        auto form = fx.Make();
        EXPECT_TRUE(form->Settings().ShowDate); // read as UTF-16, so only defaults
    }
    // The language's words, naming the file and where it is kept.
    EXPECT_EQ(shown,
              FormatMsg(FallbackText("MsgWarnSettingsNotUtf16"), {fx.Ini(), fx.Ini() + ".bak"}));
    EXPECT_TRUE(shown.contains("velmora.ini.bak"));
    QFile backup(fx.Ini() + ".bak");
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), QByteArray("[ClockStr]\r\nShowDate=0\r\n"));
    EXPECT_TRUE(IniDocument(fx.Ini()).SectionExists("ClockStr"));
}

TEST(MainForm, SeeThroughWindowFollowsTheCompositor) {
    Fixture fx;
    fx.Platform.Compositor = true;
    auto f = fx.Make();
    f->Settings().BackgroundColorMode = cmTransparent;
    f->Settings().ShowBorder = true;
    f->ClockTimerTimer();
    const QPoint keyPixel(f->width() / 2, 1), border(0, 0);
    // Blended by a compositor: the window keeps its rectangle, and only the drawn
    // pixels take clicks.
    EXPECT_TRUE(f->mask().isEmpty());
    ASSERT_TRUE(fx.Platform.InputRegion.has_value());
    EXPECT_TRUE(fx.Platform.InputRegion->contains(border));
    EXPECT_FALSE(fx.Platform.InputRegion->contains(keyPixel));
    const int sends = fx.Platform.InputRegionSends;
    f->ClockTimerTimer(); // the same second: the same picture
    EXPECT_EQ(fx.Platform.InputRegionSends, sends) << "an unchanged region was sent again";

    // The compositor ends: a window shape cuts the key-coloured pixels away.
    fx.Platform.Compositor = false;
    fx.Platform.OnCompositorChange();
    EXPECT_FALSE(fx.Platform.InputRegion.has_value());
    EXPECT_TRUE(f->mask().contains(border));
    EXPECT_FALSE(f->mask().contains(keyPixel));

    // And it comes back.
    fx.Platform.Compositor = true;
    fx.Platform.OnCompositorChange();
    EXPECT_TRUE(f->mask().isEmpty());
    EXPECT_TRUE(fx.Platform.InputRegion.has_value());
}

TEST(MainForm, AWindowMadeWithoutACompositorKeepsItsShapeWhenOneStarts) {
    Fixture fx;
    auto f = fx.Make();
    f->Settings().BackgroundColorMode = cmTransparent;
    f->ClockTimerTimer();
    EXPECT_FALSE(f->mask().isEmpty());
    fx.Platform.Compositor = true; // its pixels have no alpha: the shape stays
    fx.Platform.OnCompositorChange();
    EXPECT_FALSE(f->mask().isEmpty());
    EXPECT_FALSE(fx.Platform.InputRegion.has_value());
}
