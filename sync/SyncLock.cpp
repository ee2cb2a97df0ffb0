#include "SyncLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

// Read-only is enough for flock, and lets a user lock a file another user made.
// An existing file is opened without O_CREAT, which a sticky folder refuses for
// files of other users; a missing one is made exclusively.
int OpenLockFile(const QByteArray& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        const int made =
            open(path.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (made >= 0) {
            fchmod(made, 0644); // whatever the umask: other users must open it
            return made;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

} // namespace

SyncLock::~SyncLock() {
    Release();
}

LockResult SyncLock::Acquire(const QString& path) {
    Release();
    const int fd = OpenLockFile(QFile::encodeName(path));
    if (fd < 0)
        return LockResult::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        return error == EWOULDBLOCK ? LockResult::Busy : LockResult::Failed;
    }
    fd_ = fd;
    return LockResult::Taken;
}

LockResult SyncLock::AcquireWaiting(const QString& path, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const LockResult r = Acquire(path);
        if (r != LockResult::Busy || deadline.hasExpired())
            return r;
        QThread::msleep(100);
    }
}

void SyncLock::Release() {
    if (fd_ >= 0)
        close(fd_); // closing the only descriptor releases the lock
    fd_ = -1;
}

QString SyncLockPath(const QString& runtimeDir) {
    return runtimeDir + QStringLiteral("/VelmoSync.lock");
}

QString MachineSyncLockPath() {
    const QString dir = QFileInfo(QStringLiteral("/run/lock")).isDir() ? QStringLiteral("/run/lock")
                                                                       : QStringLiteral("/tmp");
    return dir + QStringLiteral("/velmora-sync.lock");
}

} // namespace velmora
