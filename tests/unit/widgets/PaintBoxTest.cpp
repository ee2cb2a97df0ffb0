#include "widgets/KvPaintBox.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

TEST(KvPaintBox, SwitchingPathsRepaintsOnceAndOnlyOnChange) {
    TKvPaintBox box;
    box.resize(40, 20);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    int paints = 0;
    bool lastPath = false;
    box.SetOnPaint([&](TKvPaintBox* sender, QPainter&) {
        ++paints;
        lastPath = sender->D2DEnabled();
    });
    EXPECT_TRUE(box.D2DSupported());
    EXPECT_FALSE(box.D2DEnabled());
    paints = 0;
    box.SetD2DEnabled(true);
    EXPECT_EQ(paints, 1); // repainted at once
    EXPECT_TRUE(lastPath);
    box.SetD2DEnabled(true);
    EXPECT_EQ(paints, 1); // the same value: no repaint
    box.SetD2DEnabled(false);
    EXPECT_EQ(paints, 2);
    EXPECT_FALSE(lastPath);
}

TEST(KvPaintBox, SwitchingInsideAPaintDoesNotRecurse) {
    TKvPaintBox box;
    box.resize(40, 20);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    int depth = 0, maxDepth = 0, paints = 0;
    box.SetOnPaint([&](TKvPaintBox* sender, QPainter&) {
        ++paints;
        maxDepth = std::max(maxDepth, ++depth);
        sender->SetD2DEnabled(!sender->D2DEnabled());
        --depth;
    });
    box.repaint();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(paints, 1);
}

TEST(KvPaintBox, PaintToDrawsThroughTheOwnerWithFontAndColour) {
    TKvPaintBox box;
    box.resize(30, 10);
    box.SetColor(QColor(10, 20, 30));
    box.SetOnPaint([](TKvPaintBox* sender, QPainter& canvas) {
        canvas.fillRect(QRect(QPoint(0, 0), sender->size()), canvas.brush());
    });
    QImage img(30, 10, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    box.PaintTo(p);
    p.end();
    EXPECT_EQ(img.pixelColor(5, 5), QColor(10, 20, 30));
}
