#include "core/DayOfTheWeekStr.h"

namespace velmora {

const QString& TDayOfTheWeekStr::ForIsoDay(int isoDay) const {
    switch (isoDay) {
    case 1:
        return Mon;
    case 2:
        return Tue;
    case 3:
        return Wed;
    case 4:
        return Thu;
    case 5:
        return Fri;
    case 6:
        return Sat;
    default:
        return Sun;
    }
}

} // namespace velmora
