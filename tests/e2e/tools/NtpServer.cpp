// A tiny NTP server on the loopback address for end-to-end tests and the
// benchmark: NtpServer <port> <offset-ms> [<IPv4 address>] answers client
// requests with a stratum 2 reply whose clock runs offset-ms ahead of this
// machine's. It listens on 127.0.0.1, or on the address given (another
// loopback address: two servers behind one name). Prints "ready <port>" once it
// listens (port 0 picks a free one).
#include "NtpClient.h"
#include "NtpPacket.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace velmora;

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: NtpServer <port> <offset-ms> [<IPv4 address>]\n");
        return 2;
    }
    char* end = nullptr;
    const long port = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || port < 0 || port > 65535)
        return 2;
    const double offsetMs = std::strtod(argv[2], &end);
    if (*end != '\0')
        return 2;
    const auto offsetNs = std::int64_t(offsetMs * 1e6);

    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (argc == 4 && inet_pton(AF_INET, argv[3], &addr.sin_addr) != 1)
        return 2;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        std::perror("NtpServer: bind");
        return 1;
    }
    socklen_t len = sizeof(addr);
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    std::printf("ready %u\n", unsigned(ntohs(addr.sin_port)));
    std::fflush(stdout);

    for (;;) {
        std::uint8_t request[512];
        sockaddr_in from{};
        socklen_t fromLen = sizeof(from);
        const ssize_t n =
            recvfrom(fd, request, sizeof(request), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < ssize_t(kNtpPacketSize) || (request[0] & 7) != 3)
            continue;
        const NtpTimestamp receive = NtpAddNs(SystemNtpTime(), offsetNs);
        const NtpTimestamp transmit = NtpAddNs(SystemNtpTime(), offsetNs);
        const auto reply = BuildServerReply(request, receive, transmit, 2);
        sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLen);
    }
}
