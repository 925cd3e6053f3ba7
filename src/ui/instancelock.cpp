#include "ui/instancelock.h"

namespace kovrant {

InstanceLock::InstanceLock(const QString& lockPath)
    : m_lock(lockPath)
{
    // An instance may run for days: only a lock whose process is gone is stale, never an old one.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::anotherInstanceRuns()
{
    if (m_lock.tryLock(0))
        return false;
    if (m_lock.error() != QLockFile::LockFailedError)
        return false;
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock.getLockInfo(&pid, &host, &application))
        return true;
    // A lock that names no process holds no one back.
    m_lock.removeStaleLockFile();
    m_lock.tryLock(0);
    return false;
}

} // namespace kovrant
