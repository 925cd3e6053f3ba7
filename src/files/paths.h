#pragma once

#include <QChar>
#include <QString>

namespace kovrant {

// The separator of paths on this platform: "\" on Windows, "/" elsewhere. Every helper below
// takes it as a parameter so the same rules can be checked with either character.
#ifdef Q_OS_WIN
inline constexpr QChar PlatformSeparator = u'\\';
#else
inline constexpr QChar PlatformSeparator = u'/';
#endif

// Pure text operations on paths. Nothing is normalised, nothing touches the file system, and
// the separator is the only character with a meaning besides ".".

// The path with a separator appended, unless it already ends with one ("" gives the separator).
QString AddBackslash(const QString& path, QChar separator = PlatformSeparator);
// The path less one trailing separator; a 2-character result (a drive such as "C:") gets it back.
QString StripBackslash(const QString& path, QChar separator = PlatformSeparator);
// Everything up to and including the last separator; "" without one.
QString FolderPart(const QString& path, QChar separator = PlatformSeparator);
// Everything after the last separator; "" without one, and "" for a path ending in one.
QString FileNamePart(const QString& path, QChar separator = PlatformSeparator);
// The file name (or the whole path when it has none) less its last dot and what follows.
QString BaseNamePart(const QString& path, QChar separator = PlatformSeparator);
// What follows the last dot of the file name (or of the whole path), case kept; "" without a dot.
QString ExtensionPart(const QString& path, QChar separator = PlatformSeparator);

} // namespace kovrant
