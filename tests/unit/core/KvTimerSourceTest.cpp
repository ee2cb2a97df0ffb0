// The timer driven by a tick source on the user-interface thread instead of a
// worker thread: the same events, in the same order, as with a worker.
#include "../TimerTestKit.h"
#include "core/KvTimer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace velmora;
using velmora::test::Recorder;
using velmora::test::WaitUntil;

namespace {

// A source on Qt's own single-shot timer: it expires on this thread, as the
// kernel's does, and counts what it was asked.
class TQtTickSource final : public TKvTickSource {
public:
    explicit TQtTickSource(int* arms = nullptr) : FArms(arms) {
        FTimer.setSingleShot(true);
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (FExpired)
                FExpired();
        });
    }
    void Arm(uint32_t ms, bool wallSecond) override {
        if (FArms)
            ++*FArms;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        FTimer.start(wallSecond ? int(1000 - now % 1000) : int(ms));
    }
    void Disarm() override { FTimer.stop(); }
    void SetOnExpired(std::function<void()> handler) override { FExpired = std::move(handler); }

private:
    int* FArms;
    QTimer FTimer;
    std::function<void()> FExpired;
};

// No worker thread runs for a sourced timer: the worker's hook never fires.
class TNoWorker {
public:
    TNoWorker() {
        KvTimerWorkerFault() = [this] { ++FWaits; };
    }
    ~TNoWorker() { KvTimerWorkerFault() = nullptr; }
    int Waits() const { return FWaits.load(); }

private:
    std::atomic<int> FWaits{0};
};

} // namespace

TEST(KvTimerSource, TicksOnTheUiThreadWithoutAWorkerAndStopsBeforeTheWriteReturns) {
    const TNoWorker noWorker;
    TKvTimer t;
    int arms = 0;
    t.SetTickSource(std::make_unique<TQtTickSource>(&arms));
    ASSERT_TRUE(t.HasTickSource());
    Recorder r;
    std::vector<bool> onUiThread;
    r.Attach(t);
    t.SetOnTimer([&](TKvTimer*) {
        onUiThread.push_back(QThread::currentThread() == qApp->thread());
        r.events.push_back("tick");
    });
    t.SetInterval(10);
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return r.Count("tick") >= 3; }));
    t.SetEnabled(false);
    ASSERT_EQ(r.events.back(), "stop");
    EXPECT_EQ(r.Count("stop"), 1);
    const int ticks = r.Count("tick");
    QTest::qWait(60);
    EXPECT_EQ(r.Count("tick"), ticks);
    EXPECT_TRUE(std::all_of(onUiThread.begin(), onUiThread.end(), [](bool b) { return b; }));
    EXPECT_EQ(noWorker.Waits(), 0);
    EXPECT_GE(arms, ticks); // one wait a tick, each armed after the previous tick
}

TEST(KvTimerSource, StopsInsideAndOutsideTheirEventsAsAWorkerDoes) {
    // What a handler does inside OnTimer, and the events seen in order.
    struct Case {
        const char* name;
        int reenableAt; // 0: the first tick stops the timer for good
        std::vector<std::string> expected;
    } cases[] = {
        {"stop inside", 0, {"tick", "tick-end", "stop"}},
        {"stop and restart inside", 1, {"tick", "tick-end", "stop", "tick", "tick-end"}},
    };
    for (const auto& c : cases) {
        TKvTimer t;
        t.SetTickSource(std::make_unique<TQtTickSource>());
        Recorder r;
        int ticks = 0;
        t.SetInterval(5);
        t.SetOnTimer([&](TKvTimer* s) {
            r.events.push_back("tick");
            if (++ticks == 1) {
                s->SetEnabled(false);
                if (c.reenableAt)
                    s->SetEnabled(true);
            }
            r.events.push_back("tick-end");
        });
        t.SetOnStopTimer([&](TKvTimer*) { r.events.push_back("stop"); });
        t.SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return r.Count("stop") == 1; })) << c.name;
        if (c.reenableAt) {
            ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; })) << c.name;
            EXPECT_TRUE(t.Enabled()) << c.name;
            t.SetOnTimer(nullptr);
        } else {
            QTest::qWait(40);
            EXPECT_FALSE(t.Enabled()) << c.name;
        }
        const std::vector<std::string> head(
            r.events.begin(), r.events.begin() + std::min(r.events.size(), c.expected.size()));
        EXPECT_EQ(head, c.expected) << c.name;
        if (!c.reenableAt) {
            EXPECT_EQ(r.events, c.expected) << c.name;
        }
    }
}

TEST(KvTimerSource, IntervalZeroAndAutoStopEndTheTimerWithItsStopEvent) {
    struct Case {
        uint32_t interval;
        uint32_t autoStop;
        bool enabledAfter;
        int maxTicks;
    } cases[] = {{0, 0, true, 0}, {0, 1000, false, 0}, {10, 55, false, 5}};
    for (const auto& c : cases) {
        TKvTimer t;
        t.SetTickSource(std::make_unique<TQtTickSource>());
        Recorder r;
        r.Attach(t);
        t.SetInterval(c.interval);
        t.SetAutoStopTime(c.autoStop);
        t.SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return r.Count("stop") == 1; })) << c.interval;
        QTest::qWait(30);
        EXPECT_EQ(r.Count("stop"), 1) << c.interval;
        EXPECT_EQ(r.events.back(), "stop") << c.interval;
        EXPECT_LE(r.Count("tick"), c.maxTicks) << c.interval;
        if (c.maxTicks > 0) {
            EXPECT_GE(r.Count("tick"), 1) << c.interval;
        }
        EXPECT_EQ(t.Enabled(), c.enabledAfter) << c.interval << " " << c.autoStop;
        t.SetEnabled(false); // the stop has fired already: not again
        EXPECT_EQ(r.Count("stop"), 1) << c.interval;
    }
}

TEST(KvTimerSource, InitialDelayHoldsBackTheFirstTick) {
    TKvTimer t;
    t.SetTickSource(std::make_unique<TQtTickSource>());
    Recorder r;
    r.Attach(t);
    t.SetInterval(5);
    t.SetInitialDelayTime(400);
    t.SetEnabled(true);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitUntil([&] { return r.Count("tick") >= 1; }));
    EXPECT_GE(clock.elapsed(), 390); // ordering: never before the delay
    t.SetEnabled(false);
}

TEST(KvTimerSource, ATickInAModalLoopHoldsBackTheNextOnes) {
    TKvTimer t;
    t.SetTickSource(std::make_unique<TQtTickSource>());
    int depth = 0, deepest = 0, ticks = 0;
    t.SetInterval(5);
    t.SetOnTimer([&](TKvTimer*) {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        if (ticks == 1)
            QTest::qWait(100);
        --depth;
    });
    t.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 4; }));
    t.SetEnabled(false);
    EXPECT_EQ(deepest, 1) << "a tick ran inside the previous one";
}

TEST(KvTimerSource, DestructionAndDeletionInsideEventsFireNothingMore) {
    Recorder r;
    {
        TKvTimer t;
        t.SetTickSource(std::make_unique<TQtTickSource>());
        r.Attach(t);
        t.SetInterval(1);
        t.SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return r.Count("tick") >= 1; }));
        r.events.clear();
    }
    QTest::qWait(20);
    EXPECT_TRUE(r.events.empty());
    for (bool inStop : {false, true}) {
        auto* timer = new TKvTimer;
        timer->SetTickSource(std::make_unique<TQtTickSource>());
        timer->SetInterval(5);
        timer->SetAutoStopTime(inStop ? 20 : 0);
        bool deleted = false;
        int ticks = 0;
        auto del = [&deleted](TKvTimer* self) {
            delete self;
            deleted = true;
        };
        if (inStop)
            timer->SetOnStopTimer(del);
        else
            timer->SetOnTimer([&](TKvTimer* self) {
                ++ticks;
                del(self);
            });
        timer->SetEnabled(true);
        ASSERT_TRUE(WaitUntil([&] { return deleted; })) << inStop;
        QTest::qWait(30);
        EXPECT_LE(ticks, 1) << inStop;
    }
}

TEST(KvTimerSource, AThrowingHandlerDoesNotStopTheTicks) {
    TKvTimer t;
    t.SetTickSource(std::make_unique<TQtTickSource>());
    int ticks = 0;
    t.SetInterval(5);
    t.SetOnTimer([&](TKvTimer*) {
        if (++ticks == 1)
            throw std::runtime_error("handler failed");
    });
    t.SetEnabled(true);
    // Qt passes the error on out of the event loop; the timer waits again first.
    EXPECT_THROW(WaitUntil([&] { return ticks >= 1; }), std::runtime_error);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    t.SetOnStopTimer([](TKvTimer*) { throw std::runtime_error("stop failed"); });
    EXPECT_THROW(t.SetEnabled(false), std::runtime_error);
    EXPECT_FALSE(t.Enabled());
}

TEST(KvTimerSource, ASourceIsTakenOnlyWhileStopped) {
    TKvTimer t;
    t.SetInterval(1000);
    t.SetEnabled(true);
    t.SetTickSource(std::make_unique<TQtTickSource>());
    EXPECT_FALSE(t.HasTickSource());
    t.SetEnabled(false);
    t.SetTickSource(std::make_unique<TQtTickSource>());
    EXPECT_TRUE(t.HasTickSource());
}
