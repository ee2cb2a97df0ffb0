// Three timers started and stopped many thousands of times, from the user-interface
// thread and from inside their own events, while timers are also made and destroyed
// in the middle of their ticks. Built under ThreadSanitizer in CI: a data race is
// reported by the sanitizer, a deadlock by the watchdog below, an event after
// destruction and a period without its one stop event by the checks.
//   test_timer_stress [cycles]     (default 100000 enable/disable cycles in all)
#include "core/KvTimer.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace velmora;

namespace {

std::atomic<long> gProgress{0};

// Ends the process with a message when the counter stops moving: a deadlocked
// timer would otherwise hang CI until its global time-out.
class Watchdog {
public:
    explicit Watchdog(int quietSeconds) {
        FThread = std::thread([this, quietSeconds] {
            long last = -1;
            int quiet = 0;
            while (!FDone.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                const long now = gProgress.load();
                quiet = now == last ? quiet + 1 : 0;
                last = now;
                if (quiet >= quietSeconds * 10) {
                    std::fprintf(stderr, "timer stress: no progress for %d s (deadlock)\n",
                                 quietSeconds);
                    std::abort();
                }
            }
        });
    }
    ~Watchdog() {
        FDone = true;
        FThread.join();
    }

private:
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

// What one timer saw. Outlives the timer, so that a late event is noticed.
struct Record {
    long starts = 0;
    long stops = 0;
    long ticks = 0;
    long offThread = 0;
    bool destroyed = false;
    long late = 0;
    void Tick() {
        if (destroyed)
            ++late;
        ++ticks;
    }
};

struct Stress {
    long cycles = 0;
    long fromEvents = 0; // of those, stops written inside a timer's own event
    int depth = 0;
    long target = 0;

    // Every false-to-true write starts one enabled period, which ends with one stop.
    void Set(TKvTimer& t, Record& r, bool on) {
        if (on && !t.Enabled())
            ++r.starts;
        if (!on && t.Enabled()) {
            ++cycles;
            fromEvents += depth > 0;
        }
        t.SetEnabled(on);
        ++gProgress;
    }

    void Attach(TKvTimer& t, Record& r) {
        t.SetOnStopTimer([&r](TKvTimer*) {
            if (r.destroyed)
                ++r.late;
            ++r.stops;
            if (QThread::currentThread() != qApp->thread())
                ++r.offThread;
        });
    }
};

struct Inside {
    explicit Inside(Stress& s) : FS(s) { ++FS.depth; }
    ~Inside() { --FS.depth; }
    Stress& FS;
};

bool Check(bool ok, const char* what, long a, long b) {
    if (!ok)
        std::fprintf(stderr, "timer stress: %s (%ld, %ld)\n", what, a, b);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Stress s;
    s.target = argc > 1 ? std::atol(argv[1]) : 100000;
    const Watchdog watchdog(60);

    Record ra, rb, rc, rd;
    bool ok = true;
    {
        TKvTimer a, b, c;
        for (TKvTimer* t : {&a, &b, &c})
            t->SetInterval(1);
        s.Attach(a, ra);
        s.Attach(b, rb);
        s.Attach(c, rc);
        // a stops itself; b stops and restarts itself; c toggles a from c's own tick.
        a.SetOnTimer([&](TKvTimer* t) {
            const Inside in(s);
            ra.Tick();
            s.Set(*t, ra, false);
        });
        b.SetOnTimer([&](TKvTimer* t) {
            const Inside in(s);
            rb.Tick();
            s.Set(*t, rb, false);
            s.Set(*t, rb, true);
        });
        c.SetOnTimer([&](TKvTimer*) {
            const Inside in(s);
            rc.Tick();
            s.Set(a, ra, !a.Enabled());
        });

        for (long i = 0; s.cycles < s.target; ++i) {
            // a flips every round; b and c live long enough to tick and flip from inside.
            s.Set(a, ra, i % 2 == 0);
            s.Set(b, rb, i % 50 != 0);
            s.Set(c, rc, i % 97 != 0);
            QCoreApplication::processEvents();
            // Now and then a fourth timer dies in the middle of its ticks.
            if (i % 4000 == 0) {
                rd = Record{};
                auto d = std::make_unique<TKvTimer>();
                d->SetInterval(1);
                s.Attach(*d, rd);
                d->SetOnTimer([&rd](TKvTimer*) { rd.Tick(); });
                d->SetEnabled(true);
                while (rd.ticks < 2)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
                rd.destroyed = true;
                d.reset();
                QCoreApplication::processEvents();
                ok &= Check(rd.late == 0, "event after destruction", rd.late, 0);
            }
        }
        for (auto [t, r] : {std::pair{&a, &ra}, {&b, &rb}, {&c, &rc}})
            s.Set(*t, *r, false);
        // Workers stopped from their own events end on their own: let them.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        auto settled = [&] {
            return ra.stops == ra.starts && rb.stops == rb.starts && rc.stops == rc.starts;
        };
        while (!settled() && std::chrono::steady_clock::now() < until) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            ++gProgress;
        }
        // From here on, nothing may reach the handlers, not even from the destructors.
        for (Record* r : {&ra, &rb, &rc})
            r->destroyed = true;
    }
    QCoreApplication::processEvents();
    for (Record* r : {&ra, &rb, &rc}) {
        ok &= Check(r->stops == r->starts, "a period without exactly one stop event", r->starts,
                    r->stops);
        ok &= Check(r->offThread == 0, "an event off the interface thread", r->offThread, 0);
        ok &= Check(r->late == 0, "event after destruction", r->late, 0);
    }
    ok &= Check(ra.ticks + rb.ticks + rc.ticks > 0, "no tick at all", 0, 0);
    ok &= Check(s.fromEvents > 0, "no stop from inside an event", s.fromEvents, 0);
    std::printf("timer stress: %ld enable/disable cycles (%ld from inside the timers' events), "
                "%ld ticks, %ld stop events: %s\n",
                s.cycles, s.fromEvents, ra.ticks + rb.ticks + rc.ticks,
                ra.stops + rb.stops + rc.stops, ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
