// The client against a small NTP server living in the test on 127.0.0.1: the
// measured offset, a silent port, a kiss-o'-death, forged answers, and the
// clock setter receiving the offset (a recording fake: the machine's clock is
// never touched).
#include "NtpClient.h"

#include "SyncTool.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace velmora;

namespace {

constexpr std::int64_t kMs = 1'000'000LL;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

quint16 BindLoopback(int fd) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
        return 0;
    socklen_t len = sizeof(addr);
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);
}

// Answers every request on its own thread until destroyed.
class FakeNtpServer {
public:
    struct Behaviour {
        std::int64_t offsetNs = 0;
        int stratum = 2;
        // Before the true answer, a forged one with a wild time arrives from
        // another port of the same machine.
        bool forgeFromOtherPort = false;
        // An answer that echoes some other origin, then the true one.
        bool staleAnswerFirst = false;
        // Cut every answer to this many bytes.
        std::size_t length = kNtpPacketSize;
    };

    explicit FakeNtpServer(Behaviour b)
        : behaviour_(b), socket_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)),
          other_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        port_ = BindLoopback(socket_.Get());
        BindLoopback(other_.Get());
        thread_ = std::thread([this] { Serve(); });
    }
    ~FakeNtpServer() {
        stop_ = true;
        thread_.join();
    }
    quint16 Port() const { return port_; }
    int Requests() const { return requests_; }
    // The transmit fields of the requests seen so far.
    std::vector<std::uint64_t> Nonces() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return nonces_;
    }

private:
    void Serve() {
        while (!stop_) {
            pollfd pfd{socket_.Get(), POLLIN, 0};
            if (poll(&pfd, 1, 50) <= 0)
                continue;
            std::uint8_t request[512];
            sockaddr_in from{};
            socklen_t len = sizeof(from);
            const ssize_t n = recvfrom(socket_.Get(), request, sizeof(request), 0,
                                       reinterpret_cast<sockaddr*>(&from), &len);
            if (n < ssize_t(kNtpPacketSize))
                continue;
            ++requests_;
            {
                std::uint64_t nonce = 0;
                for (int i = 40; i < 48; ++i)
                    nonce = (nonce << 8) | request[i];
                std::lock_guard<std::mutex> lock(mutex_);
                nonces_.push_back(nonce);
            }
            const NtpTimestamp now = NtpAddNs(SystemNtpTime(), behaviour_.offsetNs);
            auto reply = BuildServerReply(request, now, now, behaviour_.stratum);
            const auto* to = reinterpret_cast<sockaddr*>(&from);
            if (behaviour_.forgeFromOtherPort) {
                auto forged =
                    BuildServerReply(request, now + (3600ULL << 32), now + (3600ULL << 32), 1);
                sendto(other_.Get(), forged.data(), forged.size(), 0, to, len);
            }
            if (behaviour_.staleAnswerFirst) {
                auto stale = reply;
                stale[31] ^= 0xFF;
                stale[41] ^= 0x55;
                sendto(socket_.Get(), stale.data(), stale.size(), 0, to, len);
            }
            sendto(socket_.Get(), reply.data(), behaviour_.length, 0, to, len);
        }
    }

    Behaviour behaviour_;
    Fd socket_;
    Fd other_;
    quint16 port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::vector<std::uint64_t> nonces_;
    std::thread thread_;
};

class RecordingClockSetter final : public ClockSetter {
public:
    ClockSetResult Apply(std::int64_t offsetNs) override {
        applied.push_back(offsetNs);
        return answer;
    }
    std::vector<std::int64_t> applied;
    ClockSetResult answer = ClockSetResult::Applied;
};

NtpClientOptions QuickOptions() {
    NtpClientOptions o;
    o.samples = 4;
    o.spacingMs = 20;
    o.replyTimeoutMs = 1000;
    o.budgetMs = 10000;
    return o;
}

// A port nobody listens on: bound, read and released.
quint16 DeadPort() {
    Fd probe(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return BindLoopback(probe.Get());
}

} // namespace

TEST(NtpClient, MeasuresTheServersOffset) {
    for (const std::int64_t offset : {1500 * kMs, -2750 * kMs}) {
        FakeNtpServer server({offset});
        const NtpClient client(QuickOptions());
        RecordingClockSetter setter;
        const SyncOutcome out = RunSync({"127.0.0.1", server.Port()}, client, setter);
        ASSERT_EQ(out.result, SyncResult::ClockSet) << offset;
        EXPECT_EQ(out.measurement.outcome, NtpOutcome::Measured);
        EXPECT_NEAR(double(out.measurement.sample.offsetNs), double(offset), 5.0 * kMs);
        EXPECT_GE(out.measurement.sample.delayNs, -kMs);
        ASSERT_EQ(setter.applied.size(), 1u);
        EXPECT_EQ(setter.applied.front(), out.measurement.sample.offsetNs);
        EXPECT_EQ(server.Requests(), 4);
    }
}

TEST(NtpClient, RequestsCarryFreshNoncesNotTheTime) {
    FakeNtpServer server({0});
    const NtpClient client(QuickOptions());
    ASSERT_EQ(client.Measure({"127.0.0.1", server.Port()}).outcome, NtpOutcome::Measured);
    ASSERT_EQ(client.Measure({"127.0.0.1", server.Port()}).outcome, NtpOutcome::Measured);
    std::vector<std::uint64_t> nonces = server.Nonces();
    ASSERT_EQ(nonces.size(), 8u);
    const NtpTimestamp now = SystemNtpTime();
    for (const std::uint64_t n : nonces) {
        EXPECT_NE(n, 0u);
        // Close to the real time would give the local clock away (chance for a
        // random value: about one in 10^8).
        EXPECT_GT(std::abs(NtpDiffNs(n, now)), 60LL * 1'000'000'000LL);
    }
    std::sort(nonces.begin(), nonces.end());
    EXPECT_EQ(std::adjacent_find(nonces.begin(), nonces.end()), nonces.end()) << "a nonce repeated";
}

TEST(NtpClient, MeasuresAcrossTheEraChange) {
    // This machine's clock reads just before the 2036 wrap, the server's just
    // after it: the raw timestamps wrap between request and answer.
    const NtpTimestamp start = SystemNtpTime();
    const std::int64_t toEraEnd = NtpDiffNs(NtpTimestamp(0) - (NtpTimestamp(1) << 30), start);
    FakeNtpServer server({toEraEnd + 1500 * kMs});
    NtpClient client(QuickOptions());
    client.SetLocalClock([toEraEnd] { return NtpAddNs(SystemNtpTime(), toEraEnd); });
    const NtpMeasurement m = client.Measure({"127.0.0.1", server.Port()});
    ASSERT_EQ(m.outcome, NtpOutcome::Measured);
    EXPECT_NEAR(double(m.sample.offsetNs), double(1500 * kMs), 5.0 * kMs);
}

TEST(NtpClient, DeadPortFailsWithoutSettingTheClock) {
    const NtpClient client(QuickOptions());
    RecordingClockSetter setter;
    const SyncOutcome out = RunSync({"127.0.0.1", DeadPort()}, client, setter);
    EXPECT_EQ(out.result, SyncResult::Failed);
    EXPECT_EQ(out.measurement.outcome, NtpOutcome::NoAnswer);
    EXPECT_TRUE(setter.applied.empty());
}

TEST(NtpClient, KissOfDeathEndsTheRun) {
    FakeNtpServer server({0, /*stratum*/ 0});
    const NtpClient client(QuickOptions());
    RecordingClockSetter setter;
    const SyncOutcome out = RunSync({"127.0.0.1", server.Port()}, client, setter);
    EXPECT_EQ(out.result, SyncResult::Failed);
    EXPECT_EQ(out.measurement.outcome, NtpOutcome::KissOfDeath);
    EXPECT_EQ(server.Requests(), 1) << "no further request after being told to stop";
    EXPECT_TRUE(setter.applied.empty());
}

TEST(NtpClient, UnsynchronizedAnswersAreRejected) {
    FakeNtpServer server({0, /*stratum*/ 16});
    const NtpClient client(QuickOptions());
    RecordingClockSetter setter;
    const SyncOutcome out = RunSync({"127.0.0.1", server.Port()}, client, setter);
    EXPECT_EQ(out.result, SyncResult::Failed);
    EXPECT_EQ(out.measurement.outcome, NtpOutcome::Rejected);
    EXPECT_EQ(out.measurement.lastReject, NtpReject::BadStratum);
    EXPECT_TRUE(setter.applied.empty());
}

TEST(NtpClient, ForgedAndStaleAnswersAreIgnored) {
    FakeNtpServer::Behaviour b;
    b.offsetNs = 800 * kMs;
    b.forgeFromOtherPort = true;
    b.staleAnswerFirst = true;
    FakeNtpServer server(b);
    const NtpClient client(QuickOptions());
    const NtpMeasurement m = client.Measure({"127.0.0.1", server.Port()});
    ASSERT_EQ(m.outcome, NtpOutcome::Measured);
    EXPECT_NEAR(double(m.sample.offsetNs), double(800 * kMs), 5.0 * kMs);
}

TEST(NtpClient, TruncatedAnswersCountAsSilence) {
    FakeNtpServer::Behaviour b;
    b.length = 40;
    FakeNtpServer server(b);
    NtpClientOptions options = QuickOptions();
    options.replyTimeoutMs = 300;
    const NtpClient client(options);
    const NtpMeasurement m = client.Measure({"127.0.0.1", server.Port()});
    EXPECT_EQ(m.outcome, NtpOutcome::NoAnswer);
    EXPECT_EQ(m.lastReject, NtpReject::TooShort);
}

TEST(NtpClient, TriesEveryAddressInTurn) {
    FakeNtpServer server({-300 * kMs});
    NtpClient client(QuickOptions());
    QStringList asked;
    // The first address has no server (or no IPv6 at all on this machine);
    // the second one answers.
    client.SetResolver([&](const QString& host, int) {
        asked << host;
        return QList<QHostAddress>{QHostAddress("::1"), QHostAddress("127.0.0.1")};
    });
    const NtpMeasurement m = client.Measure({"time.example", server.Port()});
    EXPECT_EQ(asked, QStringList{"time.example"});
    ASSERT_EQ(m.outcome, NtpOutcome::Measured);
    EXPECT_EQ(m.server, QHostAddress("127.0.0.1"));
    EXPECT_NEAR(double(m.sample.offsetNs), double(-300 * kMs), 5.0 * kMs);
}

TEST(NtpClient, UnknownNameFails) {
    NtpClient client(QuickOptions());
    client.SetResolver([](const QString&, int) { return QList<QHostAddress>{}; });
    RecordingClockSetter setter;
    const SyncOutcome out = RunSync({"nowhere.invalid", 123}, client, setter);
    EXPECT_EQ(out.result, SyncResult::Failed);
    EXPECT_EQ(out.measurement.outcome, NtpOutcome::NotResolved);
    EXPECT_TRUE(setter.applied.empty());
}

TEST(NtpClient, RefusedClockChangeIsAFailure) {
    FakeNtpServer server({100 * kMs});
    const NtpClient client(QuickOptions());
    RecordingClockSetter setter;
    setter.answer = ClockSetResult::NoPermission;
    const SyncOutcome out = RunSync({"127.0.0.1", server.Port()}, client, setter);
    EXPECT_EQ(out.measurement.outcome, NtpOutcome::Measured);
    EXPECT_EQ(out.result, SyncResult::Failed);
    EXPECT_EQ(setter.applied.size(), 1u);
}
