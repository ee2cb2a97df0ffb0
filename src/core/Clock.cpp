#include "core/Clock.h"

namespace velmora {
QDateTime SystemClock::Now() const {
    return QDateTime::currentDateTime();
}
} // namespace velmora
