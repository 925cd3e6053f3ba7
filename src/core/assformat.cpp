#include "core/assformat.h"

#include "core/divide.h"
#include "core/lines.h"
#include "core/textbuilder.h"
#include "core/timetag.h"

#include <algorithm>
#include <optional>

namespace kovrant {

namespace {

// Unsung syllables white, sung ones filled in blue, with a dark outline that keeps both readable
// on any picture; IPAGothic is the Japanese font the program's packages bring.
constexpr QStringView Head = u"[Script Info]\r\n"
                             u"ScriptType: v4.00+\r\n";
constexpr QStringView Body =
    u"PlayResX: 1280\r\n"
    u"PlayResY: 720\r\n"
    u"WrapStyle: 0\r\n"
    u"ScaledBorderAndShadow: yes\r\n"
    u"\r\n"
    u"[V4+ Styles]\r\n"
    u"Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    u"BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    u"BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n"
    u"Style: Default,IPAGothic,56,&H00FF8000,&H00FFFFFF,&H00000000,&H80000000,0,0,0,0,100,100,"
    u"0,0,1,3,1,2,60,60,50,1\r\n"
    u"\r\n"
    u"[Events]\r\n"
    u"Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";
constexpr QStringView EventFields = u"0,0:00:00.00,0:00:00.00,Default,,0,0,0,,";

// Larger numbers only say that a time lies far beyond any tag.
constexpr qint64 Saturation = qint64(1) << 40;

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// What follows a backslash and makes it an escape for libass.
bool EndsEscape(QChar c)
{
    return c == u'N' || c == u'n' || c == u'h' || c == u'{' || c == u'}';
}

void AppendTime(TextBuilder& out, qint64 cs)
{
    cs = std::max<qint64>(cs, 0);
    QChar* to = WriteDigits(cs / 360000, 1, out.room(32));
    *to++ = u':';
    to = WriteDigits(cs / 6000 % 60, 2, to);
    *to++ = u':';
    to = WriteDigits(cs / 100 % 60, 2, to);
    *to++ = u'.';
    out.advance(WriteDigits(cs % 100, 2, to));
}

// A Script Info line's value, which renderers do not read as event text.
void AppendOnLine(TextBuilder& out, QStringView value)
{
    for (const QChar c : value)
        out.append(c == u'\r' || c == u'\n' ? QChar(u' ') : c);
}

void AppendEscaped(TextBuilder& out, QStringView piece)
{
    QChar* to = out.room(4 * piece.size());
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const QChar c = piece[i];
        if (c == u'{') {
            // libass reads "\{" as a brace; the empty block keeps renderers without that escape
            // from taking the text up to the next "}" for tags.
            *to++ = u'\\';
            *to++ = u'{';
            *to++ = u'{';
            *to++ = u'}';
        } else if (c == u'\\') {
            *to++ = c;
            if (i + 1 == piece.size() || piece[i + 1] == ZeroWidthSpace ||
                (EndsEscape(piece[i + 1]) && piece[i + 1] != u'{'))
                *to++ = ZeroWidthSpace;
        } else {
            *to++ = c == u'\r' || c == u'\n' ? QChar(u' ') : c;
        }
    }
    out.advance(to);
}

void AppendKaraoke(TextBuilder& out, qint64 cs)
{
    QChar* to = out.room(32);
    *to++ = u'{';
    *to++ = u'\\';
    *to++ = u'k';
    *to++ = u'f';
    to = WriteDigits(cs, 1, to);
    *to++ = u'}';
    out.advance(to);
}

// "H:MM:SS.CC" in milliseconds, blanks around it allowed.
std::optional<qint64> ParseTime(QStringView field)
{
    field = field.trimmed();
    qsizetype i = 0;
    const auto number = [&](qsizetype least, qsizetype most, qint64& value) {
        const qsizetype start = i;
        value = 0;
        for (; i < field.size() && IsAsciiDigit(field[i]) && i - start < most; ++i)
            value = std::min(value * 10 + (field[i].unicode() - u'0'), Saturation);
        return i - start >= least;
    };
    const auto separator = [&](QChar c) { return i < field.size() && field[i++] == c; };
    qint64 hours = 0, minutes = 0, seconds = 0, centiseconds = 0;
    if (!number(1, 12, hours) || !separator(u':') || !number(1, 2, minutes) || !separator(u':') ||
        !number(1, 2, seconds) || !separator(u'.') || !number(2, 2, centiseconds) ||
        i != field.size())
        return std::nullopt;
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + centiseconds * 10;
}

// Reads the text of an event: its characters into text and line, and for a Dialogue (model
// given) a point where each karaoke syllable begins; gives where the last syllable ends, or
// nothing without karaoke.
class EventText {
public:
    EventText(TextBuilder& text, TimingLine& line)
        : m_text(text)
        , m_line(line)
    {}

    std::optional<qint64> read(QStringView raw, TimingModel* model, qint64 start)
    {
        m_model = model;
        m_end = start;
        bool unclosed = false; // no "}" follows: every later "{" is text
        for (qsizetype i = 0; i < raw.size();) {
            const qsizetype special = IndexOfAnyNear(raw, i, u'{', u'\\', u'\\');
            m_text.append(raw.sliced(i, special - i));
            m_line.textLength += special - i;
            if ((i = special) == raw.size())
                break;
            const QChar c = raw[i];
            if (c == u'{' && !unclosed) {
                const qsizetype close = IndexOf(raw, u'}', i + 1);
                if (close >= 0) {
                    block(raw.sliced(i + 1, close - i - 1));
                    i = close + 1;
                    continue;
                }
                unclosed = true;
            }
            if (c != u'\\' || i + 1 == raw.size()) {
                put(c);
                ++i;
                continue;
            }
            const QChar next = raw[i + 1];
            if (next == u'N' || next == u'n') {
                put(u' ');
            } else if (next == u'h') {
                put(u'\u00A0');
            } else if (next == u'{' || next == u'}') {
                put(next);
            } else {
                // The marker a writer put after a backslash that would have begun an escape.
                put(c);
                const bool marked =
                    next == ZeroWidthSpace &&
                    (i + 2 == raw.size() || EndsEscape(raw[i + 2]) || raw[i + 2] == ZeroWidthSpace);
                i += marked ? 2 : 1;
                continue;
            }
            i += 2;
        }
        return m_sawKaraoke ? std::optional(m_end) : std::nullopt;
    }

private:
    void put(QChar c)
    {
        m_text.append(c);
        ++m_line.textLength;
    }

    void block(QStringView tags)
    {
        for (qsizetype i = IndexOf(tags, u'\\'); i >= 0; i = IndexOf(tags, u'\\', i + 1)) {
            qsizetype j = i + 1;
            if (j == tags.size() || (tags[j] != u'k' && tags[j] != u'K'))
                continue;
            if (tags[j++] == u'k' && j < tags.size() && (tags[j] == u'f' || tags[j] == u'o'))
                ++j;
            if (j < tags.size() && IsAsciiLetter(tags[j])) // another tag, such as \kt
                continue;
            const bool negative = j < tags.size() && tags[j] == u'-';
            j += j < tags.size() && (tags[j] == u'-' || tags[j] == u'+') ? 1 : 0;
            qint64 cs = 0;
            for (; j < tags.size() && IsAsciiDigit(tags[j]); ++j)
                cs = std::min(cs * 10 + (tags[j].unicode() - u'0'), Saturation);
            if (m_model)
                syllable(negative ? 0 : cs * 10);
        }
    }

    // A syllable of duration ms begins here; the first begins at the start, with any text
    // ahead of it.
    void syllable(qint64 ms)
    {
        if (m_sawKaraoke) {
            m_model->points.push_back({m_line.textLength, double(m_end)});
            ++m_line.pointCount;
        }
        m_sawKaraoke = true;
        m_end = std::min(m_end + ms, Saturation);
    }

    TextBuilder& m_text;
    TimingLine& m_line;
    TimingModel* m_model = nullptr;
    qint64 m_end = 0;
    bool m_sawKaraoke = false;
};

// The fields of an event line after its "Dialogue:" or "Comment:", the last one taking the rest.
bool SplitFields(QStringView line, qsizetype count, std::vector<QStringView>& fields)
{
    fields.clear();
    qsizetype at = 0;
    for (qsizetype field = 0; field + 1 < count; ++field) {
        const qsizetype comma = IndexOf(line, u',', at);
        if (comma < 0)
            return false;
        fields.push_back(line.sliced(at, comma - at));
        at = comma + 1;
    }
    fields.push_back(line.sliced(at));
    return true;
}

} // namespace

QString WriteAss(const TimingModel& model)
{
    qsizetype size = Head.size() + Body.size() + 2 * model.text.size();
    size += 12 * qsizetype(model.points.size()) + 64 * qsizetype(model.lines.size());
    for (const QString& attribute : model.attributes)
        size += attribute.size() + 12;
    TextBuilder out(size);
    out.append(Head);
    bool titled = false;
    for (const QString& attribute : model.attributes) {
        const qsizetype equals = attribute.indexOf(u'=');
        if (!titled && equals > 0 &&
            TrimSpaces(QStringView(attribute).sliced(1, equals - 1))
                    .compare(u"Title", Qt::CaseInsensitive) == 0) {
            titled = true;
            out.append(u"Title: ");
            AppendOnLine(out, TrimSpaces(QStringView(attribute).sliced(equals + 1)));
        } else {
            out.append(u"; ");
            AppendOnLine(out, attribute);
        }
        out.append(Crlf);
    }
    out.append(Body);

    const std::vector<CueTiming> timings = CueTimings(model, 10);
    for (std::size_t l = 0; l < model.lines.size(); ++l) {
        const TimingLine& line = model.lines[l];
        const QStringView text = model.textOf(line);
        const std::span<const TimePoint> points = model.pointsOf(line);
        if (points.empty()) {
            out.append(u"Comment: ");
            out.append(EventFields);
            AppendEscaped(out, text);
            out.append(Crlf);
            continue;
        }
        const CueTiming& timing = timings[l];
        out.append(u"Dialogue: 0,");
        qint64 start = ToUnits(points.front().ms, 10);
        AppendTime(out, start);
        out.append(u',');
        AppendTime(out, timing.end);
        out.append(u",Default,,0,0,0,,");
        for (qsizetype i = 0; i < timing.starts; ++i) {
            const std::size_t p = std::size_t(i);
            // Text ahead of the first point is sung with the first syllable.
            const qsizetype from = i == 0 ? 0 : std::min(points[p].column, text.size());
            const bool last = i + 1 == timing.starts;
            const qsizetype to =
                last ? text.size() : std::clamp(points[p + 1].column, from, text.size());
            const qint64 next = last ? timing.end : ToUnits(points[p + 1].ms, 10);
            AppendKaraoke(out, std::max<qint64>(next - start, 0));
            AppendEscaped(out, text.sliced(from, to - from));
            start = std::max(start, next);
        }
        if (timing.markEnd)
            AppendKaraoke(out, 0);
        out.append(Crlf);
    }
    return out.take();
}

bool ReadAss(QStringView input, TimingModel& model, ResultCode& code)
{
    if (input.startsWith(u'\uFEFF'))
        input = input.sliced(1);
    enum class Section { Other, Info, Events } section = Section::Other;
    bool sawEvents = false;
    // The fields of an event as the section's Format line names them.
    qsizetype fieldCount = 10, startField = 1, endField = 2, effectField = 8;
    std::vector<QStringView> fields;

    TimingModel read;
    read.points.reserve(std::size_t(input.size() / 8));
    TextBuilder text(input.size());
    qsizetype textSize = 0;
    std::optional<std::size_t> pending; // the last Dialogue's line, waiting for the next start
    qint64 pendingEnd = 0;
    const auto fail = [&code](ResultCode failure) {
        code = failure;
        return false;
    };
    for (const QStringView rawLine : SplitLines(input)) {
        const QStringView line = rawLine.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = Section::Other;
            if (line.compare(u"[Script Info]", Qt::CaseInsensitive) == 0)
                section = Section::Info;
            if (line.compare(u"[Events]", Qt::CaseInsensitive) == 0)
                section = Section::Events;
            sawEvents |= section == Section::Events;
            continue;
        }
        if (section == Section::Info) {
            if (line.startsWith(u';')) {
                const QStringView comment = line.sliced(line.startsWith(u"; ") ? 2 : 1);
                if (IsAttributeLine(comment))
                    AddAttribute(read, comment);
            } else if (line.startsWith(u"Title:", Qt::CaseInsensitive)) {
                read.attributes.append(QStringLiteral("@Title=") +
                                       line.sliced(6).trimmed().toString());
            }
            continue;
        }
        if (section != Section::Events)
            continue;
        if (line.startsWith(u"Format:", Qt::CaseInsensitive)) {
            const QList<QStringView> names = line.sliced(7).split(u',');
            const auto field = [&names](QStringView name) {
                for (qsizetype i = 0; i < names.size(); ++i) {
                    if (names[i].trimmed().compare(name, Qt::CaseInsensitive) == 0)
                        return i;
                }
                return qsizetype(-1);
            };
            fieldCount = names.size();
            startField = field(u"Start");
            endField = field(u"End");
            effectField = field(u"Effect");
            if (startField < 0 || endField < 0 || field(u"Text") != fieldCount - 1)
                return fail(ResultCode::InvalidAss);
            continue;
        }
        const bool dialogue = line.startsWith(u"Dialogue:");
        if (!dialogue && !line.startsWith(u"Comment:"))
            continue;
        QStringView rest = rawLine.sliced(IndexOf(rawLine, u':') + 1);
        while (rest.startsWith(u' '))
            rest = rest.sliced(1);
        const bool split = SplitFields(rest, fieldCount, fields);
        const std::optional<qint64> start =
            split ? ParseTime(fields[std::size_t(startField)]) : std::nullopt;
        const std::optional<qint64> end =
            split ? ParseTime(fields[std::size_t(endField)]) : std::nullopt;
        if (!dialogue) {
            // A comment is a line without time unless it holds an effect's template or code.
            if (split &&
                (effectField < 0 || fields[std::size_t(effectField)].trimmed().isEmpty())) {
                read.lines.push_back({textSize, 0, qsizetype(read.points.size()), 0});
                EventText(text, read.lines.back()).read(fields.back(), nullptr, 0);
                textSize += read.lines.back().textLength;
            }
            continue;
        }
        if (!start || !end)
            return fail(ResultCode::InvalidAss);
        if (pending)
            EndCue(read, read.lines[*pending], pendingEnd, *start);
        read.lines.push_back({textSize, 0, qsizetype(read.points.size()), 0});
        pending = read.lines.size() - 1;
        TimingLine& timed = read.lines.back();
        read.points.push_back({0, double(*start)});
        timed.pointCount = 1;
        const std::optional<qint64> karaokeEnd =
            EventText(text, timed).read(fields.back(), &read, *start);
        pendingEnd = karaokeEnd.value_or(*end);
        textSize += timed.textLength;
    }
    if (!sawEvents)
        return fail(ResultCode::InvalidAss);
    if (!pending)
        return fail(ResultCode::NoTimedLine);
    EndCue(read, read.lines[*pending], pendingEnd, -1);
    if (!TimesWithinLimit(read))
        return fail(ResultCode::TimeBeyondLimit);
    read.text = text.take();
    model = std::move(read);
    code = ResultCode::Ok;
    return true;
}

bool IsAssText(QStringView text)
{
    if (text.startsWith(u'\uFEFF'))
        text = text.sliced(1);
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = NextLineBreak(text, start);
        const QStringView line = text.sliced(start, end - start).trimmed();
        if (!line.isEmpty())
            return line.compare(u"[Script Info]", Qt::CaseInsensitive) == 0;
        if (end == text.size())
            break;
        start = AfterLineBreak(text, end);
    }
    return false;
}

} // namespace kovrant
