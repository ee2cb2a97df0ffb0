// The fuzz targets of the language folder read real files, as the program does: the
// input is written to a file in a private folder (in memory where /dev/shm exists).
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

inline QString FuzzFolder() {
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/fuzz-XXXXXX")
                                                       : QDir::tempPath() + "/fuzz-XXXXXX");
    if (!dir.isValid())
        abort();
    return dir.path() + QLatin1Char('/');
}

inline void WriteFuzzFile(const QString& path, const uint8_t* data, size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        abort();
}
