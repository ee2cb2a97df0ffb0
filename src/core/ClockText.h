// The clock's text and the size it needs.
#pragma once

#include "core/DayOfTheWeekStr.h"

#include <QDateTime>
#include <QSize>
#include <QString>
#include <functional>

namespace velmora {

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
