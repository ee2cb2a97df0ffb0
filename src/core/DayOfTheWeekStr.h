// The words the clock shows for the days of the week.
#pragma once

#include <QString>

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

} // namespace velmora
