// Where the program finds its own files and keeps the user's. The portable build
// keeps everything in the folder it runs from; the packaged build (installed under
// a system prefix such as /usr) writes nothing beside itself: the settings and the
// language folder go where the desktop keeps each user's files.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

enum class TBuildKind { Portable, Packaged };

struct TProgramPaths {
    // The executable itself (the autostart entry starts it).
    QString ProgramFile;
    // The settings file.
    QString IniFileName;
    // The folder that holds the language folder "Lang/" (made on first use).
    QString DataDir;
    // The help page and the time-sync tool.
    QString HelpFile;
    QString SyncTool;
    // Where the packaged install keeps the language files it ships, copied into
    // the user's language folder when missing there; empty for the portable
    // folder, whose "Lang/" holds them already.
    QString ShippedLangDir;
    // The folder the program carries its own files in, for the settings to name
    // them relative to it (so that the folder can move); empty for the packaged
    // install, whose files stay where the package put them.
    QString OwnFolder;
};

// Whether a file exists; the real file system unless a test gives another.
using TFileExists = std::function<bool(const QString& path)>;
bool FileExists(const QString& path);

// The sub-folders the program carries its files in ("Lang", "Sync", "Help").
const QStringList& OwnSubFolders();

// How the settings file keeps `path`: relative to `ownFolder` when it lies inside
// it ("Lang/VlmEnglish.lang"), otherwise unchanged. An empty `ownFolder` (the
// packaged install) keeps every path as it is.
QString StoredPathFor(const QString& path, const QString& ownFolder);

// The file a stored path names now. A relative path lies in `ownFolder`. An
// absolute path that exists stays. One that no longer exists but names a file in
// one of the program's own sub-folders of an older place of the folder
// (".../old/place/Sync/VelmoSync") is taken from the same sub-folder here, when
// that file exists. Anything else stays as stored, so that a missing file is
// reported under the name the user knows. An empty `ownFolder` changes nothing.
QString ResolveStoredPath(const QString& stored, const QString& ownFolder,
                          const TFileExists& exists = FileExists);

// Reads an environment variable; empty when unset.
using TEnvLookup = std::function<QString(const char* name)>;

// The packaged install's folders, relative to the folder of the executable. The
// install rules of the packaged build put the files there.
inline const QString kPackagedSyncTool = QStringLiteral("../libexec/velmora/VelmoSync");
inline const QString kPackagedHelpFile = QStringLiteral("../share/velmora/Help/index.html");
inline const QString kPackagedLangDir = QStringLiteral("../share/velmora/Lang");

// An XDG base folder: the variable's value when it is an absolute path (a relative
// or empty value is ignored, as the XDG base directory rules say), else
// $HOME/`underHome`. Empty when neither gives an absolute path.
QString XdgBaseDir(const TEnvLookup& env, const char* variable, const QString& underHome);

// The folders of the program started from `executablePath`, for the kind of build.
// The portable paths are all beside the executable; the packaged ones take the
// settings from $XDG_CONFIG_HOME/velmora/ and the language folder from
// $XDG_DATA_HOME/velmora/ (defaults ~/.config and ~/.local/share). Where no home
// folder is known the user's files have no place: their paths are then empty,
// and loading and saving report that like any other unusable path.
TProgramPaths ProgramPathsFor(TBuildKind kind, const QString& executablePath,
                              const TEnvLookup& env);

// The portable paths of a clock whose settings file is `iniFileName`: its folder is
// the program's folder, where the executable is named `programName`.
TProgramPaths PortablePathsBeside(const QString& iniFileName, const QString& programName);

// The process environment, for ProgramPathsFor.
QString ProcessEnv(const char* name);

} // namespace velmora
