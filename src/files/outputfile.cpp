#include "files/outputfile.h"

#include "files/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrant {

namespace {

// Splits path, as given, into its folder (at least ".") and its name.
void SplitPath(const QString& path, QByteArray& folder, QByteArray& name)
{
    const qsizetype separator = path.lastIndexOf(PlatformSeparator);
    folder = separator < 0    ? QByteArray(".")
             : separator == 0 ? QByteArray("/")
                              : QFile::encodeName(path.left(separator));
    name = QFile::encodeName(path.mid(separator + 1));
}

FileId IdOf(const struct stat& info)
{
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

bool WriteAll(int fd, QByteArrayView bytes)
{
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += written;
        left -= written;
    }
    return true;
}

// A name short enough for every file system, whatever the length of the output's own name.
QByteArray TemporaryName()
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(".kovrant-");
    for (int i = 0; i < 10; ++i)
        name.append(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
    return name;
}

// Renames within one folder without replacing anything: the kernel refuses a taken name, or,
// where the file system cannot, a hard link does.
PreparedOutput::Commit RenameNoReplaceAt(int folder, const QByteArray& from, const QByteArray& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE) == 0)
        return PreparedOutput::Commit::Done;
    if (errno == EEXIST)
        return PreparedOutput::Commit::Taken;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return PreparedOutput::Commit::Failed;
#endif
    if (::linkat(folder, from.constData(), folder, to.constData(), 0) != 0)
        return errno == EEXIST ? PreparedOutput::Commit::Taken : PreparedOutput::Commit::Failed;
    ::unlinkat(folder, from.constData(), 0);
    return PreparedOutput::Commit::Done;
}

// A replaced file keeps its owner, group and permissions where this process may give them;
// without the right to (or on a file system without owners) the new file keeps the defaults.
// The mode comes last, as a change of owner clears the set-user-ID bits.
void KeepOwnerAndMode(int file, const struct stat& old)
{
    const int ownerKept = ::fchown(file, old.st_uid, old.st_gid);
    Q_UNUSED(ownerKept);
    ::fchmod(file, old.st_mode & 07777);
}

// True unless what stands at name may never be replaced by a file: a folder, a device, a link
// to a folder, or a file this process may not write. A dangling link or a link to a file is
// replaced itself, never what it leads to.
bool Replaceable(int folder, const QByteArray& name)
{
    struct stat existing {};
    if (::fstatat(folder, name.constData(), &existing, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (S_ISREG(existing.st_mode))
        return ::faccessat(folder, name.constData(), W_OK, AT_EACCESS) == 0;
    if (!S_ISLNK(existing.st_mode))
        return false;
    struct stat target {};
    return ::fstatat(folder, name.constData(), &target, 0) != 0 || !S_ISDIR(target.st_mode);
}

} // namespace

OutputTarget ExamineOutput(const QString& path)
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) != 0)
        return errno == ENOENT ? OutputTarget::Missing : OutputTarget::Other;
    if (S_ISREG(info.st_mode))
        return OutputTarget::File;
    if (S_ISLNK(info.st_mode) && ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode))
        return OutputTarget::LinkToFile;
    return OutputTarget::Other;
}

std::optional<FileId> IdentityOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return IdOf(info);
}

PreparedOutput::~PreparedOutput()
{
    discard();
}

bool PreparedOutput::prepare(const QString& path, QByteArrayView bytes, bool throughLink)
{
    discard();
    if (path.isEmpty())
        return false;
    // The link's target as the kernel resolves it, so the output replaces that file.
    QString place = path;
    if (throughLink && ExamineOutput(path) == OutputTarget::LinkToFile) {
        place = QFileInfo(path).canonicalFilePath();
        if (place.isEmpty())
            return false;
    }
    QByteArray folder;
    SplitPath(place, folder, m_name);
    if (m_name.isEmpty())
        return false;
    m_folder = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // What can never be replaced is refused before anything is written, so that an output of a
    // group does not fail only after another has taken its place.
    if (m_folder < 0 || !Replaceable(m_folder, m_name)) {
        discard();
        return false;
    }
    for (int attempt = 0; attempt < 8 && m_file < 0; ++attempt) {
        m_temporaryName = TemporaryName();
        m_file = ::openat(m_folder, m_temporaryName.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_file < 0 && errno != EEXIST)
            break;
    }
    if (m_file < 0) {
        m_temporaryName.clear();
        discard();
        return false;
    }
    struct stat old {};
    if (::fstatat(m_folder, m_name.constData(), &old, 0) == 0 && S_ISREG(old.st_mode))
        KeepOwnerAndMode(m_file, old);
    if (!WriteAll(m_file, bytes) || ::fsync(m_file) != 0) {
        discard();
        return false;
    }
    return true;
}

PreparedOutput::Commit PreparedOutput::commit(bool replace)
{
    if (m_file < 0)
        return Commit::Failed;
    Commit result = Commit::Failed;
    if (!replace) {
        result = RenameNoReplaceAt(m_folder, m_temporaryName, m_name);
    } else {
        struct stat existing {};
        bool replaceable = true;
        if (::fstatat(m_folder, m_name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(existing.st_mode)) {
                // A link to a folder stays; a dangling link or a link to a file is replaced
                // itself, never whatever it leads to.
                struct stat target {};
                replaceable = ::fstatat(m_folder, m_name.constData(), &target, 0) != 0 ||
                              !S_ISDIR(target.st_mode);
            } else {
                replaceable = S_ISREG(existing.st_mode);
            }
        }
        if (replaceable &&
            ::renameat(m_folder, m_temporaryName.constData(), m_folder, m_name.constData()) == 0)
            result = Commit::Done;
    }
    if (result != Commit::Done)
        return result;
    struct stat info {};
    if (::fstat(m_file, &info) == 0)
        m_identity = IdOf(info);
    m_temporaryName.clear();
    discard();
    return Commit::Done;
}

void PreparedOutput::discard()
{
    if (m_file >= 0)
        ::close(m_file);
    if (m_folder >= 0 && !m_temporaryName.isEmpty())
        ::unlinkat(m_folder, m_temporaryName.constData(), 0);
    if (m_folder >= 0)
        ::close(m_folder);
    m_file = -1;
    m_folder = -1;
    m_temporaryName.clear();
}

} // namespace kovrant
