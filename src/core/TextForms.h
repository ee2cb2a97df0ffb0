// The text forms of values in the program's sectioned files: integers, floats and
// times of day, the latter two in the user's locale.
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace velmora {

// Milliseconds in a day; times of day are fractions of it (0.5 is noon).
inline constexpr int64_t kMsPerDay = 86400000;

// A signed 32-bit integer: optional sign and decimal digits, or "$" and up to eight
// hexadecimal digits (which may wrap into the negative range, as $FFFFFFFF = -1).
std::optional<int32_t> StrToInt32(const QString& text);

// A float in the locale's number format (its decimal separator, no grouping).
// Non-finite results are refused.
std::optional<double> StrToFloat(const QString& text, const QLocale& locale);
// Shortest general form with up to 15 significant digits: 1 -> "1", 0.75 -> "0.75".
QString FloatToStr(double value, const QLocale& locale);

// The locale's time separator (":" on most locales, "." on some).
QString LocaleTimeSeparator(const QLocale& locale);
// True when the locale writes times with an AM/PM marker.
bool LocaleUses12Hour(const QLocale& locale);
// A time of day from hours, minutes and optional seconds (and milliseconds after a
// "." or the decimal separator), separated by the locale's time separator, with an
// optional AM/PM marker before or after. Returns the fraction of a day.
std::optional<double> StrToTime(const QString& text, const QLocale& locale);
// The time of day in the locale's long time format without a time zone: "12:00:00",
// or "12:00:00 PM" on a 12-hour locale.
QString TimeToStr(double dayFraction, const QLocale& locale);

// A fraction of a day to whole milliseconds after midnight (halves to even,
// wrapped into one day, so 24:00:30 is 00:00:30).
int64_t TimeOfDayMs(double dayFraction);
// Two times of day are equal when they are the same whole millisecond of the day.
bool SameTimeOfDay(double a, double b);
// Rounds to the nearest integer, a half going to the even neighbour.
double RoundHalfEven(double value);

} // namespace velmora
