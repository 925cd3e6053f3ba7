#pragma once

#include "core/resultcode.h"
#include "core/timing.h"

#include <QString>
#include <QStringView>

namespace kovrant {

// ASS (Advanced SubStation Alpha) karaoke.
//
// Writes "[Script Info]" (ScriptType v4.00+, the first "@Title" as its Title, every other
// attribute line as a comment "; @key=value"), "[V4+ Styles]" with a style Default in IPAGothic,
// and "[Events]" with, for every line in its order, a Dialogue for a timed line from its first
// point to its end (CueTimings), its text as "{\kf<d>}" and the text of each syllable, d in
// centiseconds (a silence has no text; where CueTiming::markEnd asks for it the end follows as
// "{\kf0}"), and a Comment event for a line without time or an empty line. In the text, "{" is
// written "\{{}", and a backslash that would begin "\N", "\n", "\h", "\{" or "\}", or ends a
// syllable's text, gets U+200B after it. CRLF ends each line.
QString WriteAss(const TimingModel& model);

// Reads ASS and SSA: each Dialogue becomes a timed line from its Start, with a point where each
// "\k", "\K", "\kf" or "\ko" begins a syllable (text ahead of the first belongs to it) and its
// end as EndCue decides: where the durations end, or at End for a Dialogue without karaoke. Other
// override tags are left out, "\N" and "\n" become spaces and "\h" U+00A0. A Comment event
// without an Effect becomes a line without time (an empty line when it has no text), and a
// Script Info comment that is an attribute line an attribute, as "Title" becomes "@Title". Fails
// with InvalidAss without an "[Events]" section, or for an event format without Start, End and a
// last Text field, or a Dialogue with fewer fields or a time not of the form H:MM:SS.CC;
// NoTimedLine without a Dialogue; TimeBeyondLimit for a point past 99:59.99.
bool ReadAss(QStringView input, TimingModel& model, ResultCode& code);

// True for a text whose first line that is not empty is "[Script Info]", after a byte-order mark.
bool IsAssText(QStringView text);

} // namespace kovrant
