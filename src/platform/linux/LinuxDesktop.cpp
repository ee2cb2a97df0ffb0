// Documents and the autostart entry.
#include "core/DesktopEntry.h"
#include "core/IniDocument.h"
#include "platform/linux/LinuxPlatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace velmora {

bool LinuxPlatform::OpenDocument(const QString& path, QString* error, int* code) {
    const bool exists = QFileInfo::exists(path);
    if (exists && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    if (error)
        *error = exists ? QStringLiteral("no application opens \"%1\"").arg(path)
                        : QStringLiteral("\"%1\" does not exist").arg(path);
    if (code)
        *code = exists ? 3 : 2;
    return false;
}

bool LinuxPlatform::OpenUrl(const QString& url, QString* error) {
    if (QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode)))
        return true;
    if (error)
        *error = QStringLiteral("no browser opens \"%1\"").arg(url);
    return false;
}

bool LinuxPlatform::CreateAutostartEntry(const QString& programPath, QString* error) {
    const QString path = AutostartEntryPath(programPath);
    try {
        if (!QDir().mkpath(QFileInfo(path).path()))
            throw TIniWriteError(
                QStringLiteral("cannot make \"%1\"").arg(QFileInfo(path).path()).toStdString());
        WriteFileAtomically(path, AutostartEntry(programPath));
    } catch (const TIniWriteError& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

} // namespace velmora
