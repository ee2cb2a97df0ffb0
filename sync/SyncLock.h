// One sync at a time: two runs that each measured the same offset would each
// step the clock by it. The lock is held for the life of the run and goes with
// the process, however it ends.
#pragma once

#include <QString>

namespace velmora {

enum class LockResult { Taken, Busy, Failed };

class SyncLock {
public:
    SyncLock() = default;
    ~SyncLock();
    SyncLock(const SyncLock&) = delete;
    SyncLock& operator=(const SyncLock&) = delete;

    // Takes the lock file at `path` without waiting (the file is made when missing,
    // never through a symbolic link).
    LockResult Acquire(const QString& path);
    void Release();

private:
    int fd_ = -1;
};

// The lock file in the private runtime folder.
QString SyncLockPath(const QString& runtimeDir);

} // namespace velmora
