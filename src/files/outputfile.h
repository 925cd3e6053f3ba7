#pragma once

#include "files/fileid.h"

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
// A new file written completely beside the place it is to take, which replaces nothing until it
// is committed. Paths go to the kernel as given: nothing is cleaned or resolved as text.
class PreparedOutput {
public:
    PreparedOutput() = default;
    PreparedOutput(const PreparedOutput&) = delete;
    PreparedOutput& operator=(const PreparedOutput&) = delete;
    ~PreparedOutput(); // an output never committed is removed

    // Writes bytes to a fresh file of a short name in the folder of path, flushed to disk, with
    // the owner, group and permissions of the file it may replace. throughLink: when path is a
    // link to a regular file, the output takes the place of that file, not of the link. Fails,
    // leaving nothing behind, where a folder, a device, a link to a folder or a file this
    // process may not write stands. An output
    // of the same group prepared before in the same folder, as neighbour, lends its open folder.
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
    std::shared_ptr<const OpenFolder> m_folder; // the folder the output goes into
    int m_file = -1;                            // the prepared file, open
    QByteArray m_name;                          // the output's name in that folder
    QByteArray m_temporaryName;
    FileId m_identity;
};

} // namespace kovrant
