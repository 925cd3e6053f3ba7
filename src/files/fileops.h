#pragma once

#include <QString>

namespace kovrant {

// Renames a file or folder within the file system. Never replaces anything: when newPath
// already names a file, folder or link, the rename fails and both stay as they were.
bool RenameNoReplace(const QString& oldPath, const QString& newPath);

// True when path names an existing folder (following links).
bool FolderExists(const QString& path);

} // namespace kovrant
