#include "core/ClockText.h"

#include "core/TextForms.h"
#include "core/TickSchedule.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
// 2026-12-06 is a Sunday.
const QDateTime kSunday(QDate(2026, 12, 6), QTime(9, 5, 7));

// A canvas where every character is 7 pixels wide and 15 high, but "1" is 4 wide
// and the word "Sun" 30: widths then tell which strings were measured.
QSize FakeExtent(const QString& s) {
    int w = 0;
    for (QChar c : s)
        w += c == QLatin1Char('1') ? 4 : 7;
    if (s.contains(QLatin1String("Sun")))
        w += 9;
    return {w, s.contains(QLatin1Char('-')) ? 16 : 15};
}
} // namespace

TEST(ClockText, TheEightCombinations) {
    TDayOfTheWeekStr words;
    struct Case {
        bool date, day, sec;
        const char* text;
    } cases[] = {
        {true, true, true, " 2026-12-06 Sun 09:05:07 "},
        {true, true, false, " 2026-12-06 Sun 09:05 "},
        {true, false, true, " 2026-12-06 09:05:07 "},
        {true, false, false, " 2026-12-06 09:05 "},
        {false, true, true, " Sun 09:05:07 "},
        {false, true, false, " Sun 09:05 "},
        {false, false, true, " 09:05:07 "},
        {false, false, false, " 09:05 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatClockText(c.date, c.day, c.sec, words, kSunday, ":"), c.text);
}

TEST(ClockText, SeparatorWordsAndYearPadding) {
    TDayOfTheWeekStr words;
    words.Sun = QStringLiteral("日");
    words.Mon = QString();
    EXPECT_EQ(FormatClockText(false, true, true, words, kSunday, "."), " 日 09.05.07 ");
    // A missing word leaves one space; Monday is ISO day 1.
    EXPECT_EQ(FormatClockText(false, true, false, words, kSunday.addDays(1), ":"), "  09:05 ");
    EXPECT_EQ(
        FormatClockText(true, false, false, words, QDateTime(QDate(987, 1, 2), QTime(0, 0)), ":"),
        " 0987-01-02 00:00 ");
    // Years of more digits, or before year 1, keep every digit and the sign.
    EXPECT_EQ(FormatClockText(true, false, true, words,
                              QDateTime(QDate(12026, 11, 30), QTime(23, 59, 59)), ":"),
              " 12026-11-30 23:59:59 ");
    EXPECT_EQ(
        FormatClockText(true, false, false, words, QDateTime(QDate(-44, 3, 15), QTime(10, 0)), ":"),
        " -044-03-15 10:00 ");
    for (int iso = 1; iso <= 7; ++iso)
        EXPECT_EQ(TDayOfTheWeekStr().ForIsoDay(iso),
                  (QStringList{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}[iso - 1]));
}

TEST(ClockText, LocaleTimeSeparator) {
    EXPECT_EQ(LocaleTimeSeparator(QLocale::c()), ":");
    EXPECT_EQ(LocaleTimeSeparator(QLocale(QLocale::German, QLocale::Germany)), ":");
    EXPECT_EQ(LocaleTimeSeparator(QLocale(QLocale::Japanese, QLocale::Japan)), ":");
    EXPECT_EQ(LocaleTimeSeparator(QLocale(QLocale::Finnish, QLocale::Finland)), ".");
}

TEST(ClockText, MeasureNumberRangeKeepsWidestAndTallest) {
    EXPECT_EQ(MeasureNumberRange(5, 4, " ", FakeExtent), QSize(0, 0));
    EXPECT_EQ(MeasureNumberRange(1, 1, "-", FakeExtent), QSize(7 + 7 + 4, 16)); // "-01"
    EXPECT_EQ(MeasureNumberRange(0, 23, " ", FakeExtent), QSize(21, 15));       // " 00"
    EXPECT_EQ(MeasureNumberRange(11, 11, "", FakeExtent), QSize(8, 15));
}

TEST(ClockText, MeasureClockTextSumsTheBlocks) {
    TDayOfTheWeekStr words;
    const int hour = 21, minute = 21, space = 7;
    // Date " 2026" = 5 chars of 7, "-12" = 7+4+7, "-06" = 21.
    const int dateW = 35 + 18 + 21;
    const int dayW = 7 + 3 * 7 + 9; // " Sun"
    EXPECT_EQ(MeasureClockText(true, true, true, FakeExtent, words, kSunday),
              QSize(dateW + dayW + hour + 2 * minute + space, 16));
    EXPECT_EQ(MeasureClockText(false, false, false, FakeExtent, words, kSunday),
              QSize(hour + minute + space, 15));
    EXPECT_EQ(MeasureClockText(false, true, true, FakeExtent, words, kSunday),
              QSize(dayW + hour + 2 * minute + space, 15));
    // The time part never depends on the time: the same at 11:11:11.
    EXPECT_EQ(MeasureClockText(false, false, true, FakeExtent, words,
                               QDateTime(QDate(2026, 12, 6), QTime(11, 11, 11))),
              MeasureClockText(false, false, true, FakeExtent, words, kSunday));
}

TEST(ClockText, ScaledWindowSize) {
    struct Case {
        QSize text;
        double sx, sy;
        QSize expected;
    } cases[] = {
        {{200, 20}, 1.25, 0.75, {250, 19}}, // 18.75 -> 19
        {{200, 20}, 1.0, 1.0, {200, 25}},
        {{101, 2}, 0.5, 1.0, {50, 2}},  // 50.5 -> 50, 2.5 -> 2: halves to even
        {{103, 6}, 0.5, 1.0, {52, 8}},  // 51.5 -> 52, 7.5 -> 8
        {{200, 20}, 0.0, -1.0, {1, 1}}, // hand-edited nonsense stays visible
        {{200, 20}, 1e300, 1e300, {16384, 16384}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaledWindowSize(c.text, c.sx, c.sy), c.expected) << c.sx << " " << c.sy;
}

TEST(TickSchedule, ReplaysSkippedSecondsUpToAMinute) {
    TTickSchedule s;
    const QDateTime t0(QDate(2026, 3, 1), QTime(8, 0, 0, 4));
    auto secs = [](const std::vector<QDateTime>& v) {
        std::vector<int> out;
        for (const auto& d : v)
            out.push_back(d.time().second() + 60 * d.time().minute());
        return out;
    };
    EXPECT_EQ(secs(s.SecondsToCheck(t0)), std::vector<int>{0});
    EXPECT_EQ(secs(s.SecondsToCheck(t0.addMSecs(1000))), std::vector<int>{1});
    EXPECT_EQ(secs(s.SecondsToCheck(t0.addMSecs(1990))), std::vector<int>{}); // same second
    EXPECT_EQ(secs(s.SecondsToCheck(t0.addSecs(4))), (std::vector<int>{2, 3, 4}));
    // Exactly a minute late: every second is still checked.
    const auto minute = s.SecondsToCheck(t0.addSecs(64));
    EXPECT_EQ(minute.size(), 60u);
    EXPECT_EQ(minute.front().time().second(), 5);
    // A larger jump (sleep, a clock step) is not replayed, nor is a step back.
    EXPECT_EQ(secs(s.SecondsToCheck(t0.addSecs(64 + 62))), std::vector<int>{126});
    EXPECT_EQ(s.SecondsToCheck(t0).size(), 1u);
    EXPECT_EQ(s.SecondsToCheck(t0).size(), 0u);
    for (const QDateTime& d : s.SecondsToCheck(t0.addMSecs(2500)))
        EXPECT_EQ(d.time().msec(), 0);
}

TEST(TimeOfDay, EqualityOnWholeMillisecondsAcrossMidnight) {
    EXPECT_TRUE(SameTimeOfDay(0.5, 0.5 + 0.4 / 86400000.0));
    EXPECT_FALSE(SameTimeOfDay(0.5, 0.5 + 1.0 / 86400.0));
    EXPECT_TRUE(SameTimeOfDay(30 / 86400.0, 1.0 + 30 / 86400.0)); // 24:00:30 is 00:00:30
    EXPECT_EQ(TimeOfDayMs(-1 / 86400.0), kMsPerDay - 1000);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
}
