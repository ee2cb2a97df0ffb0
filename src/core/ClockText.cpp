#include "core/ClockText.h"

#include "core/TextForms.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
// Digits appended one by one: the text is made every second, and a formatted
// argument costs a thousand instructions each.
void AppendDigits(QString& out, int n, int width) {
    int limit = 1;
    for (int i = 0; i < width; ++i)
        limit *= 10;
    if (n < 0 || n >= limit) {
        out += QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
        return;
    }
    for (int div = limit / 10; div > 0; div /= 10)
        out += QChar(u'0' + (n / div) % 10);
}

QString Two(int n) {
    QString out;
    AppendDigits(out, n, 2);
    return out;
}
} // namespace

QString FormatClockText(bool showDate, bool showDayOfTheWeek, bool showSecond,
                        const TDayOfTheWeekStr& words, const QDateTime& dt,
                        const QString& timeSeparator) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    out.reserve(40);
    if (showDate) {
        out += QLatin1Char(' ');
        AppendDigits(out, d.year(), 4);
        out += QLatin1Char('-');
        AppendDigits(out, d.month(), 2);
        out += QLatin1Char('-');
        AppendDigits(out, d.day(), 2);
    }
    if (showDayOfTheWeek) {
        out += QLatin1Char(' ');
        out += words.ForIsoDay(d.dayOfWeek());
    }
    out += QLatin1Char(' ');
    AppendDigits(out, t.hour(), 2);
    out += timeSeparator;
    AppendDigits(out, t.minute(), 2);
    if (showSecond) {
        out += timeSeparator;
        AppendDigits(out, t.second(), 2);
    }
    out += QLatin1Char(' ');
    return out;
}

QSize MeasureNumberRange(int first, int last, const QString& prefix, const TTextExtentFn& extent) {
    int w = 0, h = 0;
    for (int n = first; n <= last; ++n) {
        const QSize s = extent(prefix + Two(n));
        w = std::max(w, s.width());
        h = std::max(h, s.height());
    }
    return {w, h};
}

QSize MeasureClockText(bool showDate, bool showDayOfTheWeek, bool showSecond,
                       const TTextExtentFn& extent, const TDayOfTheWeekStr& words,
                       const QDateTime& dt) {
    const QDate d = dt.date();
    QSize date(0, 0), day(0, 0);
    if (showDate) {
        const QSize y = MeasureNumberRange(d.year(), d.year(), QStringLiteral(" "), extent);
        const QSize mo = MeasureNumberRange(d.month(), d.month(), QStringLiteral("-"), extent);
        const QSize da = MeasureNumberRange(d.day(), d.day(), QStringLiteral("-"), extent);
        date = {y.width() + mo.width() + da.width(),
                std::max({y.height(), mo.height(), da.height()})};
    }
    if (showDayOfTheWeek)
        day = extent(QLatin1Char(' ') + words.ForIsoDay(d.dayOfWeek()));
    const QSize hr = MeasureNumberRange(0, 23, QStringLiteral(" "), extent);
    const QSize mi = MeasureNumberRange(0, 59, QStringLiteral(":"), extent);
    const QSize space = extent(QStringLiteral(" "));
    int timeW = hr.width() + mi.width() + (showSecond ? mi.width() : 0) + space.width();
    int timeH = std::max({hr.height(), mi.height(), space.height()});
    return {date.width() + day.width() + timeW, std::max({timeH, day.height(), date.height()})};
}

QSize ScaledWindowSize(QSize text, double scaleX, double scaleY, int maxSide) {
    auto side = [maxSide](double v) {
        if (!std::isfinite(v))
            return maxSide;
        return int(std::clamp(RoundHalfEven(v), 1.0, double(maxSide)));
    };
    return {side(text.width() * scaleX), side(text.height() * 1.25 * scaleY)};
}

} // namespace velmora
