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

quint16 BindLoopback(int fd, quint32 address = INADDR_LOOPBACK, quint16 port = 0) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(address);
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

    // On 127.0.0.1 and a free port, or on another loopback address and a given port
    // (two servers behind one name).
    explicit FakeNtpServer(Behaviour b, quint32 address = INADDR_LOOPBACK, quint16 port = 0)
        : behaviour_(b), socket_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)),
          other_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        port_ = BindLoopback(socket_.Get(), address, port);
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
    client.SetLocalClock([toEraEnd] { return SystemUnixNs() + toEraEnd; });
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

namespace {

constexpr std::int64_t kDay = 86'400'000'000'000LL;
const quint32 kLoopback2 = 0x7F000002; // 127.0.0.2, also this machine

// Two servers, on 127.0.0.1 and 127.0.0.2, running `a` and `b` ahead, known by
// these names: "pool.example" has both addresses, "a.example" and
// "alias.example" the first, "b.example" the second.
struct TwoServers {
    TwoServers(std::int64_t a, std::int64_t b)
        : first({a}), second({b}, kLoopback2, first.Port()) {}
    NtpClient Client() const {
        NtpClient client(QuickOptions());
        client.SetResolver([](const QString& host, int) {
            const QHostAddress one("127.0.0.1");
            const QHostAddress two("127.0.0.2");
            if (host == "pool.example")
                return QList<QHostAddress>{one, two};
            return QList<QHostAddress>{host == "b.example" ? two : one};
        });
        return client;
    }
    QList<ServerSpec> Names(const QStringList& hosts) const {
        QList<ServerSpec> out;
        for (const QString& h : hosts)
            out << ServerSpec{h, first.Port()};
        return out;
    }
    FakeNtpServer first;
    FakeNtpServer second;
};

} // namespace

TEST(NtpClient, AStepOverADayNeedsASecondServerName) {
    struct Case {
        const char* name;
        std::int64_t a, b;
        QStringList hosts;
        SyncResult result;
        int agreeing;
        std::int64_t localAhead = 0; // how far this machine's clock runs ahead
    };
    const Case cases[] = {
        {"one address, two days ahead", 2 * kDay, 2 * kDay, {"a.example"}, SyncResult::Failed, 1},
        {"two addresses of one name agree",
         2 * kDay,
         2 * kDay,
         {"pool.example"},
         SyncResult::Failed,
         1},
        {"two names agree",
         2 * kDay,
         2 * kDay + 300 * kMs,
         {"a.example", "b.example"},
         SyncResult::ClockSet,
         2},
        {"two names of one address",
         2 * kDay,
         2 * kDay,
         {"a.example", "alias.example"},
         SyncResult::Failed,
         1},
        {"one name given twice",
         2 * kDay,
         2 * kDay,
         {"pool.example", "POOL.example"},
         SyncResult::Failed,
         1},
        {"two names disagree", 2 * kDay, 0, {"a.example", "b.example"}, SyncResult::Failed, 1},
        {"ten days back, one name", 0, 0, {"pool.example"}, SyncResult::Failed, 1, 10 * kDay},
        {"ten days back, two names agree",
         0,
         0,
         {"a.example", "b.example"},
         SyncResult::ClockSet,
         2,
         10 * kDay},
    };
    for (const Case& c : cases) {
        TwoServers servers(c.a, c.b);
        NtpClient client = servers.Client();
        const std::int64_t ahead = c.localAhead;
        client.SetLocalClock([ahead] { return SystemUnixNs() + ahead; });
        RecordingClockSetter setter;
        // Asked, and the user said yes to the amount.
        const SyncRequest request{servers.Names(c.hosts), (c.a - c.localAhead) / 1'000'000'000LL};
        const SyncOutcome out = RunSync(request, client, setter);
        ASSERT_EQ(out.measurement.outcome, NtpOutcome::Measured) << c.name;
        EXPECT_EQ(out.measurement.agreeingServers, c.agreeing) << c.name;
        EXPECT_EQ(out.result, c.result) << c.name;
        EXPECT_EQ(setter.applied.size(), c.result == SyncResult::ClockSet ? 1u : 0u) << c.name;
        if (c.result != SyncResult::ClockSet)
            EXPECT_EQ(out.step, StepVerdict::Unconfirmed) << c.name;
        else
            EXPECT_NEAR(double(setter.applied.front()), double(c.a - c.localAhead), 5.0 * kMs)
                << c.name;
    }
}

TEST(NtpClient, StepsOverThePanicThresholdWaitForTheUsersYes) {
    struct Case {
        const char* name;
        std::int64_t offset;
        std::optional<std::int64_t> approvedS;
        SyncResult result;
        SyncReason reason;
    };
    const Case cases[] = {
        {"500 s, unattended", 500'000 * kMs, std::nullopt, SyncResult::ClockSet, SyncReason::None},
        {"3 hours, unattended", 10'800'000 * kMs, std::nullopt, SyncResult::Failed,
         SyncReason::StepTooLarge},
        {"3 hours back, unattended", -10'800'000 * kMs, std::nullopt, SyncResult::Failed,
         SyncReason::StepTooLarge},
        {"3 hours, yes to 3 hours", 10'800'000 * kMs, 10800, SyncResult::ClockSet,
         SyncReason::None},
        {"3 hours, yes to 1 hour", 10'800'000 * kMs, 3600, SyncResult::Failed,
         SyncReason::StepTooLarge},
    };
    for (const Case& c : cases) {
        FakeNtpServer server({c.offset});
        const NtpClient client(QuickOptions());
        RecordingClockSetter setter;
        const SyncRequest request{{ServerSpec{"127.0.0.1", server.Port()}}, c.approvedS};
        const SyncOutcome out = RunSync(request, client, setter);
        ASSERT_EQ(out.measurement.outcome, NtpOutcome::Measured) << c.name;
        EXPECT_EQ(out.result, c.result) << c.name;
        EXPECT_EQ(OutcomeReason(out), c.reason) << c.name;
        EXPECT_EQ(setter.applied.size(), c.result == SyncResult::ClockSet ? 1u : 0u) << c.name;
        EXPECT_NEAR(double(StepSeconds(out.measurement.sample.offsetNs)), double(c.offset / 1e9),
                    1.0)
            << c.name;
    }
}

TEST(NtpClient, SmallStepsNeedOneServerOnly) {
    TwoServers servers(700 * kMs, 0);
    const NtpClient client = servers.Client();
    const NtpMeasurement m = client.Measure(servers.Names({"a.example", "b.example"}));
    ASSERT_EQ(m.outcome, NtpOutcome::Measured);
    EXPECT_EQ(m.agreeingServers, 1);
    EXPECT_EQ(servers.second.Requests(), 0) << "a small step asks no second server";
}

TEST(NtpClient, AServerThatFailsLeavesItToTheNext) {
    TwoServers servers(-400 * kMs, -400 * kMs);
    NtpClient client = servers.Client();
    const NtpMeasurement m = client.Measure(
        {ServerSpec{"a.example", DeadPort()}, ServerSpec{"b.example", servers.first.Port()}});
    ASSERT_EQ(m.outcome, NtpOutcome::Measured);
    EXPECT_EQ(m.server, QHostAddress("127.0.0.2"));
}

TEST(NtpClient, ServersFarFromTheBuildDateAreNeverBelieved) {
    // Twenty years behind, and 95 years ahead (which the wire's era wrap turns
    // into 41 years behind): both before the build date, so never set, even
    // when two addresses agree.
    constexpr std::int64_t kYear = 365LL * kDay;
    for (const std::int64_t offset : {-20 * kYear, 95 * kYear}) {
        TwoServers servers(offset, offset);
        const NtpClient client = servers.Client();
        RecordingClockSetter setter;
        const SyncRequest request{servers.Names({"a.example", "b.example"}), offset / kDay * 86400};
        const SyncOutcome out = RunSync(request, client, setter);
        ASSERT_EQ(out.measurement.outcome, NtpOutcome::Measured) << offset;
        EXPECT_LT(out.measurement.sample.offsetNs, -19 * kYear) << offset;
        EXPECT_EQ(out.step, StepVerdict::BeforeBuildDate) << offset;
        EXPECT_EQ(out.result, SyncResult::Failed) << offset;
        EXPECT_TRUE(setter.applied.empty()) << offset;
    }
}

TEST(Resolver, AHangingLookupIsAbandonedAtItsDeadline) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    const QList<QHostAddress> got = ResolveWithDeadline(
        [release, finished] {
            while (!*release)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            *finished = true;
            return QList<QHostAddress>{QHostAddress("192.0.2.1")};
        },
        100);
    EXPECT_TRUE(got.isEmpty());
    EXPECT_FALSE(*finished) << "the caller went on while the lookup still hung";
    *release = true;
    while (!*finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    const QList<QHostAddress> quick =
        ResolveWithDeadline([] { return QList<QHostAddress>{QHostAddress("192.0.2.2")}; }, 30000);
    EXPECT_EQ(quick, QList<QHostAddress>{QHostAddress("192.0.2.2")});
}
