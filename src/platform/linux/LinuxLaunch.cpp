// Starting the user's commands. The program is executed directly with its words,
// never through a shell, so a parameter text can never run anything else.
#include "KvUnits/KvCommandList.h"
#include "platform/linux/LinuxPlatform.h"

#include <QFileInfo>
#include <QProcess>

namespace velmora {

namespace {

// The helper named by `variable`, or `fallback` when it is unset or empty. Tests
// set these so that nothing is ever elevated or opened on the desktop.
QString Helper(const char* variable, const QString& fallback) {
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? fallback : value;
}

bool Fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

bool StartDetached(const QString& program, const QStringList& args, const QString& dir,
                   QString* error) {
    if (QProcess::startDetached(program, args, dir))
        return true;
    return Fail(error, QStringLiteral("\"%1\" could not be started.").arg(program));
}

} // namespace

// Without a general way to start another program's window hidden on this desktop,
// `hide` has no effect; programs without a window show nothing in any case.
bool LinuxPlatform::LaunchProgram(const QString& fileName, const QString& params, bool asAdmin,
                                  bool, QString* error) {
    if (fileName.isEmpty())
        return Fail(error, QStringLiteral("No file name is given."));
    const QFileInfo info(fileName);
    if (!info.exists())
        return Fail(error, QStringLiteral("The file \"%1\" does not exist.").arg(fileName));
    const QString path = info.absoluteFilePath();
    const QString dir = info.absolutePath();

    // A document or a folder opens with the desktop's own choice of program.
    if (!info.isFile() || !info.isExecutable())
        return StartDetached(Helper("VELMORA_OPEN", QStringLiteral("xdg-open")), {path}, dir,
                             error);

    QString splitError;
    const std::optional<QStringList> words = SplitCommandLine(params, &splitError);
    if (!words)
        return Fail(error, QStringLiteral("The parameters cannot be read: %1").arg(splitError));

    if (asAdmin) {
        // The elevation helper runs the program's absolute path with the same words.
        const QStringList args = QStringList{path} + *words;
        return StartDetached(Helper("VELMORA_ELEVATE", QStringLiteral("pkexec")), args, dir, error);
    }
    return StartDetached(path, *words, dir, error);
}

} // namespace velmora
