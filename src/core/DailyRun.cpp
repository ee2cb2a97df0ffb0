#include "core/DailyRun.h"

#include "core/TextForms.h"

#include <QTime>

namespace velmora {

QDate DailyDueDay(const QDateTime& since, const QDateTime& now, int64_t atMs,
                  const QDate& lastRunDay) {
    if (atMs < 0 || atMs >= kMsPerDay || !now.isValid())
        return QDate();
    // The latest moment at that time of day, at or before now.
    QDateTime at = now;
    at.setTime(QTime::fromMSecsSinceStartOfDay(int(atMs)));
    if (at > now)
        at = at.addDays(-1);
    if (since.isValid() && at <= since)
        return QDate();
    if (lastRunDay.isValid() && at.date() <= lastRunDay)
        return QDate();
    return at.date();
}

} // namespace velmora
