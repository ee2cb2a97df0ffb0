#include "core/TickSchedule.h"

namespace velmora {

QDateTime WholeSecond(const QDateTime& dt) {
    QTime t = dt.time();
    return QDateTime(dt.date(), QTime(t.hour(), t.minute(), t.second()), dt.timeSpec());
}

std::vector<QDateTime> TTickSchedule::SecondsToCheck(const QDateTime& now) {
    const QDateTime t = WholeSecond(now);
    std::vector<QDateTime> out;
    if (FLast) {
        // Wall-clock seconds, so that a daylight-saving change counts as the jump it is.
        const qint64 gap = FLast->secsTo(t) + (t.offsetFromUtc() - FLast->offsetFromUtc());
        if (gap > 1 && gap <= kMaxReplaySeconds + 1)
            for (qint64 k = gap - 1; k >= 1; --k)
                out.push_back(t.addSecs(-k));
        else if (gap == 0)
            return out; // the same second again: nothing new to check
    }
    out.push_back(t);
    FLast = t;
    return out;
}

} // namespace velmora
