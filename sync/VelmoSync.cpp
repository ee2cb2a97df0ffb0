// VelmoSync [--approve=<seconds>] <server>[,<server>...]: sets the system clock
// from an NTP server and tells the running clock how it went (and why not). The
// exit code is the result code as well.
//
// A step of more than 1000 s is applied only with --approve naming that step
// (the clock passes it once the user has said yes to the amount it was told),
// and one of more than a day only when a second server name agrees.
//
// It runs as the user and never needs privileges: it measures, then asks the
// system's time service to step the clock, which asks the user through the
// desktop's password agent. Only a run by root by hand on a system without a
// time service sets the kernel's clock itself.
//
// VELMORA_SYNC_DRY_RUN=1 measures only: the offset is printed in milliseconds
// and the clock is left alone. VELMORA_SYNC_SPACING_MS shortens the pause
// between samples (for tests).
#include "ClockSetter.h"
#include "Report.h"
#include "SyncLock.h"
#include "SyncTool.h"
#include "core/StringHash.h"
#include "platform/linux/RuntimeDir.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace velmora;

namespace {

NtpClientOptions OptionsFromEnvironment() {
    NtpClientOptions options;
    bool ok = false;
    const int spacing = qEnvironmentVariableIntValue("VELMORA_SYNC_SPACING_MS", &ok);
    if (ok && spacing >= 0 && spacing <= 5000)
        options.spacingMs = spacing;
    return options;
}

const char* OutcomeText(NtpOutcome o) {
    switch (o) {
    case NtpOutcome::Measured:
        return "measured";
    case NtpOutcome::NotResolved:
        return "the server name could not be resolved";
    case NtpOutcome::NoAnswer:
        return "no answer from the server";
    case NtpOutcome::Rejected:
        return "the server's answers were not usable";
    case NtpOutcome::KissOfDeath:
        return "the server refused to serve";
    case NtpOutcome::NoAgreement:
        return "the server's answers did not agree";
    }
    return "?";
}

// The time service first; the kernel's clock directly only for root running the
// tool by hand (from a terminal) on a system that has no time service, never
// for a tool some program started.
class SystemTimeSetter final : public ClockSetter {
public:
    ClockSetResult Apply(std::int64_t offsetNs) override {
        const ClockSetResult r = TimeServiceClockSetter().Apply(offsetNs);
        if (r == ClockSetResult::NoService && geteuid() == 0 && isatty(STDIN_FILENO))
            return SystemClockSetter().Apply(offsetNs);
        return r;
    }
};

struct RunEnd {
    SyncResult result = SyncResult::Failed;
    SyncReason reason = SyncReason::None;
    std::int64_t stepS = 0;
};

// How long a run waits for another one (of this user or another) to finish.
constexpr int kLockWaitMs = 20000;

void ReportMeasureFailure(const NtpMeasurement& m) {
    std::fprintf(stderr, "VelmoSync: %s", OutcomeText(m.outcome));
    if (m.lastReject != NtpReject::None)
        std::fprintf(stderr, " (%s)", NtpRejectName(m.lastReject));
    std::fprintf(stderr, "\n");
}

RunEnd Measured(const SyncOutcome& out, bool dryRun) {
    const NtpMeasurement& m = out.measurement;
    const RunEnd end{out.result, OutcomeReason(out), StepSeconds(m.sample.offsetNs)};
    if (out.step != StepVerdict::Allowed)
        std::fprintf(stderr, "VelmoSync: offset %.3f s refused: %s\n",
                     double(m.sample.offsetNs) / 1e9, StepVerdictText(out.step));
    else if (dryRun)
        std::printf("%.3f\n", double(m.sample.offsetNs) / 1e6);
    else if (out.set != ClockSetResult::Applied)
        std::fprintf(stderr, "VelmoSync: %s\n", ClockSetResultText(out.set));
    return end;
}

RunEnd Run(const QStringList& args) {
    SyncRequest request;
    if (const auto early = CheckArguments(args, &request)) {
        if (*early == SyncResult::Failed)
            std::fprintf(stderr, "VelmoSync: invalid server name, port or option\n");
        return {*early};
    }
    // Measured only once the lock is held, so a step another run has just
    // applied is seen and never applied twice.
    SyncLock lock;
    switch (lock.AcquireWaiting(MachineSyncLockPath(), kLockWaitMs)) {
    case LockResult::Taken:
        break;
    case LockResult::Busy:
        std::fprintf(stderr, "VelmoSync: another time sync is running\n");
        return {SyncResult::Failed, SyncReason::Busy};
    case LockResult::Failed:
        std::fprintf(stderr, "VelmoSync: cannot take the lock %s\n",
                     qPrintable(MachineSyncLockPath()));
        return {SyncResult::Failed};
    }
    const bool dryRun = qEnvironmentVariable("VELMORA_SYNC_DRY_RUN") == QLatin1String("1");
    std::unique_ptr<ClockSetter> setter;
    if (dryRun)
        setter = std::make_unique<DryRunClockSetter>();
    else
        setter = std::make_unique<SystemTimeSetter>();
    const NtpClient client(OptionsFromEnvironment());
    const SyncOutcome out = RunSync(request, client, *setter);
    if (out.measurement.outcome != NtpOutcome::Measured) {
        ReportMeasureFailure(out.measurement);
        return {out.result, OutcomeReason(out)};
    }
    return Measured(out, dryRun);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const TRuntimeDir runtime = RuntimeDirFromEnvironment();
    const RunEnd end = Run(app.arguments().mid(1));
    std::fflush(stdout);
    // No clock listening is fine: the exit code carries the result too.
    if (runtime.Path.isEmpty())
        std::fprintf(stderr, "VelmoSync: no private runtime folder to report to: %s: %s\n",
                     qPrintable(runtime.Refused), DirProblemText(runtime.Problem));
    else
        SendReport(ClockSocketPath(runtime.Path),
                   ReportLine(CalcStringHash(app.applicationFilePath()), end.result, end.reason,
                              end.stepS));
    return int(end.result);
}
