#include "core/SyncPolicy.h"

#include "core/MessageTable.h"

namespace velmora {

QString ClockOffsetText(int64_t stepS) {
    const TMessageTable& m = Messages();
    const int64_t size = stepS < 0 ? -stepS : stepS;
    QString amount;
    if (size < 86400) {
        const int64_t minutes = (size + 30) / 60; // to the nearest minute
        amount = FormatMsg(m.SyncOffsetHoursMinutes,
                           {QString::number(minutes / 60), QString::number(minutes % 60)});
    } else {
        const int64_t hours = (size + 1800) / 3600; // to the nearest hour
        amount = FormatMsg(m.SyncOffsetDaysHours,
                           {QString::number(hours / 24), QString::number(hours % 24)});
    }
    return FormatMsg(stepS > 0 ? m.SyncClockBehind : m.SyncClockAhead, {amount});
}

bool UnattendedSyncAllowed(int64_t lastStepMs, int64_t nowMs) {
    return lastStepMs < 0 || nowMs - lastStepMs >= kUnattendedStepSpacingMs;
}

} // namespace velmora
