// Telling the running clock how the sync went: one line over the clock's own
// local socket, marked with the hash of this tool's path so the clock knows
// the line comes from the tool it started.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
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

// Where the clock listens: its socket in the private runtime folder that both
// find by the same rules (platform/linux/RuntimeDir.h). The tool runs as the
// user, so the folder is the user's own.
QString ClockSocketPath(const QString& runtimeDir);

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
