#include "core/timing.h"

#include "core/divide.h"
#include "core/lines.h"
#include "core/textbuilder.h"
#include "core/timeratio.h"
#include "core/timetag.h"

#include <algorithm>
#include <cmath>

namespace kovrant {

namespace {

double KeptInTagRange(double ms)
{
    return std::clamp(ms, 0.0, double(MaxTimeTagMs));
}

// Writes a text that stays on its line; in the run between two points of a body line
// (untagged), nothing may form a tag either.
void AppendOnLine(TextBuilder& out, QStringView run, bool untagged)
{
    QChar* to = out.room(2 * run.size());
    for (qsizetype i = 0; i < run.size(); ++i) {
        const QChar c = run[i];
        *to++ = c == u'\r' || c == u'\n' ? QChar(u' ') : c;
        if (untagged && c == u'[' && IsTimeTagAt(run, i))
            *to++ = QChar(ZeroWidthSpace);
    }
    out.advance(to);
}

// The tag of a time of whole centiseconds within the tags' range.
void WriteTag(qint64 cs, QChar* out)
{
    out[0] = u'[';
    WriteDigits(cs / 6000, 2, out + 1);
    out[3] = u':';
    WriteDigits(cs / 100 % 60, 2, out + 4);
    out[6] = u':';
    WriteDigits(cs % 100, 2, out + 7);
    out[9] = u']';
}

} // namespace

bool operator==(const TimingModel& a, const TimingModel& b)
{
    if (a.lines.size() != b.lines.size() || a.attributes != b.attributes)
        return false;
    const auto samePoint = [](const TimePoint& x, const TimePoint& y) {
        return x.column == y.column && x.ms == y.ms;
    };
    for (std::size_t i = 0; i < a.lines.size(); ++i) {
        const auto pa = a.pointsOf(a.lines[i]);
        const auto pb = b.pointsOf(b.lines[i]);
        if (a.textOf(a.lines[i]) != b.textOf(b.lines[i]) ||
            !std::equal(pa.begin(), pa.end(), pb.begin(), pb.end(), samePoint))
            return false;
    }
    return true;
}

bool HasEnd(const TimingLine& line, std::span<const TimePoint> points)
{
    return points.size() >= 2 && points.back().column == line.textLength;
}

bool ReadTimeTaggedLyrics(QStringView input, qint32 shiftMs, TimingModel& model, ResultCode& code)
{
    TimingModel read;
    std::vector<QStringView> body;
    double ratio = 1;
    for (const QStringView line : SplitLines(input)) {
        if (!IsAttributeLine(line))
            body.push_back(line);
        else if (const std::optional<double> declared = DeclaredRatio(line))
            ratio = *declared;
        else
            read.attributes.append(line.toString());
    }

    const std::span<const QStringView> lines = WithoutEmptyEnds(body);
    TextBuilder text(input.size());
    qsizetype textSize = 0;
    read.lines.reserve(lines.size());
    read.points.reserve(std::size_t(input.size() / 8));
    for (const QStringView line : lines) {
        TimingLine timed{textSize, 0, qsizetype(read.points.size()), 0};
        double previous = 0;
        qsizetype runStart = 0;
        qsizetype i = 0;
        while (line.size() - i >= TimeTagLength) {
            i = IndexOfAnyNear(line, i, u'[', u'[', u'[');
            if (!IsTimeTagAt(line, i)) {
                ++i;
                continue;
            }
            text.append(line.sliced(runStart, i - runStart));
            timed.textLength += i - runStart;
            double ms = TimeTagToMs(line.sliced(i, TimeTagLength));
            if (ratio != 1)
                ms /= ratio;
            ms = KeptInTagRange(ms + shiftMs);
            previous = timed.pointCount == 0 ? ms : std::max(previous, ms);
            read.points.push_back({timed.textLength, previous});
            ++timed.pointCount;
            i += TimeTagLength;
            runStart = i;
        }
        text.append(line.sliced(runStart));
        timed.textLength += line.size() - runStart;
        textSize += timed.textLength;
        read.lines.push_back(timed);
    }
    if (read.points.empty()) {
        code = ResultCode::NoTimeTagToConvert;
        return false;
    }
    read.text = text.take();
    model = std::move(read);
    code = ResultCode::Ok;
    return true;
}

bool TimesWithinLimit(const TimingModel& model)
{
    return std::all_of(model.points.cbegin(), model.points.cend(),
                       [](const TimePoint& point) { return point.ms <= MaxTimeTagMs; });
}

QString WriteTimeTaggedLyrics(const TimingModel& model)
{
    qsizetype size = 2 * model.text.size() + 2;
    size += qsizetype(model.points.size()) * TimeTagLength + 2 * qsizetype(model.lines.size());
    for (const QString& attribute : model.attributes)
        size += attribute.size() + 2;
    TextBuilder out(size);
    for (const TimingLine& line : model.lines) {
        const QStringView text = model.textOf(line);
        qsizetype written = 0;
        for (const TimePoint& point : model.pointsOf(line)) {
            const qsizetype column = std::clamp<qsizetype>(point.column, written, text.size());
            AppendOnLine(out, text.sliced(written, column - written), true);
            written = column;
            QChar* to = out.room(TimeTagLength);
            WriteTag(std::clamp<qint64>(ToUnits(point.ms, 10), 0, MaxTimeTagMs / 10), to);
            out.advance(to + TimeTagLength);
        }
        AppendOnLine(out, text.sliced(written), true);
        out.append(Crlf);
    }
    out.append(Crlf);
    for (const QString& attribute : model.attributes) {
        AppendOnLine(out, attribute, false);
        out.append(Crlf);
    }
    return out.take();
}

void ShiftTimes(TimingModel& model, qint32 shiftMs)
{
    for (TimePoint& point : model.points)
        point.ms = KeptInTagRange(point.ms + shiftMs);
}

qint64 FractionToUnits(double ms, qint32 unitMs)
{
    const double units = std::nearbyint(ToFifteenDigits(ms / unitMs));
    return std::isfinite(units) ? qint64(std::clamp(units, -1e15, 1e15)) : 0;
}

qint64 ImplicitEnd(qint64 lastStart, qint64 nextStart, qint64 twoSeconds)
{
    return nextStart < 0 ? lastStart + twoSeconds : std::max(nextStart, lastStart);
}

std::vector<CueTiming> CueTimings(const TimingModel& model, qint32 unitMs)
{
    std::vector<CueTiming> timings(model.lines.size());
    qint64 nextStart = -1;
    for (std::size_t i = model.lines.size(); i-- > 0;) {
        const TimingLine& line = model.lines[i];
        const std::span<const TimePoint> points = model.pointsOf(line);
        if (points.empty())
            continue;
        CueTiming& timing = timings[i];
        const bool hasEnd = HasEnd(line, points);
        timing.starts = qsizetype(points.size()) - (hasEnd ? 1 : 0);
        const TimePoint& lastStart = points[std::size_t(timing.starts - 1)];
        const qint64 lastStartUnits = ToUnits(lastStart.ms, unitMs);
        const qint64 implicit = ImplicitEnd(lastStartUnits, nextStart, 2000 / unitMs);
        if (!hasEnd) {
            timing.end = implicit;
        } else {
            timing.end = ToUnits(points.back().ms, unitMs);
            timing.markEnd = timing.end == implicit ||
                             (timing.starts >= 2 && lastStart.column == line.textLength &&
                              lastStartUnits == timing.end);
        }
        nextStart = ToUnits(points.front().ms, unitMs);
    }
    return timings;
}

void EndCue(TimingModel& model, TimingLine& line, qint64 karaokeEnd, qint64 nextStart)
{
    const TimePoint& last = model.points.back();
    const qint64 lastMs = qint64(last.ms);
    karaokeEnd = std::max(karaokeEnd, lastMs);
    if (line.pointCount >= 2 && last.column == line.textLength && lastMs == karaokeEnd)
        return;
    if (karaokeEnd == ImplicitEnd(lastMs, nextStart, 2000))
        return;
    model.points.push_back({line.textLength, double(karaokeEnd)});
    ++line.pointCount;
}

void AddAttribute(TimingModel& model, QStringView line)
{
    if (!DeclaredRatio(line))
        model.attributes.append(line.toString());
}

} // namespace kovrant
