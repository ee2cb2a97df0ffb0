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

// Why the clock was not set, carried after the result code so that the clock
// can say it in the user's words. Values are never reused.
enum class SyncReason : int {
    None = 0,
    NotResolved = 1,      // no address for the server's name
    NoAnswer = 2,         // no server answered
    BadAnswer = 3,        // answers came, none usable
    Refused = 4,          // the time service refused, or the password prompt was dismissed
    TimeKeptBySystem = 5, // a time daemon keeps the clock
    NoService = 6,        // no time service on the system bus
    StepTooLarge = 7,     // over the panic threshold without the user's yes
    Unconfirmed = 8,      // over a day, and no second server name agreed
    BeforeBuildDate = 9,  // the server's time lies before the build date
    Busy = 10,            // another time sync held the machine's lock too long
};
inline constexpr int kLastSyncReason = 10;

// Where the clock listens: its socket in the private runtime folder that both
// find by the same rules (platform/linux/RuntimeDir.h). The tool runs as the
// user, so the folder is the user's own.
QString ClockSocketPath(const QString& runtimeDir);

// "SYNCRESULT <hash> <code>", and when there is a reason, " <reason> <step in
// whole seconds>" after it: a clock that knows only the three fields still
// reads a line without a reason, and every reason line names its step (0 when
// none was measured).
QByteArray ReportLine(std::uint32_t hash, SyncResult result, SyncReason reason = SyncReason::None,
                      std::int64_t stepS = 0);

// The clock's side: a line read from its socket (without or with its line
// end) as hash and code; nullopt for anything that is not exactly such a line.
// The clock compares the hash with its own value for the tool's path and
// decides which codes it knows.
// The reason and the step are limited to their ranges (an unknown reason or a
// step beyond kMaxReportStepS makes the line unreadable).
inline constexpr std::int64_t kMaxReportStepS = 100'000'000'000LL;
struct SyncReportLine {
    std::uint32_t hash = 0;
    int code = 0;
    SyncReason reason = SyncReason::None;
    std::int64_t stepS = 0; // local clock behind the server: positive
};
std::optional<SyncReportLine> ParseReportLine(const QByteArray& line);

// Sends the line; false when no clock listens (which is no error for the tool).
bool SendReport(const QString& socketPath, const QByteArray& line, int timeoutMs = 2000);
bool SendReport(const QString& socketPath, std::uint32_t hash, SyncResult result,
                int timeoutMs = 2000);

} // namespace velmora
