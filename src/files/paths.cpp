#include "files/paths.h"

namespace kovrant {

namespace {

// The name the dot rules look at: the file name, or the whole path when it has none (no
// separator, or a path that ends in one).
QStringView NameForDots(const QString& path, QChar separator)
{
    const qsizetype lastSep = path.lastIndexOf(separator);
    if (lastSep < 0 || lastSep == path.size() - 1)
        return path;
    return QStringView(path).mid(lastSep + 1);
}

} // namespace

QString AddBackslash(const QString& path, QChar separator)
{
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

QString StripBackslash(const QString& path, QChar separator)
{
    QString result = path;
    if (result.endsWith(separator))
        result.chop(1);
    if (result.size() == 2)
        result += separator;
    return result;
}

QString FolderPart(const QString& path, QChar separator)
{
    const qsizetype lastSep = path.lastIndexOf(separator);
    if (lastSep < 0)
        return QString();
    return path.left(lastSep + 1);
}

QString FileNamePart(const QString& path, QChar separator)
{
    const qsizetype lastSep = path.lastIndexOf(separator);
    if (lastSep < 0)
        return QString();
    return path.mid(lastSep + 1);
}

QString BaseNamePart(const QString& path, QChar separator)
{
    const QStringView name = NameForDots(path, separator);
    const qsizetype lastDot = name.lastIndexOf(u'.');
    if (lastDot < 0)
        return name.toString();
    return name.left(lastDot).toString();
}

QString ExtensionPart(const QString& path, QChar separator)
{
    const QStringView name = NameForDots(path, separator);
    const qsizetype lastDot = name.lastIndexOf(u'.');
    if (lastDot < 0)
        return QString();
    return name.mid(lastDot + 1).toString();
}

} // namespace kovrant
