#include "files/textfiles.h"

#include "core/cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <memory>
#include <utility>

namespace kovrant {

namespace {

constexpr FileChannel MaxFileChannel = 255;
constexpr FileChannel TextFileChannel = 1;

std::array<std::unique_ptr<QFile>, MaxFileChannel + 1>& Channels()
{
    static std::array<std::unique_ptr<QFile>, MaxFileChannel + 1> channels;
    return channels;
}

bool IsValidChannel(FileChannel channel)
{
    return channel >= 1 && channel <= MaxFileChannel;
}

QFile* OpenChannel(FileChannel channel)
{
    if (!IsValidChannel(channel))
        return nullptr;
    QFile* file = Channels()[static_cast<std::size_t>(channel)].get();
    return file && file->isOpen() ? file : nullptr;
}

// Turns a 1-based position (0: where the channel stands) into a seek offset.
bool SeekToPosition(QFile& file, qint64 position, qint64& offset)
{
    if (position < 0)
        return false;
    offset = position == 0 ? file.pos() : position - 1;
    return file.seek(offset);
}

std::function<void()>& PendingEventsHook()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

bool FileExists(const QString& path)
{
    // A plain stat, not a directory search: "*" and "?" are name characters here, and a
    // folder, a device or a dangling link is no file to read.
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool CanOpenForWrite(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.exists()) {
        if (!info.isFile())
            return false;
        // Append neither truncates nor moves anything, so the probe leaves the file as it was.
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
    }
    // Create the name exclusively so that only what this probe made is removed again.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    file.close();
    return file.remove();
}

FileChannel FreeFileChannel()
{
    for (FileChannel channel = 1; channel <= MaxFileChannel; ++channel) {
        if (!OpenChannel(channel))
            return channel;
    }
    return 0;
}

bool OpenBinaryFile(FileChannel channel, const QString& path, bool skipExistenceCheck,
                    bool forReading)
{
    CloseFileChannel(channel);
    if (!IsValidChannel(channel) || path.isEmpty())
        return false;
    if (!skipExistenceCheck && !FileExists(path))
        return false;

    // ReadWrite rather than WriteOnly: WriteOnly alone would cut an existing file short.
    // Unbuffered, so that every failed write is reported by the call that made it.
    const QIODevice::OpenMode mode =
        (forReading ? QIODevice::ReadOnly : QIODevice::ReadWrite) | QIODevice::Unbuffered;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(mode))
        return false;
    Channels()[static_cast<std::size_t>(channel)] = std::move(file);
    return true;
}

bool ReadBytes(FileChannel channel, qint64& position, qint64 count, QByteArray& bytes)
{
    QFile* file = OpenChannel(channel);
    if (!file || !file->isReadable() || count < 0)
        return false;
    qint64 offset = 0;
    if (!SeekToPosition(*file, position, offset))
        return false;
    // read() never allocates more than the file holds, so a huge count cannot exhaust memory.
    QByteArray data = file->read(count);
    if (data.size() != count)
        return false;
    bytes = std::move(data);
    position = offset + 1 + count;
    return true;
}

bool WriteBytes(FileChannel channel, qint64& position, const QByteArray& bytes)
{
    QFile* file = OpenChannel(channel);
    if (!file || !file->isWritable())
        return false;
    qint64 offset = 0;
    if (!SeekToPosition(*file, position, offset))
        return false;
    if (file->write(bytes) != bytes.size())
        return false;
    position = offset + 1 + bytes.size();
    return true;
}

bool ReadString(FileChannel channel, qint64& position, qint64 count, QString& text)
{
    qint64 newPosition = position;
    QByteArray bytes;
    if (!ReadBytes(channel, newPosition, count, bytes) || !DecodeCp932(bytes, text))
        return false;
    position = newPosition;
    return true;
}

bool WriteString(FileChannel channel, qint64& position, const QString& text)
{
    QByteArray bytes;
    return EncodeCp932(text, bytes) && WriteBytes(channel, position, bytes);
}

void CloseFileChannel(FileChannel channel)
{
    if (IsValidChannel(channel))
        Channels()[static_cast<std::size_t>(channel)].reset();
}

void CloseAllFileChannels()
{
    for (auto& file : Channels())
        file.reset();
}

bool ReadTextFile(const QString& path, QString& text)
{
    text.clear();
    bool ok = false;
    if (OpenBinaryFile(TextFileChannel, path, false, true)) {
        const qint64 length = Channels()[TextFileChannel]->size();
        qint64 position = 1;
        ok = ReadString(TextFileChannel, position, length, text);
    }
    CloseAllFileChannels();
    return ok;
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

    // A copy, so that a hook which replaces itself is not destroyed while it runs.
    if (const auto hook = PendingEventsHook())
        hook();
    // A channel still open on the target would keep the replacement from taking its place.
    CloseAllFileChannels();

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

void SetPendingEventsHook(std::function<void()> hook)
{
    PendingEventsHook() = std::move(hook);
}

ResultCode CheckInputFile(const QString& path)
{
    if (!FileExists(path))
        return Result::FileNotFound;
    if (QFileInfo(path).size() > MaxInputFileSize)
        return Result::FileTooLarge;
    return Result::Ok;
}

ResultCode LoadInputText(const QString& path, QString& text)
{
    QString read;
    if (!ReadTextFile(path, read))
        return Result::ReadFailed;
    if (read.isEmpty())
        return Result::FileEmpty;
    text = std::move(read);
    return Result::Ok;
}

} // namespace kovrant
