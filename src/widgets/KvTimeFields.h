// The text of a time spin edit, "hh:nn:ss" or "hh:nn:ss.zzz" in fixed character
// positions, and the rules for stepping and typing into one field of it. Plain
// functions on strings, so that each rule can be checked without a widget.
#pragma once

#include <QChar>
#include <QLocale>
#include <QString>
#include <optional>

namespace velmora {

// Field starts: hours 0, minutes 3, seconds 6, milliseconds 9.
constexpr int KvHoursPos = 0;
constexpr int KvMinutesPos = 3;
constexpr int KvSecondsPos = 6;
constexpr int KvMSecPos = 9;

struct TKvTimeSeparators {
    QChar Time = u':';
    QChar Decimal = u'.';
    // The locale's separator between hours and minutes, and its decimal separator.
    static TKvTimeSeparators FromLocale(const QLocale& locale);
};

// The start of the field that character position `pos` belongs to; the
// separator after a field belongs to it.
int KvTimeFieldStart(int pos);
// 3 for the milliseconds, else 2.
int KvTimeFieldLength(int pos);
// The field after / before the one holding `pos`, wrapping round.
int KvTimeNextField(int pos, bool showMSec);
int KvTimePrevField(int pos, bool showMSec);

// The time of day of `t` (days as a real): the fraction of the day, in [0, 1).
double KvTimeOfDay(double t);
QString KvFormatTime(double t, bool showMSec, TKvTimeSeparators seps);
// Reads what KvFormatTime writes, with or without milliseconds; a field may
// hold spaces in place of leading digits. Anything else gives nothing.
std::optional<double> KvParseTime(const QString& text, TKvTimeSeparators seps);

// The text of the field at `pos` after stepping `fieldText` by `delta`, wrapping
// round within the field's range (no carry into the next field).
QString KvStepFieldText(const QString& fieldText, int pos, int delta);
// The text of the field at `pos` after typing `digit` while `selected` is selected:
// the digit is shifted in from the right, with a leading space while a two-digit
// field waits for its second digit.
QString KvTypeDigitText(const QString& selected, int pos, QChar digit);
// The box while the user types a time into it.
struct TKvTimeEntry {
    QString Text;         // the whole text
    int Pos = KvHoursPos; // the start of the field that typing goes to
    // The last digit completed a field and moved on: a separator typed next
    // only confirms that move, so "01:10:00" and "011000" give the same time.
    bool JustMoved = false;
};
// The box after typing `ch` while `selected` is selected in the field at
// entry.Pos (empty when nothing is). A digit goes into the field
// (KvTypeDigitText); the digit that completes a field moves on to the next one,
// except from the last field. The time separator, or the decimal separator
// before the milliseconds, moves on to the next field with the waiting spaces
// filled, except right after such a move and from the last field. Nothing for a
// character that typing does not take.
std::optional<TKvTimeEntry> KvTypeTimeChar(const TKvTimeEntry& entry, const QString& selected,
                                           QChar ch, bool showMSec, TKvTimeSeparators seps);
// `text` with the field at `pos` replaced by `field`.
QString KvReplaceField(const QString& text, int pos, const QString& field, bool showMSec);
// Spaces left by typing become zeros.
QString KvFillSpaces(QString text);

} // namespace velmora
