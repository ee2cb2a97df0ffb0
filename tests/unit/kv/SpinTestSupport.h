// Readable test failures for Qt strings, shared by the spin edit tests.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

#include <QColor>
#include <QVariant>

inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << v.typeName() << "(" << v.toString().toStdString() << ")";
}
