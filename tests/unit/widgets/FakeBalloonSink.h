// A balloon sink that records what would go to the notification service, and
// answers at once or when the test says so.
#pragma once

#include "widgets/KvNotifications.h"

#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

namespace velmora::test {

struct TFakeSinkLog {
    bool Available = true;
    bool AnswerAtOnce = true;
    bool Fail = false; // answer every Notify with a failure
    uint32_t NextId = 7;
    std::vector<TKvNotification> Sent;
    std::vector<TKvBalloonSink::TNotifyDone> Pending;
    std::vector<uint32_t> Closed;
};

class TFakeBalloonSink : public TKvBalloonSink {
public:
    explicit TFakeBalloonSink(std::shared_ptr<TFakeSinkLog> log) : FLog(std::move(log)) {}
    bool ServiceAvailable() override { return FLog->Available; }
    void Notify(const TKvNotification& n, TNotifyDone done) override {
        FLog->Sent.push_back(n);
        if (!FLog->AnswerAtOnce) {
            FLog->Pending.push_back(std::move(done));
            return;
        }
        if (FLog->Fail)
            done(std::nullopt);
        else
            done(FLog->NextId++);
    }
    void CloseNotification(uint32_t id) override { FLog->Closed.push_back(id); }

private:
    std::shared_ptr<TFakeSinkLog> FLog;
};

// Runs the event loop until `done` holds or `maxMs` have passed; true when it held.
inline bool WaitUntil(const std::function<bool()>& done, int maxMs = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > maxMs)
            return false;
        QTest::qWait(2);
    }
    return true;
}

} // namespace velmora::test
