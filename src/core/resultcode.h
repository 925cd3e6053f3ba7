#pragma once

#include <QString>

namespace kovrant {

// A failure code shared by the core, the input checks and the jobs; Ok means success.
enum class ResultCode : qint32 {
    Ok = 0,
    InvalidTaggedLyrics = 1, // Divide: nothing to divide
    NoValidTimeTag = 2,      // Divide: no tag anywhere in the body
    CrcUnavailable = 3,      // Divide: the source lyrics have no code page 932 form
    FileNotFound = 11,
    FileTooLarge = 12,
    ReadFailed = 13,
    FileEmpty = 14,
    SaveFailed = 15,
    InvalidFileName = 16,   // a name that is not valid UTF-8; refused before it is used
    WrittenThisRun = 17,    // an output this run has written already is not replaced
    NameTooLong = 18,       // a name or path longer than the file system or the kernel takes
    InvalidEncoding = 19,   // bytes that are not valid in the encoding they are read in
    InvalidTtd = 21,        // Combine: the TTD text has no valid frame
    EmptySourceLyrics = 22, // Combine: no source text to put tags on
    CrcMismatch = 23,       // Combine: the source is not the one divided
    AmbiguousEncoding = 24, // Combine: source lyrics that read as code page 932 and as UTF-8
                            // put the tags in different places
    TargetExists = 31,      // rename: the new name is taken
    RenameFailed = 32,
    NoTimeTagToConvert = 41,  // format conversion: the time-tagged lyrics hold no tag
    UnknownLyricsFormat = 42, // format conversion: neither LRC, ASS nor WebVTT
    InvalidAss = 43,          // format conversion: no events section, or a broken event line
    TimeBeyondLimit = 44,     // format conversion: a time past 99:59.99, which no tag holds
    AlreadyTimeTagged = 45,   // format conversion: time-tagged lyrics asked to become tags
    NoTimedLine = 46,         // format conversion: an LRC, ASS or WebVTT text without any time
    RetimeTooDifferent = 51,  // retime: too few characters in common to carry the timing
    RetimeNoTimeTag = 52,     // retime: the old text has no tag to carry
    RetimeEmptyText = 53,     // retime: the new text has nothing to time
    RetimeIncomplete = 54,    // retime: not written, as asked, because some timing was lost
};

// The message of a code, translated for the user; the empty text for Ok.
QString ErrorMessage(ResultCode code);

} // namespace kovrant
