// Commands and the time sync as the clock window runs them.
#include "app/clock/ClockMenu.h"
#include "core/KvCommandList.h"
#include "widgets/KvPaintBox.h"
#include "core/KvTimer.h"
#include "widgets/KvTrayIcon.h"
#include "app/Lang.h"
#include "app/clock/MainForm.h"
#include "sync/Report.h"
#include "core/StringHash.h"
#include "core/TextForms.h"
#include "app/VelmoLib.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextStream>
#include <cstdio>

namespace velmora {

namespace {
constexpr uint32_t kStartupCheckDelayMs = 5000;
constexpr int kLastNetworkCheck = 28;
} // namespace

void TMainForm::CreateCommandTimer() {
    CheckLanTimer = new TKvTimer(this);
    CheckLanTimer->SetEnabled(false);
    CheckLanTimer->SetInterval(1000);
    CheckLanTimer->SetAutoStopTime(30000);
    CheckLanTimer->SetOnTimer([this](TKvTimer*) { CheckLanTimerTimer(); });
}

uint32_t TMainForm::SyncToolHash(const QString& fileName) {
    // The tool hashes the path it runs from, symbolic links resolved.
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    return CalcStringHash(canonical.isEmpty() ? fileName : canonical);
}

void TMainForm::SetCommandTimingArray() {
    FAtStartupArray = ACommandList->GetAtStartupArray();
    FAtResumeArray = ACommandList->GetAtResumeArray();
    FAtSpTimeArray = ACommandList->GetAtSpTimeArray();
}

void TMainForm::RunStartupCommands() {
    for (int32_t i : FAtStartupArray) {
        if (i != 0) {
            RunCommandItem(i);
            continue;
        }
        CheckLanTimer->SetInitialDelayTime(kStartupCheckDelayMs);
        ActPopAdjustTimeExecute();
    }
}

void TMainForm::RunResumeCommands() {
    for (int32_t i : FAtResumeArray) {
        if (i != 0) {
            RunCommandItem(i);
            continue;
        }
        repaint();
        CheckLanTimer->SetInitialDelayTime(kStartupCheckDelayMs);
        ActPopAdjustTimeExecute();
    }
}

void TMainForm::RunSpTimeCommands(const QDateTime& t) {
    const double now = t.time().msecsSinceStartOfDay() / double(kMsPerDay);
    for (int32_t i : FAtSpTimeArray) {
        if (i >= ACommandList->Count() || !SameTimeOfDay(now, ACommandList->Items(i).SpTime()))
            continue;
        if (i != 0)
            RunCommandItem(i);
        else
            ActPopAdjustTimeExecute();
    }
}

void TMainForm::RunCommandItem(int index) {
    if (index < 0 || index >= ACommandList->Count())
        return;
    // The messages are queued: a command set for a time runs inside the tick.
    const TKvCommandItem& item = ACommandList->Items(index);
    if (!QFileInfo::exists(item.FileName())) {
        PostMessageDialog(FormatMsg(Messages().MsgErrorFileNotFound, {item.FileName()}),
                          TMsgDlgType::Error);
        return;
    }
    QString why;
    if (!StartCommand(index, &why)) {
        if (!why.isEmpty())
            QTextStream(stderr) << "velmora: " << why << Qt::endl;
        PostMessageDialog(FormatMsg(Messages().MsgErrorCannotOpenItem, {item.FileName()}),
                          TMsgDlgType::Error);
    }
}

bool TMainForm::StartSyncTool(QString* error) {
    if (FSyncPending)
        return true; // the running sync answers for this request too
    const TKvCommandItem& item = ACommandList->Items(0);
    QPointer<TMainForm> self(this);
    // The tool measures as the user and asks the system's time service to set the
    // clock, which asks for a password itself: a stored administrator flag on
    // command 0 would only run a file the user can write as root.
    const bool started = LaunchProgram(FPlatform, item.FileName(), item.OptionStr(), false,
                                       item.HideWindow(), error, [self](TLaunchEnd) {
                                           if (self)
                                               self->FSyncPending = false;
                                       });
    FSyncPending = started;
    return started;
}

bool TMainForm::StartCommand(int index, QString* error) {
    if (index == 0)
        return StartSyncTool(error);
    const TKvCommandItem& item = ACommandList->Items(index);
    QPointer<TMainForm> self(this);
    const QString file = item.FileName();
    return item.RunCommand(FPlatform, error, [self, file](TLaunchEnd end) {
        if (!self || end == TLaunchEnd::Ran)
            return;
        std::fprintf(stderr, "velmora: %s: %s\n", qPrintable(file),
                     end == TLaunchEnd::Dismissed ? "the administrator prompt was dismissed"
                                                  : "administrator rights were refused");
        ShowMessageDialog(FormatMsg(Messages().MsgErrorCannotOpenItem, {file}), TMsgDlgType::Error,
                          mbOK);
    });
}

void TMainForm::ActPopAdjustTimeExecute() {
    // Also run by the tick (a time sync set for a time): its messages are queued.
    const TKvCommandItem& item = ACommandList->Items(0);
    if (!QFileInfo::exists(item.FileName())) {
        PostMessageDialog(FormatMsg(Messages().MsgErrorFileNotFound, {item.FileName()}),
                          TMsgDlgType::Error);
        return;
    }
    if (item.OptionStr().isEmpty()) {
        PostMessageDialog(Messages().MsgWarnNoNTPServerName, TMsgDlgType::Warning);
        return;
    }
    if (FSyncPending)
        return; // one sync at a time: the running one will answer
    FCheckCount = 0;
    CheckLanTimer->SetEnabled(true); // a running check goes on with the count reset
}

void TMainForm::StopNetworkCheck() {
    CheckLanTimer->SetInitialDelayTime(0);
    CheckLanTimer->SetEnabled(false);
}

void TMainForm::CheckLanTimerTimer() {
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

void TMainForm::ShowBalloonContent(int n) {
    if (n < 0 || n >= int(BalloonContents().size()))
        return;
    const TBalloonContent& c = BalloonContents()[size_t(n)];
    TKvTrayIcon* const TrayIcon1 = FMenu->TrayIcon1();
    TrayIcon1->HideBalloon();
    TrayIcon1->SetBalloonTitle(c.Title);
    TrayIcon1->SetBalloonHint(c.Hint);
    TrayIcon1->SetBalloonFlags(c.Flag);
    TrayIcon1->SetOptions(FSettings.ShowLargeNotificationIcon ? TKvBalloonOptions(kbfoLargeIcon)
                                                    : TKvBalloonOptions());
    TrayIcon1->ShowBalloon();
}

void TMainForm::HandleInstanceMessage(const QByteArray& line) {
    const auto report = ParseReportLine(line);
    // Only the sync tool this clock starts may speak; codes it does not know are
    // ignored, but any answer of the tool re-fits the window (the date may have moved).
    if (!report || report->hash != FVmoSyncHash)
        return;
    if (report->code >= 0 && report->code <= 6)
        ShowBalloonContent(report->code);
    AdjustMainFormMaxSize(FSettings.FontColorMode);
}

void TMainForm::CommandMenuClick(int index) {
    RunCommandItem(index);
}

int TMainForm::CommandCount() const {
    return ACommandList->Count();
}

QString TMainForm::CommandTitle(int index) const {
    return ACommandList->Items(index).Title();
}

} // namespace velmora
