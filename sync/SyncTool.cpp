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

StepVerdict CheckStep(std::int64_t localNs, std::int64_t offsetNs, std::int64_t buildDateUnixS,
                      int agreeingAddresses) {
    const std::int64_t buildNs = buildDateUnixS * 1'000'000'000LL;
    if (localNs + offsetNs < buildNs)
        return StepVerdict::BeforeBuildDate;
    const std::int64_t size = offsetNs < 0 ? -offsetNs : offsetNs;
    if (size > kOneDayNs && agreeingAddresses < 2 && localNs >= buildNs)
        return StepVerdict::Unconfirmed;
    return StepVerdict::Allowed;
}

const char* StepVerdictText(StepVerdict v) {
    switch (v) {
    case StepVerdict::Allowed:
        return "allowed";
    case StepVerdict::BeforeBuildDate:
        return "the server's time lies before this program was built";
    case StepVerdict::Unconfirmed:
        return "a step of more than a day needs two server addresses that agree";
    }
    return "?";
}

SyncOutcome RunSync(const ServerSpec& server, const NtpClient& client, ClockSetter& setter) {
    SyncOutcome out;
    out.measurement = client.Measure(server);
    const NtpMeasurement& m = out.measurement;
    if (m.outcome != NtpOutcome::Measured)
        return out;
    out.step = CheckStep(m.localNs, m.sample.offsetNs, client.Options().buildDateUnixS,
                         m.agreeingAddresses);
    if (out.step != StepVerdict::Allowed)
        return out;
    out.set = setter.Apply(m.sample.offsetNs);
    out.result = out.set == ClockSetResult::Applied ? SyncResult::ClockSet : SyncResult::Failed;
    return out;
}

} // namespace velmora
