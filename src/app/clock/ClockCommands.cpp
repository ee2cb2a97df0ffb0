#include "app/clock/ClockCommands.h"

#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "core/DailyRun.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "core/StringHash.h"
#include "core/SyncPolicy.h"
#include "core/TextForms.h"
#include "platform/Platform.h"
#include "sync/Report.h"

#include <QFileInfo>
#include <QTextStream>
#include <chrono>
#include <cstdio>

namespace velmora {

namespace {
constexpr uint32_t kStartupCheckDelayMs = 5000;
constexpr int kLastNetworkCheck = 28;
} // namespace

TClockCommands::TClockCommands(Platform& platform, TWindowSide window)
    : FPlatform(platform), FWindow(std::move(window)),
      FCommandList(std::make_unique<TKvCommandList>()),
      FCheckLanTimer(std::make_unique<TKvTimer>()), FMonotonicMs([] {
          return int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count());
      }),
      FAlive(std::make_shared<TClockCommands*>(this)) {
    FCheckLanTimer->SetEnabled(false);
    FCheckLanTimer->SetInterval(1000);
    FCheckLanTimer->SetAutoStopTime(30000);
    FCheckLanTimer->SetOnTimer([this](TKvTimer*) { CheckLanTimerTimer(); });
}

TClockCommands::~TClockCommands() = default;

void TClockCommands::RememberSyncTool() {
    FVmoSyncHash = SyncToolHash(FCommandList->Items(0).FileName());
}

uint32_t TClockCommands::SyncToolHash(const QString& fileName) {
    // The tool hashes the path it runs from, symbolic links resolved.
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    return CalcStringHash(canonical.isEmpty() ? fileName : canonical);
}

void TClockCommands::SetCommandTimingArray() {
    FAtStartupArray = FCommandList->GetAtStartupArray();
    FAtResumeArray = FCommandList->GetAtResumeArray();
    FAtSpTimeArray = FCommandList->GetAtSpTimeArray();
    // The indexes may name other commands now: what ran under them is forgotten.
    FLastSpCheck = QDateTime();
    FSpRunDay.clear();
}

void TClockCommands::RunStartupCommands() {
    for (int32_t i : FAtStartupArray) {
        if (i != 0) {
            RunCommandItem(i);
            continue;
        }
        FCheckLanTimer->SetInitialDelayTime(kStartupCheckDelayMs);
        RequestSync(TSyncKind::Unattended);
    }
}

void TClockCommands::RunResumeCommands() {
    for (int32_t i : FAtResumeArray) {
        if (i != 0) {
            RunCommandItem(i);
            continue;
        }
        FWindow.Repaint();
        FCheckLanTimer->SetInitialDelayTime(kStartupCheckDelayMs);
        RequestSync(TSyncKind::Unattended);
    }
}

void TClockCommands::RunSpTimeCommands(const QDateTime& t) {
    // The first check after a start or a change of the list covers its own second only.
    const QDateTime since = FLastSpCheck.isValid() ? FLastSpCheck : t.addSecs(-1);
    FLastSpCheck = t;
    for (int32_t i : FAtSpTimeArray) {
        if (i >= FCommandList->Count())
            continue;
        const int64_t at = TimeOfDayMs(FCommandList->Items(i).SpTime());
        const QDate day = DailyDueDay(since, t, at, FSpRunDay[i]);
        if (!day.isValid())
            continue;
        FSpRunDay[i] = day;
        if (i != 0)
            RunCommandItem(i);
        else
            RequestSync(TSyncKind::Unattended);
    }
}

void TClockCommands::RunCommandItem(int index) {
    if (index < 0 || index >= FCommandList->Count())
        return;
    // The messages are queued: a command set for a time runs inside the tick.
    const TKvCommandItem& item = FCommandList->Items(index);
    if (!QFileInfo::exists(item.FileName())) {
        PostMessageDialog(FormatMsg(Messages().MsgErrorFileNotFound, {item.FileName()}),
                          TMsgDlgType::Error);
        return;
    }
    QString why;
    if (!StartCommand(index, &why)) {
        if (!why.isEmpty())
            QTextStream(stderr) << "velmora: " << why << Qt::endl;
        PostMessageDialog(
            CannotStartText(item.FileName(), LaunchProblemOf(item.FileName(), item.OptionStr(),
                                                             index != 0 && item.AsAdmin())),
            TMsgDlgType::Error);
    }
}

bool TClockCommands::StartSyncTool(QString* error) {
    if (FSyncPending)
        return !FApprovedS; // the running sync answers, but a yes waits for its own run
    const TKvCommandItem& item = FCommandList->Items(0);
    const std::weak_ptr<TClockCommands*> alive = FAlive;
    const QString parameters = SyncToolParameters();
    // The tool measures as the user and asks the system's time service to set the
    // clock, which asks for a password itself: a stored administrator flag on
    // command 0 would only run a file the user can write as root.
    const bool started = LaunchProgram(FPlatform, item.FileName(), parameters, false,
                                       item.HideWindow(), error, [alive](TLaunchEnd) {
                                           if (const auto self = alive.lock())
                                               (*self)->FSyncPending = false;
                                       });
    FSyncPending = started;
    if (started) {
        FLaunchKind = FRequestKind;
        FRequestKind = TSyncKind::Unattended;
        FApprovedS.reset(); // a yes counts for one run
    }
    return started;
}

QString TClockCommands::SyncToolParameters() const {
    const QString servers = FCommandList->Items(0).OptionStr();
    if (!FApprovedS)
        return servers;
    return QStringLiteral("--approve=%1 ").arg(qint64(*FApprovedS)) + servers;
}

bool TClockCommands::StartCommand(int index, QString* error) {
    if (index == 0) {
        if (!FSyncPending)
            FRequestKind = TSyncKind::Asked; // from the options dialog's list
        return StartSyncTool(error);
    }
    const TKvCommandItem& item = FCommandList->Items(index);
    const std::weak_ptr<TClockCommands*> alive = FAlive;
    const QString file = item.FileName();
    return item.RunCommand(FPlatform, error, [alive, file](TLaunchEnd end) {
        if (alive.expired() || end == TLaunchEnd::Ran)
            return;
        std::fprintf(stderr, "velmora: %s: %s\n", qPrintable(file),
                     end == TLaunchEnd::Dismissed ? "the administrator prompt was dismissed"
                                                  : "administrator rights were refused");
        ShowMessageDialog(FormatMsg(Messages().MsgErrorCannotOpenItem, {file}), TMsgDlgType::Error,
                          mbOK);
    });
}

void TClockCommands::ActPopAdjustTimeExecute() {
    RequestSync(TSyncKind::Asked);
}

void TClockCommands::RequestSync(TSyncKind kind, std::optional<int64_t> approvedS) {
    // Also run by the tick (a time sync set for a time): its messages are queued.
    const TKvCommandItem& item = FCommandList->Items(0);
    if (!QFileInfo::exists(item.FileName())) {
        PostMessageDialog(FormatMsg(Messages().MsgErrorFileNotFound, {item.FileName()}),
                          TMsgDlgType::Error);
        return;
    }
    if (item.OptionStr().isEmpty()) {
        PostMessageDialog(Messages().MsgWarnNoNTPServerName, TMsgDlgType::Warning);
        return;
    }
    if (kind == TSyncKind::Unattended &&
        !UnattendedSyncAllowed(FLastUnattendedStepMs, FMonotonicMs())) {
        std::fprintf(stderr, "velmora: time sync skipped: the clock was set by itself less "
                             "than an hour ago\n");
        return;
    }
    if (FSyncPending && !approvedS)
        return; // one sync at a time: the running one will answer
    if (kind == TSyncKind::Asked)
        FRequestKind = kind;
    if (approvedS)
        FApprovedS = approvedS;
    FCheckCount = 0;
    FCheckLanTimer->SetEnabled(true); // a running check goes on with the count reset
}

void TClockCommands::StopNetworkCheck() {
    FCheckLanTimer->SetInitialDelayTime(0);
    FCheckLanTimer->SetEnabled(false);
}

void TClockCommands::CheckLanTimerTimer() {
    if (FPlatform.IsNetworkAlive()) {
        try {
            if (FCheckCount > kLastNetworkCheck || StartSyncTool())
                return StopNetworkCheck();
        } catch (const std::exception&) {
            ShowBalloonContent(5);
            return StopNetworkCheck();
        }
    } else if (FCheckCount > kLastNetworkCheck) {
        ShowBalloonContent(6);
        return StopNetworkCheck();
    }
    ++FCheckCount;
}

void TClockCommands::ShowBalloonContent(int n) {
    if (n < 0 || n >= int(BalloonContents().size()))
        return;
    FWindow.ShowBalloon(BalloonContents()[size_t(n)]);
}

void TClockCommands::HandleInstanceMessage(const QByteArray& line) {
    const auto report = ParseReportLine(line);
    // Only the sync tool this clock starts may speak; codes it does not know are
    // ignored, but any answer of the tool re-fits the window (the date may have moved).
    if (!report || report->hash != FVmoSyncHash)
        return;
    if (report->code == int(SyncResult::ClockSet) && FLaunchKind == TSyncKind::Unattended)
        FLastUnattendedStepMs = FMonotonicMs();
    if (report->code == int(SyncResult::Failed) && report->reason == SyncReason::StepTooLarge)
        StepTooLarge(report->stepS);
    else if (report->code == int(SyncResult::Failed) && report->reason != SyncReason::None)
        ShowSyncFailure(int(report->reason));
    else if (report->code >= 0 && report->code <= 6)
        ShowBalloonContent(report->code);
    FWindow.Refit();
}

void TClockCommands::StepTooLarge(int64_t stepS) {
    const QString offset = ClockOffsetText(stepS);
    if (FLaunchKind == TSyncKind::Unattended) {
        FWindow.ShowBalloon({Messages().BalloonTitleNormal,
                             FormatMsg(Messages().BalloonWarnStepTooLarge, {offset}), kbfWarning});
        return;
    }
    // The answer may come long after: a yes runs the tool again, which measures
    // afresh and takes the step only when it is still the one shown.
    const std::weak_ptr<TClockCommands*> alive = FAlive;
    FWindow.Ask(FormatMsg(Messages().MsgConfirmStepClock, {offset}), [alive, stepS](bool yes) {
        if (const auto self = alive.lock(); self && yes)
            (*self)->RequestSync(TSyncKind::Asked, stepS);
    });
}

void TClockCommands::ShowSyncFailure(int reason) {
    const TMessageTable& m = Messages();
    // In the order of SyncReason, from NotResolved on.
    const QString* const texts[] = {
        &m.SyncReasonNotResolved,  &m.SyncReasonNoAnswer,         &m.SyncReasonBadAnswer,
        &m.SyncReasonRefused,      &m.SyncReasonTimeKeptBySystem, &m.SyncReasonNoService,
        &m.SyncReasonStepTooLarge, &m.SyncReasonUnconfirmed,      &m.SyncReasonBeforeBuildDate,
        &m.SyncReasonBusy,
    };
    static_assert(std::size(texts) == kLastSyncReason);
    if (reason < 1 || reason > kLastSyncReason)
        return ShowBalloonContent(int(SyncResult::Failed));
    FWindow.ShowBalloon({m.BalloonTitleNormal,
                         FormatMsg(m.BalloonErrorCannotAdjustTimeReason, {*texts[reason - 1]}),
                         kbfError});
}

void TClockCommands::CommandMenuClick(int index) {
    RunCommandItem(index);
}

int TClockCommands::CommandCount() const {
    return FCommandList->Count();
}

QString TClockCommands::CommandTitle(int index) const {
    return FCommandList->Items(index).Title();
}

} // namespace velmora
