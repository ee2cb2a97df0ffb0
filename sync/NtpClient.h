// Asks an NTP server for the time: resolves the name, tries its addresses in
// turn, takes several samples and picks a trustworthy one. Measuring only:
// setting the clock is the ClockSetter's business.
#pragma once

#include "BuildDate.h"
#include "NtpPacket.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace velmora {

// A server as the user writes it: "host", "host:port", "1.2.3.4:123", "::1",
// "[::1]:123".
struct ServerSpec {
    QString host;
    quint16 port = kNtpPort;
};

// nullopt for a malformed name or port (empty host, port 0, not a number,
// above 65535, stray brackets).
std::optional<ServerSpec> ParseServerSpec(const QString& text);
// Servers separated by commas ("a.example,b.example:1123"), at most
// kMaxServers; nullopt when any of them is malformed or there are too many.
inline constexpr int kMaxServers = 4;
std::optional<QList<ServerSpec>> ParseServerList(const QString& text);

struct NtpClientOptions {
    int samples = 4;
    int spacingMs = 1000;      // pause between two requests to one server
    int replyTimeoutMs = 2000; // wait for one answer
    int budgetMs = 15000;      // the whole run, name lookup included
    // The era pivot: server times are read as no earlier than this (Unix seconds).
    std::int64_t buildDateUnixS = kBuildDateUnixS;
    // An offset above this is confirmed by a second server name.
    std::int64_t confirmAboveNs = 86'400'000'000'000LL;
};

enum class NtpOutcome {
    Measured,
    NotResolved, // no address for the name
    NoAnswer,    // no address answered at all
    Rejected,    // answers came, none usable
    KissOfDeath, // a server told us to stop asking
    NoAgreement, // too few samples agreed with each other
};

struct NtpMeasurement {
    NtpOutcome outcome = NtpOutcome::NoAnswer;
    NtpSample sample;
    QHostAddress server;
    NtpReject lastReject = NtpReject::None;
    // The local clock when the sample was taken (Unix nanoseconds).
    std::int64_t localNs = 0;
    // How many independent servers measured the same offset: 1, or 2 when a
    // large offset was confirmed by another server name answering from another
    // address. Two addresses of one name are one server: one operator, or one
    // spoofer answering for all of them.
    int agreeingServers = 0;
};

// Two offsets of different servers tell the same time when they differ by no
// more than their round trips and a second.
bool OffsetsAgree(const NtpSample& a, const NtpSample& b);

// Addresses of a name, given at most `timeoutMs`.
using NtpResolver = std::function<QList<QHostAddress>(const QString& host, int timeoutMs)>;
// The local clock in Unix nanoseconds.
using NtpLocalClock = std::function<std::int64_t()>;

// Runs `lookup` on a thread of its own and waits at most `timeoutMs` for it. A
// lookup still running then is abandoned (it finishes unobserved and holds
// nothing of the caller's), so no resolver can hold the tool past its budget.
QList<QHostAddress> ResolveWithDeadline(std::function<QList<QHostAddress>()> lookup, int timeoutMs);
QList<QHostAddress> ResolveHost(const QString& host, int timeoutMs);
NtpTimestamp SystemNtpTime();
std::int64_t SystemUnixNs();

class NtpClient {
public:
    explicit NtpClient(NtpClientOptions options = {});
    void SetResolver(NtpResolver resolver) { resolver_ = std::move(resolver); }
    void SetLocalClock(NtpLocalClock clock) { clock_ = std::move(clock); }

    // The first server that measures decides; when its offset is over
    // confirmAboveNs, the other servers are asked for a confirmation.
    NtpMeasurement Measure(const QList<ServerSpec>& servers) const;
    NtpMeasurement Measure(const ServerSpec& server) const;
    const NtpClientOptions& Options() const { return options_; }

private:
    NtpMeasurement MeasureName(const ServerSpec& server, const QDeadlineTimer& budget) const;

    NtpClientOptions options_;
    NtpResolver resolver_;
    NtpLocalClock clock_;
};

} // namespace velmora
