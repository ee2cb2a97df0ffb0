// The kernel timer that drives the clock's tick on the user-interface thread.
#include "platform/KernelTickSource.h"

#include "../TimerTestKit.h"
#include "core/KvTimer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <set>

using namespace velmora;
using velmora::test::WaitUntil;

TEST(KernelTickSource, ExpiresOnceAfterItsWaitOnTheUiThread) {
    struct Case {
        const char* name;
        uint32_t ms;
        bool wallSecond;
        uint32_t replacedWaitMs; // armed first and replaced; 0: none
    } cases[] = {
        {"relative", 30, false, 0},
        {"relative, replacing a long wait", 20, false, 3600 * 1000},
        {"next wall second", 0, true, 0},
        {"next wall second, replacing a long wait", 0, true, 3600 * 1000},
    };
    for (const auto& c : cases) {
        auto source = CreateKernelTickSource();
        ASSERT_NE(source, nullptr);
        int expiries = 0;
        qint64 expiredAt = 0;
        bool onUiThread = false;
        source->SetOnExpired([&] {
            ++expiries;
            expiredAt = QDateTime::currentMSecsSinceEpoch();
            onUiThread = QThread::currentThread() == qApp->thread();
        });
        if (c.replacedWaitMs)
            source->Arm(c.replacedWaitMs, false);
        const qint64 armedAt = QDateTime::currentMSecsSinceEpoch();
        QElapsedTimer waited;
        waited.start();
        source->Arm(c.ms, c.wallSecond);
        ASSERT_TRUE(WaitUntil([&] { return expiries > 0; })) << c.name;
        if (c.wallSecond)
            EXPECT_GT(expiredAt / 1000, armedAt / 1000) << c.name << ": before the boundary";
        else
            EXPECT_GE(waited.elapsed(), qint64(c.ms)) << c.name << ": before its time";
        EXPECT_TRUE(onUiThread) << c.name;
        QTest::qWait(50);
        EXPECT_EQ(expiries, 1) << c.name;
    }
}

TEST(KernelTickSource, DisarmedItNeverExpires) {
    auto source = CreateKernelTickSource();
    ASSERT_NE(source, nullptr);
    int expiries = 0;
    source->SetOnExpired([&] { ++expiries; });
    source->Arm(10, false);
    source->Disarm();
    QTest::qWait(80);
    EXPECT_EQ(expiries, 0);
}

TEST(KernelTickSource, DrivesATimerWhoseTicksFollowTheWallSeconds) {
    TKvTimer timer;
    timer.SetInterval(1000);
    timer.SetAlignToWallSecond(true);
    timer.SetTickSource(CreateKernelTickSource());
    ASSERT_TRUE(timer.HasTickSource());
    std::set<qint64> seconds;
    int ticks = 0, stops = 0;
    timer.SetOnTimer([&](TKvTimer*) {
        ++ticks;
        seconds.insert(QDateTime::currentMSecsSinceEpoch() / 1000);
    });
    timer.SetOnStopTimer([&](TKvTimer*) { ++stops; });
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }, 6000));
    timer.SetEnabled(false);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(int(seconds.size()), ticks) << "two ticks in one wall second";
}
