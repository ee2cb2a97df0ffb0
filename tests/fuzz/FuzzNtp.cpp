// Feeds arbitrary bytes to the NTP reply parser as a server's answer.
// Beyond not crashing: an accepted reply satisfies every promise the parser
// makes, and the arithmetic on its timestamps stays defined.
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
