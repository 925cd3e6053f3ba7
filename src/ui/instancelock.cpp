#include "ui/instancelock.h"

#include <QDir>
#include <QStandardPaths>

namespace kovrant {

InstanceLock::InstanceLock(const QString& lockPath)
    : m_lock(lockPath)
{
    // An instance may run for days: only a lock whose process is gone is stale, never an old one.
    m_lock.setStaleLockTime(0);
}

QString InstanceLock::defaultPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("kovrant.lock"));
}

bool InstanceLock::anotherInstanceRuns()
{
    if (m_lock.tryLock(0))
        return false;
    return m_lock.error() == QLockFile::LockFailedError;
}

} // namespace kovrant
