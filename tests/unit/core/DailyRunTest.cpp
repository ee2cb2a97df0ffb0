// A set time of day runs once per calendar day, whichever way the clock moves.
#include "core/DailyRun.h"

#include <gtest/gtest.h>
#include <vector>

using namespace velmora;

namespace {

const QDate kDay(2026, 12, 7);
const int64_t kNoonMs = 12 * 3600 * 1000;

QDateTime At(int dayOffset, int h, int m, int s = 0) {
    return QDateTime(kDay.addDays(dayOffset), QTime(h, m, s), Qt::OffsetFromUTC, 3600);
}

// Checks at each moment in turn, as the tick does; returns the days it ran on.
std::vector<QDate> RunDays(const std::vector<QDateTime>& checks) {
    std::vector<QDate> ran;
    QDateTime since = checks.front().addSecs(-1);
    QDate last;
    for (const QDateTime& now : checks) {
        const QDate day = DailyDueDay(since, now, kNoonMs, last);
        since = now;
        if (day.isValid()) {
            ran.push_back(day);
            last = day;
        }
    }
    return ran;
}

} // namespace

TEST(DailyRun, OncePerCalendarDayAcrossSteps) {
    struct Case {
        const char* name;
        std::vector<QDateTime> checks;
        std::vector<QDate> ran;
    };
    const Case cases[] = {
        {"second by second over noon", {At(0, 11, 59, 59), At(0, 12, 0), At(0, 12, 0, 1)}, {kDay}},
        {"a second skipped at noon", {At(0, 11, 59, 59), At(0, 12, 0, 1)}, {kDay}},
        {"a forward step over noon", {At(0, 11, 0), At(0, 14, 0), At(0, 14, 0, 1)}, {kDay}},
        {"a step back over noon after it ran",
         {At(0, 11, 59, 59), At(0, 12, 0), At(0, 13, 0), At(0, 11, 0), At(0, 11, 59, 59),
          At(0, 12, 0), At(0, 12, 0, 1)},
         {kDay}},
        {"a step back an hour, every hour",
         {At(0, 12, 0), At(0, 11, 0), At(0, 12, 0), At(0, 11, 0), At(0, 12, 0)},
         {kDay}},
        {"a step back into yesterday after noon",
         {At(0, 12, 0), At(-1, 13, 0), At(-1, 23, 59, 59), At(0, 0, 0), At(0, 12, 0)},
         {kDay}},
        {"the next day runs again",
         {At(0, 12, 0), At(0, 23, 0), At(1, 12, 0)},
         {kDay, kDay.addDays(1)}},
        {"a step forward over two days runs once", {At(0, 11, 0), At(2, 14, 0)}, {kDay.addDays(2)}},
        {"started after noon: not before tomorrow", {At(0, 15, 0), At(0, 15, 0, 1)}, {}},
        {"started at noon", {At(0, 12, 0)}, {kDay}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunDays(c.checks), c.ran) << c.name;
}

TEST(DailyRun, MidnightAndOutOfRangeTimes) {
    const QDateTime before = At(0, 23, 59, 59);
    const QDateTime after = At(1, 0, 0);
    EXPECT_EQ(DailyDueDay(before, after, 0, QDate()), kDay.addDays(1));
    EXPECT_EQ(DailyDueDay(before, after, 0, kDay.addDays(1)), QDate());
    EXPECT_EQ(DailyDueDay(before, after, -1, QDate()), QDate());
    EXPECT_EQ(DailyDueDay(before, after, 86'400'000, QDate()), QDate());
}
