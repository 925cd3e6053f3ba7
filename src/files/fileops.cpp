#include "files/fileops.h"

#include "files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovrant {

#ifndef Q_OS_WIN
namespace detail {

// Without an atomic "rename unless taken", reserve the new name first with an exclusive create
// of the same kind (an empty folder for a folder, an empty file otherwise); rename then only
// ever replaces this placeholder. If anything has been put into it meanwhile, the rename fails
// and what is there stays.
bool RenameNoReplaceFallback(const QString& oldPath, const QString& newPath)
{
    const QByteArray oldName = QFile::encodeName(oldPath);
    const QByteArray newName = QFile::encodeName(newPath);
    struct stat source {};
    if (::lstat(oldName.constData(), &source) != 0)
        return false;
    const bool isFolder = S_ISDIR(source.st_mode);
    if (isFolder) {
        if (::mkdir(newName.constData(), 0700) != 0)
            return false;
    } else {
        const int fd = ::open(newName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    if (::rename(oldName.constData(), newName.constData()) == 0)
        return true;
    if (isFolder)
        ::rmdir(newName.constData());
    else
        ::unlink(newName.constData());
    return false;
}

} // namespace detail
#endif

bool RenameNoReplace(const QString& oldPath, const QString& newPath)
{
    if (oldPath.isEmpty() || newPath.isEmpty())
        return false;
#ifdef Q_OS_WIN
    // Without MOVEFILE_REPLACE_EXISTING the move fails whenever the new name is taken.
    const QString oldNative = QDir::toNativeSeparators(oldPath);
    const QString newNative = QDir::toNativeSeparators(newPath);
    return ::MoveFileExW(reinterpret_cast<LPCWSTR>(oldNative.utf16()),
                         reinterpret_cast<LPCWSTR>(newNative.utf16()), 0) != 0;
#else
#ifdef RENAME_NOREPLACE
    const QByteArray oldName = QFile::encodeName(oldPath);
    const QByteArray newName = QFile::encodeName(newPath);
    if (::renameat2(AT_FDCWD, oldName.constData(), AT_FDCWD, newName.constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    // Only a file system (or kernel) that does not know the flag gets the fallback; every
    // other error, EEXIST above all, is the answer.
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
#endif
    return detail::RenameNoReplaceFallback(oldPath, newPath);
#endif
}

ResultCode LookUpFolder(const QString& path)
{
    if (path.isEmpty())
        return ResultCode::FileNotFound;
#ifdef Q_OS_WIN
    return QFileInfo(path).isDir() ? ResultCode::Ok : ResultCode::FileNotFound;
#else
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENAMETOOLONG ? ResultCode::NameTooLong : ResultCode::FileNotFound;
    return S_ISDIR(info.st_mode) ? ResultCode::Ok : ResultCode::FileNotFound;
#endif
}

bool FolderExists(const QString& path)
{
    return LookUpFolder(path) == ResultCode::Ok;
}

QString AbsolutePathWherePossible(const QString& path, const QString& currentFolder)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path) || currentFolder.isEmpty())
        return path;
    const QString absolute = AddBackslash(currentFolder) + path;
#ifdef Q_OS_WIN
    return absolute;
#else
    // PATH_MAX counts the terminating NUL.
    return QFile::encodeName(absolute).size() < PATH_MAX ? absolute : path;
#endif
}

} // namespace kovrant
