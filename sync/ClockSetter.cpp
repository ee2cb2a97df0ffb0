#include "ClockSetter.h"

#include <cerrno>
#include <ctime>
#include <sys/timex.h>

namespace velmora {

namespace {
constexpr std::int64_t kNsPerSecond = 1'000'000'000LL;

ClockSetResult FromErrno(int error) {
    return error == EPERM || error == EACCES ? ClockSetResult::NoPermission
                                             : ClockSetResult::Failed;
}
} // namespace

SplitOffset SplitOffsetNs(std::int64_t offsetNs) {
    SplitOffset s{offsetNs / kNsPerSecond, offsetNs % kNsPerSecond};
    if (s.nanoseconds < 0) {
        s.nanoseconds += kNsPerSecond;
        --s.seconds;
    }
    return s;
}

ClockSetResult SystemClockSetter::Apply(std::int64_t offsetNs) {
    const SplitOffset split = SplitOffsetNs(offsetNs);
    timex tx{};
    tx.modes = ADJ_SETOFFSET | ADJ_NANO;
    tx.time.tv_sec = time_t(split.seconds);
    tx.time.tv_usec = suseconds_t(split.nanoseconds); // nanoseconds under ADJ_NANO
    if (clock_adjtime(CLOCK_REALTIME, &tx) >= 0)
        return ClockSetResult::Applied;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return FromErrno(errno);

    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0)
        return ClockSetResult::Failed;
    std::int64_t ns = std::int64_t(now.tv_nsec) + split.nanoseconds;
    timespec target{};
    target.tv_sec = time_t(std::int64_t(now.tv_sec) + split.seconds + ns / kNsPerSecond);
    target.tv_nsec = long(ns % kNsPerSecond);
    if (clock_settime(CLOCK_REALTIME, &target) == 0)
        return ClockSetResult::Applied;
    return FromErrno(errno);
}

ClockSetResult DryRunClockSetter::Apply(std::int64_t offsetNs) {
    last_ = offsetNs;
    return ClockSetResult::Applied;
}

} // namespace velmora
