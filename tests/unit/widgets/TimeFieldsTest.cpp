// The time spin edit's field rules, driven without a widget.
#include "SpinTestSupport.h"
#include "widgets/KvTimeFields.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(TimeFields, FieldOfEachPosition) {
    const int starts[] = {0, 0, 0, 3, 3, 3, 6, 6, 6, 9, 9, 9, 9};
    for (int p = 0; p <= 12; ++p) {
        EXPECT_EQ(KvTimeFieldStart(p), starts[p]) << p;
        EXPECT_EQ(KvTimeFieldLength(p), starts[p] == 9 ? 3 : 2) << p;
    }
}

TEST(TimeFields, NextAndPreviousFieldWrapRound) {
    struct {
        int pos;
        bool msec;
        int next, prev;
    } cases
        [] =
            {
                {0, false, 3, 6}, {3, false, 6, 0}, {6, false, 0, 3}, {7, false, 0, 3},
                {0, true, 3, 9},  {6, true, 9, 3},  {9, true, 0, 6},  {12, true, 0, 6},
                {2, false, 3, 6}, // the separator after the hours belongs to the hours
            };
    for (const auto& c : cases) {
        EXPECT_EQ(KvTimeNextField(c.pos, c.msec), c.next) << c.pos << c.msec;
        EXPECT_EQ(KvTimePrevField(c.pos, c.msec), c.prev) << c.pos << c.msec;
    }
}

TEST(TimeFields, FormatsTheTimeOfDay) {
    const TKvTimeSeparators colon;
    const TKvTimeSeparators dots{u'.', u','};
    struct {
        double t;
        bool msec;
        TKvTimeSeparators seps;
        const char* text;
    } cases[] = {
        {0, false, colon, "00:00:00"},
        {0.5, false, colon, "12:00:00"},
        {1.75, false, colon, "18:00:00"}, // the day part is dropped
        {-0.25, false, colon, "06:00:00"},
        {0.5 + 1.5 / 86400, true, colon, "12:00:01.500"},
        {0.5 + 1.5 / 86400, false, colon, "12:00:01"},           // seconds are not rounded up
        {(86400 - 0.0001) / 86400, true, colon, "00:00:00.000"}, // rounds to the next midnight
        {(13 * 3600 + 5 * 60 + 9.25) / 86400, true, dots, "13.05.09,250"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvFormatTime(c.t, c.msec, c.seps), QString::fromLatin1(c.text)) << c.t;
}

TEST(TimeFields, ParsesWhatItWritesAndNothingElse) {
    const TKvTimeSeparators colon;
    struct {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"00:00:00", 0.0},
        {"18:00:00", 0.75},
        {"12:00:01.500", (12 * 3600 + 1.5) / 86400},
        {" 5:00:00", 5.0 / 24}, // a field still being typed
        {"12:00:00.  1", (12 * 3600 + 0.001) / 86400},
        {"24:00:00", std::nullopt},
        {"12:60:00", std::nullopt},
        {"12::00", std::nullopt}, // a field deleted
        {"12:  :00", std::nullopt},
        {"12.00.00", std::nullopt},
        {"", std::nullopt},
        {"ab:cd:ef", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto t = KvParseTime(QString::fromLatin1(c.text), colon);
        ASSERT_EQ(t.has_value(), c.expected.has_value()) << c.text;
        if (t) {
            EXPECT_NEAR(*t, *c.expected, 1e-12) << c.text;
        }
    }
}

TEST(TimeFields, SteppingWrapsWithinEachField) {
    struct {
        const char* field;
        int pos;
        int delta;
        const char* expected;
    } cases[] = {
        {"23", 0, +1, "00"},    {"00", 0, -1, "23"},   {"08", 1, +1, "09"}, {"59", 3, +1, "00"},
        {"00", 4, -1, "59"},    {"59", 6, +1, "00"},   {"00", 7, -1, "59"}, {"999", 9, +1, "000"},
        {"000", 10, -1, "999"}, {"041", 9, +1, "042"}, {" 5", 3, +1, "06"}, {"  1", 9, +1, "002"},
        {"", 0, +1, "01"},      {"x", 3, -1, "59"}, // not a number counts as 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvStepFieldText(QString::fromLatin1(c.field), c.pos, c.delta),
                  QString::fromLatin1(c.expected))
            << c.field << " @" << c.pos << " " << c.delta;
}

TEST(TimeFields, TypingTable) {
    struct {
        int pos;
        const char* before;
        const char* digits;
        const char* after; // the field after each digit, '|' between
    } cases[] = {
        {0, "08", "15", " 1|15"},
        {0, "08", "27", " 2|07"},
        {0, "08", "30", " 3|00"},
        {0, "08", "23", " 2|23"},
        {0, "08", "09", " 0|09"},
        {0, "", "1", " 1"}, // nothing selected counts as 00
        {3, "00", "61", " 6|01"},
        {3, "00", "45", " 4|45"},
        {6, "30", "59", " 5|59"},
        {6, "30", "77", " 7|07"},
        {9, "000", "1234", "  1| 12|123|  4"},
        {9, "", "5", "  5"},
        {0, "15", "3", " 3"}, // a full field starts again
    };
    for (const auto& c : cases) {
        QString field = QString::fromLatin1(c.before);
        QStringList got;
        for (const char* d = c.digits; *d; ++d) {
            field = KvTypeDigitText(field, c.pos, QChar::fromLatin1(*d));
            got << field;
        }
        EXPECT_EQ(got.join(u'|'), QString::fromLatin1(c.after)) << c.before << "+" << c.digits;
    }
}

TEST(TimeFields, TypingAWholeTimeMovesFromFieldToField) {
    // Characters typed one by one from the given field and selection; the text
    // and field after each, '|' between.
    struct Case {
        const char* text;
        int pos;
        bool msec;
        const char* typed;
        const char* after;
    };
    const Case cases[] = {
        {"12:34:56", 0, false, "0110", " 0:34:56@0|01:34:56@3|01: 1:56@3|01:10:56@6"},
        {"12:34:56", 0, false, "1:1", " 1:34:56@0|01:34:56@3|01: 1:56@3"},
        // The separator right after a completed field only confirms the move.
        {"12:34:56", 0, false, "01:", " 0:34:56@0|01:34:56@3|01:34:56@3"},
        {"12:34:56", 0, false, "01::", " 0:34:56@0|01:34:56@3|01:34:56@3|01:34:56@6"},
        // The last field neither moves on nor wraps round.
        {"12:34:56", 6, false, "07:", "12:34: 0@6|12:34:07@6|12:34:07@6"},
        {"12:34:56.000", 6, true, "07.", "12:34: 0.000@6|12:34:07.000@9|12:34:07.000@9"},
        {"12:34:56.000", 6, true, "1.", "12:34: 1.000@6|12:34:01.000@9"},
        {"12:34:56.000", 9, true, "123:",
         "12:34:56.  1@9|12:34:56. 12@9|12:34:56.123@9|"
         "12:34:56.123@9"},
        // A decimal separator without milliseconds, and other characters, are not taken.
        {"12:34:56", 6, false, ".", "-"},
        {"12:34:56", 0, false, "a", "-"},
    };
    for (const Case& c : cases) {
        TKvTimeEntry e{QString::fromLatin1(c.text), c.pos, false};
        QStringList got;
        for (const char* ch = c.typed; *ch; ++ch) {
            const QString field = e.Text.mid(e.Pos, KvTimeFieldLength(e.Pos));
            const auto next = KvTypeTimeChar(e, field, QChar::fromLatin1(*ch), c.msec, {});
            if (!next) {
                got << QStringLiteral("-");
                continue;
            }
            e = *next;
            got << QStringLiteral("%1@%2").arg(e.Text).arg(e.Pos);
        }
        EXPECT_EQ(got.join(u'|'), QString::fromLatin1(c.after)) << c.text << " + " << c.typed;
    }
}

TEST(TimeFields, ReplacesOneFieldOnly) {
    struct {
        const char* text;
        int pos;
        const char* field;
        bool msec;
        const char* expected;
    } cases[] = {
        {"08:30:15", 0, " 1", false, " 1:30:15"},
        {"08:30:15", 4, "45", false, "08:45:15"},
        {"08:30:15", 6, "00", false, "08:30:00"},
        {"08:30:15.250", 0, "09", true, "09:30:15.250"},
        {"08:30:15.250", 7, "16", true, "08:30:16.250"},
        {"08:30:15.250", 9, "  4", true, "08:30:15.  4"},
        {"12::56", 3, "01", false, "12:016"}, // damaged text stays damaged, but safely
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvReplaceField(QString::fromLatin1(c.text), c.pos, QString::fromLatin1(c.field),
                                 c.msec),
                  QString::fromLatin1(c.expected))
            << c.text;
    EXPECT_EQ(KvFillSpaces(" 5: 1:00.  4"), "05:01:00.004");
}

TEST(TimeFields, SeparatorsFromTheLocale) {
    const auto us = TKvTimeSeparators::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.Time, u':');
    EXPECT_EQ(us.Decimal, u'.');
    const auto de = TKvTimeSeparators::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.Time, u':');
    EXPECT_EQ(de.Decimal, u',');
    const auto ja = TKvTimeSeparators::FromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(ja.Time, u':');
    EXPECT_EQ(ja.Decimal, u'.');
    const auto c = TKvTimeSeparators::FromLocale(QLocale::c());
    EXPECT_EQ(c.Time, u':');
    EXPECT_EQ(c.Decimal, u'.');
    const auto fi = TKvTimeSeparators::FromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    EXPECT_EQ(fi.Time, u'.');
    EXPECT_EQ(fi.Decimal, u',');
}
