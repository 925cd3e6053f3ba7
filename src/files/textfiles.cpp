#include "files/textfiles.h"

#include "core/cp932.h"
#include "files/filenames.h"

#include <QFile>
#include <QFileInfo>

namespace kovrant {

bool FileExists(const QString& path)
{
    // A plain stat, not a directory search: "*" and "?" are name characters here, and a
    // folder, a device or a dangling link is no file to read.
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool ReadTextFile(const QString& path, QString& text)
{
    text.clear();
    if (!FileExists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A short read is an error, not a shorter text.
    const qint64 size = file.size();
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        return false;
    return DecodeCp932(bytes, text);
}

ResultCode CheckInputFile(const QString& path, qint64 limit)
{
    if (!IsValidFileName(path))
        return ResultCode::InvalidFileName;
    if (!FileExists(path))
        return ResultCode::FileNotFound;
    if (QFileInfo(path).size() > limit)
        return ResultCode::FileTooLarge;
    return ResultCode::Ok;
}

ResultCode LoadInputText(const QString& path, QString& text)
{
    QString read;
    if (!ReadTextFile(path, read))
        return ResultCode::ReadFailed;
    if (read.isEmpty())
        return ResultCode::FileEmpty;
    text = std::move(read);
    return ResultCode::Ok;
}

} // namespace kovrant
