#include "app/clock/ClockDraw.h"

#include "ClockFormFixture.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// The sample state's colours.
const QColor kBg(0xC0, 0xDC, 0xC0), kText(0x00, 0x80, 0x00), kBorder(0xFF, 0x00, 0x00);
const QColor kStart(0x00, 0x00, 0xFF), kEnd(0xFF, 0xFF, 0x00);

QColor At(const QImage& img, int x, int y) {
    return img.pixelColor(x, y);
}

// Text pixels: opaque pixels in the text band that differ from the background
// there, as (x, colour) pairs from left to right.
std::vector<std::pair<int, QColor>> TextPixels(const QImage& img, const TClockDrawState& s) {
    std::vector<std::pair<int, QColor>> out;
    const int y0 = TextTop(s.Size.height()) + 2, y1 = s.Size.height() - 3;
    for (int x = 2; x < img.width() - 2; ++x)
        for (int y = y0; y < y1; ++y) {
            const QColor c = At(img, x, y);
            const QColor bgHere = At(img, 1, y);
            if (c.alpha() == 255 && c != bgHere && (c.alpha() != bgHere.alpha() || c != bgHere))
                out.push_back({x, c});
        }
    return out;
}

} // namespace

TEST(ClockDraw, EveryModeDrawsWhatMatters) {
    for (TVlmColorMode text : {cmSolid, cmGradient})
        for (TVlmColorMode bg : {cmTransparent, cmSolid, cmGradient})
            for (bool border : {false, true}) {
                const TClockDrawState s = SampleDrawState(text, bg, border);
                const QImage img = RenderClock(s);
                const std::string what = "text " + std::to_string(text) + " bg " +
                                         std::to_string(bg) + " border " + std::to_string(border);
                ASSERT_EQ(img.size(), s.Size) << what;
                const int in = border ? 1 : 0; // the first pixel inside the frame
                if (border) {
                    EXPECT_EQ(At(img, 0, 0), kBorder) << what;
                    EXPECT_EQ(At(img, 299, 29), kBorder) << what;
                    EXPECT_EQ(At(img, 150, 0), kBorder) << what;
                    EXPECT_EQ(At(img, 0, 15), kBorder) << what;
                }
                switch (bg) {
                case cmTransparent:
                    EXPECT_EQ(At(img, in, in).alpha(), 0) << what;
                    EXPECT_EQ(At(img, 298, 28).alpha(), 0) << what;
                    break;
                case cmSolid:
                    EXPECT_EQ(At(img, in, in), kBg) << what;
                    break;
                case cmGradient: {
                    // Vertical: dark at the top, light at the bottom, same across a row.
                    const QColor top = At(img, 1, in), bottom = At(img, 1, 29 - in);
                    EXPECT_LT(top.lightness(), 30) << what;
                    EXPECT_GT(bottom.lightness(), 220) << what;
                    EXPECT_EQ(At(img, 298, in), top) << what;
                    break;
                }
                }
                const auto pixels = TextPixels(img, s);
                ASSERT_GT(pixels.size(), 50u) << what;
                if (text == cmSolid) {
                    int exact = 0;
                    for (const auto& [x, c] : pixels)
                        exact += c == kText;
                    EXPECT_GT(exact, 20) << what;
                } else {
                    // Horizontal text gradient: blue on the left, yellow on the right.
                    const QColor left = pixels.front().second, right = pixels.back().second;
                    EXPECT_GT(left.blue(), left.red()) << what;
                    EXPECT_GT(right.red(), right.blue()) << what;
                }
            }
}

TEST(ClockDraw, KeyColouredTextIsSeeThrough) {
    for (TSeeThrough mode : {TSeeThrough::Compositor, TSeeThrough::ShapeMask}) {
        TClockDrawState s = SampleDrawState(cmSolid, cmTransparent, false);
        s.SeeThrough = mode;
        s.FontColor = kBg; // text exactly in the key colour
        const QImage img = RenderClock(s);
        int opaque = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                opaque += At(img, x, y).alpha() == 255;
        EXPECT_EQ(opaque, 0) << int(mode); // only soft edges may keep some coverage
        // The shape keeps only pixels with coverage: clicks pass everywhere else.
        const QRegion shape = VisibleRegion(img);
        EXPECT_FALSE(shape.contains(QPoint(1, 1)));
    }
    TClockDrawState s = SampleDrawState(cmSolid, cmTransparent, true);
    const QImage img = RenderClock(s);
    const QRegion shape = VisibleRegion(img);
    EXPECT_TRUE(shape.contains(QPoint(0, 0)));  // the border
    EXPECT_FALSE(shape.contains(QPoint(1, 1))); // the see-through background
    EXPECT_FALSE(TextPixels(img, s).empty());
    // Pixel by pixel: whatever was drawn (border, text, its soft edges) is in the
    // shape, and every see-through pixel is out of it, where clicks pass.
    int textInShape = 0, drawnOutside = 0, clearInside = 0;
    QPoint firstWrong(-1, -1);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = At(img, x, y);
            const bool drawn = c.alpha() != 0, inShape = shape.contains(QPoint(x, y));
            const bool frame = x == 0 || y == 0 || x == img.width() - 1 || y == img.height() - 1;
            if (drawn && !inShape)
                ++drawnOutside;
            if (!drawn && inShape)
                ++clearInside;
            if (drawn != inShape && firstWrong.x() < 0)
                firstWrong = QPoint(x, y);
            textInShape += !frame && c == kText && inShape;
        }
    EXPECT_EQ(drawnOutside, 0) << "first at " << firstWrong.x() << "," << firstWrong.y();
    EXPECT_EQ(clearInside, 0) << "first at " << firstWrong.x() << "," << firstWrong.y();
    EXPECT_GT(textInShape, 50) << "the text's own pixels";
}

TEST(ClockDraw, EmptyTextDrawsBackgroundAndBorderOnly) {
    TClockDrawState s = SampleDrawState(cmSolid, cmSolid, true);
    s.Text.clear();
    const QImage img = RenderClock(s);
    EXPECT_EQ(At(img, 0, 0), kBorder);
    EXPECT_TRUE(TextPixels(img, s).empty());
}

TEST(ClockDraw, GeometryRules) {
    EXPECT_EQ(GetGradientEndPoint(gdHorizontal, QSize(200, 25)), QPointF(200, 0));
    EXPECT_EQ(GetGradientEndPoint(gdVertical, QSize(200, 25)), QPointF(0, 25));
    EXPECT_EQ(TextTop(25), 3); // 3.125
    EXPECT_EQ(TextTop(20), 2); // 2.5 -> 2, halves to even
    EXPECT_EQ(TextTop(28), 4); // 3.5 -> 4
    QFont f;
    f.setPointSize(12);
    EXPECT_EQ(GradientPathFont(f, 120).pointSize(), 10); // 12 / 1.25 = 9.6
    EXPECT_EQ(GradientPathFont(f, 96).pointSize(), 12);
}

TEST(ClockDraw, VisibleRowsRescannedFromAColumnKeepWhatIsLeftOfIt) {
    // Runs that end at, cross or start at the column scanned from, rows alike
    // and unlike, and a change of height: after each rescan the region holds
    // exactly the pixels with coverage.
    auto oracle = [](const QImage& img) {
        QRegion r;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)) != 0)
                    r += QRect(x, y, 1, 1);
        return r;
    };
    QImage img(40, 12, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    auto paint = [&](QRect r, QColor c) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                img.setPixel(x, y, c.rgba());
    };
    paint(QRect(2, 1, 10, 4), QColor(0, 0, 0, 255)); // a block of like rows
    paint(QRect(15, 3, 10, 1), QColor(0, 0, 0, 1));  // the faintest coverage counts
    paint(QRect(5, 8, 30, 2), Qt::red);
    TVisibleRows rows;
    rows.Rescan(img, 0);
    EXPECT_TRUE(rows.Region().xored(oracle(img)).isEmpty());
    EXPECT_EQ(VisibleRegion(img).rectCount(), 5) << "like rows make one band";

    const struct {
        int From;
        QRect Clear, Paint;
    } steps[] = {
        {20, QRect(20, 0, 20, 12), QRect(20, 8, 3, 1)},   // a run cut at the column, one joining it
        {20, QRect(20, 0, 20, 12), QRect(25, 0, 15, 12)}, // runs starting right of it
        {10, QRect(10, 0, 30, 12), QRect(10, 2, 1, 1)},   // inside the block of like rows
        {0, QRect(0, 0, 40, 12), QRect()},                // nothing left at all
        {39, QRect(39, 0, 1, 12), QRect(39, 11, 1, 1)},   // the last column alone
    };
    for (const auto& step : steps) {
        paint(step.Clear, Qt::transparent);
        paint(step.Paint, Qt::blue);
        rows.Rescan(img, step.From);
        EXPECT_TRUE(rows.Region().xored(oracle(img)).isEmpty()) << "from " << step.From;
    }
    img = QImage(40, 5, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    paint(QRect(0, 0, 3, 3), Qt::green);
    rows.Rescan(img, 30); // another height: scanned whole
    EXPECT_EQ(rows.Region(), QRegion(0, 0, 3, 3));
}
