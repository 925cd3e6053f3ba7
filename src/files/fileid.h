#pragma once

#include <QHashFunctions>
#include <QString>

#include <optional>

namespace kovrant {

// Device and inode: two names that lead to one file have the same identity.
struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

inline size_t qHash(const FileId& id, size_t seed = 0)
{
    return qHashMulti(seed, id.device, id.inode);
}

// The identity of the file path leads to (following links); nothing when there is none.
std::optional<FileId> IdentityOf(const QString& path);

} // namespace kovrant
