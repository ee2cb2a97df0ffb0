// Moving the system clock, kept apart from measuring so that nothing but the
// real tool ever touches the machine's time (tests use a recording fake).
#pragma once

#include <cstdint>

namespace velmora {

enum class ClockSetResult { Applied, NoPermission, Failed };

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

// Steps the real clock by the offset in one relative step, so that the time
// spent between measuring and setting does not count; falls back to setting
// the absolute time where the relative step is not available.
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
