#pragma once

#include <QString>

namespace kovrant {

// The folder of path with its separator, where the jobs put what belongs beside path. A path
// without a folder gives "" so that what is formed from it stays beside it instead of in the
// root.
QString FolderOf(const QString& path);

// FolderOf(path) + BaseNamePart(path) + extension: the file of the same base name beside path
// ("/k/song.TTD" with ".TXT" gives "/k/song.TXT"). extension is appended as it stands.
QString SiblingPath(const QString& path, const QString& extension);

// True for a text that can end a file name as its extension: not empty, and without a
// separator (which would lead into another folder) or a NUL (which would cut the name short).
bool IsExtensionText(const QString& text);

} // namespace kovrant
