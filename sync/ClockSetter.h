// Moving the system clock, kept apart from measuring so that nothing but the
// real tool ever touches the machine's time (tests use a recording fake).
#pragma once

#include <QString>
#include <cstdint>

namespace velmora {

enum class ClockSetResult {
    Applied,
    NoPermission,     // refused, or the user dismissed the password prompt
    TimeKeptBySystem, // a time daemon keeps the clock: the system will not step it
    NoService,        // no time service on the system bus
    Failed,
};

// For standard error.
const char* ClockSetResultText(ClockSetResult r);

class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    // Moves the clock forward by `offsetNs` (backward when negative).
    virtual ClockSetResult Apply(std::int64_t offsetNs) = 0;
};

// A signed offset as whole seconds and a non-negative nanosecond part, the
// form the kernel wants: -0.25 s is -1 s + 750000000 ns.
struct SplitOffset {
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
};
SplitOffset SplitOffsetNs(std::int64_t offsetNs);

// The system's time service (org.freedesktop.timedate1 on the system bus): asks
// it for a relative step, letting it ask the user for a password through the
// desktop's agent. Nothing here needs privileges of its own.
class TimeServiceClockSetter final : public ClockSetter {
public:
    // `replyTimeoutMs` leaves the user time to answer the password prompt.
    explicit TimeServiceClockSetter(int replyTimeoutMs = 120000) : timeoutMs_(replyTimeoutMs) {}
    ClockSetResult Apply(std::int64_t offsetNs) override;

private:
    int timeoutMs_;
};

// What a D-Bus error name from the time service means for the clock.
ClockSetResult TimeServiceErrorResult(const QString& errorName);
// Nanoseconds to the service's microseconds, to the nearest, halves away from zero.
std::int64_t OffsetToUsec(std::int64_t offsetNs);

// Steps the kernel's clock directly: only for the tool run by root by hand on a
// system without a time service. One relative step, so that the time spent
// between measuring and setting does not count; falls back to setting the
// absolute time where the relative step is not available.
class SystemClockSetter final : public ClockSetter {
public:
    ClockSetResult Apply(std::int64_t offsetNs) override;
};

// Measures only: remembers the offset and leaves the clock alone.
class DryRunClockSetter final : public ClockSetter {
public:
    ClockSetResult Apply(std::int64_t offsetNs) override;
    std::int64_t LastOffsetNs() const { return last_; }

private:
    std::int64_t last_ = 0;
};

} // namespace velmora
