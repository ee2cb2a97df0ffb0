// VelmoSync <server>: sets the system clock from an NTP server and tells the
// running clock how it went. The exit code is the result code as well.
//
// VELMORA_SYNC_DRY_RUN=1 measures only: the offset is printed in milliseconds
// and the clock is left alone. VELMORA_SYNC_SPACING_MS shortens the pause
// between samples (for tests).
#include "ClockSetter.h"
#include "Report.h"
#include "StringHash.h"
#include "SyncTool.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>

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

SyncResult Run(const QStringList& args) {
    ServerSpec server;
    if (const auto early = CheckArguments(args, &server)) {
        if (*early == SyncResult::Failed)
            std::fprintf(stderr, "VelmoSync: invalid server name or port\n");
        return *early;
    }
    const bool dryRun = qEnvironmentVariable("VELMORA_SYNC_DRY_RUN") == QLatin1String("1");
    std::unique_ptr<ClockSetter> setter;
    if (dryRun)
        setter = std::make_unique<DryRunClockSetter>();
    else
        setter = std::make_unique<SystemClockSetter>();
    const NtpClient client(OptionsFromEnvironment());
    const SyncOutcome out = RunSync(server, client, *setter);
    const NtpMeasurement& m = out.measurement;
    if (m.outcome != NtpOutcome::Measured) {
        std::fprintf(stderr, "VelmoSync: %s", OutcomeText(m.outcome));
        if (m.lastReject != NtpReject::None)
            std::fprintf(stderr, " (%s)", NtpRejectName(m.lastReject));
        std::fprintf(stderr, "\n");
        return out.result;
    }
    if (dryRun)
        std::printf("%.3f\n", double(m.sample.offsetNs) / 1e6);
    else if (out.set == ClockSetResult::NoPermission)
        std::fprintf(stderr, "VelmoSync: no permission to set the clock\n");
    else if (out.set == ClockSetResult::Failed)
        std::fprintf(stderr, "VelmoSync: the clock could not be set\n");
    return out.result;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const SyncResult result = Run(app.arguments().mid(1));
    std::fflush(stdout);
    // No clock listening is fine: the exit code carries the result too.
    SendReport(ClockSocketPathFromEnvironment(), CalcStringHash(app.applicationFilePath()), result);
    return int(result);
}
