#include "core/KvTimer.h"

#include "../TimerTestKit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace velmora;
using velmora::test::Recorder;
using velmora::test::WaitUntil;

namespace {} // namespace

TEST(KvTimer, TicksOnTheUiThreadUntilDisabledFromOutside) {
    TKvTimer t;
    Recorder r;
    r.Attach(t);
    std::vector<bool> onUiThread;
    t.SetOnTimer([&](TKvTimer*) {
        onUiThread.push_back(QThread::currentThread() == qApp->thread());
        r.events.push_back("tick");
    });
    t.SetInterval(10);
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return r.Count("tick") >= 3; }));
    t.SetEnabled(false);
    // OnStopTimer has fired by the time the write returns, after the last tick.
    ASSERT_EQ(r.events.back(), "stop");
    EXPECT_EQ(r.Count("stop"), 1);
    const int ticks = r.Count("tick");
    QTest::qWait(60);
    EXPECT_EQ(r.Count("tick"), ticks);
    EXPECT_TRUE(std::all_of(onUiThread.begin(), onUiThread.end(), [](bool b) { return b; }));
}

TEST(KvTimer, DisablingFromOutsideDoesNotWaitOutTheInterval) {
    TKvTimer t;
    Recorder r;
    r.Attach(t);
    t.SetInterval(60 * 60 * 1000); // an hour: only a wait that ends on request returns
    t.SetEnabled(true);
    t.SetEnabled(false);
    EXPECT_EQ(r.events, std::vector<std::string>{"stop"});
}

TEST(KvTimer, DisablingInsideOnTimerStopsAfterTheHandler) {
    TKvTimer t;
    Recorder r;
    t.SetInterval(5);
    t.SetOnTimer([&](TKvTimer* s) {
        r.events.push_back("tick");
        s->SetEnabled(false);
        r.events.push_back("tick-end");
    });
    t.SetOnStopTimer([&](TKvTimer*) { r.events.push_back("stop"); });
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return r.Count("stop") == 1; }));
    QTest::qWait(40);
    EXPECT_EQ(r.events, (std::vector<std::string>{"tick", "tick-end", "stop"}));
    EXPECT_FALSE(t.Enabled());
}

TEST(KvTimer, ReenablingInsideOnTimerDoesNotBlock) {
    TKvTimer t;
    int ticks = 0, stops = 0;
    t.SetInterval(5);
    t.SetOnTimer([&](TKvTimer* s) {
        if (++ticks == 1) {
            s->SetEnabled(false);
            s->SetEnabled(true);
        }
    });
    t.SetOnStopTimer([&](TKvTimer*) { ++stops; });
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_TRUE(t.Enabled());
    EXPECT_EQ(stops, 1); // the first worker's end
    t.SetEnabled(false);
    EXPECT_EQ(stops, 2);
}

TEST(KvTimer, IntervalZeroStopsAtOnceWithoutTicking) {
    struct Case {
        uint32_t autoStop;
        bool enabledAfter;
    } cases[] = {{0, true}, {1000, false}};
    for (const auto& c : cases) {
        TKvTimer t;
        Recorder r;
        r.Attach(t);
        t.SetInterval(0);
        t.SetAutoStopTime(c.autoStop);
        t.SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return r.Count("stop") == 1; }));
        QTest::qWait(20);
        EXPECT_EQ(r.events, std::vector<std::string>{"stop"});
        EXPECT_EQ(t.Enabled(), c.enabledAfter) << c.autoStop;
    }
}

TEST(KvTimer, AutoStopEndsTheTimerAndReenablingStartsAFreshPeriod) {
    TKvTimer t;
    Recorder r;
    r.Attach(t);
    t.SetInterval(10);
    t.SetAutoStopTime(55);
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return r.Count("stop") == 1; }));
    EXPECT_FALSE(t.Enabled());
    EXPECT_EQ(r.events.back(), "stop");
    const int first = r.Count("tick");
    EXPECT_GE(first, 1);
    EXPECT_LE(first, 5); // never a tick past the auto-stop time
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return r.Count("stop") == 2; }));
    EXPECT_GE(r.Count("tick"), first + 1);
}

TEST(KvTimer, InitialDelayHoldsBackTheFirstTick) {
    TKvTimer t;
    Recorder r;
    r.Attach(t);
    t.SetInterval(5);
    t.SetInitialDelayTime(400);
    t.SetEnabled(true);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitUntil([&] { return r.Count("tick") >= 1; }));
    // Ordering, not speed: the first tick cannot come before the delay has passed.
    EXPECT_GE(clock.elapsed(), 390);
    t.SetEnabled(false);
}

TEST(KvTimer, DestructionFiresNothing) {
    Recorder r;
    {
        TKvTimer t;
        r.Attach(t);
        t.SetInterval(1);
        t.SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return r.Count("tick") >= 1; }));
        r.events.clear();
    }
    QTest::qWait(20);
    EXPECT_TRUE(r.events.empty());
}

TEST(KvTimer, ExceptionInAStopHandlerStillEndsTheWorker) {
    TKvTimer t;
    t.SetInterval(1000);
    t.SetOnStopTimer([](TKvTimer*) { throw std::runtime_error("handler failed"); });
    t.SetEnabled(true);
    EXPECT_THROW(t.SetEnabled(false), std::runtime_error);
    EXPECT_FALSE(t.Enabled());
    t.SetOnStopTimer(nullptr);
    t.SetEnabled(true); // usable again
    t.SetEnabled(false);
}

TEST(KvTimer, StressEnableAndDisableFromBothSides) {
    // Thousands of starts and stops, from outside and from inside the timer's own
    // events, on three timers at once: it must neither deadlock nor crash.
    TKvTimer a, b, c;
    int ticks = 0, stops = 0;
    for (TKvTimer* t : {&a, &b, &c}) {
        t->SetInterval(1);
        t->SetOnStopTimer([&](TKvTimer*) { ++stops; });
    }
    a.SetOnTimer([&](TKvTimer* s) {
        ++ticks;
        s->SetEnabled(false);
    });
    b.SetOnTimer([&](TKvTimer* s) {
        ++ticks;
        s->SetEnabled(ticks % 2 == 0);
        s->SetEnabled(true);
    });
    c.SetOnTimer([&](TKvTimer*) {
        ++ticks;
        a.SetEnabled(!a.Enabled());
    });
    for (int i = 0; i < 3000; ++i) {
        a.SetEnabled(i % 2 == 0);
        b.SetEnabled(i % 3 != 0);
        c.SetEnabled(i % 5 != 0);
        if (i % 7 == 0)
            QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitUntil([&] { return ticks > 50; }));
    a.SetEnabled(false);
    b.SetEnabled(false);
    c.SetEnabled(false);
    EXPECT_GT(stops, 1000);
}

namespace {

// Ends the whole test program when `done` is not set within `limitMs`: a
// deadlock on the UI thread could not fail the test any other way.
class TWatchdog {
public:
    TWatchdog(const char* what, int limitMs) {
        FThread = std::thread([this, what, limitMs] {
            std::unique_lock lock(FMutex);
            if (!FWake.wait_for(lock, std::chrono::milliseconds(limitMs),
                                [this] { return FDone; })) {
                std::fprintf(stderr, "deadlock: %s\n", what);
                std::_Exit(3);
            }
        });
    }
    ~TWatchdog() {
        {
            std::lock_guard lock(FMutex);
            FDone = true;
        }
        FWake.notify_all();
        FThread.join();
    }

private:
    std::thread FThread;
    std::mutex FMutex;
    std::condition_variable FWake;
    bool FDone = false;
};

} // namespace

TEST(KvTimer, DeletedInsideItsOwnOnTimer) {
    const TWatchdog watchdog("a timer deleted inside its own OnTimer", 60000);
    for (bool alsoDisabled : {false, true}) {
        auto* timer = new TKvTimer;
        timer->SetInterval(5);
        bool deleted = false;
        int ticks = 0;
        timer->SetOnTimer([&deleted, &ticks, alsoDisabled](TKvTimer* self) {
            ++ticks;
            if (alsoDisabled)
                self->SetEnabled(false); // stopped from inside first, then deleted
            delete self;
            deleted = true;
        });
        timer->SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return deleted; }));
        // Nothing arrives for the deleted timer afterwards (six intervals watched).
        QTest::qWait(30);
        EXPECT_EQ(ticks, 1) << "a tick reached a deleted timer";
    }
}

TEST(KvTimer, DeletedInsideItsOwnOnStopTimer) {
    const TWatchdog watchdog("a timer deleted inside its own OnStopTimer", 60000);
    auto* timer = new TKvTimer;
    timer->SetInterval(5);
    timer->SetAutoStopTime(20);
    bool deleted = false;
    timer->SetOnStopTimer([&deleted](TKvTimer* self) {
        delete self;
        deleted = true;
    });
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return deleted; }));
    QTest::qWait(30);
}

TEST(KvTimer, TheWorkerHandsATickOverWithoutWaitingForIt) {
    // The worker's hook runs before each of its waits. While this thread runs no
    // events, the first tick stays pending: the worker goes on to its next wait at
    // once (one wake a tick), and then holds back until the tick has run.
    std::atomic<int> waits{0};
    KvTimerWorkerFault() = [&waits] { ++waits; };
    TKvTimer t;
    Recorder r;
    r.Attach(t);
    t.SetInterval(5);
    t.SetEnabled(true);
    QElapsedTimer clock;
    clock.start();
    while (waits.load() < 2 && clock.elapsed() < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const int beforeStall = waits.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(60)); // a dozen intervals
    const int afterStall = waits.load();
    const bool ticked = WaitUntil([&] { return r.Count("tick") >= 3; });
    t.SetEnabled(false);
    KvTimerWorkerFault() = nullptr;
    EXPECT_EQ(beforeStall, 2) << "the worker waited for the tick to run";
    EXPECT_EQ(afterStall, 2) << "ticks piled up behind a pending one";
    EXPECT_TRUE(ticked);
    EXPECT_EQ(r.events.back(), "stop");
}

TEST(KvTimer, ATickInAModalLoopHoldsBackTheNextOnes) {
    TKvTimer t;
    int depth = 0, deepest = 0, ticks = 0;
    t.SetInterval(5);
    t.SetOnTimer([&](TKvTimer*) {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        if (ticks == 1)
            QTest::qWait(100); // events run meanwhile, as in a modal box
        --depth;
    });
    std::vector<std::string> order;
    t.SetOnStopTimer([&](TKvTimer*) { order.push_back(depth == 0 ? "stop" : "stop-inside"); });
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 4; }));
    t.SetEnabled(false);
    EXPECT_EQ(deepest, 1) << "a tick ran inside the previous one";
    EXPECT_EQ(order, std::vector<std::string>{"stop"});
}

TEST(KvTimer, AFailingWorkerThreadDoesNotEndTheProgram) {
    std::atomic<int> faults{0};
    KvTimerWorkerFault() = [&faults] {
        ++faults;
        throw std::runtime_error("worker fault");
    };
    TKvTimer timer;
    Recorder r;
    r.Attach(timer);
    timer.SetInterval(5);
    timer.SetEnabled(true);
    const bool stopped = WaitUntil([&] { return !timer.Enabled(); });
    KvTimerWorkerFault() = nullptr;
    ASSERT_TRUE(stopped) << "the timer reads as stopped once its worker failed";
    EXPECT_EQ(faults.load(), 1);
    EXPECT_EQ(r.Count("tick"), 0);
    // And it starts again as a fresh timer.
    timer.SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return r.Count("tick") >= 2; }));
    timer.SetEnabled(false);
}
