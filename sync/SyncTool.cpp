#include "SyncTool.h"

namespace velmora {

std::optional<SyncResult> CheckArguments(const QStringList& args, ServerSpec* server) {
    if (args.isEmpty())
        return SyncResult::NoArgument;
    if (args.size() > 1)
        return SyncResult::TooManyArguments;
    if (args.front().trimmed().isEmpty())
        return SyncResult::NoServerName;
    const auto target = ParseServerSpec(args.front());
    if (!target)
        return SyncResult::Failed;
    if (server)
        *server = *target;
    return std::nullopt;
}

SyncOutcome RunSync(const ServerSpec& server, const NtpClient& client, ClockSetter& setter) {
    SyncOutcome out;
    out.measurement = client.Measure(server);
    if (out.measurement.outcome != NtpOutcome::Measured)
        return out;
    out.set = setter.Apply(out.measurement.sample.offsetNs);
    out.result = out.set == ClockSetResult::Applied ? SyncResult::ClockSet : SyncResult::Failed;
    return out;
}

} // namespace velmora
