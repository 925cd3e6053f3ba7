#pragma once

#include "core/resultcode.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <span>
#include <vector>

namespace kovrant {

// The timing model that every lyrics format is read into and written from: the lines in their
// order, each a text with points of time at places in it, and the attribute lines.
//
// The text from one point's column to the next point's is a syllable that lasts from the one
// time to the other; points at one column make syllables without text between them, silences.
// A line has an end when it has two points or more and the last stands at the end of its text;
// otherwise its last syllable lasts until the line's implicit end (ImplicitEnd). Text ahead of
// a line's first point belongs to its first syllable. A line without points is a line of text
// without time, or an empty line.
struct TimePoint {
    qsizetype column = 0; // characters of the line's text ahead of the point
    double ms = 0;        // real time; never earlier than the point before it on its line
};

struct TimingLine {
    qsizetype textStart = 0; // into TimingModel::text; lines may share text
    qsizetype textLength = 0;
    qsizetype firstPoint = 0; // into TimingModel::points
    qsizetype pointCount = 0;
};

struct TimingModel {
    QString text;
    std::vector<TimingLine> lines;
    std::vector<TimePoint> points; // by line, each line's by column
    QStringList attributes;        // "@" lines, none of them a usable "@TimeRatio"

    QStringView textOf(const TimingLine& line) const
    {
        return QStringView(text).sliced(line.textStart, line.textLength);
    }
    std::span<const TimePoint> pointsOf(const TimingLine& line) const
    {
        return std::span(points).subspan(std::size_t(line.firstPoint),
                                         std::size_t(line.pointCount));
    }
};

// The same lines, texts, points and attributes, however the texts are laid out.
bool operator==(const TimingModel& a, const TimingModel& b);

// True when the line has an end point, as above.
bool HasEnd(const TimingLine& line, std::span<const TimePoint> points);

// Reads time-tagged lyrics. Each body line but the empty ones at both ends of the body, which
// Divide leaves out too, becomes a line whose points are its tags at their real times: the tag's
// milliseconds divided by the ratio that the last usable "@TimeRatio" line declares (1 without
// one), plus shiftMs, kept within 0 and MaxTimeTagMs. A tag earlier than the one before it on its
// line is taken at that one's time. Fails with NoTimeTagToConvert when no body line holds a tag;
// model is then untouched.
bool ReadTimeTaggedLyrics(QStringView input, qint32 shiftMs, TimingModel& model, ResultCode& code);

// The model as time-tagged lyrics, laid out as Combine writes them: each line with its points as
// tags in its text and CRLF, an empty line, and each attribute line with CRLF. A "[" in the text
// that would open a tag is followed by U+200B, and a line break in a text becomes a space.
QString WriteTimeTaggedLyrics(const TimingModel& model);

// Adds shiftMs to every time of the model, keeping each within 0 and MaxTimeTagMs.
void ShiftTimes(TimingModel& model, qint32 shiftMs);

// --- For the formats' readers and writers ---

// True when no time of the model lies past MaxTimeTagMs, which no tag can hold; the check each
// format's reader ends with (TimeBeyondLimit).
bool TimesWithinLimit(const TimingModel& model);

// A time that is not a whole number of milliseconds in whole units of unitMs milliseconds.
qint64 FractionToUnits(double ms, qint32 unitMs);

// A time in whole units of unitMs milliseconds, rounded once, halves to the even neighbour.
inline qint64 ToUnits(double ms, qint32 unitMs)
{
    // Whole milliseconds, as every time is without a ratio, are rounded exactly.
    const qint64 whole = ms >= 0 && ms < 1e15 ? qint64(ms) : -1;
    if (whole < 0 || double(whole) != ms)
        return FractionToUnits(ms, unitMs);
    if (unitMs == 1)
        return whole;
    // Centiseconds, the unit of most formats, divide by a constant.
    qint64 units = unitMs == 10 ? whole / 10 : whole / unitMs;
    const qint64 twice = 2 * (whole - units * unitMs);
    if (twice > unitMs || (twice == unitMs && units % 2 != 0))
        ++units;
    return units;
}

// The end a format that gives every line an end (ASS, WebVTT) gives a line without an end
// point: the start of the next timed line, never before the line's last start; for the last
// timed line (nextStart < 0) its last start and two seconds.
qint64 ImplicitEnd(qint64 lastStart, qint64 nextStart, qint64 twoSeconds);

// How a writer of such a format times one line, in its units.
struct CueTiming {
    qsizetype starts = 0; // points that start syllables: all of the line's but its end point
    qint64 end = 0;       // the end point, or the implicit end when the line has none
    // The end point also has to be written as a point of its own, because a reader would
    // otherwise take the end for the implicit one or the last start for the end (EndCue).
    bool markEnd = false;
};

// The cue timing of every line of the model, in units of unitMs (zero for lines without points).
std::vector<CueTiming> CueTimings(const TimingModel& model, qint32 unitMs);

// Completes the timed line that a reader of such a format has just read; its points, from the
// cue's start, are the last of model.points, in whole milliseconds. The cue's last syllable ends
// at karaokeEnd (never before the last point); nextStart is the next cue's start, or -1. The end
// becomes a point unless the last point already stands there at the end of the text, or it is
// the implicit end.
void EndCue(TimingModel& model, TimingLine& line, qint64 karaokeEnd, qint64 nextStart);

// Adds an attribute line that a format carried, leaving out a usable "@TimeRatio": the times
// read are real times already.
void AddAttribute(TimingModel& model, QStringView line);

// Writes value (0 or more) with at least width digits, zero-padded, and gives the position after
// them.
inline QChar* WriteDigits(qint64 value, int width, QChar* out)
{
    // Times have fields of two or three digits.
    int count = value < 10 ? 1 : value < 100 ? 2 : value < 1000 ? 3 : 4;
    for (qint64 rest = value / 10000; rest > 0; rest /= 10)
        ++count;
    QChar* const end = out + std::max(count, width);
    for (QChar* at = end; at != out; value /= 10)
        *--at = QChar(char16_t(u'0' + value % 10));
    return end;
}

// A marker that the writers put after a character that would otherwise mean something in the
// format, and that their readers take out again.
inline constexpr char16_t ZeroWidthSpace = u'\u200B';

} // namespace kovrant
