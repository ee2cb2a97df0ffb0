#include "core/FullScreenLogic.h"

#include <gtest/gtest.h>
#include <vector>

using namespace velmora;
using A = TCoverAction;

namespace {

const QRect kLeft(0, 0, 1280, 800);
const QRect kRight(1280, 0, 1280, 800);

// Program 7 has a full-screen video (window 10) and a second window (11); program
// 8 a terminal (20) and a full-screen game (21) on the other monitor.
TCoverWindow Video(bool full = true) {
    return {10, 7, full, full ? kLeft : QRect(100, 100, 640, 480)};
}
TCoverWindow VideoSecond(bool full) {
    return {11, 7, full, full ? kLeft : QRect(200, 200, 300, 200)};
}
TCoverWindow Terminal() {
    return {20, 8, false, QRect(50, 50, 600, 400)};
}
TCoverWindow GameOnRight() {
    return {21, 8, true, kRight};
}
TCoverWindow Nothing() {
    return {};
}

// What the guard is told: the active window, and the one it holds when there is one.
TCoverView Look(const TCoverWindow& active, const TCoverWindow& held = {}) {
    return {active, held};
}

struct TStep {
    TCoverView View;
    A Expected;
    bool Hidden;
    bool Enabled = true;
    bool Topmost = true;
};

struct TCase {
    const char* Name;
    std::vector<TStep> Steps;
};

} // namespace

TEST(FullScreenGuard, DecisionTable) {
    const std::vector<TCase> cases = {
        {"full-screen on the clock's monitor hides, leaving it shows",
         {{Look(Video()), A::Hide, true}, {Look(Video(false)), A::Show, false}}},
        {"a normal active window changes nothing", {{Look(Terminal()), A::None, false}}},
        {"full-screen on the other monitor does not hide", {{Look(GameOnRight()), A::None, false}}},
        {"setting off: nothing changes", {{Look(Video()), A::None, false, false}}},
        {"bottom mode: nothing changes", {{Look(Video()), A::None, false, true, false}}},
        {"another program's window becomes active: shows at once",
         {{Look(Video()), A::Hide, true}, {Look(Terminal()), A::Show, false}}},
        {"focus to a full-screen window on the other monitor shows",
         {{Look(Video()), A::Hide, true}, {Look(GameOnRight()), A::Show, false}}},
        {"the same news twice hides once",
         {{Look(Video()), A::Hide, true}, {Look(Video()), A::None, true}}},
        {"focus between two full-screen windows of one program: no flicker",
         {{Look(Video()), A::Hide, true},
          {Look(VideoSecond(true)), A::None, true},
          {Look(Video()), A::None, true}}},
        {"focus to a small window of the program while its full-screen one stays",
         {{Look(Video()), A::Hide, true},
          {Look(VideoSecond(false), Video()), A::None, true},
          {Look(VideoSecond(false), Video(false)), A::Show, false}}},
        {"the held window gone while its program's other window is active",
         {{Look(Video()), A::Hide, true},
          {Look(VideoSecond(false), Video()), A::None, true},
          {Look(VideoSecond(false), Nothing()), A::Show, false}}},
        {"another program's small window is no reason to stay hidden",
         {{Look(Video()), A::Hide, true}, {Look(Terminal(), Video()), A::Show, false}}},
        {"window closed, no window active: shows after the settle wait",
         {{Look(Video()), A::Hide, true}, {Look(Nothing()), A::ShowSoon, true}}},
        {"window closed, the next active one is full-screen too: stays hidden",
         {{Look(Video()), A::Hide, true},
          {Look(Nothing()), A::ShowSoon, true},
          {Look(VideoSecond(true)), A::None, true}}},
        {"no active window while shown changes nothing", {{Look(Nothing()), A::None, false}}},
        {"setting switched off while hidden shows at once",
         {{Look(Video()), A::Hide, true}, {Look(Video()), A::Show, false, false}}},
        {"bottom chosen while hidden shows at once",
         {{Look(Video()), A::Hide, true}, {Look(Video()), A::Show, false, true, false}}},
    };
    for (const TCase& c : cases) {
        TFullScreenGuard guard;
        int n = 0;
        for (const TStep& s : c.Steps) {
            EXPECT_EQ(guard.Update(s.Enabled, s.Topmost, s.View, kLeft), s.Expected)
                << c.Name << ", step " << n;
            EXPECT_EQ(guard.Hidden(), s.Hidden) << c.Name << ", step " << n;
            ++n;
        }
    }
}

TEST(FullScreenGuard, SettleShowsOnlyWhenNothingCameInBetween) {
    TFullScreenGuard guard;
    guard.Update(true, true, Look(Video()), kLeft);
    EXPECT_EQ(guard.HeldWindow(), 10u);
    ASSERT_EQ(guard.Update(true, true, Look(Nothing()), kLeft), A::ShowSoon);
    EXPECT_EQ(guard.Settle(), A::Show);
    EXPECT_FALSE(guard.Hidden());
    EXPECT_EQ(guard.HeldWindow(), 0u);
    EXPECT_EQ(guard.Settle(), A::None); // once

    guard.Update(true, true, Look(Video()), kLeft);
    ASSERT_EQ(guard.Update(true, true, Look(Nothing()), kLeft), A::ShowSoon);
    EXPECT_EQ(guard.Update(true, true, Look(Video()), kLeft), A::None); // back before the wait
    EXPECT_EQ(guard.Settle(), A::None);
    EXPECT_TRUE(guard.Hidden());
}

TEST(FullScreenGuard, CoveringTheMonitor) {
    struct {
        TCoverWindow W;
        QRect Monitor;
        bool Covers;
        const char* Name;
    } cases[] = {
        {{1, 0, true, kLeft}, kLeft, true, "exactly the monitor"},
        {{1, 0, true, QRect(0, 0, 1279, 799)}, kLeft, true, "a pixel short from rounding"},
        {{1, 0, true, QRect(0, 0, 2560, 800)}, kLeft, true, "spanning both monitors"},
        {{1, 0, true, QRect(0, 0, 1280, 700)}, kLeft, false, "full-screen state, smaller"},
        {{1, 0, false, kLeft}, kLeft, false, "the size alone is not full-screen"},
        {{0, 0, true, kLeft}, kLeft, false, "no window"},
        {{1, 0, true, kRight}, kLeft, false, "the other monitor"},
        {{1, 0, true, kLeft}, QRect(), false, "no monitor"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoversMonitor(c.W, c.Monitor), c.Covers) << c.Name;
}

TEST(FullScreenGuard, TheClocksMonitor) {
    const QList<QRect> monitors = {kLeft, kRight};
    EXPECT_EQ(MonitorOf(QRect(100, 100, 200, 30), monitors), kLeft);
    EXPECT_EQ(MonitorOf(QRect(1500, 700, 200, 30), monitors), kRight);
    // Across the border: where its centre is.
    EXPECT_EQ(MonitorOf(QRect(1250, 10, 200, 30), monitors), kRight);
    // Off every screen: the one it overlaps most, else the first.
    EXPECT_EQ(MonitorOf(QRect(2500, 790, 100, 30), monitors), kRight);
    EXPECT_EQ(MonitorOf(QRect(5000, 5000, 10, 10), monitors), kLeft);
    EXPECT_EQ(MonitorOf(QRect(0, 0, 10, 10), {}), QRect());
}
