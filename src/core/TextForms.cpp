#include "core/TextForms.h"

#include <cfenv>
#include <cmath>

namespace velmora {

double RoundHalfEven(double value) {
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

std::optional<int32_t> StrToInt32(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) {
        negative = text[0] == QLatin1Char('-');
        ++i;
    }
    if (i < text.size() && text[i] == QLatin1Char('$')) {
        const QString digits = text.mid(i + 1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        uint32_t v = 0;
        for (QChar c : digits) {
            const int d = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
            if (d < 0)
                return std::nullopt;
            v = v * 16 + uint32_t(d);
        }
        const auto s = static_cast<int32_t>(v);
        return negative ? static_cast<int32_t>(0u - v) : s;
    }
    const QString digits = text.mid(i);
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qlonglong v = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    const qlonglong signedValue = negative ? -v : v;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(signedValue);
}

std::optional<double> StrToFloat(const QString& text, const QLocale& locale) {
    QLocale l = locale;
    l.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    bool ok = false;
    const double v = l.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString FloatToStr(double value, const QLocale& locale) {
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(value, 'g', 15);
}

namespace {

// The first 'h' or 'H' of a time format, or -1. A plain search: the tick asks
// for the separator every second, and a pattern would be compiled each time.
qsizetype FirstHourLetter(const QString& fmt) {
    for (qsizetype i = 0; i < fmt.size(); ++i)
        if (fmt[i] == QLatin1Char('h') || fmt[i] == QLatin1Char('H'))
            return i;
    return -1;
}

} // namespace

QString LocaleTimeSeparator(const QLocale& locale) {
    // The first non-letter after the hour in the locale's own time format.
    const QString fmt = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype h = FirstHourLetter(fmt);
    if (h < 0)
        return QStringLiteral(":");
    qsizetype i = h;
    while (i < fmt.size() && (fmt[i] == QLatin1Char('h') || fmt[i] == QLatin1Char('H')))
        ++i;
    QString sep;
    while (i < fmt.size() && !fmt[i].isLetter() && fmt[i] != QLatin1Char('\'')) {
        sep += fmt[i];
        ++i;
    }
    sep = sep.trimmed();
    return sep.isEmpty() ? QStringLiteral(":") : sep;
}

bool LocaleUses12Hour(const QLocale& locale) {
    const QString fmt = locale.timeFormat(QLocale::LongFormat);
    return fmt.contains(QLatin1Char('a'), Qt::CaseInsensitive);
}

int64_t TimeOfDayMs(double dayFraction) {
    if (!std::isfinite(dayFraction))
        return 0;
    const double ms = RoundHalfEven(dayFraction * double(kMsPerDay));
    const double wrapped = std::fmod(ms, double(kMsPerDay));
    return static_cast<int64_t>(wrapped < 0 ? wrapped + double(kMsPerDay) : wrapped);
}

bool SameTimeOfDay(double a, double b) {
    return TimeOfDayMs(a) == TimeOfDayMs(b);
}

namespace {

// Strips an AM/PM marker from either end; returns 0 none, 1 AM, 2 PM.
int TakeMarker(QString& text, const QLocale& locale) {
    const QString markers[][2] = {{locale.amText(), locale.pmText()},
                                  {QStringLiteral("AM"), QStringLiteral("PM")}};
    for (const auto& pair : markers)
        for (int k = 0; k < 2; ++k) {
            const QString& m = pair[k];
            if (m.isEmpty())
                continue;
            if (text.endsWith(m, Qt::CaseInsensitive)) {
                text.chop(m.size());
                text = text.trimmed();
                return k + 1;
            }
            if (text.startsWith(m, Qt::CaseInsensitive)) {
                text = text.mid(m.size()).trimmed();
                return k + 1;
            }
        }
    return 0;
}

std::optional<int> Digits(const QString& s, int maxLen) {
    if (s.isEmpty() || s.size() > maxLen)
        return std::nullopt;
    int v = 0;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}

} // namespace

std::optional<double> StrToTime(const QString& input, const QLocale& locale) {
    QString text = input.trimmed();
    const int marker = TakeMarker(text, locale);
    const QString sep = LocaleTimeSeparator(locale);
    QStringList parts = text.split(sep);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int ms = 0;
    if (parts.size() == 3) {
        // Milliseconds may follow the seconds after a decimal point.
        QString& sec = parts[2];
        qsizetype dot = sec.indexOf(QLatin1Char('.'));
        if (dot < 0 && sep != locale.decimalPoint())
            dot = sec.indexOf(locale.decimalPoint());
        if (dot >= 0) {
            const auto frac = Digits(sec.mid(dot + 1), 3);
            if (!frac)
                return std::nullopt;
            ms = *frac;
            sec = sec.left(dot);
        }
    }
    const auto h = Digits(parts[0].trimmed(), 2);
    const auto m = Digits(parts[1].trimmed(), 2);
    const auto s = parts.size() == 3 ? Digits(parts[2].trimmed(), 2) : std::optional<int>(0);
    if (!h || !m || !s || *m > 59 || *s > 59)
        return std::nullopt;
    int hour = *h;
    if (marker != 0) {
        if (hour > 12)
            return std::nullopt;
        hour = (hour % 12) + (marker == 2 ? 12 : 0);
    } else if (hour > 23) {
        return std::nullopt;
    }
    const int64_t total = ((int64_t(hour) * 60 + *m) * 60 + *s) * 1000 + ms;
    return double(total) / double(kMsPerDay);
}

QString TimeToStr(double dayFraction, const QLocale& locale) {
    const int64_t ms = TimeOfDayMs(dayFraction);
    const int totalSec = int(ms / 1000);
    int hour = totalSec / 3600;
    const int minute = totalSec / 60 % 60;
    const int second = totalSec % 60;
    const QString fmt = locale.timeFormat(QLocale::LongFormat);
    const bool twelve = LocaleUses12Hour(locale);
    const bool padHour = fmt.contains(QLatin1String("hh"), Qt::CaseInsensitive);
    QString marker;
    if (twelve) {
        marker = hour < 12 ? locale.amText() : locale.pmText();
        hour = hour % 12 == 0 ? 12 : hour % 12;
    }
    const QString sep = LocaleTimeSeparator(locale);
    QString out = QString::number(hour).rightJustified(padHour ? 2 : 1, QLatin1Char('0')) + sep +
                  QString::number(minute).rightJustified(2, QLatin1Char('0')) + sep +
                  QString::number(second).rightJustified(2, QLatin1Char('0'));
    if (twelve && !marker.isEmpty()) {
        // Keep the marker on the side the locale puts it.
        const qsizetype a = fmt.indexOf(QLatin1Char('a'), 0, Qt::CaseInsensitive);
        const qsizetype h = FirstHourLetter(fmt);
        out = a >= 0 && h >= 0 && a < h ? marker + QLatin1Char(' ') + out
                                        : out + QLatin1Char(' ') + marker;
    }
    return out;
}

} // namespace velmora
