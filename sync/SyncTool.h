// The tool's run from arguments to result code, apart from main() so that
// tests drive it with a fake clock setter and a local server.
#pragma once

#include "ClockSetter.h"
#include "NtpClient.h"
#include "Report.h"

#include <QStringList>
#include <optional>

namespace velmora {

// The result the arguments decide by themselves (no argument, too many, a blank
// name, an unusable port); nullopt when they name a server, which goes to *server.
std::optional<SyncResult> CheckArguments(const QStringList& args, ServerSpec* server);

// Whether a measured step may be applied. Plain NTP is not authenticated: anyone
// on the path can answer, so a step that could do real harm needs more than
// one voice, and no answer may move the clock before the program was built.
enum class StepVerdict {
    Allowed,
    BeforeBuildDate, // the target lies before the build date
    Unconfirmed,     // more than a day, from a single address
};
inline constexpr std::int64_t kOneDayNs = 86'400'000'000'000LL;
// `localNs`: the local clock when measured (Unix ns); `agreeingAddresses`: how
// many different addresses of the server's name measured the same offset. A
// step over a day is allowed with two, or when the local clock itself lies
// before the build date (a machine whose clock battery died).
StepVerdict CheckStep(std::int64_t localNs, std::int64_t offsetNs, std::int64_t buildDateUnixS,
                      int agreeingAddresses);
const char* StepVerdictText(StepVerdict v);

struct SyncOutcome {
    SyncResult result = SyncResult::Failed;
    NtpMeasurement measurement;
    StepVerdict step = StepVerdict::Allowed;
    ClockSetResult set = ClockSetResult::Failed;
};

// Measures against the server and, when a good offset came back and the step
// is allowed, applies it.
SyncOutcome RunSync(const ServerSpec& server, const NtpClient& client, ClockSetter& setter);

} // namespace velmora
