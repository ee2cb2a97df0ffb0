// The options dialog's helpers: swatch marks, text margins, font style texts, the
// open-file dialog preset and the edits' double-click.
#include "app/options/OptionHelpers.h"

#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

TEST(VelmoLib, TransparentMarkIsAFourPixelCheckerboard) {
    QImage image(48, 18, QImage::Format_ARGB32);
    image.fill(Qt::black);
    DrawTransparentMark(image);
    const QColor silver(192, 192, 192), white(Qt::white);
    struct {
        int x, y;
        QColor want;
    } cases[] = {{0, 0, silver},  {3, 3, silver},  {4, 0, white},   {0, 4, white},
                 {4, 4, silver},  {7, 7, silver},  {8, 0, silver},  {12, 0, white},
                 {47, 17, white}, {44, 16, white}, {40, 16, silver}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(c.x).arg(c.y).toStdString());
        EXPECT_EQ(image.pixelColor(c.x, c.y), c.want);
    }
}

TEST(VelmoLib, NoBorderMarkCrossesCornerToCorner) {
    QImage image(48, 18, QImage::Format_ARGB32);
    image.fill(Qt::white);
    DrawNoBorderMark(image);
    const auto reddish = [&image](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return c.red() > 200 && c.green() < 200;
    };
    EXPECT_TRUE(reddish(0, 0));
    EXPECT_TRUE(reddish(24, 9));
    EXPECT_TRUE(reddish(46, 17));
    EXPECT_TRUE(reddish(1, 17));
    EXPECT_TRUE(reddish(46, 0));
    EXPECT_EQ(image.pixelColor(24, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(0, 9), QColor(Qt::white));
}

TEST(VelmoLib, TextTopMargin) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    const QFontMetrics fm(f);
    const int h = fm.height();
    struct {
        int row, want;
    } cases[] = {{h, 0},     {h + 1, 0},  {h + 2, 1},  {h + 7, 3},
                 {h - 1, 0}, {h - 2, -1}, {h - 3, -2}, // -1.5 to -2
                 {h - 5, -2}};                         // -2.5 to -2, halves to even
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row - h);
        EXPECT_EQ(GetTextTopMargin(fm, c.row), c.want);
    }
}

TEST(VelmoLib, FontStyleText) {
    struct {
        int bits;
        const char* want;
    } cases[] = {{0, "Roman"},
                 {1, "Bold"},
                 {3, "Bold, Italic"},
                 {2 | 8, "Italic, StrikeOut"},
                 {15, "Bold, Italic, Underline, StrikeOut"}};
    for (const auto& c : cases)
        EXPECT_EQ(GetFontStyleStr(c.bits), QString::fromLatin1(c.want));
    QFont f;
    f.setBold(true);
    f.setItalic(true);
    EXPECT_EQ(GetFontStyleStr(f), "Bold, Italic");
}

TEST(VelmoLib, OpenDialogPreset) {
    QTemporaryDir dir;
    const QString sound = dir.filePath("ring.mp3");
    QFile(sound).open(QIODevice::WriteOnly);
    const QString fallback = QDir::homePath();
    EXPECT_EQ(OpenDialogNameFilters("Sound Files (*.mp3; *.wav)|*.mp3;*.wav"),
              QStringList{"Sound Files (*.mp3 *.wav)"});
    EXPECT_EQ(OpenDialogNameFilters("A|*.a|B (x)|*.b;*.c"),
              QStringList({"A (*.a)", "B (*.b *.c)"}));
    struct {
        QString name;
        QString folder;
        bool selected;
    } cases[] = {
        {sound, dir.path(), true},
        {dir.filePath("gone.wav"), dir.path(), false}, // folder kept, no file
        {"/no/such/folder/x.wav", fallback, false},
        {QString(), fallback, false},
    };
    for (const auto& c : cases) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        PrepareOpenDialog(dialog, c.name, "Sound Files (*.mp3; *.wav)|*.mp3;*.wav", fallback);
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(c.folder).canonicalPath());
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Sound Files (*.mp3 *.wav)"});
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        if (c.selected) {
            EXPECT_EQ(dialog.selectedFiles().value(0), sound);
        }
    }
}

TEST(VelmoLib, EditDblClickSelectsAll) {
    QLineEdit e("a message");
    EditDblClick(&e);
    EXPECT_EQ(e.selectedText(), "a message");
    EditDblClick(nullptr);
}
