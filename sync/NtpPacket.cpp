#include "NtpPacket.h"

#include <algorithm>

namespace velmora {

namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

std::uint64_t ReadU64(const std::uint8_t* p) {
    return (std::uint64_t(ReadU32(p)) << 32) | ReadU32(p + 4);
}

void WriteU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

void WriteU64(std::uint8_t* p, std::uint64_t v) {
    WriteU32(p, std::uint32_t(v >> 32));
    WriteU32(p + 4, std::uint32_t(v));
}

// A 16.16 fixed-point number of seconds in nanoseconds.
std::int64_t ShortToNs(std::uint32_t v) {
    return std::int64_t((std::uint64_t(v) * 1'000'000'000ULL) >> 16);
}

constexpr std::int64_t kNsPerSecond = 1'000'000'000LL;

std::int64_t Abs(std::int64_t v) {
    return v < 0 ? -v : v;
}

} // namespace

const char* NtpRejectName(NtpReject r) {
    switch (r) {
    case NtpReject::None:
        return "none";
    case NtpReject::TooShort:
        return "reply too short";
    case NtpReject::BadMode:
        return "not a server reply";
    case NtpReject::BadVersion:
        return "unknown version";
    case NtpReject::OriginMismatch:
        return "not an answer to our request";
    case NtpReject::KissOfDeath:
        return "kiss-o'-death";
    case NtpReject::BadStratum:
        return "invalid stratum";
    case NtpReject::Unsynchronized:
        return "server not synchronized";
    case NtpReject::ZeroReceive:
        return "no receive time";
    case NtpReject::ZeroTransmit:
        return "no transmit time";
    case NtpReject::ServerTimeReversed:
        return "server times reversed";
    case NtpReject::RootDistance:
        return "server too far from its reference";
    case NtpReject::BadDelay:
        return "implausible round trip";
    }
    return "?";
}

NtpTimestamp NtpFromUnixNs(std::int64_t unixNs) {
    // Floor division so that times before 1970 keep a fraction in [0, 1).
    std::int64_t sec = unixNs / kNsPerSecond;
    std::int64_t ns = unixNs % kNsPerSecond;
    if (ns < 0) {
        ns += kNsPerSecond;
        --sec;
    }
    const std::uint64_t ntpSec = std::uint64_t(sec + kUnixToNtpSeconds) & 0xFFFFFFFFu;
    const std::uint64_t frac = (std::uint64_t(ns) << 32) / kNsPerSecond;
    return (ntpSec << 32) | frac;
}

std::int64_t NtpDiffNs(NtpTimestamp a, NtpTimestamp b) {
    const std::int64_t d = std::int64_t(a - b); // wraps into the nearest era
    const std::int64_t sec = d >> 32;           // floor, also for negative d
    const std::uint64_t frac = std::uint64_t(d) & 0xFFFFFFFFu;
    return sec * kNsPerSecond + std::int64_t((frac * kNsPerSecond) >> 32);
}

NtpTimestamp NtpAddNs(NtpTimestamp t, std::int64_t ns) {
    std::int64_t sec = ns / kNsPerSecond;
    std::int64_t rest = ns % kNsPerSecond;
    if (rest < 0) {
        rest += kNsPerSecond;
        --sec;
    }
    const std::uint64_t delta =
        (std::uint64_t(sec) << 32) + (std::uint64_t(rest) << 32) / kNsPerSecond;
    return t + delta;
}

std::int64_t NtpToUnixNs(NtpTimestamp t, std::int64_t pivotUnixSeconds) {
    constexpr std::int64_t kEraSeconds = 1LL << 32;
    const std::int64_t era0 = std::int64_t(t >> 32) - kUnixToNtpSeconds;
    // The era that puts the time in [pivot - half an era, pivot + half an era):
    // floor((pivot - era0 + half - 1) / era).
    const std::int64_t shift = pivotUnixSeconds - era0 + kEraSeconds / 2 - 1;
    std::int64_t eras = shift / kEraSeconds;
    if (shift % kEraSeconds < 0)
        --eras;
    const std::int64_t sec = era0 + eras * kEraSeconds;
    const std::uint64_t frac = t & 0xFFFFFFFFu;
    return sec * kNsPerSecond + std::int64_t((frac * kNsPerSecond) >> 32);
}

std::array<std::uint8_t, kNtpPacketSize> BuildRequest(std::uint64_t nonce) {
    std::array<std::uint8_t, kNtpPacketSize> p{};
    p[0] = (0 << 6) | (4 << 3) | 3; // no leap warning, version 4, client
    WriteU64(p.data() + 40, nonce);
    return p;
}

NtpReject ParseReply(const std::uint8_t* data, std::size_t size, std::uint64_t nonce,
                     NtpReply* out) {
    if (data == nullptr || size < kNtpPacketSize)
        return NtpReject::TooShort;
    NtpReply r;
    r.leap = data[0] >> 6;
    r.version = (data[0] >> 3) & 7;
    r.mode = data[0] & 7;
    r.stratum = data[1];
    r.rootDelay = ReadU32(data + 4);
    r.rootDispersion = ReadU32(data + 8);
    r.referenceId = ReadU32(data + 12);
    r.origin = ReadU64(data + 24);
    r.receive = ReadU64(data + 32);
    r.transmit = ReadU64(data + 40);
    if (out)
        *out = r;

    if (r.mode != 4)
        return NtpReject::BadMode;
    if (r.version < 1 || r.version > 4)
        return NtpReject::BadVersion;
    // Before anything the server says is believed, it must prove it saw our request;
    // otherwise a forged kiss-o'-death could stop the run.
    if (r.origin != nonce)
        return NtpReject::OriginMismatch;
    if (r.stratum == 0)
        return NtpReject::KissOfDeath;
    if (r.stratum > 15)
        return NtpReject::BadStratum;
    if (r.leap == 3)
        return NtpReject::Unsynchronized;
    if (r.receive == 0)
        return NtpReject::ZeroReceive;
    if (r.transmit == 0)
        return NtpReject::ZeroTransmit;
    if (NtpDiffNs(r.transmit, r.receive) < 0)
        return NtpReject::ServerTimeReversed;
    // Root delay is signed in older versions of the protocol; a "negative" one is nonsense.
    if (r.rootDelay & 0x80000000u)
        return NtpReject::RootDistance;
    if (ShortToNs(r.rootDelay) / 2 + ShortToNs(r.rootDispersion) >= kMaxRootDistanceNs)
        return NtpReject::RootDistance;
    return NtpReject::None;
}

NtpSample ComputeSample(NtpTimestamp t1, NtpTimestamp t2, NtpTimestamp t3, NtpTimestamp t4) {
    const std::int64_t outbound = NtpDiffNs(t2, t1);
    const std::int64_t inbound = NtpDiffNs(t3, t4);
    NtpSample s;
    s.offsetNs = outbound / 2 + inbound / 2 + (outbound % 2 + inbound % 2) / 2;
    s.delayNs = NtpDiffNs(t4, t1) - NtpDiffNs(t3, t2);
    return s;
}

NtpSample ComputeSampleUnix(std::int64_t t1, std::int64_t t2, std::int64_t t3, std::int64_t t4) {
    // Each difference spans at most 136 years plus the local clock's error; halved
    // before they are added, so the sum cannot overflow.
    const std::int64_t outbound = t2 - t1;
    const std::int64_t inbound = t3 - t4;
    NtpSample s;
    s.offsetNs = outbound / 2 + inbound / 2 + (outbound % 2 + inbound % 2) / 2;
    s.delayNs = (t4 - t1) - (t3 - t2);
    return s;
}

NtpReject CheckDelay(std::int64_t delayNs) {
    if (delayNs < -kDelayToleranceNs || delayNs > kMaxDelayNs)
        return NtpReject::BadDelay;
    return NtpReject::None;
}

std::optional<NtpSample> SelectSample(const std::vector<NtpSample>& samples) {
    if (samples.size() < 2)
        return std::nullopt;
    const auto best = std::min_element(
        samples.begin(), samples.end(),
        [](const NtpSample& a, const NtpSample& b) { return a.delayNs < b.delayNs; });
    for (auto it = samples.begin(); it != samples.end(); ++it) {
        if (it == best)
            continue;
        // Each offset is uncertain by about half its round trip; both delays plus
        // the timestamp rounding bound how far two honest samples can differ.
        const std::int64_t allowed = std::max<std::int64_t>(best->delayNs, 0) +
                                     std::max<std::int64_t>(it->delayNs, 0) + kDelayToleranceNs;
        if (Abs(it->offsetNs - best->offsetNs) <= allowed)
            return *best;
    }
    return std::nullopt;
}

std::array<std::uint8_t, kNtpPacketSize> BuildServerReply(const std::uint8_t* request,
                                                          NtpTimestamp receive,
                                                          NtpTimestamp transmit, int stratum) {
    std::array<std::uint8_t, kNtpPacketSize> p{};
    const int version = (request[0] >> 3) & 7;
    p[0] = std::uint8_t((0 << 6) | (version << 3) | 4);
    p[1] = std::uint8_t(stratum);
    p[2] = request[2];
    p[3] = std::uint8_t(-20);           // about a microsecond
    WriteU32(p.data() + 4, 0x00000100); // root delay: a few milliseconds
    WriteU32(p.data() + 8, 0x00000100); // root dispersion
    WriteU32(p.data() + 12, stratum == 0 ? 0x52415445u /* RATE */ : 0x4C4F434Cu /* LOCL */);
    WriteU64(p.data() + 16, receive);                      // reference time
    std::copy(request + 40, request + 48, p.begin() + 24); // origin := their transmit
    WriteU64(p.data() + 32, receive);
    WriteU64(p.data() + 40, transmit);
    return p;
}

} // namespace velmora
