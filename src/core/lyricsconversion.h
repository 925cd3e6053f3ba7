#pragma once

#include "core/resultcode.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace kovrant {

// The formats lyrics are converted between: time-tagged lyrics, and those that players read.
enum class LyricsFormat { Tags, Lrc, EnhancedLrc, Ass, WebVtt };

struct ConvertOptions {
    qint32 shiftMs = 0; // added to every time, which then stays within 0 and 99:59.99
};

// The format a text is in, by its content: WebVTT by its header, ASS by "[Script Info]" as its
// first line, time-tagged lyrics by a tag in a body line, LRC by a line that begins with a stamp
// (enhanced when a word stamp "<...>" stands anywhere); nothing for any other text.
std::optional<LyricsFormat> RecogniseLyricsFormat(QStringView text);

// Converts input to the format to. For Tags, input is an LRC, enhanced LRC, ASS or WebVTT text,
// recognised by its content; for the others, time-tagged lyrics. The output is that format's
// text with its line breaks: CRLF for time-tagged lyrics, LRC and ASS, LF for WebVTT. Fails,
// leaving output untouched, with NoTimeTagToConvert for lyrics without a tag,
// AlreadyTimeTagged for time-tagged lyrics to Tags, UnknownLyricsFormat for a text in none of
// the formats, or a code of the format's reader (InvalidAss, NoTimedLine, TimeBeyondLimit,
// FileTooLarge).
bool ConvertLyrics(QStringView input, LyricsFormat to, const ConvertOptions& options,
                   QString& output, ResultCode& code);

} // namespace kovrant
