// What the timer tests share: running the event loop until something holds, and
// recording a timer's events in order.
#pragma once

#include "core/KvTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

namespace velmora::test {

// Runs the event loop until `done` holds or a generous limit passes.
template <typename F> bool WaitUntil(F done, int limitMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
    return true;
}

struct Recorder {
    std::vector<std::string> events;
    void Attach(TKvTimer& t) {
        t.SetOnTimer([this](TKvTimer*) { events.push_back("tick"); });
        t.SetOnStopTimer([this](TKvTimer*) { events.push_back("stop"); });
    }
    int Count(const std::string& e) const {
        return int(std::count(events.begin(), events.end(), e));
    }
};

} // namespace velmora::test
