// TClockCommands: the user's commands and the time sync (command 0) as the clock
// runs them: at start-up, on resume, at their set times, from the menu and the
// options dialog, and the sync tool's answer on the instance channel.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
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
    };

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
    // A time sync: waits for the network, then starts the sync tool.
    void ActPopAdjustTimeExecute();
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

private:
    // Starts command 0 as the user (never elevated); true when it started.
    bool StartSyncTool(QString* error = nullptr);
    // Starts a user command; a dismissed or refused administrator prompt is shown once.
    bool StartCommand(int index, QString* error);

    Platform& FPlatform;
    TWindowSide FWindow;
    std::unique_ptr<TKvCommandList> FCommandList;
    std::unique_ptr<TKvTimer> FCheckLanTimer;
    uint32_t FVmoSyncHash = 0;
    int FCheckCount = 0;
    bool FSyncPending = false; // the sync tool runs: no second sync starts
    std::vector<int32_t> FAtStartupArray, FAtResumeArray, FAtSpTimeArray;
    // A launched program may end after the clock: its end then reaches nobody.
    std::shared_ptr<TClockCommands*> FAlive;
};

} // namespace velmora
