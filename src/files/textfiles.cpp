#include "files/textfiles.h"

#include "files/filenames.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrant {

namespace {

// stat() of path, following links: Ok, NameTooLong, or FileNotFound when nothing is there.
ResultCode StatOf(const QString& path, struct stat& info)
{
    if (path.isEmpty())
        return ResultCode::FileNotFound;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return ResultCode::Ok;
    return errno == ENAMETOOLONG ? ResultCode::NameTooLong : ResultCode::FileNotFound;
}

// What stands at path as an input file: Ok, NameTooLong or FileNotFound.
ResultCode RegularFileAt(const QString& path, struct stat& info)
{
    const ResultCode found = StatOf(path, info);
    if (found == ResultCode::Ok && !S_ISREG(info.st_mode))
        return ResultCode::FileNotFound;
    return found;
}

// Reads size bytes from fd; a short read is an error, not a shorter text.
bool ReadExactly(int fd, qint64 size, QByteArray& bytes)
{
    QByteArray read(qsizetype(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, read.data() + done, std::size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    bytes = std::move(read);
    return true;
}

// The whole of the regular file at path, in one open and as few calls as it can be read with.
// Without a checked size the open file is examined: a folder, a device or a pipe that stands
// at path is refused (never waited on: the open does not block), not read.
bool ReadFileBytes(const QString& path, qint64 checkedSize, QByteArray& bytes)
{
    if (path.isEmpty())
        return false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    qint64 size = checkedSize;
    bool ok = true;
    if (size < 0) {
        struct stat info {};
        ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
        size = ok ? qint64(info.st_size) : 0;
    }
    ok = ok && ReadExactly(fd, size, bytes);
    ::close(fd);
    return ok;
}

} // namespace

ResultCode LookUpFile(const QString& path)
{
    // A plain stat, not a directory search: "*" and "?" are name characters here, and a
    // folder, a device or a dangling link is no file to read.
    struct stat info {};
    return RegularFileAt(path, info);
}

bool FileExists(const QString& path)
{
    return LookUpFile(path) == ResultCode::Ok;
}

bool ReadTextFile(const QString& path, Recognition recognition, TextFile& file, qint64 checkedSize)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, checkedSize, bytes))
        return false;
    return DecodeText(bytes, recognition, file.text, file.encoding);
}

ResultCode CheckInputFile(const QString& path, qint64 limit, qint64* size)
{
    if (!IsValidFileName(path))
        return ResultCode::InvalidFileName;
    struct stat info {};
    if (const ResultCode found = RegularFileAt(path, info); found != ResultCode::Ok)
        return found;
    if (qint64(info.st_size) > limit)
        return ResultCode::FileTooLarge;
    if (size)
        *size = qint64(info.st_size);
    return ResultCode::Ok;
}

ResultCode LoadInputText(const QString& path, Recognition recognition, TextFile& file,
                         qint64 checkedSize)
{
    TextFile read;
    if (!ReadTextFile(path, recognition, read, checkedSize))
        return ResultCode::ReadFailed;
    if (read.text.isEmpty())
        return ResultCode::FileEmpty;
    file = std::move(read);
    return ResultCode::Ok;
}

} // namespace kovrant
