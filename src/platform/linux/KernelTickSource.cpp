#include "platform/KernelTickSource.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace velmora {

namespace {

// One timerfd on the wall clock. Relative waits on it run on the monotonic clock
// (the kernel measures them so); absolute ones end at a wall-clock second boundary
// and are cancelled by a step of the clock, which reads as an expiry.
class TTimerFdSource final : public TKvTickSource {
public:
    explicit TTimerFdSource(int fd) : FFd(fd), FNotifier(fd, QSocketNotifier::Read) {
        QObject::connect(&FNotifier, &QSocketNotifier::activated, &FNotifier,
                         [this] { Readable(); });
    }
    ~TTimerFdSource() override { ::close(FFd); }
    TTimerFdSource(const TTimerFdSource&) = delete;
    TTimerFdSource& operator=(const TTimerFdSource&) = delete;

    void Arm(uint32_t ms, bool wallSecond) override {
        itimerspec when{};
        int flags = 0;
        if (wallSecond) {
            timespec now{};
            ::clock_gettime(CLOCK_REALTIME, &now);
            when.it_value.tv_sec = now.tv_sec + 1;
            flags = TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET;
        } else {
            const uint32_t wait = ms > 0 ? ms : 1; // a zero value would disarm
            when.it_value.tv_sec = time_t(wait / 1000);
            when.it_value.tv_nsec = long(wait % 1000) * 1000000L;
        }
        if (::timerfd_settime(FFd, flags, &when, nullptr) != 0)
            std::fprintf(stderr, "velmora: timer not set: %s\n", std::strerror(errno));
    }

    void Disarm() override {
        const itimerspec none{};
        ::timerfd_settime(FFd, 0, &none, nullptr);
        Drain(); // an expiry already counted must not fire after the stop
    }

    void SetOnExpired(std::function<void()> handler) override { FExpired = std::move(handler); }

private:
    // True when the timer ran out or the wall clock was stepped under it.
    bool Drain() {
        uint64_t count = 0;
        if (::read(FFd, &count, sizeof count) == ssize_t(sizeof count))
            return count > 0;
        return errno == ECANCELED;
    }

    void Readable() {
        if (Drain() && FExpired)
            FExpired();
    }

    int FFd;
    QSocketNotifier FNotifier;
    std::function<void()> FExpired;
};

} // namespace

std::unique_ptr<TKvTickSource> CreateKernelTickSource() {
    const int fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "velmora: no kernel timer: %s\n", std::strerror(errno));
        return nullptr;
    }
    return std::make_unique<TTimerFdSource>(fd);
}

} // namespace velmora
