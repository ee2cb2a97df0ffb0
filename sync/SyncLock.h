// One sync at a time on the machine: two runs that each measured the same
// offset would each step the clock by it, also when they are the clocks of two
// users. The lock is held from before measuring until the step is applied, and
// goes with the process, however it ends.
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

    // Takes the lock file at `path` without waiting. The file is made when
    // missing (readable by all, so other users' runs can lock it too) and never
    // opened through a symbolic link.
    LockResult Acquire(const QString& path);
    // Tries again until `timeoutMs` has passed while another run holds it.
    LockResult AcquireWaiting(const QString& path, int timeoutMs);
    void Release();

private:
    int fd_ = -1;
};

// The lock file in the private runtime folder.
QString SyncLockPath(const QString& runtimeDir);
// The machine's lock file, shared by every user: in /run/lock, else in /tmp.
QString MachineSyncLockPath();

} // namespace velmora
