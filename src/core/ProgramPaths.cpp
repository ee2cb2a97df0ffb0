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
        paths.OwnFolder = programDir;
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

bool FileExists(const QString& path) {
    return QFileInfo::exists(path);
}

const QStringList& OwnSubFolders() {
    static const QStringList names = {QStringLiteral("Lang"), QStringLiteral("Sync"),
                                      QStringLiteral("Help")};
    return names;
}

QString StoredPathFor(const QString& path, const QString& ownFolder) {
    if (ownFolder.isEmpty() || path.isEmpty() || QDir::isRelativePath(path))
        return path;
    const QString folder = QDir::cleanPath(ownFolder);
    const QString clean = QDir::cleanPath(path);
    if (!clean.startsWith(folder + QLatin1Char('/')))
        return path; // outside, or a folder whose name merely begins the same way
    return clean.mid(folder.size() + 1);
}

namespace {

// The part of `path` from its last own sub-folder on ("Sync/VelmoSync"), or empty.
QString TailFromOwnSubFolder(const QString& path) {
    const QStringList parts = QDir::cleanPath(path).split(QLatin1Char('/'));
    for (qsizetype i = parts.size() - 2; i >= 1; --i)
        if (OwnSubFolders().contains(parts[i]))
            return parts.mid(i).join(QLatin1Char('/'));
    return QString();
}

} // namespace

QString ResolveStoredPath(const QString& stored, const QString& ownFolder,
                          const TFileExists& exists) {
    if (ownFolder.isEmpty() || stored.isEmpty())
        return stored;
    if (QDir::isRelativePath(stored))
        return Under(ownFolder, stored);
    if (exists(stored))
        return stored;
    const QString tail = TailFromOwnSubFolder(stored);
    if (tail.isEmpty())
        return stored;
    const QString moved = Under(ownFolder, tail);
    return exists(moved) ? moved : stored;
}

QString ProcessEnv(const char* name) {
    return qEnvironmentVariable(name);
}

} // namespace velmora
