#include "core/ScreenPlace.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(ScreenPlace, KeepsWhollyVisibleWindowsAndBringsOthersWhollyOn) {
    const QList<QRect> one = {QRect(0, 0, 1920, 1080)};
    const QList<QRect> two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    struct Case {
        QRect window;
        QList<QRect> screens;
        QPoint expected;
        const char* what;
    } cases[] = {
        {{324, 522, 200, 25}, one, {324, 522}, "on the screen"},
        {{1720, 1055, 200, 25}, one, {1720, 1055}, "in the bottom-right corner"},
        {{1900, 1070, 200, 25}, one, {1720, 1055}, "only a corner on the screen: all of it"},
        {{-150, 10, 200, 25}, one, {0, 10}, "partly off the left edge: all of it"},
        {{1850, 100, 200, 25}, two, {1850, 100}, "across two monitors stays"},
        {{3100, 100, 200, 25}, two, {3000, 100}, "off the second monitor's right edge"},
        {{1850, 1050, 200, 25}, two, {1720, 1050}, "below the first, beside the second"},
        {{2500, 300, 200, 25}, one, {1720, 300}, "monitor removed: back to the right edge"},
        {{2500, 300, 200, 25}, two, {2500, 300}, "on the second monitor"},
        {{-5000, -5000, 200, 25}, two, {0, 0}, "far away top-left"},
        {{1950, 2000, 200, 25}, two, {1720, 1055}, "below both: onto the nearer one"},
        {{100, 1200, 200, 25}, one, {100, 1055}, "resolution got smaller"},
        {{5000, 50, 3000, 25}, one, {0, 50}, "wider than the screen: its left edge shows"},
        {{10, 10, 200, 25}, {}, {10, 10}, "no screens known"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceOnScreens(c.window, c.screens), c.expected) << c.what;
}
