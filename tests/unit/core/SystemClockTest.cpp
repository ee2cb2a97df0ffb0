#include "../ScopedEnv.h"
#include "core/Clock.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct ZoneCase {
    const char* Tz;
    int WinterOffset; // seconds ahead of UTC on 15 January
    int SummerOffset; // and on 15 July
};

// The system clock's time is the local time of the zone in force, at that zone's
// offset at the moment it was read, also for offsets that are not whole hours,
// and in either half of a zone with summer time.
class SystemClockZone : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(SystemClockZone, GivesTheLocalWallTimeAtTheOffsetInForce) {
    const ZoneCase c = GetParam();
    const ScopedEnv tz("TZ", c.Tz);
    const SystemClock clock;
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const QDateTime now = clock.Now();
    const qint64 after = QDateTime::currentMSecsSinceEpoch();

    EXPECT_GE(now.toMSecsSinceEpoch(), before);
    EXPECT_LE(now.toMSecsSinceEpoch(), after);
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(now.toMSecsSinceEpoch(), Qt::LocalTime);
    EXPECT_EQ(now.date(), local.date());
    EXPECT_EQ(now.time(), local.time());
    EXPECT_EQ(now.offsetFromUtc(), local.offsetFromUtc());
    const int month = now.date().month();
    const bool summer = month >= 4 && month <= 10;
    if (month != 3 && month != 11) {
        EXPECT_EQ(now.offsetFromUtc(), summer ? c.SummerOffset : c.WinterOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Zones, SystemClockZone,
    ::testing::Values(ZoneCase{"UTC0", 0, 0},
                      ZoneCase{"XST-5:45", 5 * 3600 + 45 * 60, 5 * 3600 + 45 * 60},
                      ZoneCase{"NST3:30NDT,M3.2.0,M11.1.0", -(3 * 3600 + 1800), -(2 * 3600 + 1800)},
                      ZoneCase{"AEST-10AEDT,M10.1.0,M4.1.0/3", 11 * 3600, 10 * 3600}));

// A change of the zone while the program runs shows at the next reading.
TEST(SystemClock, FollowsAChangeOfZoneAtTheNextReading) {
    const ScopedEnv tz("TZ", "UTC0");
    const SystemClock clock;
    EXPECT_EQ(clock.Now().offsetFromUtc(), 0);
    tz.Set("XST-3");
    EXPECT_EQ(clock.Now().offsetFromUtc(), 3 * 3600);
}

} // namespace
