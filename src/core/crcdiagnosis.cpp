#include "core/crcdiagnosis.h"

#include "core/combine.h"
#include "core/lines.h"
#include "core/ttdformat.h"

#include <algorithm>
#include <array>
#include <bit>

namespace kovrant {

namespace {

constexpr std::array<Repair, 5> InOrder{Repair::MarksLeft, Repair::FullWidthToHalf,
                                        Repair::HalfWidthToFull, Repair::TrailingSpaces,
                                        Repair::EmptyLineRuns};

constexpr char16_t IdeographicSpace = u'\u3000';
constexpr char16_t FullWidthOffset = 0xFF01 - 0x21;

bool IsAsciiLetterOrDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

QString RemoveMarks(QStringView text)
{
    QString out = text.toString();
    out.remove(QChar(u'\uFEFF'));
    // An end-of-file character at the very end, with the line breaks after it.
    qsizetype end = out.size();
    while (end > 0 && (out[end - 1] == u'\r' || out[end - 1] == u'\n'))
        --end;
    if (end > 0 && out[end - 1] == u'\x1A')
        out.truncate(end - 1);
    return out;
}

QString ChangeWidth(QStringView text, bool toHalf)
{
    QString out = text.toString();
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (toHalf) {
            if (u == IdeographicSpace)
                c = u' ';
            else if (u > FullWidthOffset && IsAsciiLetterOrDigit(char16_t(u - FullWidthOffset)))
                c = QChar(char16_t(u - FullWidthOffset));
        } else if (u == u' ') {
            c = QChar(IdeographicSpace);
        } else if (IsAsciiLetterOrDigit(u)) {
            c = QChar(char16_t(u + FullWidthOffset));
        }
    }
    return out;
}

bool IsTrailingSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == IdeographicSpace;
}

QString RemoveTrailingSpaces(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const std::vector<QStringView> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        while (!line.isEmpty() && IsTrailingSpace(line.back()))
            line.chop(1);
        if (i > 0)
            out.append(Crlf);
        out.append(line);
    }
    return out;
}

QString CollapseEmptyLineRuns(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool previousEmpty = false;
    bool first = true;
    for (const QStringView line : SplitLines(text)) {
        if (line.isEmpty() && previousEmpty)
            continue;
        if (!first)
            out.append(Crlf);
        out.append(line);
        previousEmpty = line.isEmpty();
        first = false;
    }
    return out;
}

QString ApplyOne(QStringView text, Repair repair)
{
    switch (repair) {
    case Repair::MarksLeft:
        return RemoveMarks(text);
    case Repair::FullWidthToHalf:
        return ChangeWidth(text, true);
    case Repair::HalfWidthToFull:
        return ChangeWidth(text, false);
    case Repair::TrailingSpaces:
        return RemoveTrailingSpaces(text);
    case Repair::EmptyLineRuns:
        return CollapseEmptyLineRuns(text);
    }
    return text.toString();
}

// What the records need of the source's lines, for when no repair proves a match; lines are
// split at any break, as Combine splits them.
void CompareShape(const TtdContents& ttd, QStringView sourceText, CrcDiagnosis& diagnosis)
{
    const std::vector<QStringView> allLines = SplitLines(sourceText);
    // Empty lines at either end do not count, as Combine drops them.
    const std::span<const QStringView> lines = WithoutEmptyEnds(allLines);
    diagnosis.sourceLines = qint64(lines.size());
    // Only the first three short lines are kept, in order, so that every record costs the same
    // however many lines are short: a line pushed out by three before it never comes back.
    constexpr std::size_t Kept = 3;
    std::vector<CrcDiagnosis::ShortLine> shortLines;
    for (const TagCell& record : ttd.records) {
        diagnosis.linesNeeded = std::max(diagnosis.linesNeeded, qint64(record.line) + 1);
        if (record.line >= diagnosis.sourceLines)
            continue;
        const qint64 length = lines[std::size_t(record.line)].size();
        if (record.column <= length)
            continue;
        const auto at = std::lower_bound(
            shortLines.begin(), shortLines.end(), qint64(record.line),
            [](const CrcDiagnosis::ShortLine& s, qint64 line) { return s.line < line; });
        if (at != shortLines.end() && at->line == record.line) {
            at->column = std::max(at->column, qint64(record.column));
        } else if (at - shortLines.begin() < qsizetype(Kept)) {
            shortLines.insert(at, {record.line, length, record.column});
            if (shortLines.size() > Kept)
                shortLines.pop_back();
        }
    }
    diagnosis.shortLines = std::move(shortLines);
}

} // namespace

QString ApplyRepairs(QStringView text, Repairs repairs)
{
    QString out = text.toString();
    for (const Repair repair : InOrder) {
        if (repairs & unsigned(repair))
            out = ApplyOne(out, repair);
    }
    return out;
}

CrcDiagnosis DiagnoseCrcMismatch(QStringView ttdText, QStringView sourceText)
{
    CrcDiagnosis diagnosis;
    TtdContents ttd;
    ResultCode code = ResultCode::Ok;
    if (!ReadTtdText(ttdText, ttd, code))
        return diagnosis;

    if (sourceText.size() > MaxRepairedLength) {
        diagnosis.repairsTried = false;
        CompareShape(ttd, sourceText, diagnosis);
        return diagnosis;
    }
    // A repair that changes nothing proves nothing new: only sets of repairs that each change
    // the text are tried, and the two directions of width never together.
    const QString normalised = NormaliseToCrlf(sourceText);
    Repairs changing = 0;
    for (const Repair repair : InOrder) {
        if (ApplyOne(normalised, repair) != normalised)
            changing |= unsigned(repair);
    }
    constexpr Repairs BothWidths =
        unsigned(Repair::FullWidthToHalf) | unsigned(Repair::HalfWidthToFull);
    std::vector<Repairs> sets;
    for (Repairs set = 1; set < 32; ++set) {
        if ((set & ~changing) == 0 && (set & BothWidths) != BothWidths)
            sets.push_back(set);
    }
    std::stable_sort(sets.begin(), sets.end(),
                     [](Repairs a, Repairs b) { return std::popcount(a) < std::popcount(b); });
    for (const Repairs set : sets) {
        QString repaired = ApplyRepairs(normalised, set);
        if (SourceMatchesCrc(ttd.crcText, repaired)) {
            diagnosis.repairs = set;
            diagnosis.repairedText = std::move(repaired);
            return diagnosis;
        }
    }
    CompareShape(ttd, sourceText, diagnosis);
    return diagnosis;
}

} // namespace kovrant
