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

struct SyncOutcome {
    SyncResult result = SyncResult::Failed;
    NtpMeasurement measurement;
    ClockSetResult set = ClockSetResult::Failed;
};

// Measures against the server and, when a good offset came back, applies it.
SyncOutcome RunSync(const ServerSpec& server, const NtpClient& client, ClockSetter& setter);

} // namespace velmora
