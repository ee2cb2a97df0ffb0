// The instance channel: the local socket on which a second start asks the
// running clock to come to the front and the sync tool reports its result.
// Each peer may send one short line; the channel is the user's alone. Plain
// sockets: the clock need not keep a network library in memory all day for it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>

class QSocketNotifier;

namespace velmora {

struct TChannelLimits {
    int MaxPeers = 4;  // connected at once; more are closed at once
    int MaxLine = 255; // bytes before the line end; a longer line is dropped whole
    int IdleMs = 2000; // a peer is closed this long after it connected
};

// Only processes of this user may speak; a peer whose user is unknown may not.
bool PeerAllowed(std::optional<uid_t> peerUid, uid_t ownUid);
// The user of the process at the other end of a connected local socket.
std::optional<uid_t> PeerUid(qintptr socketDescriptor);

// Sends `line` to the channel at `path`; false when no one listens there or it
// could not be sent within `timeoutMs`.
bool SendLine(const QString& path, const QByteArray& line, int timeoutMs);

class TInstanceChannel final : public QObject {
public:
    using TPeerUid = std::function<std::optional<uid_t>(qintptr)>;

    TInstanceChannel(TChannelLimits limits, uid_t ownUid, TPeerUid peerUid = PeerUid);
    ~TInstanceChannel() override;

    // Listens at `path` (a socket file left by a crash is replaced: the caller
    // holds the instance lock). False with the reason when it cannot.
    bool Listen(const QString& path, QString* error = nullptr);
    // Each accepted line, without its line end and surrounding blanks.
    void SetOnLine(std::function<void(const QByteArray&)> onLine) { onLine_ = std::move(onLine); }
    int PeerCount() const { return peers_; }

    // One connected peer: its socket, its line so far and its time.
    class TPeer;

private:
    void AcceptAll();
    void Accept(int fd);
    void Read(TPeer& peer);
    void Close();

    TChannelLimits limits_;
    uid_t ownUid_;
    TPeerUid peerUid_;
    int listenFd_ = -1;
    QString path_;
    std::unique_ptr<QSocketNotifier> acceptNotifier_;
    std::function<void(const QByteArray&)> onLine_;
    int peers_ = 0;
};

} // namespace velmora
