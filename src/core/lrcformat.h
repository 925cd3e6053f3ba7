#pragma once

#include "core/resultcode.h"
#include "core/timing.h"

#include <QString>
#include <QStringView>

namespace kovrant {

// LRC, and enhanced LRC with a stamp "<mm:ss.xx>" before each syllable.
//
// Writes the model with CRLF after each line: the attribute lines in their order, "[ti:]",
// "[ar:]" and "[al:]" for "@Title", "@Artist" and "@Album" (keys in any case), the others as they
// stand; then every line in its order: a timed line as "[mm:ss.xx]" of its first point and its
// text, enhanced with "<mm:ss.xx>" of each point where it stands (the first at the text's head); a
// line without time as its text; an empty line empty. Text that readers would take for a stamp
// or a header (a "[" at the head of a line's text, a "[" or "<" before a digit) gets U+200B
// after its bracket.
QString WriteLrc(const TimingModel& model, bool enhanced);

// Reads LRC and enhanced LRC: line stamps "[m:ss]", "[m:ss.x]", "[m:ss.xx]" and "[m:ss.xxx]" (any
// number of minute digits), word stamps of the same forms in "<>" or "[]" within a line, the
// headers "[ti:]", "[ar:]" and "[al:]" as attribute lines, and "[offset:ms]" taken off every
// time as LRC players do (a time below 0 becomes 0). A line with several line stamps and no word
// stamps stands at each of its times, and the lines are then put in the order of their times;
// otherwise the order stays. Other headers are left out; lines without a stamp are lines without
// time. Fails with NoTimedLine when no line has a stamp, TimeBeyondLimit for a time past
// 99:59.99, and FileTooLarge when repeated lines would make the text many times the input.
bool ReadLrc(QStringView input, TimingModel& model, ResultCode& code);

// What an LRC text shows of itself: whether a line begins with a line stamp, and whether a word
// stamp "<...>" stands anywhere.
struct LrcTraits {
    bool lineStamps = false;
    bool wordStamps = false;
};
LrcTraits ExamineLrc(QStringView text);

} // namespace kovrant
