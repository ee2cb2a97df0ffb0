#include "app/clock/ClockImage.h"

#include "ClockFormFixture.h"

#include <QFontMetricsF>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const TVlmColorMode kModes[] = {cmTransparent, cmSolid, cmGradient};

// Where two images first differ, in words; empty when they do not.
std::string FirstDifference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("at %1,%2: %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 8, 16)
                    .arg(b.pixel(x, y), 8, 16)
                    .toStdString();
    return {};
}

// The kept image and its region are what a fresh rendering of `s` gives.
void ExpectSameAsFresh(const TClockImage& kept, const TClockDrawState& s) {
    const QImage fresh = RenderClock(s);
    ASSERT_EQ(kept.Rendered().Image.size(), fresh.size());
    EXPECT_EQ(FirstDifference(kept.Rendered().Image, fresh), "")
        << s.Text.toStdString() << " text mode " << s.FontColorMode << ", background "
        << s.BackgroundColorMode;
    EXPECT_TRUE(kept.Rendered().Visible.xored(VisibleRegion(fresh)).isEmpty())
        << s.Text.toStdString();
}

} // namespace

TEST(ClockImage, OnlyTheChangedDigitsAreDrawnAgainAndMatchAFreshImage) {
    const QStringList seconds = {
        QStringLiteral(" 2026-12-06 Sun 09:05:08 "), QStringLiteral(" 2026-12-06 Sun 09:05:09 "),
        QStringLiteral(" 2026-12-06 Sun 09:05:10 "), QStringLiteral(" 2026-12-06 Sun 09:06:00 "),
        QStringLiteral(" 2026-12-06 Sun 09:11:11 "), QStringLiteral(" 2026-12-06 Sun 10:00:00 ")};
    for (TVlmColorMode text : {cmSolid, cmGradient})
        for (TVlmColorMode bg : kModes)
            for (bool italic : {false, true}) {
                TClockDrawState s = SampleDrawState(text, bg);
                s.Font.setItalic(italic);
                TClockImage image;
                EXPECT_EQ(image.Update(s), QRect(0, 0, 300, 30));
                for (const QString& t : seconds) {
                    s.Text = t;
                    const QRect part = image.Update(s);
                    EXPECT_GT(part.left(), 0) << t.toStdString();
                    EXPECT_EQ(part.right(), 299);
                    ExpectSameAsFresh(image, s);
                }
            }
}

TEST(ClockImage, NothingIsDrawnWhenNothingChanged) {
    TClockImage image;
    const TClockDrawState s = SampleDrawState(cmGradient, cmTransparent);
    image.Update(s);
    EXPECT_TRUE(image.Update(s).isEmpty());
    EXPECT_TRUE(image.Update(TClockDrawState(s)).isEmpty());
}

TEST(ClockImage, AnythingButTheTextDrawsTheWholeImage) {
    using TChange = std::function<void(TClockDrawState&)>;
    const std::vector<std::pair<const char*, TChange>> changes = {
        {"size", [](TClockDrawState& s) { s.Size = QSize(310, 30); }},
        {"font size", [](TClockDrawState& s) { s.Font.setPixelSize(21); }},
        {"font face", [](TClockDrawState& s) { s.Font.setBold(true); }},
        {"text mode", [](TClockDrawState& s) { s.FontColorMode = cmSolid; }},
        {"background mode", [](TClockDrawState& s) { s.BackgroundColorMode = cmSolid; }},
        {"text gradient way", [](TClockDrawState& s) { s.FontGradientDirection = gdVertical; }},
        {"background gradient way",
         [](TClockDrawState& s) { s.BackgroundGradientDirection = gdHorizontal; }},
        {"text colour", [](TClockDrawState& s) { s.FontColor = Qt::red; }},
        {"background colour", [](TClockDrawState& s) { s.BackgroundColor = Qt::cyan; }},
        {"text start colour", [](TClockDrawState& s) { s.FontStartColor = Qt::red; }},
        {"text end colour", [](TClockDrawState& s) { s.FontEndColor = Qt::red; }},
        {"background start colour", [](TClockDrawState& s) { s.BackgroundStartColor = Qt::red; }},
        {"background end colour", [](TClockDrawState& s) { s.BackgroundEndColor = Qt::red; }},
        {"border colour", [](TClockDrawState& s) { s.BorderColor = Qt::blue; }},
        {"border", [](TClockDrawState& s) { s.ShowBorder = false; }},
        {"see-through way", [](TClockDrawState& s) { s.SeeThrough = TSeeThrough::ShapeMask; }},
    };
    for (const auto& [what, change] : changes) {
        TClockImage image;
        TClockDrawState s = SampleDrawState(cmGradient, cmTransparent);
        image.Update(s);
        change(s);
        // Even together with a change of the last digit alone.
        s.Text = QStringLiteral(" 2026-12-06 Sun 09:05:08 ");
        EXPECT_EQ(image.Update(s), QRect(QPoint(0, 0), s.Size)) << what;
        ExpectSameAsFresh(image, s);
        // And the next second is drawn in part again.
        s.Text = QStringLiteral(" 2026-12-06 Sun 09:05:09 ");
        EXPECT_GT(image.Update(s).left(), 0) << what;
        ExpectSameAsFresh(image, s);
    }
}

TEST(ClockImage, TextThatChangesAtItsStartOrReadsRightToLeftIsDrawnWhole) {
    TClockImage image;
    TClockDrawState s = SampleDrawState(cmSolid, cmTransparent);
    image.Update(s);
    s.Text = QStringLiteral(" 2027-01-01 Fri 00:00:00 ");
    image.Update(s); // the year: little of the image is kept
    ExpectSameAsFresh(image, s);
    // A right-to-left day word moves the digits after it to its left.
    s.Text = QString::fromUtf8(" 2027-01-01 \u05e9\u05d9\u05e9\u05d9 00:00:00 ");
    EXPECT_EQ(image.Update(s), QRect(0, 0, 300, 30));
    s.Text = QString::fromUtf8(" 2027-01-01 \u05e9\u05d9\u05e9\u05d9 00:00:01 ");
    EXPECT_EQ(image.Update(s), QRect(0, 0, 300, 30));
    ExpectSameAsFresh(image, s);
    EXPECT_FALSE(LeftToRightOnly(s.Text));
    EXPECT_TRUE(LeftToRightOnly(QStringLiteral(" 2027-01-01 Fri 00:00:01 ")));
}

TEST(ClockImage, AFontChangeBetweenSecondsMeasuresTheKeptTextInTheNewFont) {
    // The same seconds come back after each change, so that a width kept from
    // the font before would be used again if it were not dropped.
    using TChange = std::function<void(QFont&)>;
    const std::vector<std::pair<const char*, TChange>> changes = {
        {"smaller", [](QFont& f) { f.setPixelSize(12); }},
        {"larger", [](QFont& f) { f.setPixelSize(24); }},
        {"bold", [](QFont& f) { f.setBold(true); }},
        {"wider letters", [](QFont& f) { f.setLetterSpacing(QFont::AbsoluteSpacing, 3); }},
        {"narrower letters", [](QFont& f) { f.setLetterSpacing(QFont::AbsoluteSpacing, -1); }},
        {"italic", [](QFont& f) { f.setItalic(true); }},
    };
    const QStringList seconds = {QStringLiteral(" 2026-12-06 Sun 09:05:58 "),
                                 QStringLiteral(" 2026-12-06 Sun 09:05:59 "),
                                 QStringLiteral(" 2026-12-06 Sun 09:05:58 ")};
    for (TVlmColorMode text : {cmSolid, cmGradient})
        for (const auto& [what, change] : changes) {
            TClockImage image;
            TClockDrawState s = SampleDrawState(text, cmTransparent);
            for (const QString& t : seconds) {
                s.Text = t;
                image.Update(s);
            }
            change(s.Font);
            for (const QString& t : seconds) {
                s.Text = t;
                image.Update(s);
                ExpectSameAsFresh(image, s);
            }
            // And back: the first font's widths are measured anew as well.
            s.Font = SampleDrawState(text, cmTransparent).Font;
            for (const QString& t : seconds) {
                s.Text = t;
                image.Update(s);
                ExpectSameAsFresh(image, s);
            }
            EXPECT_FALSE(testing::Test::HasFailure()) << what;
        }
}

TEST(ClockImage, ASecondShapesOnlyTheLastWordAndDrawsAlike) {
    // Plain, italic and spaced-out faces, in both text paths: the words before
    // the time are neither shaped nor drawn again, and the image is the same.
    using TChange = std::function<void(QFont&)>;
    const std::vector<std::pair<const char*, TChange>> faces = {
        {"plain", [](QFont&) {}},
        {"italic", [](QFont& f) { f.setItalic(true); }},
        {"wide letters", [](QFont& f) { f.setLetterSpacing(QFont::AbsoluteSpacing, 2.5); }},
        {"wide words", [](QFont& f) { f.setWordSpacing(4); }},
    };
    const QString first = QStringLiteral(" 2026-12-06 Sun 09:05:08 ");
    const QString time = QStringLiteral("09:05:");
    for (TVlmColorMode text : {cmSolid, cmGradient})
        for (const auto& [what, change] : faces) {
            TClockDrawState s = SampleDrawState(text, cmTransparent);
            change(s.Font);
            s.Text = first;
            TClockImage image;
            image.Update(s);
            for (const char* second : {"09 ", "10 ", "59 "}) {
                s.Text = QStringLiteral(" 2026-12-06 Sun ") + time + QLatin1String(second);
                image.Update(s);
                EXPECT_EQ(image.LastTextFrom(), first.indexOf(time)) << what << " " << second;
                ExpectSameAsFresh(image, s);
            }
        }
}

TEST(ClockImage, ALastWordThatDrawsOtherwiseAloneIsDrawnWithTheWholeText) {
    // A tab in the last word stops at a multiple of the tab width from where the
    // text starts: drawn from the word alone, what follows it would move.
    TClockDrawState s = SampleDrawState(cmSolid, cmSolid);
    s.Size = QSize(400, 30);
    const QString start = QStringLiteral(" 2026-12-06 Sun 09:05\t");
    const qsizetype word = start.indexOf(QStringLiteral("09"));
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    const qreal wordX = QFontMetricsF(s.Font, &probe).horizontalAdvance(start.left(word));
    s.Text = start + QStringLiteral("08 ");
    EXPECT_FALSE(TailDrawsAlike(s, QRect(200, 0, 200, 30), TTextTail{word, wordX}));
    TClockDrawState plain = s;
    plain.Text = QStringLiteral(" 2026-12-06 Sun 09:05:08 ");
    EXPECT_TRUE(TailDrawsAlike(plain, QRect(200, 0, 200, 30), TTextTail{word, wordX}));

    TClockImage image;
    image.Update(s);
    for (const char* second : {"09 ", "10 ", "11 "}) {
        s.Text = start + QLatin1String(second);
        EXPECT_GT(image.Update(s).left(), 0) << second;
        EXPECT_EQ(image.LastTextFrom(), 0) << second;
        ExpectSameAsFresh(image, s);
    }
}
