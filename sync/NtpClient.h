// Asks an NTP server for the time: resolves the name, tries its addresses in
// turn, takes several samples and picks a trustworthy one. Measuring only:
// setting the clock is the ClockSetter's business.
#pragma once

#include "NtpPacket.h"

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

struct NtpClientOptions {
    int samples = 4;
    int spacingMs = 1000;      // pause between two requests to one server
    int replyTimeoutMs = 2000; // wait for one answer
    int budgetMs = 15000;      // the whole run, name lookup included
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
};

// Addresses of a name, given at most `timeoutMs`.
using NtpResolver = std::function<QList<QHostAddress>(const QString& host, int timeoutMs)>;
// The local clock as an NTP timestamp.
using NtpLocalClock = std::function<NtpTimestamp()>;

QList<QHostAddress> ResolveHost(const QString& host, int timeoutMs);
NtpTimestamp SystemNtpTime();

class NtpClient {
public:
    explicit NtpClient(NtpClientOptions options = {});
    void SetResolver(NtpResolver resolver) { resolver_ = std::move(resolver); }
    void SetLocalClock(NtpLocalClock clock) { clock_ = std::move(clock); }

    NtpMeasurement Measure(const ServerSpec& server) const;

private:
    NtpClientOptions options_;
    NtpResolver resolver_;
    NtpLocalClock clock_;
};

} // namespace velmora
