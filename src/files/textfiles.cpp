#include "files/textfiles.h"

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

bool ReadTextFile(const QString& path, Recognition recognition, TextFile& file)
{
    if (!FileExists(path))
        return false;
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    // A short read is an error, not a shorter text.
    const qint64 size = input.size();
    const QByteArray bytes = input.read(size);
    if (bytes.size() != size)
        return false;
    return DecodeText(bytes, recognition, file.text, file.encoding);
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

ResultCode LoadInputText(const QString& path, Recognition recognition, TextFile& file)
{
    TextFile read;
    if (!ReadTextFile(path, recognition, read))
        return ResultCode::ReadFailed;
    if (read.text.isEmpty())
        return ResultCode::FileEmpty;
    file = std::move(read);
    return ResultCode::Ok;
}

} // namespace kovrant
