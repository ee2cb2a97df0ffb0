// Documents and the autostart entry.
#include "core/DesktopEntry.h"
#include "core/IniDocument.h"
#include "platform/linux/LinuxPlatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <cstdio>

namespace velmora {

bool LinuxPlatform::OpenDocument(const QString& path, QString* error, int* code,
                                 std::function<void(int code)> onFailed) {
    const auto fail = [&](const QString& why, int number) {
        if (error)
            *error = why;
        if (code)
            *code = number;
        return false;
    };
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("\"%1\" does not exist").arg(path), 2);
    const QString opener = QStandardPaths::findExecutable(helpers_.Opener);
    if (opener.isEmpty())
        return fail(QStringLiteral("no file opener (%1) is installed").arg(helpers_.Opener),
                    kNoOpenerCode);
    // The opener starts a browser or says it found none only by its exit code:
    // started blindly, a machine without one would show nothing at all.
    auto* process = new QProcess(watches_.get());
    QObject::connect(process, &QProcess::finished, process,
                     [process, path, onFailed](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status == QProcess::NormalExit && exitCode == 0)
                             return;
                         std::fprintf(stderr, "velmora: the file opener could not open %s (%d)\n",
                                      qPrintable(path), exitCode);
                         if (onFailed)
                             onFailed(status == QProcess::NormalExit ? exitCode : -1);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, onFailed](QProcess::ProcessError e) {
                         if (e != QProcess::FailedToStart)
                             return; // a crash ends in finished() too
                         std::fprintf(stderr, "velmora: the file opener did not start: %s\n",
                                      qPrintable(process->errorString()));
                         process->deleteLater();
                         if (onFailed)
                             onFailed(kNoOpenerCode);
                     });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(opener, {path});
    return true;
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

bool LinuxPlatform::HasAutostartEntry(const QString& programPath) {
    const QFileInfo entry(AutostartEntryPath(programPath));
    return entry.exists() || entry.isSymLink();
}

bool LinuxPlatform::RemoveAutostartEntry(const QString& programPath, QString* error) {
    QFile entry(AutostartEntryPath(programPath));
    if (!HasAutostartEntry(programPath) || entry.remove())
        return true;
    if (error)
        *error =
            QStringLiteral("cannot remove \"%1\": %2").arg(entry.fileName(), entry.errorString());
    return false;
}

} // namespace velmora
