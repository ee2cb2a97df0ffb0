#include "NtpClient.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QThread>
#include <QUrl>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <mutex>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace velmora {

std::optional<ServerSpec> ParseServerSpec(const QString& text) {
    const QString t = text.trimmed();
    ServerSpec target;
    QString portText;
    bool hasPort = false;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        target.host = t.mid(1, close - 1);
        const QString rest = t.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            portText = rest.mid(1);
            hasPort = true;
        }
        // Brackets are for addresses with colons only.
        if (QHostAddress(target.host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
    } else if (t.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = t.indexOf(QLatin1Char(':'));
        target.host = t.left(colon);
        portText = t.mid(colon + 1);
        hasPort = true;
    } else {
        target.host = t; // a name, an IPv4 address or a bare IPv6 address
    }
    if (target.host.isEmpty() || target.host.contains(QLatin1Char('[')) ||
        target.host.contains(QLatin1Char(']')))
        return std::nullopt;
    if (hasPort) {
        bool ok = false;
        const uint port = portText.toUInt(&ok, 10);
        if (!ok || port == 0 || port > 65535 || portText.startsWith(QLatin1Char('+')))
            return std::nullopt;
        target.port = quint16(port);
    }
    return target;
}

std::optional<QList<ServerSpec>> ParseServerList(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > kMaxServers)
        return std::nullopt;
    QList<ServerSpec> servers;
    for (const QString& part : parts) {
        const auto server = ParseServerSpec(part);
        if (!server)
            return std::nullopt;
        servers << *server;
    }
    return servers;
}

QList<QHostAddress> ResolveWithDeadline(std::function<QList<QHostAddress>()> lookup,
                                        int timeoutMs) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        QList<QHostAddress> addresses;
    };
    auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, lookup = std::move(lookup)] {
            QList<QHostAddress> found = lookup();
            const std::lock_guard<std::mutex> lock(shared->mutex);
            shared->addresses = std::move(found);
            shared->finished = true;
            shared->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (!shared->done.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                               [&shared] { return shared->finished; }))
        return {};
    return shared->addresses;
}

namespace {

// The system resolver, called directly: Qt's lookup threads are waited for when
// the program ends, which would hold the tool as long as the resolver hangs.
QList<QHostAddress> LookupAddresses(const QByteArray& ace) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    QList<QHostAddress> out;
    if (getaddrinfo(ace.constData(), nullptr, &hints, &list) != 0)
        return out;
    for (addrinfo* i = list; i; i = i->ai_next) {
        const QHostAddress address(i->ai_addr);
        if (!address.isNull() && !out.contains(address))
            out << address;
    }
    freeaddrinfo(list);
    return out;
}

} // namespace

QList<QHostAddress> ResolveHost(const QString& host, int timeoutMs) {
    const QHostAddress literal(host);
    if (!literal.isNull())
        return {literal};
    const QByteArray ace = QUrl::toAce(host);
    if (ace.isEmpty())
        return {};
    return ResolveWithDeadline([ace] { return LookupAddresses(ace); }, timeoutMs);
}

NtpTimestamp SystemNtpTime() {
    return NtpFromUnixNs(SystemUnixNs());
}

std::int64_t SystemUnixNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return std::int64_t(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

bool OffsetsAgree(const NtpSample& a, const NtpSample& b) {
    const std::int64_t allowed = std::max<std::int64_t>(a.delayNs, 0) +
                                 std::max<std::int64_t>(b.delayNs, 0) + 1'000'000'000LL;
    const std::int64_t d = a.offsetNs - b.offsetNs;
    return (d < 0 ? -d : d) <= allowed;
}

namespace {

class UdpSocket {
public:
    explicit UdpSocket(int family) : fd_(socket(family, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~UdpSocket() {
        if (fd_ >= 0)
            close(fd_);
    }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

struct Endpoint {
    sockaddr_storage addr{};
    socklen_t len = 0;
};

std::optional<Endpoint> ToEndpoint(const QHostAddress& address, quint16 port) {
    Endpoint e;
    if (address.protocol() == QAbstractSocket::IPv4Protocol) {
        auto* in = reinterpret_cast<sockaddr_in*>(&e.addr);
        in->sin_family = AF_INET;
        in->sin_port = htons(port);
        in->sin_addr.s_addr = htonl(address.toIPv4Address());
        e.len = sizeof(sockaddr_in);
    } else if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&e.addr);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(port);
        const Q_IPV6ADDR raw = address.toIPv6Address();
        std::memcpy(&in6->sin6_addr, raw.c, 16);
        const QString scope = address.scopeId();
        if (!scope.isEmpty()) {
            bool numeric = false;
            const uint index = scope.toUInt(&numeric);
            in6->sin6_scope_id = numeric ? index : if_nametoindex(scope.toLocal8Bit().constData());
        }
        e.len = sizeof(sockaddr_in6);
    } else {
        return std::nullopt;
    }
    return e;
}

bool SameEndpoint(const Endpoint& a, const sockaddr_storage& b) {
    if (a.addr.ss_family != b.ss_family)
        return false;
    if (b.ss_family == AF_INET) {
        const auto* x = reinterpret_cast<const sockaddr_in*>(&a.addr);
        const auto* y = reinterpret_cast<const sockaddr_in*>(&b);
        return x->sin_port == y->sin_port && x->sin_addr.s_addr == y->sin_addr.s_addr;
    }
    const auto* x = reinterpret_cast<const sockaddr_in6*>(&a.addr);
    const auto* y = reinterpret_cast<const sockaddr_in6*>(&b);
    return x->sin6_port == y->sin6_port &&
           std::memcmp(&x->sin6_addr, &y->sin6_addr, sizeof(in6_addr)) == 0;
}

enum class QueryStatus { Sample, Rejected, KissOfDeath, Timeout, Error };

struct QueryResult {
    QueryStatus status = QueryStatus::Timeout;
    NtpSample sample;
    NtpReject reject = NtpReject::None;
    std::int64_t localNs = 0;
};

std::uint64_t FreshNonce() {
    std::uint64_t n = 0;
    while (n == 0)
        n = QRandomGenerator::system()->generate64();
    return n;
}

// One request and its answer. Datagrams from elsewhere, for another request or
// too malformed to show whom they answer are dropped and the wait goes on
// (their reason is kept for the report); an answer to this request decides.
QueryResult QueryOnce(const UdpSocket& socket, const Endpoint& server, const NtpLocalClock& clock,
                      std::int64_t pivot, QDeadlineTimer deadline) {
    const std::uint64_t nonce = FreshNonce();
    const auto request = BuildRequest(nonce);
    NtpReject dropped = NtpReject::None;
    const std::int64_t t1 = clock();
    if (send(socket.Fd(), request.data(), request.size(), 0) != ssize_t(request.size()))
        return {QueryStatus::Error, {}, dropped};
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return {QueryStatus::Timeout, {}, dropped};
        pollfd pfd{socket.Fd(), POLLIN, 0};
        const int ready = poll(&pfd, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return {ready == 0 ? QueryStatus::Timeout : QueryStatus::Error, {}, dropped};
        std::uint8_t buffer[512];
        sockaddr_storage from{};
        socklen_t fromLen = sizeof(from);
        const ssize_t n = recvfrom(socket.Fd(), buffer, sizeof(buffer), 0,
                                   reinterpret_cast<sockaddr*>(&from), &fromLen);
        const std::int64_t t4 = clock();
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return {QueryStatus::Error, {}, dropped}; // e.g. port unreachable
        }
        if (!SameEndpoint(server, from))
            continue;
        NtpReply reply;
        const NtpReject reject = ParseReply(buffer, std::size_t(n), nonce, &reply);
        switch (reject) {
        case NtpReject::TooShort:
        case NtpReject::BadMode:
        case NtpReject::BadVersion:
        case NtpReject::OriginMismatch: // a late answer to an earlier request, or a forgery
            dropped = reject;
            continue;
        case NtpReject::KissOfDeath:
            return {QueryStatus::KissOfDeath, {}, reject};
        case NtpReject::None:
            break;
        default:
            return {QueryStatus::Rejected, {}, reject};
        }
        const NtpSample sample = ComputeSampleUnix(t1, NtpToUnixNs(reply.receive, pivot),
                                                   NtpToUnixNs(reply.transmit, pivot), t4);
        const NtpReject delay = CheckDelay(sample.delayNs);
        if (delay != NtpReject::None)
            return {QueryStatus::Rejected, {}, delay};
        return {QueryStatus::Sample, sample, NtpReject::None, t4};
    }
}

} // namespace

NtpClient::NtpClient(NtpClientOptions options)
    : options_(options), resolver_(ResolveHost), clock_(SystemUnixNs) {}

namespace {

enum class AddressStatus { Measured, Silent, Answered, KissOfDeath };

// Samples one address; the best agreeing sample goes to `m` when there is one.
AddressStatus MeasureAddress(const QHostAddress& address, quint16 port,
                             const NtpClientOptions& options, const NtpLocalClock& clock,
                             const QDeadlineTimer& budget, NtpMeasurement& m) {
    const auto endpoint = ToEndpoint(address, port);
    if (!endpoint)
        return AddressStatus::Silent;
    UdpSocket socket(endpoint->addr.ss_family);
    if (socket.Fd() < 0 || connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&endpoint->addr),
                                   endpoint->len) != 0)
        return AddressStatus::Silent;
    std::vector<NtpSample> samples;
    std::int64_t lastLocal = 0;
    bool anyAnswer = false;
    for (int i = 0; i < options.samples && !budget.hasExpired(); ++i) {
        if (i > 0) {
            const qint64 pause = std::min<qint64>(options.spacingMs, budget.remainingTime());
            if (pause > 0)
                QThread::msleep(ulong(pause));
        }
        const QDeadlineTimer wait(std::min<qint64>(options.replyTimeoutMs, budget.remainingTime()));
        const QueryResult r = QueryOnce(socket, *endpoint, clock, options.buildDateUnixS, wait);
        if (r.status == QueryStatus::KissOfDeath) {
            m.outcome = NtpOutcome::KissOfDeath;
            m.server = address;
            m.lastReject = r.reject;
            return AddressStatus::KissOfDeath;
        }
        if (r.status == QueryStatus::Timeout || r.status == QueryStatus::Error) {
            if (r.reject != NtpReject::None)
                m.lastReject = r.reject;
            if (samples.empty())
                break; // this address is silent: try the next one
            continue;  // a lost datagram
        }
        anyAnswer = true;
        if (r.status == QueryStatus::Rejected) {
            m.lastReject = r.reject;
        } else {
            samples.push_back(r.sample);
            lastLocal = r.localNs;
        }
    }
    if (const auto best = SelectSample(samples)) {
        m.outcome = NtpOutcome::Measured;
        m.sample = *best;
        m.server = address;
        m.localNs = lastLocal;
        return AddressStatus::Measured;
    }
    if (!samples.empty())
        m.outcome = NtpOutcome::NoAgreement;
    return anyAnswer ? AddressStatus::Answered : AddressStatus::Silent;
}

} // namespace

NtpMeasurement NtpClient::MeasureName(const ServerSpec& server,
                                      const QDeadlineTimer& budget) const {
    NtpMeasurement m;
    const QList<QHostAddress> addresses =
        resolver_(server.host, int(std::max<qint64>(budget.remainingTime(), 1)));
    if (addresses.isEmpty()) {
        m.outcome = NtpOutcome::NotResolved;
        return m;
    }
    bool anyAnswer = false;
    for (const QHostAddress& address : addresses) {
        NtpMeasurement here;
        const AddressStatus status =
            MeasureAddress(address, server.port, options_, clock_, budget, here);
        if (status == AddressStatus::KissOfDeath || status == AddressStatus::Measured) {
            here.agreeingServers = status == AddressStatus::Measured ? 1 : 0;
            return here;
        }
        if (here.lastReject != NtpReject::None)
            m.lastReject = here.lastReject;
        if (here.outcome == NtpOutcome::NoAgreement)
            m.outcome = NtpOutcome::NoAgreement;
        anyAnswer = anyAnswer || status != AddressStatus::Silent;
        if (budget.hasExpired())
            break;
    }
    if (m.outcome != NtpOutcome::NoAgreement)
        m.outcome = anyAnswer ? NtpOutcome::Rejected : NtpOutcome::NoAnswer;
    return m;
}

namespace {

// Which failure says the most when no server measured: an answer of any kind
// beats silence, silence beats a name that did not resolve.
int FailureWeight(NtpOutcome o) {
    switch (o) {
    case NtpOutcome::NotResolved:
        return 0;
    case NtpOutcome::NoAnswer:
        return 1;
    default:
        return 2;
    }
}

bool SameName(const ServerSpec& a, const ServerSpec& b) {
    return a.host.compare(b.host, Qt::CaseInsensitive) == 0;
}

} // namespace

NtpMeasurement NtpClient::Measure(const QList<ServerSpec>& servers) const {
    const QDeadlineTimer budget(options_.budgetMs);
    std::optional<NtpMeasurement> first;
    std::optional<ServerSpec> firstName;
    NtpMeasurement failure;
    failure.outcome = NtpOutcome::NotResolved;
    for (const ServerSpec& server : servers) {
        if (firstName && SameName(*firstName, server))
            continue; // one name twice is one server
        NtpMeasurement here = MeasureName(server, budget);
        if (here.outcome == NtpOutcome::Measured && !first) {
            const std::int64_t size =
                here.sample.offsetNs < 0 ? -here.sample.offsetNs : here.sample.offsetNs;
            if (size <= options_.confirmAboveNs)
                return here;
            first = here;
            firstName = server;
        } else if (here.outcome == NtpOutcome::Measured) {
            // Another name confirms only from another address: two names of one
            // machine are one server.
            if (!here.server.isEqual(first->server) && OffsetsAgree(first->sample, here.sample)) {
                first->agreeingServers = 2;
                return *first;
            }
        } else if (!first && FailureWeight(here.outcome) >= FailureWeight(failure.outcome)) {
            failure = here;
        }
        if (budget.hasExpired())
            break;
    }
    return first ? *first : failure;
}

NtpMeasurement NtpClient::Measure(const ServerSpec& server) const {
    return Measure(QList<ServerSpec>{server});
}

} // namespace velmora
