#include "core/KvTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace velmora {

namespace {

const QEvent::Type kHandOffEvent = QEvent::Type(QEvent::registerEventType());

// A monotonic millisecond clock with 32-bit wrap-around arithmetic.
uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Milliseconds until just after the next wall-clock second boundary.
uint32_t MsToNextWallSecond() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return uint32_t(1000 - ms % 1000) + 3;
}

// Qt's event queue is built without ThreadSanitizer, which therefore cannot see that
// posting an event orders its making on the worker before its delivery here: say so.
#if defined(__SANITIZE_THREAD__)
#define VELMORA_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELMORA_TSAN 1
#endif
#endif
#ifdef VELMORA_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
void QueuedBy(QEvent* e) {
    __tsan_release(e);
}
void DeliveredTo(QEvent* e) {
    __tsan_acquire(e);
}
#else
void QueuedBy(QEvent*) {}
void DeliveredTo(QEvent*) {}
#endif

} // namespace

std::function<void()>& KvTimerWorkerFault() {
    static std::function<void()> fault;
    return fault;
}

enum class TCall { None, Timer, Stop };

class TKvTimerThread : public std::enable_shared_from_this<TKvTimerThread> {
public:
    TKvTimerThread(TKvTimer* timer, uint32_t interval, uint32_t autoStop, uint32_t delay,
                   bool align)
        : FInterval(interval), FAutoStopTime(autoStop), FInitialDelayTime(delay), FAlign(align),
          FTimer(timer) {}

    ~TKvTimerThread() {
        if (!FThread.joinable())
            return;
        // The thread may hold the last reference itself when its timer is long gone.
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach();
        else
            FThread.join();
    }

    void Start() {
        FThread = std::thread([self = shared_from_this()] { self->RunGuarded(); });
    }

    void Terminate() {
        std::lock_guard lock(FMutex);
        FTerminated = true;
        FStopWake.notify_all();
        FCallDone.notify_all();
    }

    bool Terminated() const {
        std::lock_guard lock(FMutex);
        return FTerminated;
    }

    bool Finished() const {
        std::lock_guard lock(FMutex);
        return FFinished;
    }

    void Join() {
        if (FThread.joinable())
            FThread.join();
    }

    // Runs a handed-over call if one waits; true when one ran.
    bool ServeOne() {
        TCall call;
        {
            std::lock_guard lock(FMutex);
            call = FPending;
            if (call == TCall::None || FServing)
                return false;
            FServing = true;
        }
        auto done = [this] {
            std::lock_guard lock(FMutex);
            FPending = TCall::None;
            FServing = false;
            FCallDone.notify_all();
        };
        try {
            if (call == TCall::Timer)
                FTimer->DoTimer(shared_from_this());
            else
                FTimer->DoStopTimer(shared_from_this());
        } catch (...) {
            done();
            throw;
        }
        done();
        return true;
    }

    // Blocks the user-interface thread until a call is handed over or the worker ends.
    void WaitForCallOrEnd() {
        std::unique_lock lock(FMutex);
        FUiWake.wait(lock, [this] { return (FPending != TCall::None && !FServing) || FFinished; });
    }

    std::atomic<uint32_t> FInterval;
    std::atomic<uint32_t> FAutoStopTime;
    std::atomic<uint32_t> FInitialDelayTime;
    std::atomic<bool> FAlign;
    // True while the timer runs OnTimer or OnStopTimer for this worker.
    bool FInCallback = false;
    // Also true while a callback runs, but not cleared by a stop from inside it.
    bool FCallbackRunning = false;
    void DropStopCall() {
        std::lock_guard lock(FMutex);
        FSendStop = false;
    }

private:
    // An exception may not leave a thread (that ends the program): the worker ends
    // as if stopped, the timer reads as stopped, and the reason goes to stderr.
    void RunGuarded() {
        try {
            Run();
            return;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velmora: timer thread stopped: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "velmora: timer thread stopped by an unknown error\n");
        }
        std::lock_guard lock(FMutex);
        if (!FTerminated)
            FTimer->FEnabled = false; // the timer waits for FFinished before it goes
        FTerminated = true;
        FPending = TCall::None;
        FFinished = true;
        FUiWake.notify_all();
    }

    void Run() {
        const uint32_t start = NowMs();
        if (FInterval.load() == 0) {
            Terminate();
        } else {
            Loop(start);
        }
        HandOffStop();
        std::lock_guard lock(FMutex);
        FFinished = true;
        FUiWake.notify_all();
    }

    void Loop(uint32_t start) {
        for (;;) {
            if (const auto& fault = KvTimerWorkerFault())
                fault();
            {
                std::unique_lock lock(FMutex);
                const uint32_t wait = FAlign ? MsToNextWallSecond() : FInterval.load();
                // Unlike a plain sleep, a stop request ends the wait at once.
                FStopWake.wait_for(lock, std::chrono::milliseconds(wait),
                                   [this] { return FTerminated; });
                // Not terminated yet: the timer is still there to be asked.
                if (FTerminated || !FTimer->FEnabled.load())
                    return;
            }
            const uint32_t elapsed = NowMs() - start;
            const uint32_t delay = FInitialDelayTime;
            const uint32_t autoStop = FAutoStopTime;
            if (delay > 0 && elapsed < delay)
                continue;
            if (autoStop > 0 && elapsed > autoStop) {
                std::lock_guard lock(FMutex);
                FTerminated = true;
                return;
            }
            if (!HandOffTick())
                return;
        }
    }

    // Posts a tick to the user-interface thread without waiting for it to run, so
    // that an idle worker wakes once a tick. A tick still pending or running (a
    // modal loop inside its handler) holds the worker until it ends, and this tick
    // is skipped: ticks never pile up. False when the worker is to end.
    bool HandOffTick() {
        std::unique_lock lock(FMutex);
        if (FPending != TCall::None) {
            FCallDone.wait(lock, [this] { return FPending == TCall::None || FTerminated; });
            return !FTerminated;
        }
        if (FTerminated)
            return false;
        Post(TCall::Timer, lock);
        return true;
    }

    // The stop call comes after the last tick has ended, and the worker waits for
    // it to run. A timer being destroyed has dropped it first.
    void HandOffStop() {
        std::unique_lock lock(FMutex);
        FCallDone.wait(lock, [this] { return FPending == TCall::None; });
        if (!FSendStop)
            return;
        Post(TCall::Stop, lock);
        lock.lock();
        FCallDone.wait(lock, [this] { return FPending == TCall::None; });
    }

    // Hands `call` to the user-interface thread. The event is posted after the
    // lock is released: the thread it wakes takes the lock at once, and would
    // otherwise sleep on it once more. The timer is still there to post to: its
    // destructor either waits for this worker or runs inside one of this
    // worker's calls, and while a call is pending none other is posted.
    void Post(TCall call, std::unique_lock<std::mutex>& lock) {
        FPending = call;
        lock.unlock();
        auto* event = new HandOffEvent(weak_from_this());
        QueuedBy(event);
        QCoreApplication::postEvent(FTimer, event);
        FUiWake.notify_all();
    }

public:
    class HandOffEvent : public QEvent {
    public:
        explicit HandOffEvent(std::weak_ptr<TKvTimerThread> w)
            : QEvent(kHandOffEvent), Worker(std::move(w)) {}
        std::weak_ptr<TKvTimerThread> Worker;
    };

private:
    TKvTimer* FTimer;
    std::thread FThread;
    mutable std::mutex FMutex;
    // Each waiter has its own: a call that ends must not wake the worker's wait
    // for the next tick, which would double its wake-ups.
    std::condition_variable FStopWake; // the worker's wait for the next tick
    std::condition_variable FCallDone; // the worker's wait for a call's end
    std::condition_variable FUiWake;   // the timer's wait for a call or the worker's end
    bool FTerminated = false;
    bool FFinished = false;
    bool FServing = false;
    bool FSendStop = true; // the termination handler; dropped on destruction
    TCall FPending = TCall::None;
};

namespace {

// Marks a worker as inside one of its timer's events for the event's duration,
// also when the handler throws.
class TCallbackMark {
public:
    explicit TCallbackMark(TKvTimerThread& worker) : FWorker(worker) {
        FWorker.FInCallback = true;
        FWorker.FCallbackRunning = true;
    }
    ~TCallbackMark() {
        FWorker.FInCallback = false;
        FWorker.FCallbackRunning = false;
    }
    TCallbackMark(const TCallbackMark&) = delete;
    TCallbackMark& operator=(const TCallbackMark&) = delete;

private:
    TKvTimerThread& FWorker;
};

} // namespace

TKvTimer::TKvTimer(QObject* owner) : QObject(owner) {}

TKvTimer::~TKvTimer() {
    FDestroying = true;
    FEnabled = false;
    FSource.reset();
    std::vector<std::shared_ptr<TKvTimerThread>> workers = FRetired;
    if (FKvTimerThread)
        workers.push_back(FKvTimerThread);
    for (auto& w : workers) {
        w->DropStopCall();
        w->Terminate();
    }
    // Calls handed over meanwhile find the timer being destroyed and do nothing.
    // A worker whose call is running right now (the timer deleted from its own
    // event) waits for that call to return, so waiting for it here would never
    // end; once the call returns it sees the stop and ends without the timer.
    for (auto& w : workers)
        if (!w->FCallbackRunning)
            WaitFor(w);
}

void TKvTimer::PushSettings() {
    if (!FKvTimerThread || FKvTimerThread->Finished())
        return;
    FKvTimerThread->FInterval = FInterval;
    FKvTimerThread->FAutoStopTime = FAutoStopTime;
    FKvTimerThread->FInitialDelayTime = FInitialDelayTime;
    FKvTimerThread->FAlign = FAlignToWallSecond;
}

void TKvTimer::SetInterval(uint32_t value) {
    FInterval = value;
    PushSettings();
}

void TKvTimer::SetAutoStopTime(uint32_t value) {
    FAutoStopTime = value;
    PushSettings();
}

void TKvTimer::SetInitialDelayTime(uint32_t value) {
    FInitialDelayTime = value;
    PushSettings();
}

void TKvTimer::SetAlignToWallSecond(bool value) {
    FAlignToWallSecond = value;
    PushSettings();
}

void TKvTimer::SetEnabled(bool value) {
    if (value == FEnabled.load())
        return;
    FEnabled = value;
    if (FSource) {
        if (value)
            SourceStart();
        else
            SourceStop();
        return;
    }
    if (std::shared_ptr<TKvTimerThread> w = FKvTimerThread) {
        if (w->FCallbackRunning) {
            // Called from this worker's own callback: the worker waits for us, so
            // waiting for it here would never end. It ends after the callback.
            w->Terminate();
            w->FInCallback = false;
            FRetired.push_back(w);
            FKvTimerThread.reset();
        } else {
            w->Terminate();
            WaitFor(w);
            if (FKvTimerThread == w)
                FKvTimerThread.reset();
        }
    }
    ReapFinished();
    if (FEnabled.load() && !FKvTimerThread)
        StartWorker();
}

void TKvTimer::SetTickSource(std::unique_ptr<TKvTickSource> source) {
    if (FEnabled.load()) {
        std::fprintf(stderr, "velmora: a running timer keeps its tick source\n");
        return;
    }
    FSource = std::move(source);
    if (FSource)
        FSource->SetOnExpired([this] { SourceExpired(); });
}

void TKvTimer::SourceStart() {
    FSourceStart = NowMs();
    FSourceRunning = true;
    const uint64_t period = ++FSourcePeriod;
    if (FInterval == 0) {
        // As a worker with no interval: no tick, and the stop event comes later.
        QMetaObject::invokeMethod(
            this, [this, period] { SourceEnd(period); }, Qt::QueuedConnection);
        return;
    }
    SourceArm();
}

void TKvTimer::SourceStop() {
    FSource->Disarm();
    if (!FSourceRunning)
        return;
    FSourceRunning = false;
    ++FSourcePeriod;
    if (FSourceInTick)
        FSourceStopAfter = true; // fired once the tick's handler has returned
    else
        SourceNotifyStop(false);
}

void TKvTimer::SourceArm() {
    FSource->Arm(FInterval, FAlignToWallSecond);
}

void TKvTimer::SourceEnd(uint64_t period) {
    if (FDestroying || period != FSourcePeriod || !FSourceRunning)
        return;
    FSource->Disarm();
    FSourceRunning = false;
    ++FSourcePeriod;
    SourceNotifyStop(true);
}

void TKvTimer::SourceExpired() {
    if (FDestroying || !FEnabled.load() || !FSourceRunning || FSourceInTick)
        return;
    const uint32_t elapsed = NowMs() - FSourceStart;
    if (FInitialDelayTime > 0 && elapsed < FInitialDelayTime) {
        SourceArm();
        return;
    }
    if (FAutoStopTime > 0 && elapsed > FAutoStopTime) {
        SourceEnd(FSourcePeriod);
        return;
    }
    SourceRunTick();
}

// The next wait starts when the handler has returned, also when it throws: ticks
// never overlap, and a modal loop inside the handler holds the next one back.
void TKvTimer::SourceRunTick() {
    const QPointer<TKvTimer> self(this); // the handler may delete this timer
    const TNotifyEvent handler = FOnTimer;
    auto after = [this] {
        FSourceInTick = false;
        if (FSourceStopAfter) {
            FSourceStopAfter = false;
            SourceNotifyStop(false);
        }
        if (FEnabled.load() && FSourceRunning)
            SourceArm();
    };
    FSourceInTick = true;
    try {
        if (handler)
            handler(this);
    } catch (...) {
        if (self)
            after();
        throw;
    }
    if (self)
        after();
}

void TKvTimer::SourceNotifyStop(bool endedByItself) {
    if (FDestroying)
        return;
    if (FOnStopTimer) {
        const QPointer<TKvTimer> self(this);
        const TNotifyEvent handler = FOnStopTimer;
        handler(this);
        if (!self)
            return;
    }
    // Ended by its own auto-stop (or at once, with no interval, while an auto-stop
    // is set): the timer reads as stopped from now on.
    if (endedByItself && FAutoStopTime > 0 && !FSourceRunning)
        FEnabled = false;
}

void TKvTimer::StartWorker() {
    FKvTimerThread = std::make_shared<TKvTimerThread>(this, FInterval, FAutoStopTime,
                                                      FInitialDelayTime, FAlignToWallSecond);
    FKvTimerThread->Start();
}

void TKvTimer::WaitFor(const std::shared_ptr<TKvTimerThread>& worker) {
    // A handler that throws must not leave the worker blocked or unjoined: finish
    // the wait, then let the error go on to the general handler.
    std::exception_ptr error;
    while (!worker->Finished()) {
        worker->WaitForCallOrEnd();
        try {
            worker->ServeOne();
        } catch (...) {
            if (!error)
                error = std::current_exception();
        }
    }
    worker->Join();
    if (error)
        std::rethrow_exception(error);
}

void TKvTimer::ReapFinished() {
    for (auto it = FRetired.begin(); it != FRetired.end();) {
        if ((*it)->Finished()) {
            (*it)->Join();
            it = FRetired.erase(it);
        } else {
            ++it;
        }
    }
}

bool TKvTimer::event(QEvent* e) {
    DeliveredTo(e);
    if (e->type() != kHandOffEvent)
        return QObject::event(e);
    auto* handOff = static_cast<TKvTimerThread::HandOffEvent*>(e);
    const QPointer<TKvTimer> self(this); // the handler may delete this timer
    if (std::shared_ptr<TKvTimerThread> w = handOff->Worker.lock())
        w->ServeOne();
    if (self)
        ReapFinished();
    return true;
}

void TKvTimer::DoTimer(const std::shared_ptr<TKvTimerThread>& worker) {
    if (FDestroying || worker->Terminated() || !FOnTimer)
        return;
    const TCallbackMark mark(*worker);
    // A copy: the handler may delete this timer, and with it FOnTimer.
    const TNotifyEvent handler = FOnTimer;
    handler(this);
}

void TKvTimer::DoStopTimer(const std::shared_ptr<TKvTimerThread>& worker) {
    if (FDestroying)
        return;
    if (FOnStopTimer) {
        const TCallbackMark mark(*worker);
        const QPointer<TKvTimer> self(this);
        const TNotifyEvent handler = FOnStopTimer;
        handler(this);
        if (!self)
            return;
    }
    // Ended by its own auto-stop (or at once, with no interval, while an auto-stop
    // is set): the timer reads as stopped from now on.
    if (FAutoStopTime > 0 && FEnabled.load() && worker == FKvTimerThread)
        FEnabled = false;
}

} // namespace velmora
