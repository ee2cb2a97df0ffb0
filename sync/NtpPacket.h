// The NTP wire format and its arithmetic, free of sockets and clocks so that
// every check can be fed crafted bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// A 64-bit NTP timestamp: seconds since 1900 in the upper half, the fraction
// in the lower half. Era numbers are not carried: all arithmetic is done on
// differences, which stay right across the 2036 wrap as long as the two times
// are within 68 years of each other.
using NtpTimestamp = std::uint64_t;

inline constexpr std::size_t kNtpPacketSize = 48;
inline constexpr std::uint16_t kNtpPort = 123;
inline constexpr std::int64_t kUnixToNtpSeconds = 2208988800LL;
// A server farther from its reference than this is no source for a clock.
inline constexpr std::int64_t kMaxRootDistanceNs = 2'000'000'000LL;
// A round trip longer than this measures the network, not the clock.
inline constexpr std::int64_t kMaxDelayNs = 3'000'000'000LL;
// Timestamps are rounded by both sides; a slightly negative delay is noise.
inline constexpr std::int64_t kDelayToleranceNs = 1'000'000LL;

// Why a reply was not used.
enum class NtpReject {
    None,
    TooShort,           // fewer than 48 bytes
    BadMode,            // not a server reply (mode 4)
    BadVersion,         // version outside 1..4
    OriginMismatch,     // does not answer our request
    KissOfDeath,        // stratum 0: the server tells us to go away
    BadStratum,         // stratum above 15
    Unsynchronized,     // leap indicator 3: the server has no time
    ZeroReceive,        // receive timestamp missing
    ZeroTransmit,       // transmit timestamp missing
    ServerTimeReversed, // transmitted before it was received
    RootDistance,       // too far from its reference clock
    BadDelay,           // round trip negative or too long
};

const char* NtpRejectName(NtpReject r);

struct NtpReply {
    int leap = 0;
    int version = 0;
    int mode = 0;
    int stratum = 0;
    std::uint32_t rootDelay = 0;      // 16.16 seconds
    std::uint32_t rootDispersion = 0; // 16.16 seconds
    std::uint32_t referenceId = 0;
    NtpTimestamp origin = 0;
    NtpTimestamp receive = 0;
    NtpTimestamp transmit = 0;
};

// One measurement, in nanoseconds: how far the local clock is behind the
// server (positive: the local clock must go forward) and the round trip.
struct NtpSample {
    std::int64_t offsetNs = 0;
    std::int64_t delayNs = 0;
};

// Unix time in nanoseconds to an NTP timestamp (modulo the era).
NtpTimestamp NtpFromUnixNs(std::int64_t unixNs);
// a - b in nanoseconds, taken as the signed difference of the fixed-point values.
std::int64_t NtpDiffNs(NtpTimestamp a, NtpTimestamp b);
// An NTP timestamp shifted by a signed number of nanoseconds (modulo the era).
NtpTimestamp NtpAddNs(NtpTimestamp t, std::int64_t ns);

// The wire carries no era. A server's time is taken in the era that puts it
// nearest `pivotUnixSeconds` (the program's build date), within 68 years of it
// either way: a time far from the build date is then seen for what it is (the
// step checks refuse anything before the build date) instead of depending on
// where the local clock happens to stand. Unix time in nanoseconds; the pivot
// must lie between 1970 and 2100 so that the result fits.
std::int64_t NtpToUnixNs(NtpTimestamp t, std::int64_t pivotUnixSeconds);

// A client request (version 4, mode 3) whose transmit field carries `nonce`.
// The nonce is random, never the local time: it proves the reply is ours and
// tells an observer nothing about this machine's clock.
std::array<std::uint8_t, kNtpPacketSize> BuildRequest(std::uint64_t nonce);

// Reads and checks a reply to the request that carried `nonce`.
NtpReject ParseReply(const std::uint8_t* data, std::size_t size, std::uint64_t nonce,
                     NtpReply* out);

// θ and δ from the four times: t1 sent, t2 received by the server, t3 sent by
// the server, t4 received here.
NtpSample ComputeSample(NtpTimestamp t1, NtpTimestamp t2, NtpTimestamp t3, NtpTimestamp t4);
// The same from absolute times (Unix nanoseconds): the local times as the local
// clock reads them, the server's with their era resolved. Offsets of any size
// come out with their true sign.
NtpSample ComputeSampleUnix(std::int64_t t1, std::int64_t t2, std::int64_t t3, std::int64_t t4);
// BadDelay for a round trip nobody should trust, otherwise None.
NtpReject CheckDelay(std::int64_t delayNs);

// The sample with the least delay, provided at least one other sample agrees
// with it within their delays; nullopt when none qualifies.
std::optional<NtpSample> SelectSample(const std::vector<NtpSample>& samples);

// The server side of the exchange, for test servers: a mode 4 reply to
// `request` (which must be at least 48 bytes).
std::array<std::uint8_t, kNtpPacketSize> BuildServerReply(const std::uint8_t* request,
                                                          NtpTimestamp receive,
                                                          NtpTimestamp transmit, int stratum);

} // namespace velmora
