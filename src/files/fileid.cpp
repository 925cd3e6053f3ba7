#include "files/fileid.h"

#include <QFile>

#include <sys/stat.h>

namespace kovrant {

std::optional<FileId> IdentityOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileId{quint64(info.st_dev), quint64(info.st_ino)};
}

} // namespace kovrant
