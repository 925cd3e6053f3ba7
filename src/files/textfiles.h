#pragma once

#include "core/resultcode.h"
#include "core/textencoding.h"

#include <QString>

#include <optional>

namespace kovrant {

// Largest input of the batch jobs, in bytes; a TTD file may take twice as much, as the TTD of
// the largest lyrics file does.
inline constexpr qint64 MaxInputFileSize = 60000;
inline constexpr qint64 MaxTtdFileSize = 2 * MaxInputFileSize;

// Largest input of the single combine, which has no batch limit but must fit in memory.
inline constexpr qint64 MaxSingleCombineInput = qint64(1) << 30;

// Ok for an existing regular file or a link to one. NameTooLong where the kernel refuses path
// for its length (a name longer than the file system takes, a path longer than the kernel
// takes), so that such a name is never taken for a missing file; FileNotFound otherwise.
ResultCode LookUpFile(const QString& path);
// True when LookUpFile finds the file; false for a folder or "".
bool FileExists(const QString& path);

// A text as read from a file, with the encoding the file had.
struct TextFile {
    QString text;
    TextEncoding encoding = TextEncoding::Cp932;
};

// What a message may say of a failed read beyond its code.
struct FileErrorDetails {
    int systemError = 0;     // ReadFailed: the system's error number; 0 when it gave none
    qint64 invalidByte = -1; // InvalidEncoding: the first byte not valid in encoding, from 0
    TextEncoding encoding = TextEncoding::Cp932; // InvalidEncoding: the encoding read in
};

// Why a file could not be read as text.
struct ReadFailure {
    ResultCode code = ResultCode::ReadFailed; // or InvalidEncoding
    FileErrorDetails details;
};

// Reads a whole text file, recognising its encoding. Fails, leaving file untouched, for a
// missing file, anything but a regular file or a read error (ReadFailed), or bytes that are not
// valid in the encoding found (InvalidEncoding), so that no file is ever decoded with stand-ins.
// checkedSize: the size a check of path has just found, so that the file is not examined again;
// the file is then read up to that size, as it is read up to the size it has when opened
// otherwise. otherReading, when given, gets the other reading of the same bytes where there is
// one (see DecodeOtherReading), and nothing otherwise.
bool ReadTextFile(const QString& path, Recognition recognition, TextFile& file,
                  ReadFailure& failure, qint64 checkedSize = -1,
                  std::optional<TextFile>* otherReading = nullptr);

// The first bytes of the regular file at path, at most count of them (all of a shorter file). False
// for anything but a regular file that can be read; a pipe or a device is never waited on.
bool ReadFileStart(const QString& path, qint64 count, QByteArray& bytes);

// The batch jobs' checks: Ok, InvalidFileName, FileNotFound, NameTooLong or FileTooLarge (more
// than limit bytes), with the size found for LoadInputText ...
ResultCode CheckInputFile(const QString& path, qint64 limit = MaxInputFileSize,
                          qint64* size = nullptr);
// ... and Ok, ReadFailed, InvalidEncoding (with details) or FileEmpty with the text.
ResultCode LoadInputText(const QString& path, Recognition recognition, TextFile& file,
                         FileErrorDetails& details, qint64 checkedSize = -1,
                         std::optional<TextFile>* otherReading = nullptr);

} // namespace kovrant
