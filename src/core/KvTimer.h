// A timer whose interval is measured by a worker thread and whose ticks run on the
// user-interface thread, with an initial delay, an automatic stop and a stop event.
#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace velmora {

class TKvTimer;
using TNotifyEvent = std::function<void(TKvTimer* sender)>;

// One enabled period of a timer: its thread and the hand-over of calls to the
// user-interface thread. Shared between the timer and the thread it runs.
class TKvTimerThread;

// A source of single expiries delivered on the user-interface thread (a kernel
// timer, or a fake in tests). A timer given one waits with it instead of a worker
// thread, so that an idle timer costs one wake a tick and nothing more.
class TKvTickSource {
public:
    virtual ~TKvTickSource() = default;
    // Calls the expiry handler once, on the user-interface thread: after `ms`, or
    // (`wallSecond`) at the next wall-clock second boundary, or at once when the
    // wall clock is set meanwhile. A new Arm replaces the pending one.
    virtual void Arm(uint32_t ms, bool wallSecond) = 0;
    virtual void Disarm() = 0;
    virtual void SetOnExpired(std::function<void()> handler) = 0;
};

// Test seam: when set, runs on every worker thread before each wait (a test makes
// it throw to see that a failing worker does not end the program).
std::function<void()>& KvTimerWorkerFault();

class TKvTimer : public QObject {
    Q_OBJECT
public:
    explicit TKvTimer(QObject* owner = nullptr);
    ~TKvTimer() override;

    bool Enabled() const { return FEnabled.load(); }
    // Starts or stops the timer. Stopping from outside the timer's own events waits
    // for the worker (which wakes at once) and fires OnStopTimer before returning.
    void SetEnabled(bool value);

    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t value);
    uint32_t AutoStopTime() const { return FAutoStopTime; }
    void SetAutoStopTime(uint32_t value);
    uint32_t InitialDelayTime() const { return FInitialDelayTime; }
    void SetInitialDelayTime(uint32_t value);
    // When on, every wait ends just after the next wall-clock second boundary
    // instead of after Interval, so that a clock's ticks follow the real seconds.
    bool AlignToWallSecond() const { return FAlignToWallSecond; }
    void SetAlignToWallSecond(bool value);

    // Waits with `source` instead of a worker thread from the next enable on; set
    // while the timer is stopped. The timer owns it.
    void SetTickSource(std::unique_ptr<TKvTickSource> source);
    bool HasTickSource() const { return FSource != nullptr; }

    void SetOnTimer(TNotifyEvent handler) { FOnTimer = std::move(handler); }
    void SetOnStopTimer(TNotifyEvent handler) { FOnStopTimer = std::move(handler); }

protected:
    // The tick dispatch on the user-interface thread.
    virtual void DoTimer(const std::shared_ptr<TKvTimerThread>& worker);
    bool event(QEvent* e) override;

private:
    friend class TKvTimerThread;
    void DoStopTimer(const std::shared_ptr<TKvTimerThread>& worker);
    void StartWorker();
    // Waits for `worker` to end, running the calls it hands over meanwhile.
    void WaitFor(const std::shared_ptr<TKvTimerThread>& worker);
    void ReapFinished();
    void PushSettings();
    // The same timer driven by a tick source on the user-interface thread.
    void SourceStart();
    void SourceStop();
    void SourceArm();
    void SourceExpired();
    void SourceEnd(uint64_t period);
    void SourceRunTick();
    void SourceNotifyStop(bool endedByItself);

    std::atomic<bool> FEnabled{false};
    uint32_t FAutoStopTime = 0;
    uint32_t FInitialDelayTime = 0;
    uint32_t FInterval = 1000;
    bool FAlignToWallSecond = false;
    TNotifyEvent FOnTimer;
    TNotifyEvent FOnStopTimer;
    bool FDestroying = false;
    std::shared_ptr<TKvTimerThread> FKvTimerThread;
    // Workers stopped from inside their own callback: they end later, on their own.
    std::vector<std::shared_ptr<TKvTimerThread>> FRetired;
    std::unique_ptr<TKvTickSource> FSource;
    uint32_t FSourceStart = 0;     // the monotonic millisecond clock at enable
    bool FSourceInTick = false;    // OnTimer runs on behalf of the source
    bool FSourceRunning = false;   // an enabled period whose stop has not fired yet
    bool FSourceStopAfter = false; // stopped inside OnTimer: OnStopTimer follows it
    uint64_t FSourcePeriod = 0;    // counts enabled periods, to drop stale queued ends
};

} // namespace velmora
