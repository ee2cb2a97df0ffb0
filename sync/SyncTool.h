// The tool's run from arguments to result code, apart from main() so that
// tests drive it with a fake clock setter and a local server.
#pragma once

#include "ClockSetter.h"
#include "NtpClient.h"
#include "Report.h"

#include <QStringList>
#include <optional>

namespace velmora {

// What the arguments ask for: the servers in the order given, and the step the
// user has said yes to, when there is one.
struct SyncRequest {
    QList<ServerSpec> servers;
    std::optional<std::int64_t> approvedS;
};

// The arguments are `[--approve=<seconds>] <server>[,<server>...]`. The result
// they decide by themselves (no argument, too many, a blank name, an unusable
// name, port or option); nullopt when they name servers, which go to *request.
std::optional<SyncResult> CheckArguments(const QStringList& args, SyncRequest* request);
// The same, for callers that want the first server only.
std::optional<SyncResult> CheckArguments(const QStringList& args, ServerSpec* server);

// Whether a measured step may be applied. Plain NTP is not authenticated: anyone
// on the path can answer. So no answer may move the clock before the program
// was built; a step over a day needs a second, independent server that agrees;
// and a step over the panic threshold needs the user's yes to that very amount.
// A machine whose clock lies before the build date (a dead clock battery) is
// set however far it is off.
enum class StepVerdict {
    Allowed,
    BeforeBuildDate, // the target lies before the build date
    Unconfirmed,     // more than a day, and no second server name agrees
    TooLarge,        // more than the panic threshold, and the user has not said yes to it
};
inline constexpr std::int64_t kOneDayNs = 86'400'000'000'000LL;
// The largest step taken without asking: the panic threshold of classic NTP daemons.
inline constexpr std::int64_t kPanicStepNs = 1000'000'000'000LL;
// How far a fresh measurement may lie from the step the user said yes to: the
// question shows whole minutes.
inline constexpr std::int64_t kApprovalSlackNs = 60'000'000'000LL;
// The largest step an argument or a report may name, in seconds (about 3000 years).
inline constexpr std::int64_t kMaxStepS = 100'000'000'000LL;

struct StepFacts {
    std::int64_t localNs = 0;  // the local clock when measured (Unix ns)
    std::int64_t offsetNs = 0; // the measured step
    std::int64_t buildDateUnixS = kBuildDateUnixS;
    int agreeingServers = 1; // distinct server names that measured the same offset
    std::optional<std::int64_t> approvedS;
};
StepVerdict CheckStep(const StepFacts& facts);
const char* StepVerdictText(StepVerdict v);

struct SyncOutcome {
    SyncResult result = SyncResult::Failed;
    NtpMeasurement measurement;
    StepVerdict step = StepVerdict::Allowed;
    ClockSetResult set = ClockSetResult::Failed;
};

// Why a run did not set the clock, for the clock's balloon.
SyncReason OutcomeReason(const SyncOutcome& out);
// A step in whole seconds, to the nearest (halves away from zero).
std::int64_t StepSeconds(std::int64_t offsetNs);

// Measures against the servers and, when a good offset came back and the step
// is allowed, applies it.
SyncOutcome RunSync(const SyncRequest& request, const NtpClient& client, ClockSetter& setter);
SyncOutcome RunSync(const ServerSpec& server, const NtpClient& client, ClockSetter& setter);

} // namespace velmora
