#pragma once

#include "core/resultcode.h"

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

// Ok when path names an existing folder (following links), NameTooLong where the kernel refuses
// path for its length, FileNotFound otherwise.
ResultCode LookUpFolder(const QString& path);
// True when LookUpFolder finds the folder.
bool FolderExists(const QString& path);

// path made absolute against currentFolder (absolute itself, or "" when the current folder
// cannot be had) where the result is a path the kernel takes; otherwise path as given, which the
// kernel resolves against the current folder itself, however deep that is.
QString AbsolutePathWherePossible(const QString& path, const QString& currentFolder);

} // namespace kovrant
