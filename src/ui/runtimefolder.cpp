#include "ui/runtimefolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovrant {

namespace {

const char* const RuntimeVariable = "XDG_RUNTIME_DIR";

#ifdef Q_OS_UNIX

// The user's home as the password database has it, for a start without $HOME.
QString HomeOfUser()
{
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
}

QString CacheFolder()
{
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (QDir::isAbsolutePath(cache))
        return cache;
    QString home = qEnvironmentVariable("HOME");
    if (!QDir::isAbsolutePath(home))
        home = HomeOfUser();
    if (!QDir::isAbsolutePath(home) || QDir::cleanPath(home) == u"/")
        return QString();
    return QDir(home).filePath(QStringLiteral(".cache"));
}

// Makes each missing folder of path with mode 0700, as the cache folder's own should be.
bool MakePrivatePath(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (parent == path || !MakePrivatePath(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), S_IRWXU) == 0 || errno == EEXIST;
}

// The user's own folder, left open to others by whoever made it, is closed to them; a link, or
// a folder of another user, is never trusted.
void ClosePrivateFolder(const QString& path)
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid() && (info.st_mode & 077) != 0)
        ::chmod(name.constData(), S_IRWXU);
}

#endif

} // namespace

bool IsPrivateFolder(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
#else
    return QFileInfo(path).isDir();
#endif
}

QString PrivateRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable(RuntimeVariable);
    if (QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime))
        return QDir::cleanPath(runtime);
#ifdef Q_OS_UNIX
    const QString cache = CacheFolder();
    if (cache.isEmpty())
        return QString();
    const QString folder = QDir::cleanPath(QDir(cache).filePath(QStringLiteral("Kovrant")));
    if (!MakePrivatePath(folder))
        return QString();
    ClosePrivateFolder(folder);
    if (!IsPrivateFolder(folder))
        return QString();
    return folder;
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
}

RuntimeFolderForStart::RuntimeFolderForStart(const QString& folder)
{
    const QString runtime = qEnvironmentVariable(RuntimeVariable);
    if ((QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime)) || !IsPrivateFolder(folder))
        return;
    if (qEnvironmentVariableIsSet(RuntimeVariable))
        m_before = qgetenv(RuntimeVariable);
    qputenv(RuntimeVariable, QFile::encodeName(folder));
    m_changed = true;
}

void RuntimeFolderForStart::restore()
{
    if (!m_changed)
        return;
    m_changed = false;
    if (m_before)
        qputenv(RuntimeVariable, *m_before);
    else
        qunsetenv(RuntimeVariable);
}

} // namespace kovrant
