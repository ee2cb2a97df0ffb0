// VelmoSync <server>: sets the system clock from an NTP server and tells the
// running clock how it went. The exit code is the result code as well.
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
    bool report = true; // false when another run holds the lock: that one reports
};

RunEnd Run(const QStringList& args, const TRuntimeDir& runtime) {
    ServerSpec server;
    if (const auto early = CheckArguments(args, &server)) {
        if (*early == SyncResult::Failed)
            std::fprintf(stderr, "VelmoSync: invalid server name or port\n");
        return {*early};
    }
    if (runtime.Path.isEmpty()) {
        std::fprintf(stderr, "VelmoSync: no private runtime folder: %s: %s\n",
                     qPrintable(runtime.Refused), DirProblemText(runtime.Problem));
        return {SyncResult::Failed};
    }
    SyncLock lock;
    switch (lock.Acquire(SyncLockPath(runtime.Path))) {
    case LockResult::Taken:
        break;
    case LockResult::Busy:
        std::fprintf(stderr, "VelmoSync: another time sync is running\n");
        return {SyncResult::Failed, false};
    case LockResult::Failed:
        std::fprintf(stderr, "VelmoSync: cannot take the lock %s\n",
                     qPrintable(SyncLockPath(runtime.Path)));
        return {SyncResult::Failed};
    }
    const bool dryRun = qEnvironmentVariable("VELMORA_SYNC_DRY_RUN") == QLatin1String("1");
    std::unique_ptr<ClockSetter> setter;
    if (dryRun)
        setter = std::make_unique<DryRunClockSetter>();
    else
        setter = std::make_unique<SystemTimeSetter>();
    const NtpClient client(OptionsFromEnvironment());
    const SyncOutcome out = RunSync(server, client, *setter);
    const NtpMeasurement& m = out.measurement;
    if (m.outcome != NtpOutcome::Measured) {
        std::fprintf(stderr, "VelmoSync: %s", OutcomeText(m.outcome));
        if (m.lastReject != NtpReject::None)
            std::fprintf(stderr, " (%s)", NtpRejectName(m.lastReject));
        std::fprintf(stderr, "\n");
        return {out.result};
    }
    if (out.step != StepVerdict::Allowed) {
        std::fprintf(stderr, "VelmoSync: offset %.3f s refused: %s\n",
                     double(m.sample.offsetNs) / 1e9, StepVerdictText(out.step));
        return {out.result};
    }
    if (dryRun)
        std::printf("%.3f\n", double(m.sample.offsetNs) / 1e6);
    else if (out.set != ClockSetResult::Applied)
        std::fprintf(stderr, "VelmoSync: %s\n", ClockSetResultText(out.set));
    return {out.result};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const TRuntimeDir runtime = RuntimeDirFromEnvironment();
    const RunEnd end = Run(app.arguments().mid(1), runtime);
    std::fflush(stdout);
    // No clock listening is fine: the exit code carries the result too.
    if (end.report && !runtime.Path.isEmpty())
        SendReport(ClockSocketPath(runtime.Path), CalcStringHash(app.applicationFilePath()),
                   end.result);
    return int(end.result);
}
