// Small file helpers shared by the language and day-word tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringEncoder>
#include <QStringList>

namespace testfiles {

// A file as the program writes it: byte order mark FF FE, UTF-16 LE, CR LF.
inline QByteArray Utf16File(const QStringList& lines) {
    QStringEncoder encode(QStringConverter::Utf16LE);
    QByteArray out("\xFF\xFE", 2);
    for (const QString& line : lines)
        out += QByteArray(encode(line + QStringLiteral("\r\n")));
    return out;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    f.write(bytes);
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testfiles
