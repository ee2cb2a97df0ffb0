#include "SyncLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora {

SyncLock::~SyncLock() {
    Release();
}

LockResult SyncLock::Acquire(const QString& path) {
    Release();
    const int fd =
        open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
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

void SyncLock::Release() {
    if (fd_ >= 0)
        close(fd_); // closing the only descriptor releases the lock
    fd_ = -1;
}

QString SyncLockPath(const QString& runtimeDir) {
    return runtimeDir + QStringLiteral("/VelmoSync.lock");
}

} // namespace velmora
