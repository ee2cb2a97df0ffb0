// The clock's text and the size it needs.
#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>
#include <functional>

namespace velmora {

// The day-of-week words, looked up by ISO day (1 Monday ... 7 Sunday).
struct TDayOfTheWeekStr {
    QString Mon = QStringLiteral("Mon");
    QString Tue = QStringLiteral("Tue");
    QString Wed = QStringLiteral("Wed");
    QString Thu = QStringLiteral("Thu");
    QString Fri = QStringLiteral("Fri");
    QString Sat = QStringLiteral("Sat");
    QString Sun = QStringLiteral("Sun");

    const QString& ForIsoDay(int isoDay) const;
};

// Measures the extent of a string on the canvas that will draw it.
using TTextExtentFn = std::function<QSize(const QString&)>;

// " yyyy-mm-dd", " word" and " hh:nn[:ss] ", each part when its flag asks for it;
// `timeSeparator` replaces the ":" of the time.
QString FormatClockText(bool showDate, bool showDayOfTheWeek, bool showSecond,
                        const TDayOfTheWeekStr& words, const QDateTime& dt,
                        const QString& timeSeparator);

// The widest and tallest of Prefix + N ("%.2d") for N in [first, last]; 0 x 0 when empty.
QSize MeasureNumberRange(int first, int last, const QString& prefix, const TTextExtentFn& extent);

// The size of the clock text for the date of `dt`: every hour and minute is
// measured, so the width changes only with the date and the day word.
QSize MeasureClockText(bool showDate, bool showDayOfTheWeek, bool showSecond,
                       const TTextExtentFn& extent, const TDayOfTheWeekStr& words,
                       const QDateTime& dt);

// The window size for a measured text: width x scaleX and height x 1.25 x scaleY,
// each rounded half to even, kept within 1 .. maxSide pixels so that a hand-edited
// scale can neither make the window vanish nor ask for an impossible size.
QSize ScaledWindowSize(QSize text, double scaleX, double scaleY, int maxSide = 16384);

} // namespace velmora
