#include "core/retime.h"

#include "core/divide.h"
#include "core/editscript.h"
#include "core/lines.h"
#include "core/timetag.h"

#include <algorithm>
#include <array>

namespace kovrant {

namespace {

// The texts are compared in units: a character, a surrogate pair being one, or a line break of
// any kind. Each text ends in one more break unit for its end, so that a last line without a
// break can be deleted or inserted like any other line.
constexpr char32_t BreakUnit = 0x110000;

// The kinds of line break a text uses, as bits.
unsigned BreakKind(QStringView lineBreak)
{
    if (lineBreak.isEmpty())
        return 0;
    return lineBreak.size() == 2 ? 4 : lineBreak[0] == u'\r' ? 2 : 1;
}

// Calls f(number, line, lineBreak, offset) for each line of text, numbered from 1; the last
// line's break is empty.
template <typename F>
void ForEachLine(QStringView text, F f)
{
    qsizetype start = 0;
    for (qsizetype number = 1;; ++number) {
        const qsizetype end = NextLineBreak(text, start);
        const qsizetype next = end == text.size() ? end : AfterLineBreak(text, end);
        f(number, text.sliced(start, end - start), text.sliced(end, next - end), start);
        if (end == text.size())
            return;
        start = next;
    }
}

qsizetype CharLength(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

char32_t Unit(QStringView text, qsizetype i, qsizetype length)
{
    return length == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
}

// The length of a run of adjacent time tags at i, or 0.
qsizetype GroupLength(QStringView line, qsizetype i)
{
    qsizetype end = i;
    while (IsTimeTagAt(line, end))
        end += TimeTagLength;
    return end - i;
}

QStringView AttributeName(QStringView line)
{
    return line.first(line.indexOf(u'=') + 1);
}

template <typename T>
T& At(std::vector<T>& v, qsizetype i)
{
    return v[std::size_t(i)];
}

template <typename T>
const T& At(const std::vector<T>& v, qsizetype i)
{
    return v[std::size_t(i)];
}

struct OldGroup {
    qsizetype unit;     // the unit it stands before
    qsizetype lastChar; // for a line's end tag, the line's last unit other than a space; else -1
    QStringView tags;
    qsizetype line;
    qsizetype column;
};

struct OldAttribute {
    QStringView text;
    QStringView lineBreak;
    qsizetype unit;    // the first unit after it
    bool last = false; // no line of lyrics follows it
};

struct OldText {
    std::vector<char32_t> units;
    std::vector<OldGroup> groups;
    std::vector<OldAttribute> attributes;
    std::vector<QString> attributeLikeLyrics; // lyrics lines that read as attribute lines, sorted
    unsigned breakKinds = 0;
    QStringView firstBreak;
};

OldText ReadOld(QStringView text)
{
    OldText old;
    ForEachLine(text, [&](qsizetype number, QStringView line, QStringView lineBreak, qsizetype) {
        old.breakKinds |= BreakKind(lineBreak);
        if (old.firstBreak.isEmpty())
            old.firstBreak = lineBreak;
        if (IsAttributeLine(line)) {
            old.attributes.push_back({line, lineBreak, qsizetype(old.units.size()), true});
            return;
        }
        for (auto a = old.attributes.rbegin(); a != old.attributes.rend() && a->last; ++a)
            a->last = false;
        const std::size_t firstGroup = old.groups.size();
        const std::size_t firstUnit = old.units.size();
        qsizetype lastChar = -1;
        qsizetype column = 1;
        for (qsizetype i = 0; i < line.size();) {
            if (const qsizetype group = GroupLength(line, i)) {
                old.groups.push_back(
                    {qsizetype(old.units.size()), -1, line.sliced(i, group), number, column});
                column += group;
                i += group;
                continue;
            }
            const qsizetype length = CharLength(line, i);
            if (line[i] != u' ')
                lastChar = qsizetype(old.units.size());
            old.units.push_back(Unit(line, i, length));
            i += length;
            ++column;
        }
        for (std::size_t g = firstGroup; g < old.groups.size(); ++g) {
            if (lastChar >= 0 && old.groups[g].unit > lastChar)
                old.groups[g].lastChar = lastChar;
        }
        if (old.units.size() > firstUnit && old.units[firstUnit] == U'@') {
            QString lyrics = QString::fromUcs4(old.units.data() + firstUnit,
                                               qsizetype(old.units.size() - firstUnit));
            if (IsAttributeLine(lyrics))
                old.attributeLikeLyrics.push_back(std::move(lyrics));
        }
        if (!lineBreak.isEmpty())
            old.units.push_back(BreakUnit);
    });
    old.units.push_back(BreakUnit);
    std::sort(old.attributeLikeLyrics.begin(), old.attributeLikeLyrics.end());
    return old;
}

// Whether the units from first on end in a time tag.
bool EndsWithTag(const std::vector<char32_t>& units, std::size_t first)
{
    if (units.size() - first < std::size_t(TimeTagLength))
        return false;
    std::array<QChar, TimeTagLength> tag;
    for (std::size_t i = 0; i < tag.size(); ++i) {
        const char32_t unit = units[units.size() - tag.size() + i];
        if (unit > 0x7F)
            return false;
        tag[i] = QChar(char16_t(unit));
    }
    return IsTimeTagAt(QStringView(tag.data(), TimeTagLength), 0);
}

struct NewText {
    std::vector<char32_t> units;    // of the lines other than attribute lines
    std::vector<qsizetype> offsets; // of each unit in the text
    std::vector<qsizetype> lineStarts;
    std::vector<QStringView> attributeNames; // sorted
    std::vector<RemovedTag> removed;
    std::vector<qsizetype> removedChars; // the offsets of their characters
    unsigned breakKinds = 0;
    QStringView firstBreak;
    bool hasText = false;     // a character other than a space
    bool endsInLyrics = true; // no attribute line follows the last line of lyrics
};

NewText ReadNew(QStringView text, const std::vector<QString>& attributeLikeLyrics)
{
    NewText t;
    const auto add = [&](char32_t unit, qsizetype offset) {
        t.units.push_back(unit);
        t.offsets.push_back(offset);
    };
    std::vector<qsizetype> columns; // of the units of the line, from 1
    // The end unit stands after the last line of lyrics, before the attribute lines that end
    // the text, so that nothing goes into them.
    qsizetype end = text.size();
    ForEachLine(
        text, [&](qsizetype number, QStringView line, QStringView lineBreak, qsizetype offset) {
            t.breakKinds |= BreakKind(lineBreak);
            if (t.firstBreak.isEmpty())
                t.firstBreak = lineBreak;
            t.lineStarts.push_back(qsizetype(t.units.size()));
            if (IsAttributeLine(line) &&
                !std::binary_search(attributeLikeLyrics.begin(), attributeLikeLyrics.end(), line)) {
                t.attributeNames.push_back(AttributeName(line));
                t.endsInLyrics = false;
                return;
            }
            // A tag goes as its "]" comes, and so does a tag that the text around a removed
            // one makes: no tag is left that the old text did not have.
            const std::size_t first = t.units.size();
            columns.clear();
            qsizetype column = 0;
            for (qsizetype i = 0; i < line.size(); i += CharLength(line, i)) {
                add(Unit(line, i, CharLength(line, i)), offset + i);
                columns.push_back(++column);
                if (t.units.back() != U']' || !EndsWithTag(t.units, first))
                    continue;
                const std::size_t tag = t.units.size() - TimeTagLength;
                t.removed.push_back({number, columns[tag - first],
                                     QString::fromUcs4(&t.units[tag], TimeTagLength)});
                t.removedChars.insert(t.removedChars.end(), t.offsets.begin() + qsizetype(tag),
                                      t.offsets.end());
                t.units.resize(tag);
                t.offsets.resize(tag);
                columns.resize(tag - first);
            }
            t.hasText |= std::any_of(t.units.begin() + qsizetype(first), t.units.end(),
                                     [](char32_t u) { return u != U' '; });
            end = lineBreak.isEmpty() ? text.size() : offset + line.size();
            t.endsInLyrics = true;
            if (!lineBreak.isEmpty())
                add(BreakUnit, offset + line.size());
        });
    add(BreakUnit, end);
    std::sort(t.removedChars.begin(), t.removedChars.end());
    std::sort(t.attributeNames.begin(), t.attributeNames.end());
    return t;
}

// Moves each run of units that one side has and the other has nothing for in its place, where
// the run repeats the units around it so that it could stand further on or back, to where it
// ends in a line break, else as far on as it goes: a line deleted or inserted is then a whole
// line with its break, and a repeated character the later one.
void SlideRuns(const std::vector<char32_t>& units, std::vector<qsizetype>& match,
               std::vector<qsizetype>& otherMatch, qsizetype otherSize)
{
    const qsizetype size = qsizetype(units.size());
    const auto kept = [&](qsizetype i) { return At(match, i) >= 0; };
    const auto forward = [&](qsizetype& i, qsizetype& j) {
        if (j == size || !kept(j) || At(units, i) != At(units, j))
            return false;
        const qsizetype partner = At(match, j);
        if (j + 1 == size ? partner != otherSize - 1 : At(match, j + 1) != partner + 1)
            return false;
        At(match, i) = partner;
        At(otherMatch, partner) = i;
        At(match, j) = -1;
        ++i, ++j;
        return true;
    };
    const auto back = [&](qsizetype& i, qsizetype& j) {
        if (i == 0 || !kept(i - 1) || At(units, i - 1) != At(units, j - 1))
            return false;
        const qsizetype partner = At(match, i - 1);
        if (i == 1 ? partner != 0 : At(match, i - 2) != partner - 1)
            return false;
        At(match, j - 1) = partner;
        At(otherMatch, partner) = j - 1;
        At(match, i - 1) = -1;
        --i, --j;
        return true;
    };
    for (qsizetype i = 0; i < size;) {
        if (kept(i)) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < size && !kept(j))
            ++j;
        const qsizetype before = i == 0 ? -1 : At(match, i - 1);
        const qsizetype after = j == size ? otherSize : At(match, j);
        if (after == before + 1) {
            while (back(i, j)) {
            }
            qsizetype best = -1;
            do {
                if (At(units, j - 1) == BreakUnit)
                    best = i;
            } while (forward(i, j));
            while (best >= 0 && i > best)
                back(i, j);
        }
        i = j;
    }
}

// Text deleted from the old side and inserted on the new between two kept units.
struct Span {
    qsizetype oldBegin, oldEnd, newBegin, newEnd;
    qsizetype firstChar; // the first inserted unit that is no line break, or -1
    bool timed = false;  // a group went before it
};

// Which unit of the other side each unit is kept as (-1 when none), and the changes between.
struct Alignment {
    std::vector<qsizetype> oldMatch;
    std::vector<qsizetype> newMatch;
    std::vector<Span> spans;
    qsizetype edits = 0;
};

bool Align(const OldText& old, const NewText& t, Alignment& alignment)
{
    const qsizetype oldSize = qsizetype(old.units.size());
    const qsizetype newSize = qsizetype(t.units.size());
    std::vector<KeptRun> kept;
    if (!ShortestEditScript(old.units, t.units,
                            std::min(MaxRetimeEdits, std::max(oldSize, newSize)), kept,
                            alignment.edits))
        return false;
    std::vector<qsizetype>& oldMatch = alignment.oldMatch;
    std::vector<qsizetype>& newMatch = alignment.newMatch;
    oldMatch.assign(old.units.size(), -1);
    newMatch.assign(t.units.size(), -1);
    for (const KeptRun& run : kept) {
        for (qsizetype i = 0; i < run.length; ++i) {
            At(oldMatch, run.oldStart + i) = run.newStart + i;
            At(newMatch, run.newStart + i) = run.oldStart + i;
        }
    }
    SlideRuns(old.units, oldMatch, newMatch, newSize);
    SlideRuns(t.units, newMatch, oldMatch, oldSize);

    for (qsizetype i = 0, k = 0; i < oldSize || k < newSize;) {
        if (i < oldSize && At(oldMatch, i) == k) {
            ++i, ++k;
            continue;
        }
        Span span{i, i, k, k, -1};
        while (span.oldEnd < oldSize && At(oldMatch, span.oldEnd) < 0)
            ++span.oldEnd;
        while (span.newEnd < newSize && At(newMatch, span.newEnd) < 0)
            ++span.newEnd;
        for (qsizetype u = span.newBegin; u < span.newEnd && span.firstChar < 0; ++u) {
            if (At(t.units, u) != BreakUnit)
                span.firstChar = u;
        }
        alignment.spans.push_back(span);
        i = span.oldEnd;
        k = span.newEnd;
    }
    return true;
}

struct Placed {
    qsizetype unit; // of the new text, which it stands before
    QStringView text;
    QStringView lineBreak; // after an attribute line
};

void PlaceGroups(const OldText& old, const NewText& t, Alignment& alignment,
                 std::vector<Placed>& placed, std::vector<DroppedGroup>& dropped)
{
    auto span = alignment.spans.begin();
    for (const OldGroup& g : old.groups) {
        if (qsizetype to = At(alignment.oldMatch, g.unit); to >= 0) {
            // An end tag whose line break matched a later one, past inserted lines, stays at the
            // end of the line that holds its line's last character.
            if (g.lastChar >= 0) {
                if (const qsizetype last = At(alignment.oldMatch, g.lastChar); last >= 0)
                    to = std::find(t.units.begin() + last, t.units.begin() + to, BreakUnit) -
                         t.units.begin();
            }
            placed.push_back({to, g.tags, {}});
            continue;
        }
        while (span->oldEnd <= g.unit)
            ++span;
        if (span->firstChar >= 0) {
            if (!span->timed) {
                span->timed = true;
                placed.push_back({span->firstChar, g.tags, {}});
                continue;
            }
        } else if (g.lastChar >= 0 && At(alignment.oldMatch, g.lastChar) >= 0) {
            placed.push_back({span->newBegin, g.tags, {}});
            continue;
        }
        dropped.push_back({g.line, g.column, g.tags.toString()});
    }
}

// The old attribute lines that keep their place among the lines, in the order of their places,
// and those that go to the end; forcedBreak, when not empty, ends every line placed.
void PlaceAttributes(const OldText& old, const NewText& t, const Alignment& alignment,
                     QStringView forcedBreak, std::vector<Placed>& placed,
                     std::vector<const OldAttribute*>& atEnd)
{
    const qsizetype newEnd = qsizetype(t.units.size()) - 1;
    const auto match = [&](qsizetype unit) { return At(alignment.oldMatch, unit); };
    // The end unit stands at the start of a line only when the text ends in a line of lyrics.
    const auto atLineStart = [&](qsizetype u) {
        return u == 0 || (At(t.units, u - 1) == BreakUnit && (u < newEnd || t.endsInLyrics));
    };
    for (const OldAttribute& a : old.attributes) {
        if (std::binary_search(t.attributeNames.begin(), t.attributeNames.end(),
                               AttributeName(a.text)))
            continue;
        qsizetype to = -1; // at the end
        if (a.last)
            to = -1;
        else if (a.unit == 0)
            to = 0;
        else if (match(a.unit) >= 0 && atLineStart(match(a.unit)))
            to = match(a.unit);
        else if (match(a.unit - 1) >= 0 && match(a.unit - 1) < newEnd)
            to = match(a.unit - 1) + 1;
        if (to < 0 || !atLineStart(to))
            atEnd.push_back(&a);
        else
            placed.push_back({to, a.text, forcedBreak.isEmpty() ? a.lineBreak : forcedBreak});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& x, const Placed& y) { return x.unit < y.unit; });
}

// Appends the new text up to an offset, less the characters of the tags taken out of it.
class NewTextCopier {
public:
    NewTextCopier(QStringView text, const std::vector<qsizetype>& removedChars)
        : m_text(text)
        , m_removed(removedChars)
    {}

    void copyTo(QString& out, qsizetype end)
    {
        for (; m_next < m_removed.size() && m_removed[m_next] < end; ++m_next) {
            out.append(m_text.sliced(m_cursor, m_removed[m_next] - m_cursor));
            m_cursor = m_removed[m_next] + 1;
        }
        out.append(m_text.sliced(m_cursor, end - m_cursor));
        m_cursor = end;
    }

private:
    QStringView m_text;
    const std::vector<qsizetype>& m_removed;
    std::size_t m_next = 0;
    qsizetype m_cursor = 0;
};

// The pieces of inserted text, one per line, that no group times; spaces ending a line are no
// text to time.
std::vector<UntimedText> Untimed(QStringView newText, const NewText& t, const Alignment& alignment)
{
    std::vector<UntimedText> untimed;
    for (const Span& span : alignment.spans) {
        for (qsizetype u = span.newBegin; u < span.newEnd;) {
            if (At(t.units, u) == BreakUnit) {
                ++u;
                continue;
            }
            qsizetype end = u;
            QString piece;
            bool spaces = true;
            for (; end < span.newEnd && At(t.units, end) != BreakUnit; ++end) {
                const qsizetype offset = At(t.offsets, end);
                spaces &= At(t.units, end) == U' ';
                piece.append(newText.sliced(offset, CharLength(newText, offset)));
            }
            for (qsizetype rest = end; spaces && At(t.units, rest) != BreakUnit; ++rest)
                spaces = At(t.units, rest) == U' ';
            if (!spaces && !(span.timed && u == span.firstChar)) {
                const auto line = std::upper_bound(t.lineStarts.begin(), t.lineStarts.end(), u);
                untimed.push_back({qsizetype(line - t.lineStarts.begin()), std::move(piece)});
            }
            u = end;
        }
    }
    return untimed;
}

} // namespace

bool RetimeLyrics(QStringView oldTagged, QStringView newText, RetimeResult& result,
                  ResultCode& code)
{
    const OldText old = ReadOld(oldTagged);
    if (old.groups.empty()) {
        code = ResultCode::RetimeNoTimeTag;
        return false;
    }
    const NewText t = ReadNew(newText, old.attributeLikeLyrics);
    if (!t.hasText) {
        code = ResultCode::RetimeEmptyText;
        return false;
    }
    Alignment alignment;
    if (!Align(old, t, alignment)) {
        code = ResultCode::RetimeTooDifferent;
        return false;
    }

    RetimeResult out;
    out.edits = alignment.edits;
    std::vector<Placed> groups;
    PlaceGroups(old, t, alignment, groups, out.dropped);
    out.carriedGroups = qsizetype(groups.size());

    // Attribute lines keep their breaks unless the new text brings a kind the old did not use.
    const QStringView newBreak = !t.firstBreak.isEmpty()     ? t.firstBreak
                                 : !old.firstBreak.isEmpty() ? old.firstBreak
                                                             : Crlf;
    const bool ownBreaks = (t.breakKinds & ~old.breakKinds) == 0;
    std::vector<Placed> attributes;
    std::vector<const OldAttribute*> atEnd;
    PlaceAttributes(old, t, alignment, ownBreaks ? QStringView() : newBreak, attributes, atEnd);

    QString& text = out.taggedText;
    text.reserve(newText.size() + oldTagged.size());
    NewTextCopier copier(newText, t.removedChars);
    auto group = groups.cbegin();
    const auto copyGroupsBefore = [&](qsizetype unit) {
        for (; group != groups.cend() && group->unit < unit; ++group) {
            copier.copyTo(text, At(t.offsets, group->unit));
            text.append(group->text);
        }
    };
    for (const Placed& a : attributes) {
        copyGroupsBefore(a.unit);
        copier.copyTo(text, At(t.offsets, a.unit));
        text.append(a.text);
        text.append(a.lineBreak.isEmpty() ? newBreak : a.lineBreak);
    }
    copyGroupsBefore(qsizetype(t.units.size()));
    copier.copyTo(text, newText.size());
    if (!atEnd.empty() && !text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r'))
        text.append(newBreak);
    // The lines appended end as the old text ended, with a line break or without.
    const bool oldEndsWithBreak = oldTagged.endsWith(u'\n') || oldTagged.endsWith(u'\r');
    for (const OldAttribute* a : atEnd) {
        text.append(a->text);
        if (a != atEnd.back() || oldEndsWithBreak)
            text.append(ownBreaks && !a->lineBreak.isEmpty() ? a->lineBreak : newBreak);
    }

    out.untimed = Untimed(newText, t, alignment);
    out.removedFromNew = t.removed;
    result = std::move(out);
    code = ResultCode::Ok;
    return true;
}

} // namespace kovrant
