#include "core/combine.h"

#include "core/crc32.h"
#include "core/lines.h"
#include "core/ttdformat.h"

#include <algorithm>

namespace kovrant {

namespace {

// Wider fields than three digits are only honoured where they name a place in the source;
// three-digit fields always are, so a record can add at most this many lines past its end.
constexpr qint64 ThreeDigitLimit = 999;

bool HasOnlyCrlfBreaks(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return false; // an LF that no CR stands before
        if (text[i] == u'\r') {
            if (i + 1 == text.size() || text[i + 1] != u'\n')
                return false;
            ++i;
        }
    }
    return true;
}

bool StartsWithCrlf(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at] == u'\r' && text[at + 1] == u'\n';
}

// Which text of the source the CRC stored in the TTD was computed over.
enum class Match { None, Trimmed, TrimmedPlusCrlf, Whole };

// The trimmed text is what was divided, or it is with the empty last line that a trailing
// line of tags leaves. The whole text as given covers what trimming loses: an empty first
// line, or several empty last lines, of a source written next to its TTD. Each is tried in the
// code page 932 form and then in the UTF-8 form that a text beyond code page 932 is stored in.
Match FindCrcMatch(QStringView whole, QStringView trimmed, QStringView crcText, bool tryTrimmed)
{
    const auto matches = [crcText](std::optional<quint32> crc) {
        return crc && CrcText(*crc) == crcText;
    };
    const bool wholeDiffers =
        whole.data() != trimmed.data() || whole.size() > trimmed.size() + Crlf.size();
    for (const CrcForm form : {CrcForm::Cp932, CrcForm::Utf8}) {
        if (tryTrimmed) {
            const std::optional<quint32> first = SourceLyricsCrc(trimmed, form);
            if (matches(first))
                return Match::Trimmed;
            if (first && matches(Crc32(QByteArrayView("\r\n"), *first)))
                return Match::TrimmedPlusCrlf;
        }
        if (wholeDiffers && matches(SourceLyricsCrc(whole, form)))
            return Match::Whole;
    }
    return Match::None;
}

// The source with its line breaks made CRLF, and the part of it between its empty lines at
// either end.
class SourceText {
public:
    explicit SourceText(QStringView text)
        : m_asItStands(HasOnlyCrlfBreaks(text))
        , m_given(text)
    {
        // Most sources have CRLF only and are used as they stand.
        if (!m_asItStands)
            m_normalised = NormaliseToCrlf(text);
        const QStringView all = whole();
        end = all.size();
        while (begin < end && StartsWithCrlf(all, begin))
            begin += 2;
        while (end - begin >= 2 && all[end - 2] == u'\r' && all[end - 1] == u'\n')
            end -= 2;
    }

    QStringView whole() const { return m_asItStands ? m_given : QStringView(m_normalised); }
    QStringView trimmed() const { return whole().sliced(begin, end - begin); }
    bool isEmpty() const { return begin == end; }

    qsizetype begin = 0;
    qsizetype end = 0;

private:
    bool m_asItStands;
    QStringView m_given;
    QString m_normalised;
};

void SplitIntoLines(LineTable& table, qsizetype begin, qsizetype end)
{
    const QStringView text = table.text;
    qsizetype start = begin;
    for (qsizetype i = begin; i < end; ++i) {
        if (StartsWithCrlf(text, i) && i + 1 < end) {
            table.lines.push_back({start, i - start});
            start = i + 2;
            ++i;
        }
    }
    table.lines.push_back({start, end - start});
}

void PlaceTags(LineTable& table, std::vector<TagCell>&& records)
{
    const auto sourceLines = qsizetype(table.lines.size());
    qsizetype lastLine = sourceLines - 1;
    table.tags = std::move(records);
    const auto farOff = [&](const TagCell& record) {
        const bool lineInSource = record.line < sourceLines;
        return (record.line > ThreeDigitLimit && !lineInSource) ||
               (record.column > ThreeDigitLimit &&
                !(lineInSource && record.column <= table.lines[std::size_t(record.line)].length));
    };
    std::erase_if(table.tags, farOff);
    for (const TagCell& cell : table.tags)
        lastLine = std::max(lastLine, qsizetype(cell.line));
    table.lines.resize(std::size_t(lastLine + 1), LineSpan{table.text.size(), 0});

    const auto before = [](const TagCell& a, const TagCell& b) {
        return a.line < b.line || (a.line == b.line && a.column < b.column);
    };
    if (!std::is_sorted(table.tags.begin(), table.tags.end(), before))
        std::stable_sort(table.tags.begin(), table.tags.end(), before);
    // A later record for the same place replaces an earlier one.
    std::size_t kept = 0;
    for (const TagCell& cell : table.tags) {
        if (kept > 0 && table.tags[kept - 1].line == cell.line &&
            table.tags[kept - 1].column == cell.column)
            table.tags[kept - 1] = cell;
        else
            table.tags[kept++] = cell;
    }
    table.tags.resize(kept);
}

QString BuildTaggedText(const LineTable& table, const QStringList& attributes)
{
    qsizetype size = table.text.size() + 2 * qsizetype(table.lines.size()) + 2;
    for (const TagCell& cell : table.tags)
        size += cell.group.size();
    for (const QString& attribute : attributes)
        size += attribute.size() + 2;

    // The size above is never exceeded, so the text is written through a pointer.
    QString text(size, Qt::Uninitialized);
    QChar* const first = text.data();
    QChar* out = first;
    const auto put = [&out](QStringView piece) {
        out = std::copy_n(piece.data(), piece.size(), out);
    };
    auto cell = table.tags.cbegin();
    for (std::size_t line = 0; line < table.lines.size(); ++line) {
        const QStringView lineText = table.lineText(table.lines[line]);
        qsizetype written = 0;
        for (; cell != table.tags.cend() && std::size_t(cell->line) == line; ++cell) {
            const qsizetype upTo = std::min(qsizetype(cell->column), lineText.size());
            put(lineText.sliced(written, upTo - written));
            written = upTo;
            put(cell->group);
        }
        put(lineText.sliced(written));
        put(Crlf);
    }
    put(Crlf);
    for (const QString& attribute : attributes) {
        put(attribute);
        put(Crlf);
    }
    text.truncate(out - first);
    return text;
}

} // namespace

bool CombineLyrics(QStringView ttdText, QStringView sourceText, const CombineOptions& options,
                   QString& taggedText, ResultCode& code)
{
    TtdContents ttd;
    if (!ReadTtdText(ttdText, ttd, code))
        return false;

    const SourceText source(sourceText);
    if (source.isEmpty()) {
        code = ResultCode::EmptySourceLyrics;
        return false;
    }
    const QStringView whole = source.whole();
    const QStringView trimmed = source.trimmed();
    const qsizetype begin = source.begin;
    const qsizetype end = source.end;
    LineTable table;
    table.text = whole;

    // Even without the check, a CRC that proves the source kept an empty first line decides
    // where the records' line numbers start; otherwise every tag would land a line too low.
    Match match = Match::None;
    if (!options.skipCrcCheck)
        match = FindCrcMatch(whole, trimmed, ttd.crcText, true);
    else if (begin > 0)
        match = FindCrcMatch(whole, trimmed, ttd.crcText, false);
    if (match == Match::None && !options.skipCrcCheck) {
        code = ResultCode::CrcMismatch;
        return false;
    }

    if (match == Match::Whole) {
        SplitIntoLines(table, 0, whole.size());
    } else {
        SplitIntoLines(table, begin, end);
        if (match == Match::TrimmedPlusCrlf)
            table.lines.push_back({end, 0});
    }
    table.groupStore = std::move(ttd.spliced);
    PlaceTags(table, std::move(ttd.records));

    if (options.timeRatio != TimeRatioChoice::Unchanged)
        ApplyTimeRatio(table, ttd.attributes, options.timeRatio);

    taggedText = BuildTaggedText(table, ttd.attributes);
    code = ResultCode::Ok;
    return true;
}

bool SourceMatchesCrc(QStringView crcText, QStringView sourceText)
{
    const SourceText source(sourceText);
    return !source.isEmpty() &&
           FindCrcMatch(source.whole(), source.trimmed(), crcText, true) != Match::None;
}

} // namespace kovrant
