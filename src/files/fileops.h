#pragma once

#include <QString>

namespace kovrant {

// Renames a file or folder within the file system. Never replaces anything: when newPath
// already names a file, folder or link, the rename fails and both stay as they were.
bool RenameNoReplace(const QString& oldPath, const QString& newPath);

#ifndef Q_OS_WIN
namespace detail {
// What RenameNoReplace falls back to where the file system cannot refuse a taken name itself:
// the new name is reserved by an exclusive create and the rename replaces only that. Declared
// so that tests can run it on any file system.
bool RenameNoReplaceFallback(const QString& oldPath, const QString& newPath);
} // namespace detail
#endif

// True when path names an existing folder (following links).
bool FolderExists(const QString& path);

} // namespace kovrant
