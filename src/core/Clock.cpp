#include "core/Clock.h"

namespace velmora {
QDateTime SystemClock::Now() const {
    // One local-time conversion, then a fixed offset: every later question to a
    // local-time date (its offset, a conversion) would ask the C library for the
    // time zone again, and it checks the zone file on disk each time.
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
    const qint64 wallMs = QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, int((wallMs - ms) / 1000));
}
} // namespace velmora
