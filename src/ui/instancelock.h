#pragma once

#include <QLockFile>
#include <QString>

namespace kovrant {

// The lock that lets one instance of the program run at a time. The lock of a process that
// has ended, even by being killed, is taken over, and so is one that cannot be read; a lock file
// that cannot be made at all (its folder is missing or not writable) does not mean that another
// instance runs.
class InstanceLock {
public:
    explicit InstanceLock(const QString& lockPath);

    // Takes the lock unless a running instance holds it; true when one does. Once taken, the
    // lock is held until this object goes.
    bool anotherInstanceRuns();
    bool isHeld() const { return m_lock.isLocked(); }

private:
    QLockFile m_lock;
};

} // namespace kovrant
