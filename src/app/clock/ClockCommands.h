// TClockCommands: the user's commands and the time sync (command 0) as the clock
// runs them: at start-up, on resume, at their set times, from the menu and the
// options dialog, and the sync tool's answer on the instance channel.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace velmora {

class Platform;
class TKvCommandList;
class TKvTimer;
struct TBalloonContent;

class TClockCommands {
public:
    // What the commands ask of the window.
    struct TWindowSide {
        // One of the sync's balloons, in the tray.
        std::function<void(const TBalloonContent&)> ShowBalloon;
        // A sync on resume first shows the clock as it stands now.
        std::function<void()> Repaint;
        // The sync tool answered: the date may have moved, the window re-fits.
        std::function<void()> Refit;
        // Asks the user a yes-or-no question without waiting for the answer (the
        // clock keeps ticking); `answer` is called once the user has answered.
        std::function<void(const QString& text, std::function<void(bool yes)> answer)> Ask;
    };

    // Whether someone asked for this sync at that moment (the menu, the options
    // dialog) or it runs by itself (start-up, resume, a set time).
    enum class TSyncKind { Unattended, Asked };

    TClockCommands(Platform& platform, TWindowSide window);
    ~TClockCommands();

    // The list as loaded and saved with the settings and edited by the options.
    TKvCommandList& ACommandList() { return *FCommandList; }
    const TKvCommandList& ACommandList() const { return *FCommandList; }
    int CommandCount() const;
    QString CommandTitle(int index) const;

    // The timings of the list as it stands now; after every change to it.
    void SetCommandTimingArray();
    void RunStartupCommands();
    void RunResumeCommands();
    // The commands set for the time of day of `t`.
    void RunSpTimeCommands(const QDateTime& t);
    void RunCommandItem(int index);
    void CommandMenuClick(int index);
    // A time sync asked for by the user: waits for the network, then starts the
    // sync tool. A step too large to take unasked is shown and asked about.
    void ActPopAdjustTimeExecute();
    // A time sync of either kind; `approvedS` is a step the user has said yes to.
    void RequestSync(TSyncKind kind, std::optional<int64_t> approvedS = std::nullopt);
    // Stops the network check, its start-up delay forgotten.
    void StopNetworkCheck();
    TKvTimer* CheckLanTimer() const { return FCheckLanTimer.get(); }
    void CheckLanTimerTimer();
    void ShowBalloonContent(int n);

    // FVmoSyncHash := the hash of command 0's file as the list now holds it.
    void RememberSyncTool();
    uint32_t VmoSyncHash() const { return FVmoSyncHash; }
    static uint32_t SyncToolHash(const QString& fileName);
    // A line from the instance channel: the sync tool's answer.
    void HandleInstanceMessage(const QByteArray& line);
    // The monotonic clock that spaces unattended steps (milliseconds); tests set it.
    void SetMonotonicClock(std::function<int64_t()> clock) { FMonotonicMs = std::move(clock); }

private:
    // Starts command 0 as the user (never elevated); true when it started.
    bool StartSyncTool(QString* error = nullptr);
    // Starts a user command; a dismissed or refused administrator prompt is shown once.
    bool StartCommand(int index, QString* error);
    // The tool's parameters: command 0's option text, after the user's yes when there is one.
    QString SyncToolParameters() const;
    // The tool did not set the clock because the step was too large.
    void StepTooLarge(int64_t stepS);
    void ShowSyncFailure(int reason);

    Platform& FPlatform;
    TWindowSide FWindow;
    std::unique_ptr<TKvCommandList> FCommandList;
    std::unique_ptr<TKvTimer> FCheckLanTimer;
    uint32_t FVmoSyncHash = 0;
    int FCheckCount = 0;
    bool FSyncPending = false;                      // the sync tool runs: no second sync starts
    TSyncKind FRequestKind = TSyncKind::Unattended; // of the sync waiting for the network
    std::optional<int64_t> FApprovedS;              // the step the user said yes to
    TSyncKind FLaunchKind = TSyncKind::Unattended;  // of the tool started last
    int64_t FLastUnattendedStepMs = -1;
    std::function<int64_t()> FMonotonicMs;
    // The set times: the tick checked last, and the day each command last ran.
    QDateTime FLastSpCheck;
    std::map<int32_t, QDate> FSpRunDay;
    std::vector<int32_t> FAtStartupArray, FAtResumeArray, FAtSpTimeArray;
    // A launched program may end after the clock: its end then reaches nobody.
    std::shared_ptr<TClockCommands*> FAlive;
};

} // namespace velmora
