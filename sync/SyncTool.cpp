#include "SyncTool.h"

namespace velmora {

namespace {

std::int64_t Magnitude(std::int64_t v) {
    return v < 0 ? -v : v;
}

const QString kApproveOption = QStringLiteral("--approve=");

// "--approve=<seconds>": a signed whole number within the largest step.
std::optional<std::int64_t> ParseApproval(const QString& arg) {
    const QString digits = arg.mid(kApproveOption.size());
    const qsizetype sign = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (digits.size() <= sign || digits.size() > sign + 12)
        return std::nullopt;
    for (qsizetype i = sign; i < digits.size(); ++i)
        if (digits[i] < QLatin1Char('0') || digits[i] > QLatin1Char('9'))
            return std::nullopt;
    const std::int64_t value = digits.toLongLong();
    if (Magnitude(value) > kMaxStepS)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<SyncResult> CheckArguments(const QStringList& args, SyncRequest* request) {
    QStringList rest = args;
    SyncRequest parsed;
    while (!rest.isEmpty() && rest.front().startsWith(QLatin1String("--"))) {
        if (!rest.front().startsWith(kApproveOption) || parsed.approvedS)
            return SyncResult::Failed;
        parsed.approvedS = ParseApproval(rest.front());
        if (!parsed.approvedS)
            return SyncResult::Failed;
        rest.pop_front();
    }
    if (rest.isEmpty())
        return SyncResult::NoArgument;
    if (rest.size() > 1)
        return SyncResult::TooManyArguments;
    if (rest.front().trimmed().isEmpty())
        return SyncResult::NoServerName;
    const auto servers = ParseServerList(rest.front());
    if (!servers)
        return SyncResult::Failed;
    parsed.servers = *servers;
    if (request)
        *request = parsed;
    return std::nullopt;
}

std::optional<SyncResult> CheckArguments(const QStringList& args, ServerSpec* server) {
    SyncRequest request;
    const auto early = CheckArguments(args, &request);
    if (!early && server)
        *server = request.servers.front();
    return early;
}

StepVerdict CheckStep(const StepFacts& f) {
    const std::int64_t buildNs = f.buildDateUnixS * 1'000'000'000LL;
    if (f.localNs + f.offsetNs < buildNs)
        return StepVerdict::BeforeBuildDate;
    if (f.localNs < buildNs)
        return StepVerdict::Allowed; // a clock that lost its time is set however far off
    const std::int64_t size = Magnitude(f.offsetNs);
    if (size > kOneDayNs && f.agreeingServers < 2)
        return StepVerdict::Unconfirmed;
    const bool approved =
        f.approvedS && Magnitude(f.offsetNs - *f.approvedS * 1'000'000'000LL) <= kApprovalSlackNs;
    if (size > kPanicStepNs && !approved)
        return StepVerdict::TooLarge;
    return StepVerdict::Allowed;
}

const char* StepVerdictText(StepVerdict v) {
    switch (v) {
    case StepVerdict::Allowed:
        return "allowed";
    case StepVerdict::BeforeBuildDate:
        return "the server's time lies before this program was built";
    case StepVerdict::Unconfirmed:
        return "a step of more than a day needs a second server name that agrees";
    case StepVerdict::TooLarge:
        return "a step of more than 1000 s needs the user's yes to that amount";
    }
    return "?";
}

std::int64_t StepSeconds(std::int64_t offsetNs) {
    const std::int64_t half = 500'000'000LL;
    return offsetNs >= 0 ? (offsetNs + half) / 1'000'000'000LL
                         : -((-offsetNs + half) / 1'000'000'000LL);
}

namespace {

SyncReason MeasureReason(NtpOutcome o) {
    switch (o) {
    case NtpOutcome::Measured:
        return SyncReason::None;
    case NtpOutcome::NotResolved:
        return SyncReason::NotResolved;
    case NtpOutcome::NoAnswer:
        return SyncReason::NoAnswer;
    case NtpOutcome::Rejected:
    case NtpOutcome::KissOfDeath:
    case NtpOutcome::NoAgreement:
        return SyncReason::BadAnswer;
    }
    return SyncReason::None;
}

SyncReason StepReason(StepVerdict v) {
    switch (v) {
    case StepVerdict::Allowed:
        return SyncReason::None;
    case StepVerdict::BeforeBuildDate:
        return SyncReason::BeforeBuildDate;
    case StepVerdict::Unconfirmed:
        return SyncReason::Unconfirmed;
    case StepVerdict::TooLarge:
        return SyncReason::StepTooLarge;
    }
    return SyncReason::None;
}

SyncReason SetReason(ClockSetResult r) {
    switch (r) {
    case ClockSetResult::Applied:
    case ClockSetResult::Failed:
        return SyncReason::None;
    case ClockSetResult::NoPermission:
        return SyncReason::Refused;
    case ClockSetResult::TimeKeptBySystem:
        return SyncReason::TimeKeptBySystem;
    case ClockSetResult::NoService:
        return SyncReason::NoService;
    }
    return SyncReason::None;
}

} // namespace

SyncReason OutcomeReason(const SyncOutcome& out) {
    if (out.result == SyncResult::ClockSet)
        return SyncReason::None;
    if (out.measurement.outcome != NtpOutcome::Measured)
        return MeasureReason(out.measurement.outcome);
    if (out.step != StepVerdict::Allowed)
        return StepReason(out.step);
    return SetReason(out.set);
}

SyncOutcome RunSync(const SyncRequest& request, const NtpClient& client, ClockSetter& setter) {
    SyncOutcome out;
    out.measurement = client.Measure(request.servers);
    const NtpMeasurement& m = out.measurement;
    if (m.outcome != NtpOutcome::Measured)
        return out;
    StepFacts facts;
    facts.localNs = m.localNs;
    facts.offsetNs = m.sample.offsetNs;
    facts.buildDateUnixS = client.Options().buildDateUnixS;
    facts.agreeingServers = m.agreeingServers;
    facts.approvedS = request.approvedS;
    out.step = CheckStep(facts);
    if (out.step != StepVerdict::Allowed)
        return out;
    out.set = setter.Apply(m.sample.offsetNs);
    out.result = out.set == ClockSetResult::Applied ? SyncResult::ClockSet : SyncResult::Failed;
    return out;
}

SyncOutcome RunSync(const ServerSpec& server, const NtpClient& client, ClockSetter& setter) {
    return RunSync(SyncRequest{{server}, std::nullopt}, client, setter);
}

} // namespace velmora
