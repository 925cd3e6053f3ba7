#include "files/outputfile.h"

#include "files/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

constexpr char AccessAclName[] = "system.posix_acl_access";

// The access ACL of a file an output replaces, as the kernel stores it.
struct OldAcl {
    enum { Absent, Present, Unknown } state = Absent;
    QByteArray value;
};

// Read through the folder and the name, following a link as StandingAt does, so that a file
// this process may write but not read still lends its ACL. A file system without ACLs has none.
OldAcl ReadAccessAcl(int folder, const QByteArray& name)
{
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(folder) + '/' + name;
    const auto get = [&](char* buffer, std::size_t size) {
        const ssize_t got = ::getxattr(path.constData(), AccessAclName, buffer, size);
        if (got >= 0 || errno != ENOENT)
            return got;
        // Without /proc, through the file itself, which must then be readable.
        const int fd =
            ::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return got;
        const ssize_t again = ::fgetxattr(fd, AccessAclName, buffer, size);
        const int error = errno;
        ::close(fd);
        errno = error;
        return again;
    };
    OldAcl acl;
    ssize_t size = get(nullptr, 0);
    if (size > 0) {
        acl.value.resize(size);
        size = get(acl.value.data(), std::size_t(size));
    }
    if (size > 0) {
        acl.value.resize(size);
        acl.state = OldAcl::Present;
    } else if (size < 0 && errno != ENODATA && errno != EOPNOTSUPP) {
        acl.state = OldAcl::Unknown;
    }
    return acl;
}

// The permissions a replacing file has from its creation on, before its ACL is given.
mode_t CreationMode(const struct stat& old, const OldAcl& acl)
{
    const mode_t mode = old.st_mode & 0777;
    return acl.state == OldAcl::Absent ? mode : detail::ModeWithoutAcl(mode, acl.value);
}

// A replaced file keeps its owner, group, permissions and access ACL where this process may give
// them; without the right to (or on a file system without owners) the new file keeps the
// defaults, but never more access than the old file gave. The mode comes last, as a change of
// owner clears the set-user-ID bits. What the new file has already is not set again.
void KeepAccess(int file, const struct stat& created, const struct stat& old, const OldAcl& acl)
{
    const bool ownerDiffers = created.st_uid != old.st_uid || created.st_gid != old.st_gid;
    if (ownerDiffers) {
        const int ownerKept = ::fchown(file, old.st_uid, old.st_gid);
        Q_UNUSED(ownerKept);
    }
    mode_t mode = old.st_mode & 07777;
    bool aclGiven = false;
    if (acl.state == OldAcl::Present) {
        aclGiven = ::fsetxattr(file, AccessAclName, acl.value.constData(),
                               std::size_t(acl.value.size()), 0) == 0;
        if (!aclGiven)
            mode = detail::ModeWithoutAcl(mode, acl.value);
    } else if (acl.state == OldAcl::Absent) {
        // The folder's default ACL may have given the new file entries the old one did not have.
        if (::fremovexattr(file, AccessAclName) != 0 && errno != ENODATA && errno != EOPNOTSUPP)
            mode = detail::ModeWithoutAcl(mode, {});
    } else {
        mode = detail::ModeWithoutAcl(mode, {});
    }
    if (aclGiven || ownerDiffers || (created.st_mode & 07777) != mode)
        ::fchmod(file, mode);
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

namespace detail {

unsigned ModeWithoutAcl(unsigned oldMode, QByteArrayView acl)
{
    // A version (2), then entries of a tag, permissions and an id: 4, 2, 2 and 4 bytes, in
    // little-endian order.
    constexpr quint16 GroupObject = 0x04, Mask = 0x10;
    int group = -1;
    unsigned mask = 7;
    if (acl.size() >= 4 && (acl.size() - 4) % 8 == 0 &&
        qFromLittleEndian<quint32>(acl.data()) == 2) {
        for (qsizetype at = 4; at < acl.size(); at += 8) {
            const quint16 tag = qFromLittleEndian<quint16>(acl.data() + at);
            const unsigned permissions = qFromLittleEndian<quint16>(acl.data() + at + 2) & 7u;
            if (tag == GroupObject)
                group = int(permissions);
            else if (tag == Mask)
                mask = permissions;
        }
    }
    const unsigned groupBits = group < 0 ? 0 : unsigned(group) & mask & (oldMode >> 3);
    return (oldMode & ~070u) | (groupBits & 7u) << 3;
}

} // namespace detail

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
    // open to more people than the old one.
    const OldAcl acl = standing == Standing::File ? ReadAccessAcl(m_folder->fd, m_name) : OldAcl{};
    const mode_t mode = standing == Standing::File ? CreationMode(old, acl) : 0666;
    if (m_temporary == TemporaryFile::Unnamed) {
        m_file = ::openat(m_folder->fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        m_unnamed = m_file >= 0;
    }
    // File systems without unnamed files refuse them in several ways: a named file is tried
    // whatever the reason, and its failure is the answer.
    if (m_file < 0 && !createNamed(mode)) {
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
        KeepAccess(m_file, created, old, acl);
    if (!WriteAll(m_file, bytes) || ::fsync(m_file) != 0) {
        discard();
        return false;
    }
    return true;
}

bool PreparedOutput::createNamed(unsigned mode)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray name = TemporaryName();
        // Registered before it exists, so that no moment passes in which a signal would leave it.
        m_removal.registerName(m_folder->fd, name);
        m_file = ::openat(m_folder->fd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          mode_t(mode));
        if (m_file >= 0) {
            m_temporaryName = name;
            return true;
        }
        m_removal.unregister(); // the name is another file's
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool PreparedOutput::linkUnnamed(const QByteArray& name) const
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_file);
    if (::linkat(AT_FDCWD, self.constData(), m_folder->fd, name.constData(), AT_SYMLINK_FOLLOW) ==
        0)
        return true;
    // Without /proc, the file itself, which the kernel allows privileged processes only.
    return errno == ENOENT &&
           ::linkat(m_file, "", m_folder->fd, name.constData(), AT_EMPTY_PATH) == 0;
}

// Only a rename replaces a name at once, and it takes a name: the file has one for that moment.
PreparedOutput::Commit PreparedOutput::replaceWithUnnamed()
{
    const int folder = m_folder->fd;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray name = TemporaryName();
        m_removal.registerName(folder, name);
        if (linkUnnamed(name)) {
            m_unnamed = false;
            m_temporaryName = name;
            return ::renameat(folder, name.constData(), folder, m_name.constData()) == 0
                       ? Commit::Done
                       : Commit::Failed;
        }
        m_removal.unregister();
        if (errno != EEXIST)
            return Commit::Failed;
    }
    return Commit::Failed;
}

PreparedOutput::Commit PreparedOutput::commit(bool replace)
{
    if (m_file < 0)
        return Commit::Failed;
    const int folder = m_folder->fd;
    Commit result = Commit::Failed;
    if (!replace && m_unnamed) {
        result = linkUnnamed(m_name) ? Commit::Done
                 : errno == EEXIST   ? Commit::Taken
                                     : Commit::Failed;
    } else if (!replace) {
        result = RenameNoReplaceAt(folder, m_temporaryName, m_name);
    } else {
        // Checked again at the last step: what stands there now may differ from what stood when
        // the output was prepared.
        struct stat existing {};
        if (StandingAt(folder, m_name, existing) == Standing::Never)
            result = Commit::Failed;
        else if (m_unnamed)
            result = replaceWithUnnamed();
        else if (::renameat(folder, m_temporaryName.constData(), folder, m_name.constData()) == 0)
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
    m_removal.unregister();
    m_folder.reset();
    m_file = -1;
    m_unnamed = false;
    m_temporaryName.clear();
}

} // namespace kovrant
