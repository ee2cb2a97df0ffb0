// The wire format's checks on crafted replies, the timestamp arithmetic across
// the 2036 era change, and the choice among samples.
#include "NtpPacket.h"

#include <functional>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

constexpr std::uint64_t kNonce = 0xA5A5'1234'5678'9ABCULL;
constexpr std::int64_t kSecond = 1'000'000'000LL;
constexpr std::int64_t kMs = 1'000'000LL;
// The first second of NTP era 1 (2036-02-07 06:28:16 UTC) in Unix time.
constexpr std::int64_t kEra1UnixSeconds = (1LL << 32) - kUnixToNtpSeconds;

using Packet = std::array<std::uint8_t, kNtpPacketSize>;

Packet GoodReply() {
    const NtpTimestamp now = NtpFromUnixNs(1'700'000'000LL * kSecond);
    return BuildServerReply(BuildRequest(kNonce).data(), now, NtpAddNs(now, 50'000), 2);
}

void PutU32(Packet& p, int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[at + i] = std::uint8_t(v >> (24 - 8 * i));
}

void PutU64(Packet& p, int at, std::uint64_t v) {
    PutU32(p, at, std::uint32_t(v >> 32));
    PutU32(p, at + 4, std::uint32_t(v));
}

void SetHeader(Packet& p, int leap, int version, int mode) {
    p[0] = std::uint8_t((leap << 6) | (version << 3) | mode);
}

struct RejectCase {
    const char* name;
    std::function<void(Packet&)> mutate;
    NtpReject expected;
};

} // namespace

TEST(NtpPacket, RequestCarriesTheNonceAndNothingElse) {
    const Packet p = BuildRequest(kNonce);
    EXPECT_EQ(p[0], (4 << 3) | 3);
    std::uint64_t carried = 0;
    for (int i = 40; i < 48; ++i)
        carried = (carried << 8) | p[i];
    EXPECT_EQ(carried, kNonce);
    for (int i = 1; i < 40; ++i)
        EXPECT_EQ(p[i], 0) << "byte " << i << " would reveal something";
}

TEST(NtpPacket, EveryRejectionReason) {
    const std::vector<RejectCase> cases = {
        {"good", [](Packet&) {}, NtpReject::None},
        {"leap warning is fine", [](Packet& p) { SetHeader(p, 1, 4, 4); }, NtpReject::None},
        {"version 1 is fine", [](Packet& p) { SetHeader(p, 0, 1, 4); }, NtpReject::None},
        {"stratum 15 is fine", [](Packet& p) { p[1] = 15; }, NtpReject::None},
        {"root distance just below the limit",
         [](Packet& p) {
             PutU32(p, 4, 0x00020000); // 2 s delay, counts half
             PutU32(p, 8, 0x0000FF00); // ~0.996 s
         },
         NtpReject::None},
        {"client mode", [](Packet& p) { SetHeader(p, 0, 4, 3); }, NtpReject::BadMode},
        {"broadcast mode", [](Packet& p) { SetHeader(p, 0, 4, 5); }, NtpReject::BadMode},
        {"version 0", [](Packet& p) { SetHeader(p, 0, 0, 4); }, NtpReject::BadVersion},
        {"version 5", [](Packet& p) { SetHeader(p, 0, 5, 4); }, NtpReject::BadVersion},
        {"other origin", [](Packet& p) { PutU64(p, 24, kNonce + 1); }, NtpReject::OriginMismatch},
        {"kiss-o'-death", [](Packet& p) { p[1] = 0; }, NtpReject::KissOfDeath},
        {"forged kiss-o'-death",
         [](Packet& p) {
             p[1] = 0;
             PutU64(p, 24, 42);
         },
         NtpReject::OriginMismatch},
        {"stratum 16", [](Packet& p) { p[1] = 16; }, NtpReject::BadStratum},
        {"unsynchronized", [](Packet& p) { SetHeader(p, 3, 4, 4); }, NtpReject::Unsynchronized},
        {"no receive time", [](Packet& p) { PutU64(p, 32, 0); }, NtpReject::ZeroReceive},
        {"no transmit time", [](Packet& p) { PutU64(p, 40, 0); }, NtpReject::ZeroTransmit},
        {"sent before received",
         [](Packet& p) { PutU64(p, 40, NtpFromUnixNs(1'700'000'000LL * kSecond - kMs)); },
         NtpReject::ServerTimeReversed},
        {"root dispersion 2 s", [](Packet& p) { PutU32(p, 8, 0x00020000); },
         NtpReject::RootDistance},
        {"root delay 5 s", [](Packet& p) { PutU32(p, 4, 0x00050000); }, NtpReject::RootDistance},
        {"negative root delay", [](Packet& p) { PutU32(p, 4, 0xFFFF0000); },
         NtpReject::RootDistance},
    };
    for (const RejectCase& c : cases) {
        Packet p = GoodReply();
        c.mutate(p);
        NtpReply reply;
        EXPECT_EQ(ParseReply(p.data(), p.size(), kNonce, &reply), c.expected) << c.name;
    }
}

TEST(NtpPacket, LengthRules) {
    const Packet p = GoodReply();
    EXPECT_EQ(ParseReply(p.data(), 47, kNonce, nullptr), NtpReject::TooShort);
    EXPECT_EQ(ParseReply(p.data(), 0, kNonce, nullptr), NtpReject::TooShort);
    EXPECT_EQ(ParseReply(nullptr, 48, kNonce, nullptr), NtpReject::TooShort);
    // Extension fields or a MAC after the header do not spoil the reply.
    std::vector<std::uint8_t> longer(p.begin(), p.end());
    longer.resize(68, 0xEE);
    NtpReply reply;
    ASSERT_EQ(ParseReply(longer.data(), longer.size(), kNonce, &reply), NtpReject::None);
    EXPECT_EQ(reply.stratum, 2);
    EXPECT_EQ(reply.origin, kNonce);
}

TEST(NtpPacket, DelayChecks) {
    EXPECT_EQ(CheckDelay(0), NtpReject::None);
    EXPECT_EQ(CheckDelay(-kMs / 2), NtpReject::None); // rounding noise
    EXPECT_EQ(CheckDelay(2 * kSecond), NtpReject::None);
    EXPECT_EQ(CheckDelay(-2 * kMs), NtpReject::BadDelay);
    EXPECT_EQ(CheckDelay(4 * kSecond), NtpReject::BadDelay);
}

TEST(NtpTime, UnixConversionAndDifferences) {
    EXPECT_EQ(NtpFromUnixNs(0), std::uint64_t(kUnixToNtpSeconds) << 32);
    EXPECT_EQ(NtpFromUnixNs(kEra1UnixSeconds * kSecond), 0u);
    const NtpTimestamp t = NtpFromUnixNs(1'700'000'000LL * kSecond + 250 * kMs);
    EXPECT_EQ(t & 0xFFFFFFFFu, 0x40000000u); // a quarter second
    const std::int64_t shifts[] = {
        0, 1, -1, 1500 * kMs, -1500 * kMs, 86400 * kSecond, -2'000'000'000LL * kSecond};
    for (const std::int64_t ns : shifts) {
        const std::int64_t back = NtpDiffNs(NtpAddNs(t, ns), t);
        EXPECT_LE(std::abs(back - ns), 1) << ns; // the 2^-32 s grid rounds
    }
}

TEST(NtpTime, DifferencesAcrossTheEraChange) {
    const NtpTimestamp before = NtpFromUnixNs(kEra1UnixSeconds * kSecond - 300 * kMs);
    const NtpTimestamp after = NtpFromUnixNs(kEra1UnixSeconds * kSecond + 700 * kMs);
    EXPECT_GT(before, after); // the raw values wrapped
    EXPECT_NEAR(double(NtpDiffNs(after, before)), double(kSecond), 1.0);
    EXPECT_NEAR(double(NtpDiffNs(before, after)), double(-kSecond), 1.0);
}

TEST(NtpTime, OffsetAndDelayAcrossTheEraAndNegative) {
    struct Case {
        const char* name;
        std::int64_t t1Unix; // ns
        std::int64_t offset; // server minus client
        std::int64_t oneWay; // each direction
        std::int64_t serverHold;
    };
    const std::int64_t era = kEra1UnixSeconds * kSecond;
    const Case cases[] = {
        {"ordinary day, ahead", 1'700'000'000LL * kSecond, 1500 * kMs, 10 * kMs, kMs},
        {"ordinary day, behind", 1'700'000'000LL * kSecond, -2300 * kMs, 15 * kMs, 0},
        {"client before the change, server after", era - 500 * kMs, 1500 * kMs, 20 * kMs, kMs},
        {"client after the change, server before", era + 200 * kMs, -900 * kMs, 5 * kMs, 0},
        {"a day's difference over the change", era - 3600 * kSecond, 86400 * kSecond, kMs, 0},
    };
    for (const Case& c : cases) {
        const NtpTimestamp t1 = NtpFromUnixNs(c.t1Unix);
        const NtpTimestamp t2 = NtpFromUnixNs(c.t1Unix + c.oneWay + c.offset);
        const NtpTimestamp t3 = NtpFromUnixNs(c.t1Unix + c.oneWay + c.serverHold + c.offset);
        const NtpTimestamp t4 = NtpFromUnixNs(c.t1Unix + 2 * c.oneWay + c.serverHold);
        const NtpSample s = ComputeSample(t1, t2, t3, t4);
        EXPECT_NEAR(double(s.offsetNs), double(c.offset), 2.0) << c.name;
        EXPECT_NEAR(double(s.delayNs), double(2 * c.oneWay), 2.0) << c.name;
    }
}

TEST(NtpSelection, LeastDelayWhenAnotherAgrees) {
    EXPECT_FALSE(SelectSample({}));
    EXPECT_FALSE(SelectSample({{1500 * kMs, kMs}})) << "one sample proves nothing";

    const auto best =
        SelectSample({{1510 * kMs, 30 * kMs}, {1500 * kMs, 2 * kMs}, {1520 * kMs, 40 * kMs}});
    ASSERT_TRUE(best);
    EXPECT_EQ(best->offsetNs, 1500 * kMs);
    EXPECT_EQ(best->delayNs, 2 * kMs);

    // The quickest answer is an outlier nobody confirms: no verdict.
    EXPECT_FALSE(SelectSample({{9000 * kMs, kMs}, {1500 * kMs, 5 * kMs}, {1502 * kMs, 6 * kMs}}));
    // Two samples disagreeing by more than their delays.
    EXPECT_FALSE(SelectSample({{0, 10 * kMs}, {100 * kMs, 10 * kMs}}));
    // Negative offsets are compared the same way.
    const auto behind = SelectSample({{-700 * kMs, 4 * kMs}, {-705 * kMs, 3 * kMs}});
    ASSERT_TRUE(behind);
    EXPECT_EQ(behind->offsetNs, -705 * kMs);
}

TEST(NtpTime, TheEraIsTheOneNearestTheBuildDate) {
    const std::int64_t build = 1'796'000'000; // December 2026
    constexpr std::int64_t kYear = 365LL * 86400;
    struct Case {
        const char* name;
        std::int64_t serverUnix; // seconds, the time the server means
        std::int64_t expected;   // seconds, as read
    };
    const Case cases[] = {
        {"now", build + 100, build + 100},
        {"just after the 2036 wrap", kEra1UnixSeconds + 5, kEra1UnixSeconds + 5},
        {"twenty years before the build", build - 20 * kYear, build - 20 * kYear},
        // 95 years ahead lies beyond the 68 years either way: it reads as 41
        // years behind, which is before the build date and refused by the step checks.
        {"95 years ahead", build + 95 * kYear, build + 95 * kYear - (1LL << 32)},
        {"1970", 0, 0},
        {"half an era before: the first second read as itself", build - (1LL << 31),
         build - (1LL << 31)},
        {"half an era after: already the earlier era", build + (1LL << 31), build - (1LL << 31)},
    };
    for (const Case& c : cases) {
        const NtpTimestamp t = NtpFromUnixNs(c.serverUnix * kSecond + 250 * kMs);
        EXPECT_EQ(NtpToUnixNs(t, build), c.expected * kSecond + 250 * kMs) << c.name;
    }
    // Offsets of any size keep their sign once both sides are absolute.
    const std::int64_t local = build * kSecond;
    const std::int64_t server = local - 20 * kYear * kSecond;
    const NtpSample s = ComputeSampleUnix(local, server + kMs, server + 2 * kMs, local + 3 * kMs);
    EXPECT_NEAR(double(s.offsetNs), double(-20 * kYear * kSecond), 2.0 * kMs);
    EXPECT_EQ(s.delayNs, 2 * kMs);
}
