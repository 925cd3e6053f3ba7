#include "core/combine.h"

#include "core/crc32.h"
#include "core/lines.h"
#include "core/ttdformat.h"

#include <algorithm>
#include <span>

namespace kovrant {

namespace {

// Wider fields than three digits are only honoured where they name a place in the source;
// three-digit fields always are, so a record can add at most this many lines past its end.
constexpr qint64 ThreeDigitLimit = 999;

// Which text of the source the CRC stored in the TTD was computed over.
enum class Match { None, Trimmed, TrimmedPlusCrlf, Whole };

// The source split at every line break (CRLF, CR or LF), as if every break were CRLF: the lines
// in [first, last) are those between the empty lines at either end. The text itself is never
// copied, so a source with other breaks costs no more than one with CRLF.
struct SourceLines {
    std::vector<LineSpan> lines;
    qsizetype first = 0;
    qsizetype last = 0;

    explicit SourceLines(QStringView text)
    {
        qsizetype count = 1;
        for (qsizetype at = NextLineBreak(text, 0); at < text.size();
             at = NextLineBreak(text, AfterLineBreak(text, at)))
            ++count;
        lines.reserve(std::size_t(count));
        for (qsizetype start = 0;;) {
            const qsizetype end = NextLineBreak(text, start);
            lines.push_back({start, end - start});
            if (end == text.size())
                break;
            start = AfterLineBreak(text, end);
        }
        const auto filled = [](const LineSpan& line) { return line.length > 0; };
        const auto firstFilled = std::find_if(lines.begin(), lines.end(), filled);
        if (firstFilled == lines.end())
            return;
        first = firstFilled - lines.begin();
        last = lines.rend() - std::find_if(lines.rbegin(), lines.rend(), filled);
    }

    bool isEmpty() const { return first == last; }
    std::span<const LineSpan> trimmed() const
    {
        return std::span(lines).subspan(std::size_t(first), std::size_t(last - first));
    }
};

// The trimmed text is what was divided, or it is with the empty last line that a trailing
// line of tags leaves. The whole text as given covers what trimming loses: an empty first
// line, or several empty last lines, of a source written next to its TTD. Each is tried in the
// code page 932 form and then in the UTF-8 form that a text beyond code page 932 is stored in.
Match FindCrcMatch(QStringView text, const SourceLines& source, QStringView crcText,
                   bool tryTrimmed)
{
    const auto matches = [crcText](std::optional<quint32> crc) {
        return crc && CrcText(*crc) == crcText;
    };
    const bool wholeDiffers = source.first > 0 || qsizetype(source.lines.size()) > source.last + 1;
    for (const CrcForm form : {CrcForm::Cp932, CrcForm::Utf8}) {
        if (tryTrimmed) {
            const std::optional<quint32> first = SourceLyricsCrc(text, source.trimmed(), form);
            if (matches(first))
                return Match::Trimmed;
            if (first && matches(Crc32(QByteArrayView("\r\n"), *first)))
                return Match::TrimmedPlusCrlf;
        }
        if (wholeDiffers && matches(SourceLyricsCrc(text, source.lines, form)))
            return Match::Whole;
    }
    return Match::None;
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

// A combine up to its text: the source's lines with the TTD's records placed, after the CRC
// check. The records of ttd go into the table.
bool PlaceSource(TtdContents& ttd, QStringView sourceText, const CombineOptions& options,
                 LineTable& table, ResultCode& code)
{
    SourceLines source(sourceText);
    if (source.isEmpty()) {
        code = ResultCode::EmptySourceLyrics;
        return false;
    }
    // Even without the check, a CRC that proves the source kept an empty first line decides
    // where the records' line numbers start; otherwise every tag would land a line too low.
    Match match = Match::None;
    if (!options.skipCrcCheck)
        match = FindCrcMatch(sourceText, source, ttd.crcText, true);
    else if (source.first > 0)
        match = FindCrcMatch(sourceText, source, ttd.crcText, false);
    if (match == Match::None && !options.skipCrcCheck) {
        code = ResultCode::CrcMismatch;
        return false;
    }

    table.text = sourceText;
    table.lines = std::move(source.lines);
    if (match != Match::Whole) {
        const LineSpan& lastLine = table.lines[std::size_t(source.last - 1)];
        const LineSpan end{lastLine.offset + lastLine.length, 0};
        table.lines.resize(std::size_t(source.last));
        table.lines.erase(table.lines.begin(), table.lines.begin() + source.first);
        if (match == Match::TrimmedPlusCrlf)
            table.lines.push_back(end);
    }
    table.groupStore = std::move(ttd.spliced);
    PlaceTags(table, std::move(ttd.records));
    if (options.timeRatio != TimeRatioChoice::Unchanged)
        ApplyTimeRatio(table, ttd.attributes, options.timeRatio);
    code = ResultCode::Ok;
    return true;
}

// The lines of the combined text in order, pieces to put one after another.
template <typename Put>
void PutTaggedText(const LineTable& table, const QStringList& attributes, Put&& put)
{
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
}

QString BuildTaggedText(const LineTable& table, const QStringList& attributes)
{
    qsizetype size = 2;
    for (const LineSpan& line : table.lines)
        size += line.length + 2;
    for (const TagCell& cell : table.tags)
        size += cell.group.size();
    for (const QString& attribute : attributes)
        size += attribute.size() + 2;

    // The size above is never exceeded, so the text is written through a pointer.
    QString text(size, Qt::Uninitialized);
    QChar* const first = text.data();
    QChar* out = first;
    PutTaggedText(table, attributes, [&out](QStringView piece) {
        out = std::copy_n(piece.data(), piece.size(), out);
    });
    text.truncate(out - first);
    return text;
}

bool BuildTaggedBytes(const LineTable& table, const QStringList& attributes, TextEncoding encoding,
                      QByteArray& bytes)
{
    PieceEncoder encoder(encoding);
    bool ok = true;
    PutTaggedText(table, attributes, [&](QStringView piece) { ok = ok && encoder.append(piece); });
    if (!ok || !encoder.finish())
        return false;
    bytes = encoder.takeBytes();
    return true;
}

// How one reading of a source stands against a TTD: whether the CRC proves it (or the check is
// skipped), whether its lines hold every tag's column, and then where in the file's bytes each
// tag lands.
struct ReadingFit {
    bool proven = false;
    bool holds = false;
    std::vector<qint64> tagBytes;
};

ReadingFit FitReading(const TtdContents& ttd, QStringView text, TextEncoding encoding,
                      bool skipCrcCheck)
{
    ReadingFit fit;
    TtdContents copy = ttd;
    LineTable table;
    ResultCode code = ResultCode::Ok;
    if (!PlaceSource(copy, text, {skipCrcCheck, TimeRatioChoice::Unchanged}, table, code))
        return fit;
    fit.proven = true;
    fit.holds = std::all_of(table.tags.begin(), table.tags.end(), [&](const TagCell& cell) {
        return cell.column <= table.lines[std::size_t(cell.line)].length;
    });
    if (!fit.holds)
        return fit;
    // Tags are in the order of the text, so the bytes before each are counted once.
    fit.tagBytes.reserve(table.tags.size());
    qsizetype at = 0;
    qint64 bytes = 0;
    for (const TagCell& cell : table.tags) {
        const qsizetype to = table.lines[std::size_t(cell.line)].offset + cell.column;
        bytes += EncodedSize(text.sliced(at, to - at), encoding);
        at = to;
        fit.tagBytes.push_back(bytes);
    }
    return fit;
}

} // namespace

bool CombineLyrics(QStringView ttdText, QStringView sourceText, const CombineOptions& options,
                   QString& taggedText, ResultCode& code)
{
    TtdContents ttd;
    LineTable table;
    if (!ReadTtdText(ttdText, ttd, code) || !PlaceSource(ttd, sourceText, options, table, code))
        return false;
    taggedText = BuildTaggedText(table, ttd.attributes);
    return true;
}

bool CombineLyricsToBytes(QStringView ttdText, QStringView sourceText,
                          const CombineOptions& options, TextEncoding& encoding,
                          QByteArray& taggedBytes, ResultCode& code)
{
    TtdContents ttd;
    LineTable table;
    if (!ReadTtdText(ttdText, ttd, code) || !PlaceSource(ttd, sourceText, options, table, code))
        return false;
    for (const TextEncoding tried : {encoding, FallbackEncoding}) {
        if (BuildTaggedBytes(table, ttd.attributes, tried, taggedBytes)) {
            encoding = tried;
            return true;
        }
    }
    code = ResultCode::SaveFailed;
    return false;
}

SourceReading ChooseSourceReading(QStringView ttdText, QStringView first,
                                  TextEncoding firstEncoding, QStringView second,
                                  TextEncoding secondEncoding, bool skipCrcCheck)
{
    TtdContents ttd;
    ResultCode code = ResultCode::Ok;
    if (!ReadTtdText(ttdText, ttd, code))
        return SourceReading::First;
    const ReadingFit a = FitReading(ttd, first, firstEncoding, skipCrcCheck);
    const ReadingFit b = FitReading(ttd, second, secondEncoding, skipCrcCheck);
    const auto rank = [](const ReadingFit& fit) { return int(fit.proven) + int(fit.holds); };
    if (rank(b) > rank(a))
        return SourceReading::Second;
    if (a.holds && b.holds && a.tagBytes != b.tagBytes)
        return SourceReading::Ambiguous;
    return SourceReading::First;
}

bool SourceMatchesCrc(QStringView crcText, QStringView sourceText)
{
    const SourceLines source(sourceText);
    return !source.isEmpty() && FindCrcMatch(sourceText, source, crcText, true) != Match::None;
}

} // namespace kovrant
