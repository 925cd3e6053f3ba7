#include "files/textfiles.h"

#include "files/filenames.h"

#include <QFile>

#include <algorithm>
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
bool ReadExactly(int fd, qint64 size, QByteArray& bytes, int& error)
{
    QByteArray read(qsizetype(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, read.data() + done, std::size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            return false;
        }
        done += n;
    }
    bytes = std::move(read);
    return true;
}

// The whole of the regular file at path, in one open and as few calls as it can be read with.
// Without a checked size the open file is examined: a folder, a device or a pipe that stands
// at path is refused (never waited on: the open does not block), not read. error gets the
// system's error number of a failure, or 0 where the system reported none.
bool ReadFileBytes(const QString& path, qint64 checkedSize, QByteArray& bytes, int& error)
{
    error = 0;
    if (path.isEmpty())
        return false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return false;
    }
    qint64 size = checkedSize;
    bool ok = true;
    if (size < 0) {
        struct stat info {};
        ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
        size = ok ? qint64(info.st_size) : 0;
    }
    ok = ok && ReadExactly(fd, size, bytes, error);
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

bool ReadTextFile(const QString& path, Recognition recognition, TextFile& file,
                  ReadFailure& failure, qint64 checkedSize, std::optional<TextFile>* otherReading)
{
    QByteArray bytes;
    int error = 0;
    if (!ReadFileBytes(path, checkedSize, bytes, error)) {
        failure = {ResultCode::ReadFailed, {error}};
        return false;
    }
    TextFile read;
    DecodeFailure invalid;
    if (!DecodeText(bytes, recognition, read.text, read.encoding, &invalid)) {
        failure = {ResultCode::InvalidEncoding, {0, invalid.offset, invalid.encoding}};
        return false;
    }
    if (otherReading) {
        TextFile other;
        if (DecodeOtherReading(bytes, recognition, read.encoding, other.text, other.encoding))
            *otherReading = std::move(other);
        else
            otherReading->reset();
    }
    file = std::move(read);
    return true;
}

bool ReadFileStart(const QString& path, qint64 count, QByteArray& bytes)
{
    if (path.isEmpty() || !IsValidFileName(path))
        return false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    int error = 0;
    const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                    ReadExactly(fd, std::min(count, qint64(info.st_size)), bytes, error);
    ::close(fd);
    return ok;
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
                         FileErrorDetails& details, qint64 checkedSize,
                         std::optional<TextFile>* otherReading)
{
    TextFile read;
    ReadFailure failure;
    if (!ReadTextFile(path, recognition, read, failure, checkedSize, otherReading)) {
        details = failure.details;
        return failure.code;
    }
    if (read.text.isEmpty())
        return ResultCode::FileEmpty;
    file = std::move(read);
    return ResultCode::Ok;
}

} // namespace kovrant
