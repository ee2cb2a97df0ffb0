#include "core/ClockText.h"

#include "core/TextForms.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
QString Two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

QString FormatClockText(bool showDate, bool showDayOfTheWeek, bool showSecond,
                        const TDayOfTheWeekStr& words, const QDateTime& dt,
                        const QString& timeSeparator) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    if (showDate)
        out += QStringLiteral(" %1-%2-%3")
                   .arg(d.year(), 4, 10, QLatin1Char('0'))
                   .arg(Two(d.month()), Two(d.day()));
    if (showDayOfTheWeek)
        out += QLatin1Char(' ') + words.ForIsoDay(d.dayOfWeek());
    out += QLatin1Char(' ') + Two(t.hour()) + timeSeparator + Two(t.minute());
    if (showSecond)
        out += timeSeparator + Two(t.second());
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
