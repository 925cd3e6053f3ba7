#include "core/lrcformat.h"

#include "core/divide.h"
#include "core/lines.h"
#include "core/textbuilder.h"
#include "core/timetag.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace kovrant {

namespace {

struct Header {
    QStringView lrcKey;
    QStringView attributeKey;
};
constexpr std::array<Header, 3> Headers{{{u"ti", u"Title"}, {u"ar", u"Artist"}, {u"al", u"Album"}}};

// Numbers of more digits only say that a time lies far beyond any tag.
constexpr qint64 Saturation = 1000000000;

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The header an attribute line "@key=value" goes to, with its value; none when the value could
// not stand between "[key:" and "]".
const Header* HeaderOf(QStringView attribute, QStringView& value)
{
    const qsizetype equals = attribute.indexOf(u'=');
    if (equals < 1)
        return nullptr;
    const QStringView key = TrimSpaces(attribute.sliced(1, equals - 1));
    value = TrimSpaces(attribute.sliced(equals + 1));
    if (value.contains(u']') || value.contains(u'\r') || value.contains(u'\n'))
        return nullptr;
    for (const Header& header : Headers) {
        if (key.compare(header.attributeKey, Qt::CaseInsensitive) == 0)
            return &header;
    }
    return nullptr;
}

// A stamp "m+:ss(.f{1,3})?" between line[at] and close, with its milliseconds and the index after
// it.
bool ParseStamp(QStringView line, qsizetype at, QChar close, qint64& ms, qsizetype& end)
{
    qsizetype i = at + 1;
    qint64 minutes = 0;
    const qsizetype minutesStart = i;
    for (; i < line.size() && IsAsciiDigit(line[i]); ++i)
        minutes = i - minutesStart < 9 ? minutes * 10 + (line[i].unicode() - u'0') : Saturation;
    if (i == minutesStart || i + 3 > line.size() || line[i] != u':' || !IsAsciiDigit(line[i + 1]) ||
        !IsAsciiDigit(line[i + 2]))
        return false;
    const qint64 seconds = (line[i + 1].unicode() - u'0') * 10 + (line[i + 2].unicode() - u'0');
    i += 3;
    qint64 fraction = 0;
    if (i < line.size() && line[i] == u'.') {
        const qsizetype fractionStart = ++i;
        for (; i < line.size() && IsAsciiDigit(line[i]) && i - fractionStart < 3; ++i)
            fraction = fraction * 10 + (line[i].unicode() - u'0');
        const qsizetype digits = i - fractionStart;
        if (digits == 0)
            return false;
        fraction *= digits == 1 ? 100 : digits == 2 ? 10 : 1;
    }
    if (i >= line.size() || line[i] != close)
        return false;
    ms = (minutes * 60 + seconds) * 1000 + fraction;
    end = i + 1;
    return true;
}

// A header "[key:value]" at line[at], key being letters.
bool ParseHeader(QStringView line, qsizetype at, QStringView& key, QStringView& value,
                 qsizetype& end)
{
    qsizetype i = at + 1;
    while (i < line.size() && IsAsciiLetter(line[i]))
        ++i;
    const qsizetype close = IndexOf(line, u']', i);
    if (i == at + 1 || i >= line.size() || line[i] != u':' || close < 0)
        return false;
    key = line.sliced(at + 1, i - at - 1);
    value = line.sliced(i + 1, close - i - 1);
    end = close + 1;
    return true;
}

std::optional<qint64> ParseOffset(QStringView value)
{
    value = TrimSpaces(value);
    const bool negative = value.startsWith(u'-');
    if (value.startsWith(u'-') || value.startsWith(u'+'))
        value = value.sliced(1);
    if (value.isEmpty())
        return std::nullopt;
    qint64 ms = 0;
    for (const QChar c : value) {
        if (!IsAsciiDigit(c))
            return std::nullopt;
        ms = std::min(ms * 10 + (c.unicode() - u'0'), Saturation);
    }
    return negative ? -ms : ms;
}

bool NeedsMarker(QStringView piece, qsizetype i, bool atHead)
{
    const QChar c = piece[i];
    if (c == u'[' && atHead && i == 0)
        return true;
    return (c == u'[' || c == u'<') && i + 1 < piece.size() &&
           (IsAsciiDigit(piece[i + 1]) || piece[i + 1] == ZeroWidthSpace);
}

// Writes a piece of a line's text between stamps, atHead when it begins the line's text; an
// attribute line, which no reader takes for a stamp, without markers.
void AppendEscaped(TextBuilder& out, QStringView piece, bool atHead, bool markers = true)
{
    QChar* to = out.room(2 * piece.size());
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const QChar c = piece[i];
        *to++ = c == u'\r' || c == u'\n' ? QChar(u' ') : c;
        if (markers && NeedsMarker(piece, i, atHead))
            *to++ = QChar(ZeroWidthSpace);
    }
    out.advance(to);
}

// Appends a piece of text read between stamps, without the markers AppendEscaped put in; gives
// the number of characters appended.
qsizetype AppendUnescaped(TextBuilder& out, QStringView piece, bool atHead)
{
    QChar* const first = out.room(piece.size());
    QChar* to = first;
    for (qsizetype i = 0; i < piece.size(); ++i) {
        *to++ = piece[i];
        if (i + 1 < piece.size() && piece[i + 1] == ZeroWidthSpace &&
            (piece[i] == u'[' || piece[i] == u'<')) {
            // The marker was written when what follows it would have made the bracket a stamp.
            const QStringView rest = piece.sliced(i + 1);
            const bool marked =
                (piece[i] == u'[' && atHead && i == 0) ||
                (rest.size() > 1 && (IsAsciiDigit(rest[1]) || rest[1] == ZeroWidthSpace));
            if (marked)
                ++i;
        }
    }
    out.advance(to);
    return to - first;
}

void WriteStamp(TextBuilder& out, double ms, QChar open, QChar close)
{
    const qint64 cs = std::clamp<qint64>(ToUnits(ms, 10), 0, MaxTimeTagMs / 10);
    QChar* to = out.room(10);
    *to++ = open;
    to = WriteDigits(cs / 6000, 2, to);
    *to++ = u':';
    to = WriteDigits(cs / 100 % 60, 2, to);
    *to++ = u'.';
    to = WriteDigits(cs % 100, 2, to);
    *to++ = close;
    out.advance(to);
}

} // namespace

QString WriteLrc(const TimingModel& model, bool enhanced)
{
    qsizetype size = 2 * model.text.size() + 12 * qsizetype(model.lines.size());
    size += enhanced ? 10 * qsizetype(model.points.size()) : 0;
    for (const QString& attribute : model.attributes)
        size += attribute.size() + 4;
    TextBuilder out(size);
    for (const QString& attribute : model.attributes) {
        QStringView value;
        if (const Header* header = HeaderOf(attribute, value)) {
            out.append(u'[');
            out.append(header->lrcKey);
            out.append(u':');
            out.append(value);
            out.append(u']');
        } else {
            AppendEscaped(out, attribute, false, false);
        }
        out.append(Crlf);
    }
    for (const TimingLine& line : model.lines) {
        const QStringView text = model.textOf(line);
        const std::span<const TimePoint> points = model.pointsOf(line);
        if (points.empty()) {
            AppendEscaped(out, text, true);
        } else {
            WriteStamp(out, points.front().ms, u'[', u']');
            if (!enhanced)
                AppendEscaped(out, text, true);
            for (std::size_t i = 0; enhanced && i < points.size(); ++i) {
                // Text ahead of the first point is sung with the first syllable.
                const qsizetype from = i == 0 ? 0 : std::min(points[i].column, text.size());
                const qsizetype to = i + 1 < points.size()
                                         ? std::clamp(points[i + 1].column, from, text.size())
                                         : text.size();
                WriteStamp(out, points[i].ms, u'<', u'>');
                AppendEscaped(out, text.sliced(from, to - from), from == 0);
            }
        }
        out.append(Crlf);
    }
    return out.take();
}

bool ReadLrc(QStringView input, TimingModel& model, ResultCode& code)
{
    if (input.startsWith(u'\uFEFF'))
        input = input.sliced(1);
    TimingModel read;
    read.points.reserve(std::size_t(input.size() / 8));
    TextBuilder text(input.size());
    qsizetype textSize = 0;
    qint64 offset = 0;
    bool repeated = false;
    // Repeated lines share their text in the model, but every one is written out.
    qint64 repeatedText = 0;
    const qint64 repeatedTextLimit = 8 * qint64(input.size()) + 4096;
    std::vector<qint64> stamps;
    for (const QStringView line : SplitLines(input)) {
        if (IsAttributeLine(line)) {
            AddAttribute(read, line);
            continue;
        }
        stamps.clear();
        bool sawHeader = false;
        qsizetype pos = 0;
        while (pos < line.size() && line[pos] == u'[') {
            qint64 ms = 0;
            QStringView key, value;
            if (ParseStamp(line, pos, u']', ms, pos)) {
                stamps.push_back(ms);
            } else if (ParseHeader(line, pos, key, value, pos)) {
                sawHeader = true;
                if (key.compare(u"offset", Qt::CaseInsensitive) == 0)
                    offset = ParseOffset(value).value_or(offset);
                for (const Header& header : Headers) {
                    if (key.compare(header.lrcKey, Qt::CaseInsensitive) == 0)
                        read.attributes.append(u'@' + header.attributeKey.toString() + u'=' +
                                               value.toString());
                }
            } else {
                break;
            }
        }
        if (stamps.empty() && sawHeader)
            continue;

        TimingLine timed{textSize, 0, qsizetype(read.points.size()), 0};
        bool wordStamps = false;
        const auto addPoint = [&](qint64 ms) {
            const double previous = timed.pointCount > 0 ? read.points.back().ms : 0;
            read.points.push_back({timed.textLength, std::max(previous, double(ms))});
            ++timed.pointCount;
        };
        qsizetype runStart = pos;
        for (qsizetype i = pos; i < line.size() && !stamps.empty(); ++i) {
            qint64 ms = 0;
            qsizetype end = 0;
            if ((i = IndexOfAnyNear(line, i, u'<', u'[', u'[')) == line.size())
                break;
            const QChar c = line[i];
            if (!ParseStamp(line, i, c == u'<' ? u'>' : u']', ms, end))
                continue;
            const QStringView run = line.sliced(runStart, i - runStart);
            // Text ahead of the first word stamp starts at the line's time.
            if (!wordStamps && !run.isEmpty())
                addPoint(stamps.front());
            timed.textLength += AppendUnescaped(text, run, timed.textLength == 0);
            wordStamps = true;
            addPoint(ms);
            runStart = end;
            i = end - 1;
        }
        timed.textLength += AppendUnescaped(text, line.sliced(runStart), timed.textLength == 0);
        textSize += timed.textLength;
        if (stamps.empty() || wordStamps) {
            read.lines.push_back(timed);
            continue;
        }
        repeated |= stamps.size() > 1;
        repeatedText += qint64(stamps.size() - 1) * timed.textLength;
        if (repeatedText > repeatedTextLimit) {
            code = ResultCode::FileTooLarge;
            return false;
        }
        for (const qint64 ms : stamps) {
            timed.firstPoint = qsizetype(read.points.size());
            read.points.push_back({0, double(ms)});
            timed.pointCount = 1;
            read.lines.push_back(timed);
        }
    }
    if (read.points.empty()) {
        code = ResultCode::NoTimedLine;
        return false;
    }
    for (TimePoint& point : read.points)
        point.ms = std::max(point.ms - double(offset), 0.0);
    if (!TimesWithinLimit(read)) {
        code = ResultCode::TimeBeyondLimit;
        return false;
    }
    if (repeated) {
        // As players show them: by time, a line without time staying after the one before it.
        std::vector<double> keys(read.lines.size());
        double key = -1;
        for (std::size_t i = 0; i < read.lines.size(); ++i) {
            if (read.lines[i].pointCount > 0)
                key = read.pointsOf(read.lines[i]).front().ms;
            keys[i] = key;
        }
        std::vector<std::size_t> order(read.lines.size());
        std::iota(order.begin(), order.end(), std::size_t(0));
        std::stable_sort(order.begin(), order.end(),
                         [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
        std::vector<TimingLine> sorted;
        sorted.reserve(order.size());
        for (const std::size_t i : order)
            sorted.push_back(read.lines[i]);
        read.lines = std::move(sorted);
    }
    // Empty lines at both ends carry nothing, as in time-tagged lyrics.
    const auto empty = [](const TimingLine& line) {
        return line.pointCount == 0 && line.textLength == 0;
    };
    read.lines.erase(std::find_if_not(read.lines.rbegin(), read.lines.rend(), empty).base(),
                     read.lines.end());
    read.lines.erase(read.lines.begin(),
                     std::find_if_not(read.lines.begin(), read.lines.end(), empty));
    read.text = text.take();
    model = std::move(read);
    code = ResultCode::Ok;
    return true;
}

LrcTraits ExamineLrc(QStringView text)
{
    LrcTraits traits;
    for (const QStringView line : SplitLines(text)) {
        qint64 ms = 0;
        qsizetype end = 0;
        if (!line.startsWith(u'[') || !ParseStamp(line, 0, u']', ms, end))
            continue;
        traits.lineStamps = true;
        for (qsizetype i = IndexOf(line, u'<', end); i >= 0 && !traits.wordStamps;
             i = IndexOf(line, u'<', i + 1))
            traits.wordStamps = ParseStamp(line, i, u'>', ms, end);
        if (traits.wordStamps)
            break;
    }
    return traits;
}

} // namespace kovrant
