#include "files/textfiles.h"

#include "core/cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool WriteTextFile(const QString& path, const QString& text)
{
    // Everything that can be refused is refused before anything is created.
    QByteArray bytes;
    if (path.isEmpty() || !EncodeCp932(text, bytes))
        return false;
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return false;

    // The old file stays untouched until the new one is complete on disk; then one rename puts
    // it in place. QSaveFile refuses a target that may not be written, keeps the old file's
    // permissions, writes through a link to its target, and removes its own temporary file
    // whenever it does not commit. Unbuffered, so that a failed write shows in write() itself.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

ResultCode CheckInputFile(const QString& path)
{
    if (!FileExists(path))
        return ResultCode::FileNotFound;
    if (QFileInfo(path).size() > MaxInputFileSize)
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
