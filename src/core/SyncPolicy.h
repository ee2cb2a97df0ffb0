// What the clock decides about the time sync's results: how far the clock is
// off, in the user's words, and how often a sync nobody asked for may step it.
#pragma once

#include <QString>
#include <cstdint>

namespace velmora {

// "3 h 0 min behind the time server" from the language's texts: `stepS` is the
// step the server's time asks for (positive: this computer's clock is behind).
// Under a day in hours and minutes, from a day on in days and hours.
QString ClockOffsetText(int64_t stepS);

// A sync nobody asked for at that moment (start-up, resume, a set time) may
// step the clock at most once in this time, so that answers that keep asking
// for a step cannot add up.
inline constexpr int64_t kUnattendedStepSpacingMs = 3'600'000;
// Whether an unattended sync may run at `nowMs` (a monotonic clock) when the
// last unattended one that set the clock ran at `lastStepMs` (negative: none).
bool UnattendedSyncAllowed(int64_t lastStepMs, int64_t nowMs);

} // namespace velmora
