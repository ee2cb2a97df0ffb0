#include "widgets/KvTextFit.h"

#include "widgets/KvPng.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using namespace velmora;

namespace {
// Every character is 10 pixels wide, so widths are easy to reason about.
int TenPerChar(const QString& s) {
    return int(s.size()) * 10;
}
} // namespace

TEST(FitTextWithEllipsis, Table) {
    struct Case {
        int width;
        QString text;
        QString expected;
        bool shortened;
    } cases[] = {
        {100, "abcdef", "abcdef", false}, // fits whole
        {60, "abcdef", "abcdef", false},  // exactly fits
        {50, "abcdef", "ab...", true},    // 5 fit alone; "abcde..." too wide until "ab..."
        {40, "abcdef", "a...", true},     // one char + "..."
        {30, "abcdef", "a...", true},     // stops at one char even if still too wide
        {5, "abcdef", "", true},          // not even one character fits
        {0, "", "", false},
    };
    for (const auto& c : cases) {
        const TFitResult r = FitTextWithEllipsis(TenPerChar, c.width, c.text);
        EXPECT_EQ(r.Text, c.expected) << c.width << " " << c.text.toStdString();
        EXPECT_EQ(r.Shortened, c.shortened) << c.width;
    }
}

TEST(FitTextWithEllipsis, NeverCutsASurrogatePair) {
    // Letters and emoji (two UTF-16 units each) in every order, cut at every width:
    // no result may end in half a pair.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600
    const QString texts[] = {emoji + emoji + emoji, "a" + emoji + "b" + emoji,
                             emoji + "ab" + emoji + "cd", "ab" + emoji};
    for (const QString& text : texts)
        for (int width = 0; width <= TenPerChar(text) + 10; ++width) {
            const QString fit = FitTextWithEllipsis(TenPerChar, width, text).Text;
            const QString kept = fit.endsWith("...") ? fit.chopped(3) : fit;
            ASSERT_TRUE(text.startsWith(kept));
            for (qsizetype i = 0; i < kept.size(); ++i) {
                const bool whole = !kept.at(i).isHighSurrogate() ||
                                   (i + 1 < kept.size() && kept.at(i + 1).isLowSurrogate());
                EXPECT_TRUE(whole) << "width " << width << ": " << fit.toStdString();
            }
        }
}

TEST(KvPng, DecodesWhatQtWritesAndRejectsDamage) {
    QImage src(3, 2, QImage::Format_ARGB32);
    src.fill(QColor(10, 20, 30, 128));
    src.setPixelColor(2, 1, QColor(255, 0, 0, 255));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    ASSERT_TRUE(src.save(&buf, "PNG"));

    QString error;
    const QImage img = KvDecodePng(bytes, &error);
    ASSERT_FALSE(img.isNull()) << error.toStdString();
    EXPECT_EQ(img.size(), QSize(3, 2));
    EXPECT_EQ(img.pixelColor(2, 1), QColor(255, 0, 0, 255));
    EXPECT_EQ(img.pixelColor(0, 0).alpha(), 128);

    EXPECT_TRUE(KvDecodePng(bytes.left(bytes.size() / 2), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(KvDecodePng("not a png", &error).isNull());
    EXPECT_TRUE(KvDecodePng(QByteArray(), &error).isNull());
}

TEST(KvPng, RemovesOnlyTheGammaChunk) {
    QImage src(1, 1, QImage::Format_ARGB32);
    src.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    src.save(&buf, "PNG");
    // Splice a gAMA chunk (gamma 1/2.2) right after IHDR (8 + 25 bytes).
    const QByteArray gama = QByteArray::fromHex("0000000467414d410000b18f0bfc6105");
    QByteArray withGamma = bytes.left(33) + gama + bytes.mid(33);
    ASSERT_TRUE(withGamma.contains("gAMA"));
    const QByteArray stripped = KvRemoveGammaChunk(withGamma);
    EXPECT_FALSE(stripped.contains("gAMA"));
    EXPECT_EQ(stripped, bytes);
    EXPECT_EQ(KvDecodePng(stripped).pixelColor(0, 0), QColor(Qt::blue));
}
