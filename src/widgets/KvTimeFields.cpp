#include "widgets/KvTimeFields.h"

#include "widgets/KvSpinValue.h"

#include <QRegularExpression>
#include <cmath>

namespace velmora {

namespace {

constexpr qint64 MSecPerDay = 24LL * 60 * 60 * 1000;

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A field's number: leading spaces, then at least one digit and only digits.
std::optional<int> FieldNumber(QStringView s) {
    int i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    if (i == s.size())
        return std::nullopt;
    int value = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i]))
            return std::nullopt;
        value = value * 10 + (s[i].unicode() - u'0');
    }
    return value;
}

int FieldMax(int pos) {
    switch (KvTimeFieldStart(pos)) {
    case KvHoursPos:
        return 23;
    case KvMSecPos:
        return 999;
    default:
        return 59;
    }
}

QString Padded(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

int LastField(bool showMSec) {
    return showMSec ? KvMSecPos : KvSecondsPos;
}

} // namespace

TKvTimeSeparators TKvTimeSeparators::FromLocale(const QLocale& locale) {
    TKvTimeSeparators seps;
    // The first character after the hours in the short time format ("HH:mm",
    // "H.mm"). Formats that put words or spaces there keep the colon: a space
    // would be taken for a digit still being typed.
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype h = format.indexOf(QRegularExpression(QStringLiteral("[hH]+")));
    if (h >= 0) {
        qsizetype i = h;
        while (i < format.size() && (format[i] == u'h' || format[i] == u'H'))
            ++i;
        if (i < format.size()) {
            const QChar c = format[i];
            if (c.isPunct() && c != u'\'')
                seps.Time = c;
        }
    }
    const QString dec = locale.decimalPoint();
    if (dec.size() == 1 && dec.front() != seps.Time)
        seps.Decimal = dec.front();
    return seps;
}

int KvTimeFieldStart(int pos) {
    if (pos <= 2)
        return KvHoursPos;
    if (pos <= 5)
        return KvMinutesPos;
    if (pos <= 8)
        return KvSecondsPos;
    return KvMSecPos;
}

int KvTimeFieldLength(int pos) {
    return KvTimeFieldStart(pos) == KvMSecPos ? 3 : 2;
}

int KvTimeNextField(int pos, bool showMSec) {
    const int next = KvTimeFieldStart(pos) + 3;
    return next > LastField(showMSec) ? KvHoursPos : next;
}

int KvTimePrevField(int pos, bool showMSec) {
    const int prev = KvTimeFieldStart(pos) - 3;
    return prev < 0 ? LastField(showMSec) : prev;
}

double KvTimeOfDay(double t) {
    if (!std::isfinite(t))
        return 0;
    // The time part of a date before the epoch counts from its midnight too,
    // so -0.25 is 06:00 as 1.25 is.
    return std::fabs(t - std::trunc(t));
}

QString KvFormatTime(double t, bool showMSec, TKvTimeSeparators seps) {
    qint64 ms = KvRoundHalfEven(static_cast<long double>(KvTimeOfDay(t)) * MSecPerDay);
    if (ms >= MSecPerDay) // a hair before midnight rounds to the next midnight
        ms = 0;
    const int msec = int(ms % 1000);
    const qint64 secs = ms / 1000;
    QString text = Padded(int(secs / 3600), 2) + seps.Time + Padded(int(secs / 60 % 60), 2) +
                   seps.Time + Padded(int(secs % 60), 2);
    if (showMSec)
        text += seps.Decimal + Padded(msec, 3);
    return text;
}

std::optional<double> KvParseTime(const QString& text, TKvTimeSeparators seps) {
    if (text.size() != 8 && text.size() != 12)
        return std::nullopt;
    if (text[2] != seps.Time || text[5] != seps.Time)
        return std::nullopt;
    if (text.size() == 12 && text[8] != seps.Decimal)
        return std::nullopt;
    const QStringView v(text);
    const auto h = FieldNumber(v.mid(KvHoursPos, 2));
    const auto n = FieldNumber(v.mid(KvMinutesPos, 2));
    const auto s = FieldNumber(v.mid(KvSecondsPos, 2));
    const auto z = text.size() == 12 ? FieldNumber(v.mid(KvMSecPos, 3)) : std::optional<int>(0);
    if (!h || !n || !s || !z || *h > 23 || *n > 59 || *s > 59)
        return std::nullopt;
    const qint64 ms = ((qint64(*h) * 60 + *n) * 60 + *s) * 1000 + *z;
    return double(ms) / double(MSecPerDay);
}

QString KvStepFieldText(const QString& fieldText, int pos, int delta) {
    const int max = FieldMax(pos);
    int n = FieldNumber(fieldText).value_or(0) + delta;
    if (n < 0)
        n = max;
    else if (n > max)
        n = 0;
    return Padded(n, KvTimeFieldLength(pos));
}

QString KvTypeDigitText(const QString& selected, int pos, QChar digit) {
    const int field = KvTimeFieldStart(pos);
    const QString d(digit);
    if (field == KvMSecPos) {
        const QString s = selected.isEmpty() ? QStringLiteral("000") : selected;
        if (s.size() >= 3 && s[0] == u' ' && s[1] == u' ')
            return u' ' + s.mid(2, 1) + d;
        if (s.size() >= 3 && s[0] == u' ')
            return s.mid(1, 2) + d;
        return QStringLiteral("  ") + d;
    }
    const QString s = selected.isEmpty() ? QStringLiteral("00") : selected;
    if (s.size() < 2 || s[0] != u' ' || !IsDigit(s[1]))
        return u' ' + d;
    // The first digit is waiting: take the pair when it can be an hour or a
    // minute, else start again with the new digit alone.
    const QChar p = s[1];
    const bool fits = field == KvHoursPos ? (p <= u'1' || (p == u'2' && digit <= u'3')) : p <= u'5';
    return fits ? QString(p) + d : u'0' + d;
}

QString KvReplaceField(const QString& text, int pos, const QString& field, bool showMSec) {
    switch (KvTimeFieldStart(pos)) {
    case KvHoursPos:
        return (field + text.mid(2)).left(showMSec ? 12 : 8);
    case KvMinutesPos:
        return text.left(3) + field + text.mid(5);
    case KvSecondsPos:
        return text.left(6) + field + (showMSec ? text.mid(8, 4) : QString());
    default:
        return text.left(9) + field;
    }
}

QString KvFillSpaces(QString text) {
    return text.replace(u' ', u'0');
}

namespace {

TKvTimeEntry MoveOn(TKvTimeEntry entry, bool showMSec, bool justMoved) {
    entry.Text = KvFillSpaces(entry.Text);
    entry.Pos = KvTimeNextField(entry.Pos, showMSec);
    entry.JustMoved = justMoved;
    return entry;
}

} // namespace

std::optional<TKvTimeEntry> KvTypeTimeChar(const TKvTimeEntry& entry, const QString& selected,
                                           QChar ch, bool showMSec, TKvTimeSeparators seps) {
    const int field = KvTimeFieldStart(entry.Pos);
    const bool last = field == LastField(showMSec);
    if (IsDigit(ch)) {
        const QString before = selected.isEmpty() ? QStringLiteral("0") : selected;
        const QString typed = KvTypeDigitText(selected, field, ch);
        TKvTimeEntry out = entry;
        out.Text = KvReplaceField(entry.Text, field, typed, showMSec);
        out.JustMoved = false;
        // A field whose first digit was waiting is complete with this one.
        const bool completed = before.startsWith(u' ') && !typed.startsWith(u' ');
        return completed && !last ? MoveOn(out, showMSec, true) : out;
    }
    TKvTimeEntry out = entry;
    out.JustMoved = false;
    if (entry.JustMoved && (ch == seps.Time || ch == seps.Decimal))
        return out; // the separator of the field just completed
    const bool nextIsMSec = field == KvSecondsPos && showMSec;
    if (ch != seps.Time && !(nextIsMSec && ch == seps.Decimal))
        return std::nullopt;
    return last ? out : MoveOn(out, showMSec, false);
}

} // namespace velmora
