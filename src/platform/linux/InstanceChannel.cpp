#include "platform/linux/InstanceChannel.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

namespace {
constexpr int kBacklog = 16;

// Any failure of a socket call, as the system words it.
QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

class TInstanceChannel::TPeer : public QObject {
public:
    TPeer(int fd, QObject* parent) : QObject(parent), Fd(fd), Notifier(fd, QSocketNotifier::Read) {}
    ~TPeer() override { ::close(Fd); }
    TPeer(const TPeer&) = delete;
    TPeer& operator=(const TPeer&) = delete;

    // Closes the connection now; the object goes once the event that led here has ended.
    void Abort() {
        if (Aborted)
            return;
        Aborted = true;
        Notifier.setEnabled(false);
        ::shutdown(Fd, SHUT_RDWR);
        deleteLater();
    }

    const int Fd;
    QSocketNotifier Notifier;
    QByteArray Buffer;
    bool Aborted = false;
};

TInstanceChannel::TInstanceChannel(TChannelLimits limits, uid_t ownUid, TPeerUid peerUid)
    : limits_(limits), ownUid_(ownUid), peerUid_(std::move(peerUid)) {}

TInstanceChannel::~TInstanceChannel() {
    // The peers go with the channel's children, while the count they update is still here.
    const QList<TPeer*> peers = findChildren<TPeer*>(Qt::FindDirectChildrenOnly);
    for (TPeer* p : peers)
        delete p;
    Close();
}

void TInstanceChannel::Close() {
    acceptNotifier_.reset();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        ::unlink(QFile::encodeName(path_).constData());
    }
}

bool TInstanceChannel::Listen(const QString& path, QString* error) {
    Close();
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (native.isEmpty() || size_t(native.size()) >= sizeof(addr.sun_path))
        return fail(QStringLiteral("socket path too long"));
    std::memcpy(addr.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(SystemError());
    ::unlink(native.constData()); // left by a crash: the caller holds the instance lock
    // The user's alone: set before anyone may connect.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 ||
        ::chmod(native.constData(), S_IRUSR | S_IWUSR) != 0 ||
        // Connections wait in the kernel, not in our memory, until they are taken
        // (and those beyond the limit closed at once).
        ::listen(fd, std::max(limits_.MaxPeers, kBacklog)) != 0) {
        const QString why = SystemError();
        ::close(fd);
        return fail(why);
    }
    listenFd_ = fd;
    path_ = path;
    acceptNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(acceptNotifier_.get(), &QSocketNotifier::activated, this, [this] { AcceptAll(); });
    return true;
}

void TInstanceChannel::AcceptAll() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        Accept(fd);
    }
}

void TInstanceChannel::Accept(int fd) {
    if (peers_ >= limits_.MaxPeers || !PeerAllowed(peerUid_(fd), ownUid_)) {
        ::close(fd);
        return;
    }
    ++peers_;
    auto* peer = new TPeer(fd, this); // owned by the channel, gone when it closes
    connect(peer, &QObject::destroyed, this, [this] { --peers_; });
    connect(&peer->Notifier, &QSocketNotifier::activated, peer, [this, peer] { Read(*peer); });
    // However little it sends, a peer has its time and goes.
    QTimer::singleShot(limits_.IdleMs, peer, [peer] { peer->Abort(); });
}

void TInstanceChannel::Read(TPeer& peer) {
    const qsizetype room = qsizetype(limits_.MaxLine) + 2 - peer.Buffer.size();
    QByteArray chunk(std::max<qsizetype>(room, 1), Qt::Uninitialized);
    const ssize_t n = ::read(peer.Fd, chunk.data(), size_t(chunk.size()));
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) { // gone, or failed: its place is free
        peer.Abort();
        return;
    }
    peer.Buffer += chunk.left(n);
    const qsizetype end = peer.Buffer.indexOf('\n');
    if (end < 0) {
        // Longer than a line may be, and still no end: dropped whole, never split.
        if (peer.Buffer.size() > limits_.MaxLine)
            peer.Abort();
        return;
    }
    const QByteArray line = peer.Buffer.left(end);
    // One line per peer: it is closed before the line is acted on.
    peer.Abort();
    if (line.size() <= limits_.MaxLine && onLine_)
        onLine_(line.trimmed());
}

bool SendLine(const QString& path, const QByteArray& line, int timeoutMs) {
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (native.isEmpty() || size_t(native.size()) >= sizeof(addr.sun_path))
        return false;
    std::memcpy(addr.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const auto wait = [fd, timeoutMs] {
        pollfd p{fd, POLLOUT, 0};
        return ::poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLOUT);
    };
    bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0 ||
              ((errno == EAGAIN || errno == EINPROGRESS) && wait());
    qsizetype sent = 0;
    while (ok && sent < line.size()) {
        const ssize_t n =
            ::send(fd, line.constData() + sent, size_t(line.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else
            ok = n < 0 && errno == EAGAIN && wait();
    }
    ::close(fd);
    return ok;
}

} // namespace velmora
