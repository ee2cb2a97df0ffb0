// How far the clock is off in the user's words, and the spacing of unattended steps.
#include "core/SyncPolicy.h"

#include "core/MessageTable.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(SyncPolicy, TheDifferenceInTheLanguagesWords) {
    TMessageTable saved = Messages();
    Messages().SyncOffsetHoursMinutes = "%d h %d min";
    Messages().SyncOffsetDaysHours = "%d d %d h";
    Messages().SyncClockAhead = "%s ahead";
    Messages().SyncClockBehind = "%s behind";
    struct Case {
        int64_t stepS;
        const char* text;
    };
    const Case cases[] = {
        {10800, "3 h 0 min behind"},
        {-10800, "3 h 0 min ahead"},
        {1001, "0 h 17 min behind"},
        {-10829, "3 h 0 min ahead"},
        {10830, "3 h 1 min behind"},
        {86399, "24 h 0 min behind"},
        {86400, "1 d 0 h behind"},
        {-315'360'000, "3650 d 0 h ahead"},
        {-(23 * 3600 + 59 * 60), "23 h 59 min ahead"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClockOffsetText(c.stepS), c.text) << c.stepS;
    Messages() = saved;
}

TEST(SyncPolicy, OneUnattendedStepPerHour) {
    EXPECT_TRUE(UnattendedSyncAllowed(-1, 0));
    EXPECT_FALSE(UnattendedSyncAllowed(1000, 1000));
    EXPECT_FALSE(UnattendedSyncAllowed(1000, 1000 + kUnattendedStepSpacingMs - 1));
    EXPECT_TRUE(UnattendedSyncAllowed(1000, 1000 + kUnattendedStepSpacingMs));
}
