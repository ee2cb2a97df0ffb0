// The program's command line: a version and a usage that need no window, and the
// options Qt itself reads (the desktop restarts a session's programs with
// "-session <id>", users pass "-display" or "-style"), which go on to the toolkit.
// Anything else is refused before the clock touches its instance lock or a window.
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

enum class TStartAction {
    Run,         // start the clock
    ShowVersion, // print VersionText and end
    ShowHelp,    // print UsageText and end
    Refuse       // print Error and the hint to --help on standard error, end with kUsageExitCode
};

// The exit code for a command line that cannot be read (as command-line tools use it).
inline constexpr int kUsageExitCode = 2;

struct TCommandLine {
    TStartAction Action = TStartAction::Run;
    // Why the command line was refused, naming the argument.
    QString Error;
};

// Reads the arguments after the program's name. The first of --help and --version
// wins; an unknown option, an argument that is not an option, or a toolkit option
// without its value refuses the whole line.
TCommandLine ParseCommandLine(const QStringList& args);

// "velmora 1.2.3".
QString VersionText(const QString& programName, const QString& version);
// A short usage; `settingsFile` and `langDir` say where this build keeps its files
// (empty: there is no place for them, as without a home folder).
QString UsageText(const QString& programName, const QString& settingsFile, const QString& langDir);
// The line after an error: where to look for the usage.
QString UsageHint(const QString& programName);

} // namespace velmora
