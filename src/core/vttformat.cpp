#include "core/vttformat.h"

#include "core/divide.h"
#include "core/lines.h"
#include "core/textbuilder.h"
#include "core/timetag.h"

#include <algorithm>
#include <optional>

namespace kovrant {

namespace {

constexpr QStringView Arrow = u"-->";

// Numbers of more digits only say that a time lies far beyond any tag.
constexpr qint64 Saturation = 1000000000000;

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// A keyword that opens a block: the line is the keyword or begins with it and a blank.
bool OpensBlock(QStringView line, QStringView keyword)
{
    return line.startsWith(keyword) &&
           (line.size() == keyword.size() || IsBlank(line[keyword.size()]));
}

bool HasArrow(QStringView line)
{
    for (qsizetype i = IndexOf(line, u'-'); i >= 0; i = IndexOf(line, u'-', i + 1)) {
        if (line.sliced(i).startsWith(Arrow))
            return true;
    }
    return false;
}

void WriteTime(TextBuilder& out, qint64 ms)
{
    ms = std::max<qint64>(ms, 0);
    QChar* to = out.room(24);
    to = WriteDigits(ms / 3600000, 2, to);
    *to++ = u':';
    to = WriteDigits(ms / 60000 % 60, 2, to);
    *to++ = u':';
    to = WriteDigits(ms / 1000 % 60, 2, to);
    *to++ = u'.';
    to = WriteDigits(ms % 1000, 3, to);
    out.advance(to);
}

void AppendEscaped(TextBuilder& out, QStringView text)
{
    QChar* to = out.room(5 * text.size());
    const auto put = [&to](QStringView reference) {
        to = std::copy_n(reference.data(), reference.size(), to);
    };
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            put(u"&amp;");
            break;
        case u'<':
            put(u"&lt;");
            break;
        case u'>':
            put(u"&gt;");
            break;
        case u'\r':
        case u'\n':
            *to++ = u' ';
            break;
        default:
            *to++ = c;
        }
    }
    out.advance(to);
}

qsizetype Digits(QStringView s, qsizetype& i, qint64& value)
{
    const qsizetype start = i;
    value = 0;
    for (; i < s.size() && IsAsciiDigit(s[i]); ++i)
        value = i - start < 12 ? value * 10 + (s[i].unicode() - u'0') : Saturation;
    return i - start;
}

// A timestamp "(h+:)?mm:ss.ttt" at s[i]; i is moved past it.
bool ParseTime(QStringView s, qsizetype& i, qint64& ms)
{
    qint64 first = 0, second = 0, third = 0, fraction = 0;
    const qsizetype firstDigits = Digits(s, i, first);
    if (firstDigits == 0 || i >= s.size() || s[i] != u':')
        return false;
    ++i;
    if (Digits(s, i, second) != 2)
        return false;
    qint64 hours = 0, minutes = first, seconds = second;
    if (i < s.size() && s[i] == u':') {
        ++i;
        if (Digits(s, i, third) != 2)
            return false;
        hours = first;
        minutes = second;
        seconds = third;
    } else if (firstDigits != 2) {
        return false;
    }
    if (minutes > 59 || seconds > 59 || i >= s.size() || s[i] != u'.')
        return false;
    ++i;
    if (Digits(s, i, fraction) != 3)
        return false;
    ms = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
    return true;
}

// "start --> end", then settings, which are left alone.
bool ParseTimingLine(QStringView line, qint64& start, qint64& end)
{
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
    };
    skipBlanks();
    if (!ParseTime(line, i, start))
        return false;
    skipBlanks();
    if (!line.sliced(i).startsWith(Arrow))
        return false;
    i += Arrow.size();
    skipBlanks();
    return ParseTime(line, i, end) && (i == line.size() || IsBlank(line[i]));
}

// The next character of text from i on, a character reference "&...;" that WebVTT knows
// decoded; i is moved past it.
char32_t NextCharacter(QStringView text, qsizetype& i)
{
    const char16_t c = text[i++].unicode();
    // Names and numbers are short: the search ends soon, and many "&" cost no more than one.
    const qsizetype found =
        c == u'&' ? text.sliced(i, std::min<qsizetype>(12, text.size() - i)).indexOf(u';') : -1;
    if (found < 0)
        return c;
    const qsizetype semicolon = i + found;
    const QStringView name = text.sliced(i, semicolon - i);
    char32_t decoded = 0;
    if (name == u"amp")
        decoded = u'&';
    else if (name == u"lt")
        decoded = u'<';
    else if (name == u"gt")
        decoded = u'>';
    else if (name == u"nbsp")
        decoded = u'\u00A0';
    else if (name == u"lrm")
        decoded = u'\u200E';
    else if (name == u"rlm")
        decoded = u'\u200F';
    else if (name.size() > 1 && name[0] == u'#') {
        const bool hex = name[1] == u'x' || name[1] == u'X';
        const QStringView digits = name.sliced(hex ? 2 : 1);
        bool ok = !digits.isEmpty() && (hex || IsAsciiDigit(digits[0]));
        const uint value = ok ? digits.toUInt(&ok, hex ? 16 : 10) : 0;
        if (ok && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
            decoded = value;
    }
    if (decoded == 0)
        return c;
    i = semicolon + 1;
    // A line of the model holds no line break.
    return decoded == u'\r' || decoded == u'\n' ? u' ' : decoded;
}

// Appends a character and gives the number of UTF-16 units it took.
qsizetype AppendCharacter(TextBuilder& out, char32_t c)
{
    if (c <= 0xFFFF) {
        out.append(QChar(char16_t(c)));
        return 1;
    }
    out.append(QChar(QChar::highSurrogate(c)));
    out.append(QChar(QChar::lowSurrogate(c)));
    return 2;
}

// Reads the payload of one cue into its line: the text, and a point at each timestamp.
struct CueReader {
    TimingModel& model;
    TextBuilder& text;
    TimingLine& line;
    int rubyText = 0; // depth of <rt>: ruby text is not sung

    void tag(QStringView content)
    {
        qsizetype i = 0;
        qint64 ms = 0;
        if (ParseTime(content, i, ms) && i == content.size()) {
            model.points.push_back({line.textLength, std::max(model.points.back().ms, double(ms))});
            ++line.pointCount;
            return;
        }
        const bool closing = content.startsWith(u'/');
        QStringView name = content.sliced(closing ? 1 : 0);
        for (qsizetype j = 0; j < name.size(); ++j) {
            if (name[j] == u'.' || IsBlank(name[j])) {
                name = name.first(j);
                break;
            }
        }
        if (name == u"rt")
            rubyText = std::max(0, rubyText + (closing ? -1 : 1));
    }

    void character(char32_t c)
    {
        if (rubyText == 0)
            line.textLength += AppendCharacter(text, c);
    }

    void payloadLine(QStringView payload)
    {
        for (qsizetype i = 0; i < payload.size();) {
            const qsizetype special = IndexOfAnyNear(payload, i, u'<', u'&', u'&');
            if (rubyText == 0) {
                text.append(payload.sliced(i, special - i));
                line.textLength += special - i;
            }
            if ((i = special) == payload.size())
                break;
            if (payload[i] != u'<') {
                character(NextCharacter(payload, i));
                continue;
            }
            // A tag that the line ends before closing runs to the end of the line.
            qsizetype close = IndexOf(payload, u'>', i + 1);
            close = close < 0 ? payload.size() : close;
            tag(payload.sliced(i + 1, close - i - 1));
            i = close + 1;
        }
    }
};

} // namespace

QString WriteVtt(const TimingModel& model)
{
    qsizetype size = 3 * model.text.size() + 64;
    size += 16 * qsizetype(model.points.size()) + 40 * qsizetype(model.lines.size());
    for (const QString& attribute : model.attributes)
        size += 3 * attribute.size() + 2;
    TextBuilder out(size);
    out.append(u"WEBVTT\n");
    if (!model.attributes.isEmpty()) {
        out.append(u"\nNOTE\n");
        for (const QString& attribute : model.attributes) {
            AppendEscaped(out, attribute);
            out.append(u'\n');
        }
    }
    const std::vector<CueTiming> timings = CueTimings(model, 1);
    for (std::size_t l = 0; l < model.lines.size(); ++l) {
        const TimingLine& line = model.lines[l];
        const QStringView text = model.textOf(line);
        const std::span<const TimePoint> points = model.pointsOf(line);
        out.append(u'\n');
        if (points.empty()) {
            out.append(text.isEmpty() ? u"NOTE" : u"NOTE ");
            AppendEscaped(out, text);
            out.append(u'\n');
            continue;
        }
        const CueTiming& timing = timings[l];
        WriteTime(out, ToUnits(points.front().ms, 1));
        out.append(u" --> ");
        WriteTime(out, timing.end);
        out.append(u'\n');
        for (qsizetype i = 0; i < timing.starts; ++i) {
            const std::size_t p = std::size_t(i);
            // Text ahead of the first point is sung with the first syllable.
            const qsizetype from = i == 0 ? 0 : std::min(points[p].column, text.size());
            const qsizetype to = i + 1 < timing.starts
                                     ? std::clamp(points[p + 1].column, from, text.size())
                                     : text.size();
            if (i > 0) {
                out.append(u'<');
                WriteTime(out, ToUnits(points[p].ms, 1));
                out.append(u'>');
            }
            AppendEscaped(out, text.sliced(from, to - from));
        }
        if (timing.markEnd) {
            out.append(u'<');
            WriteTime(out, timing.end);
            out.append(u'>');
        }
        out.append(u'\n');
    }
    return out.take();
}

bool ReadVtt(QStringView input, TimingModel& model, ResultCode& code)
{
    if (!IsWebVttText(input)) {
        code = ResultCode::UnknownLyricsFormat;
        return false;
    }
    if (input.startsWith(u'\uFEFF'))
        input = input.sliced(1);
    const std::vector<QStringView> lines = SplitLines(input);
    const std::size_t count = lines.size();
    std::size_t i = 1;
    while (i < count && !lines[i].isEmpty()) // the header's own lines
        ++i;

    TimingModel read;
    read.points.reserve(std::size_t(input.size() / 16));
    TextBuilder text(input.size());
    qsizetype textSize = 0;
    const auto addLine = [&] {
        read.lines.push_back({textSize, 0, qsizetype(read.points.size()), 0});
        return read.lines.size() - 1;
    };
    const auto addComment = [&](QStringView comment) {
        TextBuilder decoder(comment.size());
        for (qsizetype at = 0; at < comment.size();)
            AppendCharacter(decoder, NextCharacter(comment, at));
        const QString decoded = decoder.take();
        if (IsAttributeLine(decoded)) {
            AddAttribute(read, decoded);
            return;
        }
        read.lines[addLine()].textLength = decoded.size();
        text.append(decoded);
        textSize += decoded.size();
    };
    // The last cue's line waits for the next cue's start, which its implicit end is.
    std::optional<std::size_t> pending;
    qint64 pendingEnd = 0;
    while (i < count) {
        const QStringView first = lines[i];
        std::size_t end = i;
        while (end < count && !lines[end].isEmpty())
            ++end;
        if (first.isEmpty()) {
            ++i;
            continue;
        }
        if (OpensBlock(first, u"NOTE")) {
            if (end - i == 1 && first.size() == 4)
                addLine();
            for (std::size_t j = i; j < end; ++j) {
                if (j > i)
                    addComment(lines[j]);
                else if (first.size() > 4)
                    addComment(first.sliced(5));
            }
            i = end;
            continue;
        }
        // A cue: its identifier may stand before its timing line.
        const std::size_t timingAt = HasArrow(first) ? i : i + 1;
        qint64 start = 0, cueEnd = 0;
        if (OpensBlock(first, u"STYLE") || OpensBlock(first, u"REGION") || timingAt >= end ||
            !ParseTimingLine(lines[timingAt], start, cueEnd)) {
            i = end;
            continue;
        }
        // A line holding the arrow begins the next cue even without an empty line before it.
        std::size_t stop = timingAt + 1;
        while (stop < end && !HasArrow(lines[stop]))
            ++stop;
        if (pending)
            EndCue(read, read.lines[*pending], pendingEnd, start);
        pending = addLine();
        pendingEnd = cueEnd;
        TimingLine& line = read.lines[*pending];
        read.points.push_back({0, double(start)});
        line.pointCount = 1;
        CueReader reader{read, text, line};
        for (std::size_t j = timingAt + 1; j < stop; ++j) {
            if (j > timingAt + 1)
                reader.character(u' ');
            reader.payloadLine(lines[j]);
        }
        textSize += line.textLength;
        i = stop;
    }
    if (!pending) {
        code = ResultCode::NoTimedLine;
        return false;
    }
    EndCue(read, read.lines[*pending], pendingEnd, -1);
    if (!TimesWithinLimit(read)) {
        code = ResultCode::TimeBeyondLimit;
        return false;
    }
    read.text = text.take();
    model = std::move(read);
    code = ResultCode::Ok;
    return true;
}

bool IsWebVttText(QStringView text)
{
    if (text.startsWith(u'\uFEFF'))
        text = text.sliced(1);
    return text.startsWith(u"WEBVTT") &&
           (text.size() == 6 || IsBlank(text[6]) || text[6] == u'\r' || text[6] == u'\n');
}

} // namespace kovrant
