#pragma once

#include "core/resultcode.h"
#include "core/timing.h"

#include <QString>
#include <QStringView>

namespace kovrant {

// WebVTT with inline timestamps.
//
// Writes "WEBVTT", a NOTE block of the attribute lines, then a block for every line in its
// order: for a timed line a cue "HH:MM:SS.mmm --> HH:MM:SS.mmm" from its first point to its end
// (CueTimings) with its text on one line and "<HH:MM:SS.mmm>" before every syllable but the
// first, and after the text too where CueTiming::markEnd asks for it; for a line without time a
// comment "NOTE text"; for an empty line a bare "NOTE". "&", "<" and ">" are written as character
// references, a line break in a text as a space; each line ends with LF.
QString WriteVtt(const TimingModel& model);

// Reads WebVTT: each cue becomes a timed line from its start, with a point at each inline
// timestamp and its end as EndCue decides; its text lines are joined by a space, markup is left
// out (ruby text too) and character references are decoded. Each line of a NOTE block becomes an
// attribute when it is an attribute line and otherwise a line without time; a bare NOTE an empty
// line. A cue whose timing is not valid is skipped, as players skip it. Fails with
// UnknownLyricsFormat without the "WEBVTT" header, NoTimedLine without a valid cue and
// TimeBeyondLimit for a point past 99:59.99.
bool ReadVtt(QStringView input, TimingModel& model, ResultCode& code);

// True for a text that begins with the WebVTT header, after a byte-order mark.
bool IsWebVttText(QStringView text);

} // namespace kovrant
