// The spin edit's number rules, driven without a widget.
#include "widgets/KvSpinValue.h"
#include "SpinTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
const QLocale Dot(QLocale::English, QLocale::UnitedStates);
const QLocale Comma(QLocale::German, QLocale::Germany);
} // namespace

TEST(SpinValue, RoundsHalfToEvenAndSaturates) {
    struct {
        long double x;
        qint64 expected;
    } cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {-3.5L, -4},
        {0.5L, 0},
        {1.5L, 2},
        {2.4999L, 2},
        {2.5001L, 3},
        {-0.5L, 0},
        {12.7L, 13},
        {1e30L, std::numeric_limits<qint64>::max()},
        {-1e30L, std::numeric_limits<qint64>::min()},
        {9223372036854775807.0L, std::numeric_limits<qint64>::max()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvRoundHalfEven(c.x), c.expected) << double(c.x);
    EXPECT_EQ(KvRoundHalfEven(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(SpinValue, RangeAndRoundingTable) {
    struct {
        TKvValueKind kind;
        int decimals;
        long double min, max, written;
        const char* text;
        long double valueFloat;
        qint64 valueInt;
    } cases[] = {
        {vkInt, 4, 0, 255, 300, "255", 255, 255},
        {vkInt, 4, 0, 255, -5, "0", 0, 0},
        {vkInt, 4, 0, 0, 300, "300", 300, 300}, // equal bounds: no range
        {vkInt, 4, 0, 0, -5, "-5", -5, -5},
        {vkInt, 4, 255, 0, 300, "255", 255, 255}, // reversed bounds still limit
        {vkInt, 4, 255, 0, 100, "100", 100, 100},
        {vkInt, 4, 0, 0, 2.5L, "2", 2.5L, 2}, // half to even
        {vkInt, 4, 0, 0, 3.5L, "4", 3.5L, 4},
        {vkInt, 4, 0, 0, -2.5L, "-2", -2.5L, -2},
        {vkFloat, 2, 0.75L, 1.25L, 1, "1.00", 1, 1},
        {vkFloat, 2, 0.75L, 1.25L, 2, "1.25", 1.25L, 1},
        {vkFloat, 2, 0.75L, 1.25L, 0.1L, "0.75", 0.75L, 1},
        {vkFloat, 2, 0, 0, 0.125L, "0.12", 0.125L, 0}, // an exact half goes to the even digit
        {vkFloat, 2, 0, 0, 0.375L, "0.38", 0.375L, 0},
        {vkFloat, 2, 0, 0, -0.001L, "0.00", -0.001L, 0}, // no "-0.00"
        {vkFloat, 0, 0, 0, 2.5L, "2", 2.5L, 2},
        {vkFloat, 4, 0, 0, -3.25L, "-3.2500", -3.25L, -3},
        {vkHex, 4, 0, 0, 255, "$FF", 255, 255},
        {vkHex, 4, 0, 0, 0, "$0", 0, 0},
        {vkHex, 4, 0, 0, -1, "$FFFFFFFFFFFFFFFF", -1, -1},
    };
    for (const auto& c : cases) {
        TKvSpinValue v;
        v.SetLocale(Dot);
        v.SetValueKind(c.kind);
        v.SetDecimalPlaces(c.decimals);
        v.SetMinValue(c.min);
        v.SetMaxValue(c.max);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(v.Write(c.written), QString::fromLatin1(c.text));
        EXPECT_EQ(v.FValueFloat, c.valueFloat);
        EXPECT_EQ(v.FValueInt, c.valueInt);
    }
}

TEST(SpinValue, PlusSignFollowsTheShownValue) {
    struct {
        TKvValueKind kind;
        long double written;
        const char* text;
    } cases[] = {
        {vkInt, 5, "+5"},         {vkInt, 0, "0"},
        {vkInt, -5, "-5"},        {vkInt, 0.4L, "0"},
        {vkFloat, 1.5L, "+1.50"}, {vkFloat, 0.001L, "0.00"},
        {vkHex, 255, "+$FF"},     {vkHex, -1, "$FFFFFFFFFFFFFFFF"},
    };
    for (const auto& c : cases) {
        TKvSpinValue v;
        v.SetLocale(Dot);
        v.SetValueKind(c.kind);
        v.SetDecimalPlaces(2);
        v.SetShowPlusSign(true);
        EXPECT_EQ(v.Write(c.written), QString::fromLatin1(c.text));
    }
}

TEST(SpinValue, ParsesIntegersStrictly) {
    struct {
        const char* text;
        std::optional<qint64> expected;
    } cases[] = {
        {"12", 12},
        {"-12", -12},
        {"+12", 12},
        {"$FF", 255},
        {"$ff", 255},
        {"-$10", -16},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"$8000000000000000", std::numeric_limits<qint64>::min()},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", std::nullopt}, // overflow is not a number
        {"$10000000000000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"12a", std::nullopt},
        {"FF", std::nullopt},
        {" 12", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvParseSpinInt(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(SpinValue, ParsesRealsWithTheLocaleSeparator) {
    struct {
        const QLocale* locale;
        const char* text;
        std::optional<long double> expected;
    } cases[] = {
        {&Dot, "1.25", 1.25L},
        {&Dot, "-1.5", -1.5L},
        {&Dot, "+2", 2.0L},
        {&Dot, "1,25", std::nullopt},
        {&Dot, "1,250.5", std::nullopt},
        {&Comma, "1,25", 1.25L},
        {&Comma, "1.25", std::nullopt},
        {&Comma, "-0,5", -0.5L},
        {&Dot, "abc", std::nullopt},
        {&Dot, "", std::nullopt},
        {&Dot, "inf", std::nullopt},
        {&Dot, "nan", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvParseSpinFloat(QString::fromLatin1(c.text), *c.locale), c.expected)
            << c.text << " in " << c.locale->name().toStdString();
}

TEST(SpinValue, WritesWithTheLocaleSeparator) {
    TKvSpinValue v;
    v.SetValueKind(vkFloat);
    v.SetDecimalPlaces(2);
    v.SetLocale(Comma);
    EXPECT_EQ(v.Write(1), "1,00");
    EXPECT_EQ(v.Write(-1234.5L), "-1234,50"); // no thousands separator
    v.SetLocale(Dot);
    EXPECT_EQ(v.Write(1234.5L), "1234.50");
}

TEST(SpinValue, ReadingKeepsTheLastValidNumber) {
    TKvSpinValue v;
    v.SetLocale(Dot);
    v.SetValueKind(vkFloat);
    v.Write(1.5L);
    EXPECT_EQ(v.ReadFloat("2.25"), 2.25L);
    EXPECT_EQ(v.ReadFloat("2.2x"), 2.25L);
    EXPECT_EQ(v.ReadFloat(""), 2.25L);
    v.SetValueKind(vkInt);
    v.Write(7);
    EXPECT_EQ(v.ReadInt("12"), 12);
    EXPECT_EQ(v.ReadInt("12a"), 12);
    EXPECT_EQ(v.ReadInt(""), 12);
    // A write of something that is not a number keeps the last valid one.
    EXPECT_EQ(v.Write(std::numeric_limits<long double>::quiet_NaN()), "7");
}

TEST(SpinValue, StepsFromTheTextWithinTheRange) {
    TKvSpinValue v;
    v.SetLocale(Dot);
    v.SetValueKind(vkFloat);
    v.SetDecimalPlaces(2);
    v.SetIncrement(0.01L);
    v.SetMinValue(0.75L);
    v.SetMaxValue(1.25L);
    EXPECT_EQ(v.Step("1.25", +1), "1.25");
    EXPECT_EQ(v.Step("1.00", +1), "1.01");
    EXPECT_EQ(v.Step("0.75", -1), "0.75");
    v.Write(1.1L);
    EXPECT_EQ(v.Step("junk", -1), "1.09"); // invalid text steps from the last valid value
}

TEST(SpinValue, IntegerKindsMakeTheIncrementWhole) {
    struct {
        long double increment;
        TKvValueKind kind;
        long double expected;
    } cases[] = {
        {0.01L, vkInt, 1},
        {2.5L, vkInt, 2},
        {3.5L, vkHex, 4},
        {0.25L, vkFloat, 0.25L},
    };
    for (const auto& c : cases) {
        TKvSpinValue v;
        v.SetValueKind(vkFloat);
        v.SetIncrement(c.increment);
        v.SetValueKind(c.kind);
        EXPECT_EQ(v.Increment(), c.expected);
    }
    // Only a change of kind adjusts it.
    TKvSpinValue v;
    v.SetIncrement(0.5L);
    v.SetValueKind(vkInt);
    EXPECT_EQ(v.Increment(), 0.5L);
}

TEST(SpinValue, CharacterFilter) {
    struct {
        QChar c;
        bool inInt, inHex, inFloatDot, inFloatComma;
    } cases[] = {
        {u'0', true, true, true, true},
        {u'9', true, true, true, true},
        {u'+', true, true, true, true},
        {u'-', true, true, true, true},
        {u'a', false, true, false, false},
        {u'F', false, true, false, false},
        {u'g', false, false, false, false},
        {u'$', false, true, false, false},
        {u'.', false, false, true, false},
        {u',', false, false, false, true},
        {u'e', false, true, false, false},
        {u' ', false, false, false, false},
        {QChar(0xFF10), false, false, false, false}, // a full-width digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString(c.c).toStdString());
        EXPECT_EQ(KvSpinCharAllowed(c.c, vkInt, Dot), c.inInt);
        EXPECT_EQ(KvSpinCharAllowed(c.c, vkHex, Dot), c.inHex);
        EXPECT_EQ(KvSpinCharAllowed(c.c, vkFloat, Dot), c.inFloatDot);
        EXPECT_EQ(KvSpinCharAllowed(c.c, vkFloat, Comma), c.inFloatComma);
    }
}
