// Readable test failures for Qt strings, shared by the spin edit tests.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
