// Telling the running clock how the sync went: one line over the clock's own
// local socket, marked with the hash of this tool's path so the clock knows
// the line comes from the tool it started.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace velmora {

// What the clock shows for each result.
enum class SyncResult : int {
    NoArgument = 0,
    TooManyArguments = 1,
    NoServerName = 2,
    ClockSet = 3,
    Failed = 4,
};

// Where the clock listens, from the environment given as values:
// - a runtime folder: its VelmoLimitMultiInstance.sock (when the folder is gone
//   the clock falls back to the temp folder without a user suffix, so do we);
// - started as root through pkexec (no runtime folder, PKEXEC_UID set): the
//   invoking user's /run/user/<uid> when that folder exists;
// - otherwise <temp>/VelmoLimitMultiInstance-<uid>.sock, uid being the invoking
//   user's when known.
// PKEXEC_UID is used only when it is a plain decimal number.
struct SocketEnvironment {
    QString xdgRuntimeDir;
    QString pkexecUid;
    QString tempDir;
    unsigned realUid = 0;
    std::function<bool(const QString&)> dirExists;
};
QString ClockSocketPath(const SocketEnvironment& env);
// The same, from this process's environment.
QString ClockSocketPathFromEnvironment();

QByteArray ReportLine(std::uint32_t hash, SyncResult result);

// The clock's side: a line read from its socket (without or with its line
// end) as hash and code; nullopt for anything that is not exactly such a line.
// The clock compares the hash with its own value for the tool's path and
// decides which codes it knows.
struct SyncReportLine {
    std::uint32_t hash = 0;
    int code = 0;
};
std::optional<SyncReportLine> ParseReportLine(const QByteArray& line);

// Sends the line; false when no clock listens (which is no error for the tool).
bool SendReport(const QString& socketPath, std::uint32_t hash, SyncResult result,
                int timeoutMs = 2000);

} // namespace velmora
