#pragma once

#include <QString>

namespace kovrant {

// A failure code shared by the core, the input checks and the jobs; 0 means success.
using ResultCode = qint32;

namespace Result {
constexpr ResultCode Ok = 0;
constexpr ResultCode InvalidTaggedLyrics = 1; // Divide: nothing to divide
constexpr ResultCode NoValidTimeTag = 2;      // Divide: no tag anywhere in the body
constexpr ResultCode CrcUnavailable = 3;      // Divide: the CRC could not be computed
constexpr ResultCode FileNotFound = 11;
constexpr ResultCode FileTooLarge = 12;
constexpr ResultCode ReadFailed = 13;
constexpr ResultCode FileEmpty = 14;
constexpr ResultCode SaveFailed = 15;
constexpr ResultCode InvalidTtd = 21;        // Combine: the TTD text has no valid frame
constexpr ResultCode EmptySourceLyrics = 22; // Combine: no source text to put tags on
constexpr ResultCode CrcMismatch = 23;       // Combine: the source is not the one divided
constexpr ResultCode TargetExists = 31;      // rename: the new name is taken
constexpr ResultCode RenameFailed = 32;
} // namespace Result

// Number of entries of the error message table (codes 0 to 32).
constexpr int ErrorMessageTableSize = 33;

// The message of a code; the empty text for codes without one or out of the table.
QString ErrorMessage(ResultCode code);

} // namespace kovrant
