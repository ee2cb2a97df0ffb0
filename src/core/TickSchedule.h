// Which seconds a clock tick must run its time-of-day checks for.
#pragma once

#include <QDateTime>
#include <optional>
#include <vector>

namespace velmora {

// Ticks can come late (a busy machine, a modal message box). A tick that finds
// seconds skipped since the previous one checks each of them, so an alarm or a
// timed command set for a skipped second still fires; a jump of more than
// kMaxReplaySeconds (sleep, a clock step) or backwards is not replayed.
class TTickSchedule {
public:
    static constexpr qint64 kMaxReplaySeconds = 60;

    // The local wall-clock seconds (milliseconds dropped) to check, oldest first,
    // ending with `now` itself.
    std::vector<QDateTime> SecondsToCheck(const QDateTime& now);
    void Reset() { FLast.reset(); }

private:
    std::optional<QDateTime> FLast;
};

// `dt` with its milliseconds set to zero.
QDateTime WholeSecond(const QDateTime& dt);

} // namespace velmora
