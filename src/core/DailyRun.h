// Commands set for a time of day run once per calendar day. The time is a
// window checked on every tick: it falls due when a check finds it passed since
// the check before, on a day it has not run yet. So a forward step of the clock
// over the time runs it once, and a backward step that brings the time round
// again does not run it a second time.
#pragma once

#include <QDate>
#include <QDateTime>
#include <cstdint>

namespace velmora {

// The day on which the time of day `atMs` (milliseconds after midnight) passed
// in (since, now], or an invalid date when it did not pass there or already ran
// on that day (`lastRunDay`; invalid while it has not run).
QDate DailyDueDay(const QDateTime& since, const QDateTime& now, int64_t atMs,
                  const QDate& lastRunDay);

} // namespace velmora
