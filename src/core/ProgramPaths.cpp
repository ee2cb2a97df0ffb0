#include "core/ProgramPaths.h"

#include "core/CommandSections.h"
#include "core/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

const QString kFolderName = QStringLiteral("velmora");

QString Under(const QString& dir, const QString& relative) {
    return QDir::cleanPath(dir + QLatin1Char('/') + relative);
}

} // namespace

QString XdgBaseDir(const TEnvLookup& env, const char* variable, const QString& underHome) {
    const QString value = env(variable);
    if (QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    const QString home = env("HOME");
    if (QDir::isAbsolutePath(home))
        return Under(home, underHome);
    return QString();
}

TProgramPaths ProgramPathsFor(TBuildKind kind, const QString& executablePath,
                              const TEnvLookup& env) {
    const QString programDir = QFileInfo(executablePath).path();
    TProgramPaths paths;
    paths.ProgramFile = executablePath;
    if (kind == TBuildKind::Portable) {
        paths.IniFileName = IniFileNameFor(executablePath);
        paths.DataDir = programDir;
        paths.HelpFile = programDir + QStringLiteral("/Help/index.html");
        paths.SyncTool = SyncToolPath(programDir);
        return paths;
    }
    const QString config = XdgBaseDir(env, "XDG_CONFIG_HOME", QStringLiteral(".config"));
    const QString data = XdgBaseDir(env, "XDG_DATA_HOME", QStringLiteral(".local/share"));
    if (!config.isEmpty())
        paths.IniFileName = Under(config, kFolderName) + QStringLiteral("/velmora.ini");
    if (!data.isEmpty())
        paths.DataDir = Under(data, kFolderName);
    paths.HelpFile = Under(programDir, kPackagedHelpFile);
    paths.SyncTool = Under(programDir, kPackagedSyncTool);
    paths.ShippedLangDir = Under(programDir, kPackagedLangDir);
    return paths;
}

TProgramPaths PortablePathsBeside(const QString& iniFileName, const QString& programName) {
    const QString programDir = QFileInfo(iniFileName).path();
    TProgramPaths paths =
        ProgramPathsFor(TBuildKind::Portable, programDir + QLatin1Char('/') + programName,
                        [](const char*) { return QString(); });
    paths.IniFileName = iniFileName;
    return paths;
}

QString ProcessEnv(const char* name) {
    return qEnvironmentVariable(name);
}

} // namespace velmora
