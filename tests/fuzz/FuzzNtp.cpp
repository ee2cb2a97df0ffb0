// Feeds arbitrary bytes to the NTP reply parser as a server's answer.
// Beyond not crashing: an accepted reply satisfies every promise the parser
// makes, the arithmetic on its timestamps stays defined, and the era chosen for
// any timestamp lies nearest the build date and keeps the wire's seconds.
#include "NtpPacket.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The nonce is taken from the bytes themselves half of the time, so that the
    // checks past the origin comparison are reached.
    std::uint64_t nonce = 0x0123456789ABCDEFULL;
    if (size >= 48 && (data[0] & 0x80) == 0) {
        nonce = 0;
        for (int i = 24; i < 32; ++i)
            nonce = (nonce << 8) | data[i];
    }
    NtpReply reply;
    const NtpReject r = ParseReply(data, size, nonce, &reply);
    if (size >= 48) {
        // Any build date from 1970 to 2100, taken from the bytes.
        std::uint64_t raw = 0;
        for (int i = 16; i < 24; ++i)
            raw = (raw << 8) | data[i];
        const std::int64_t pivot = std::int64_t(raw % 4'102'444'800ULL);
        const NtpTimestamp t = reply.transmit;
        const std::int64_t ns = NtpToUnixNs(t, pivot);
        const std::int64_t sec =
            ns >= 0 ? ns / 1'000'000'000LL : -((-ns + 999'999'999LL) / 1'000'000'000LL);
        const std::int64_t half = std::int64_t(1) << 31;
        if (sec < pivot - half || sec >= pivot + half)
            std::abort();
        if (std::uint32_t(sec + kUnixToNtpSeconds) != std::uint32_t(t >> 32))
            std::abort();
        const std::int64_t t1 = ns - std::int64_t(raw % 1'000'000'000ULL);
        (void)ComputeSampleUnix(t1, ns, NtpToUnixNs(reply.receive, pivot), t1 + 1);
    }
    if (r == NtpReject::None) {
        if (reply.mode != 4 || reply.version < 1 || reply.version > 4 || reply.stratum < 1 ||
            reply.stratum > 15 || reply.leap == 3 || reply.receive == 0 || reply.transmit == 0 ||
            reply.origin != nonce)
            std::abort();
        const NtpSample s =
            ComputeSample(nonce, reply.receive, reply.transmit, nonce ^ reply.receive);
        (void)CheckDelay(s.delayNs);
        (void)SelectSample({s, s});
    }
    return 0;
}
