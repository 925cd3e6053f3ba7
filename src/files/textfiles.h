#pragma once

#include "core/resultcode.h"

#include <QString>

namespace kovrant {

// Largest input of the batch jobs, in bytes.
inline constexpr qint64 MaxInputFileSize = 60000;

// True for an existing regular file, or a link to one; false for a folder or "".
bool FileExists(const QString& path);

// Reads a whole code page 932 file. Fails (text "") for a missing file, a read error, or bytes
// that are not valid code page 932, so that no file is ever decoded with stand-ins.
bool ReadTextFile(const QString& path, QString& text);

// Writes text as a whole code page 932 file. The new content goes to a fresh file in the same
// folder that replaces the old one in one step once it is complete: any failure leaves the old
// file (or its absence) as it was. Fails for text that code page 932 cannot represent.
bool WriteTextFile(const QString& path, const QString& text);

// The batch jobs' checks: Ok, FileNotFound or FileTooLarge (more than MaxInputFileSize bytes) ...
ResultCode CheckInputFile(const QString& path);
// ... and Ok, ReadFailed or FileEmpty with the text.
ResultCode LoadInputText(const QString& path, QString& text);

} // namespace kovrant
