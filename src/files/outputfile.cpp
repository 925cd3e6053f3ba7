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
// The mode comes last, as a change of owner clears the set-user-ID bits. What the new file has
// already is not set again.
void KeepOwnerAndMode(int file, const struct stat& created, const struct stat& old)
{
    const bool ownerDiffers = created.st_uid != old.st_uid || created.st_gid != old.st_gid;
    if (ownerDiffers) {
        const int ownerKept = ::fchown(file, old.st_uid, old.st_gid);
        Q_UNUSED(ownerKept);
    }
    if (ownerDiffers || (created.st_mode & 07777) != (old.st_mode & 07777))
        ::fchmod(file, old.st_mode & 07777);
}

// What stands at a name an output is to take, for the output's sake.
enum class Standing {
    Nothing,
    File,  // a regular file, or a link to one: the output keeps its owner and mode
    Other, // replaceable, with nothing to keep: a dangling link, a link to a device, ...
    Never, // a folder, a device, a link to a folder, a file this process may not write: never
           // replaced by a file
};

// A dangling link or a link to a file is replaced itself, never what it leads to. file gets the
// regular file's status.
Standing StandingAt(int folder, const QByteArray& name, struct stat& file)
{
    if (::fstatat(folder, name.constData(), &file, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Standing::Nothing : Standing::Never;
    const auto writable = [&] {
        return ::faccessat(folder, name.constData(), W_OK, AT_EACCESS) == 0 ? Standing::File
                                                                            : Standing::Never;
    };
    if (S_ISREG(file.st_mode))
        return writable();
    if (!S_ISLNK(file.st_mode))
        return Standing::Never;
    if (::fstatat(folder, name.constData(), &file, 0) != 0)
        return Standing::Other;
    if (S_ISDIR(file.st_mode))
        return Standing::Never;
    return S_ISREG(file.st_mode) ? writable() : Standing::Other;
}

} // namespace

OutputTarget ExamineOutput(const QString& path, FileId* identity)
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENAMETOOLONG)
            return OutputTarget::NameTooLong;
        return errno == ENOENT ? OutputTarget::Missing : OutputTarget::Other;
    }
    OutputTarget target = OutputTarget::Other;
    if (S_ISREG(info.st_mode))
        target = OutputTarget::File;
    else if (S_ISLNK(info.st_mode) && ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode))
        target = OutputTarget::LinkToFile;
    if (identity && target != OutputTarget::Other)
        *identity = IdOf(info);
    return target;
}

struct PreparedOutput::OpenFolder {
    QByteArray path;
    int fd = -1;
    OpenFolder(QByteArray folderPath, int descriptor)
        : path(std::move(folderPath))
        , fd(descriptor)
    {}
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder() { ::close(fd); }
};

PreparedOutput::~PreparedOutput()
{
    discard();
}

bool PreparedOutput::prepare(const QString& path, QByteArrayView bytes, bool throughLink,
                             const PreparedOutput* neighbour)
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
    if (neighbour && neighbour->m_folder && neighbour->m_folder->path == folder) {
        m_folder = neighbour->m_folder;
    } else {
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        m_folder = std::make_shared<const OpenFolder>(std::move(folder), fd);
    }
    // What can never be replaced is refused before anything is written, so that an output of a
    // group does not fail only after another has taken its place.
    struct stat old {};
    const Standing standing = StandingAt(m_folder->fd, m_name, old);
    if (standing == Standing::Never) {
        discard();
        return false;
    }
    // A file to be replaced lends its permissions from the start, so that the new one is never
    // readable by more people than the old one.
    const mode_t mode = standing == Standing::File ? (old.st_mode & 0777) : 0666;
    for (int attempt = 0; attempt < 8 && m_file < 0; ++attempt) {
        m_temporaryName = TemporaryName();
        m_file = ::openat(m_folder->fd, m_temporaryName.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_file < 0 && errno != EEXIST)
            break;
    }
    if (m_file < 0) {
        m_temporaryName.clear();
        discard();
        return false;
    }
    struct stat created {};
    if (::fstat(m_file, &created) != 0) {
        discard();
        return false;
    }
    m_identity = IdOf(created);
    if (standing == Standing::File)
        KeepOwnerAndMode(m_file, created, old);
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
    const int folder = m_folder->fd;
    Commit result = Commit::Failed;
    if (!replace) {
        result = RenameNoReplaceAt(folder, m_temporaryName, m_name);
    } else {
        // Checked again at the last step: what stands there now may differ from what stood when
        // the output was prepared.
        struct stat existing {};
        if (StandingAt(folder, m_name, existing) != Standing::Never &&
            ::renameat(folder, m_temporaryName.constData(), folder, m_name.constData()) == 0)
            result = Commit::Done;
    }
    if (result != Commit::Done)
        return result;
    m_temporaryName.clear();
    discard();
    return Commit::Done;
}

void PreparedOutput::discard()
{
    if (m_file >= 0)
        ::close(m_file);
    if (m_folder && !m_temporaryName.isEmpty())
        ::unlinkat(m_folder->fd, m_temporaryName.constData(), 0);
    m_folder.reset();
    m_file = -1;
    m_temporaryName.clear();
}

} // namespace kovrant
