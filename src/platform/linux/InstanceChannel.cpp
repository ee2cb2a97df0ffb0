#include "platform/linux/InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <sys/socket.h>

namespace velmora {

bool PeerAllowed(std::optional<uid_t> peerUid, uid_t ownUid) {
    return peerUid && *peerUid == ownUid;
}

std::optional<uid_t> PeerUid(qintptr socketDescriptor) {
    ucred cred{};
    socklen_t len = sizeof(cred);
    if (socketDescriptor < 0 ||
        getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 ||
        len != sizeof(cred))
        return std::nullopt;
    return cred.uid;
}

TInstanceChannel::TInstanceChannel(TChannelLimits limits, uid_t ownUid, TPeerUid peerUid)
    : limits_(limits), ownUid_(ownUid), peerUid_(std::move(peerUid)) {}

TInstanceChannel::~TInstanceChannel() {
    // The peers go with the server, while the count they update is still here.
    server_.reset();
}

bool TInstanceChannel::Listen(const QString& path, QString* error) {
    QLocalServer::removeServer(path);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Connections beyond the limit wait in the kernel, not in our memory.
    server_->setMaxPendingConnections(limits_.MaxPeers);
    if (!server_->listen(path)) {
        if (error)
            *error = server_->errorString();
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection())
            Accept(s);
    });
    return true;
}

void TInstanceChannel::Accept(QLocalSocket* socket) {
    if (peers_ >= limits_.MaxPeers || !PeerAllowed(peerUid_(socket->socketDescriptor()), ownUid_)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++peers_;
    connect(socket, &QObject::destroyed, this, [this] { --peers_; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket,
            [this, socket, buffer] { Read(socket, *buffer); });
    // However little it sends, a peer has its time and goes.
    QTimer::singleShot(limits_.IdleMs, socket, [socket] { socket->abort(); });
}

void TInstanceChannel::Read(QLocalSocket* socket, QByteArray& buffer) {
    if (socket->state() != QLocalSocket::ConnectedState)
        return;
    buffer += socket->read(qint64(limits_.MaxLine) + 2 - buffer.size());
    const qsizetype end = buffer.indexOf('\n');
    if (end < 0) {
        // Longer than a line may be, and still no end: dropped whole, never split.
        if (buffer.size() > limits_.MaxLine)
            socket->abort();
        return;
    }
    const QByteArray line = buffer.left(end);
    if (line.size() > limits_.MaxLine) {
        socket->abort();
        return;
    }
    // One line per peer: it is closed before the line is acted on.
    socket->abort();
    if (onLine_)
        onLine_(line.trimmed());
}

} // namespace velmora
