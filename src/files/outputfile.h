#pragma once

#include "files/fileid.h"
#include "files/removalonsignal.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace kovrant {

// What stands at the name an output is to be written to. Anything at all counts: a link,
// dangling or not, a folder or a device is asked about like a file and never written through
// unasked.
enum class OutputTarget {
    Missing,     // nothing
    File,        // a regular file
    LinkToFile,  // a symbolic link that leads to a regular file
    Other,       // a folder, a device, a dangling link, a link to a folder, ...
    NameTooLong, // nothing can stand there: the kernel refuses the name or path for its length
};

// What stands at path; for a File or a LinkToFile, identity gets the identity of that file, from
// the same look.
OutputTarget ExamineOutput(const QString& path, FileId* identity = nullptr);

// How a prepared output's file exists before it is committed. Unnamed, where the file system
// allows, has a name only in the instant a commit replaces a file, so that nothing is left
// behind whatever else ends the process, SIGKILL included; elsewhere, and always with Named, it
// is a hidden file of a random name. Either name is removed on SIGTERM, SIGINT and SIGHUP
// (RemovalOnSignal).
enum class TemporaryFile { Unnamed, Named };

// A new file written completely beside the place it is to take, which replaces nothing until it
// is committed. Paths go to the kernel as given: nothing is cleaned or resolved as text.
class PreparedOutput {
public:
    // Named: the fallback of file systems without unnamed files, chosen so that tests can run it
    // on any file system.
    explicit PreparedOutput(TemporaryFile temporary = TemporaryFile::Unnamed)
        : m_temporary(temporary)
    {}
    PreparedOutput(const PreparedOutput&) = delete;
    PreparedOutput& operator=(const PreparedOutput&) = delete;
    ~PreparedOutput(); // an output never committed is removed

    // Writes bytes to a fresh file in the folder of path, flushed to disk, with the owner, group,
    // permissions and access ACL of the file it may replace; where that ACL cannot be given,
    // the permissions are narrowed so that nobody may do more with the new file than with the
    // old one. throughLink: when path is a link to a regular file, the output takes the place of
    // that file, not of the link. Fails, leaving nothing behind, where a folder, a device, a link
    // to a folder or a file this process may not write stands. An output of the same group
    // prepared before in the same folder, as neighbour, lends its open folder.
    bool prepare(const QString& path, QByteArrayView bytes, bool throughLink,
                 const PreparedOutput* neighbour = nullptr);

    enum class Commit { Done, Taken, Failed };
    // Puts the output in place. Without replace, a name at which anything stands is Taken and
    // stays as it is. Nothing ever replaces a folder, a device or a link to a folder.
    Commit commit(bool replace);

    // Removes the prepared file; nothing else changes.
    void discard();

    // The identity of the prepared file, which it keeps when committed.
    FileId identity() const { return m_identity; }

private:
    struct OpenFolder;
    bool createNamed(unsigned mode);
    bool linkUnnamed(const QByteArray& name) const;
    Commit replaceWithUnnamed();

    TemporaryFile m_temporary;
    std::shared_ptr<const OpenFolder> m_folder; // the folder the output goes into
    int m_file = -1;                            // the prepared file, open
    bool m_unnamed = false;                     // the prepared file has no name yet
    QByteArray m_name;                          // the output's name in that folder
    QByteArray m_temporaryName;                 // the prepared file's name, while it has one
    RemovalOnSignal m_removal;                  // for m_temporaryName
    FileId m_identity;
};

namespace detail {
// The permissions a replacing file gets where the old file's access ACL (acl, "" when it could
// not be read) cannot be given to it: the owning group keeps no more than the ACL let it do,
// since without an ACL the group bits, which were the ACL's mask, are that group's own.
unsigned ModeWithoutAcl(unsigned oldMode, QByteArrayView acl);
} // namespace detail

} // namespace kovrant
