#pragma once

#include "core/resultcode.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace kovrant {

// Largest input of the batch jobs, in bytes.
inline constexpr qint64 MaxInputFileSize = 60000;

// True for an existing regular file, or a link to one; false for a folder or "".
bool FileExists(const QString& path);

// True when path could be written: an existing file that may be written, or a missing file in
// an existing folder that accepts new files. Leaves nothing behind and changes no file.
bool CanOpenForWrite(const QString& path);

// File channels: small numbers naming open files, as the whole-file reader (channel 1) uses.
// Positions are 1-based byte offsets; 0 means "where the channel now stands", and every read
// or write advances position past the bytes transferred.
using FileChannel = int;
FileChannel FreeFileChannel();
bool OpenBinaryFile(FileChannel channel, const QString& path, bool skipExistenceCheck,
                    bool forReading);
bool ReadBytes(FileChannel channel, qint64& position, qint64 count, QByteArray& bytes);
bool WriteBytes(FileChannel channel, qint64& position, const QByteArray& bytes);
// As ReadBytes/WriteBytes, converting through code page 932; invalid bytes or characters
// without a code fail the call.
bool ReadString(FileChannel channel, qint64& position, qint64 count, QString& text);
bool WriteString(FileChannel channel, qint64& position, const QString& text);
void CloseFileChannel(FileChannel channel);
void CloseAllFileChannels();

// Reads a whole code page 932 file. Fails (text "") for a missing file, a read error, or bytes
// that are not valid code page 932, so that no file is ever decoded with stand-ins.
bool ReadTextFile(const QString& path, QString& text);

// Writes text as a whole code page 932 file. The new content goes to a fresh file in the same
// folder that replaces the old one in one step once it is complete: any failure leaves the old
// file (or its absence) as it was. Fails for text that code page 932 cannot represent.
bool WriteTextFile(const QString& path, const QString& text);

// Called once by every WriteTextFile so that the window can process its pending events.
void SetPendingEventsHook(std::function<void()> hook);

// The batch jobs' checks: 0, 11 (missing) or 12 (more than MaxInputFileSize bytes) ...
ResultCode CheckInputFile(const QString& path);
// ... and 0, 13 (cannot be read) or 14 (empty) with the text.
ResultCode LoadInputText(const QString& path, QString& text);

} // namespace kovrant
