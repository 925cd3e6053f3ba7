#include "core/divide.h"

#include "core/crc32.h"
#include "core/lines.h"
#include "core/textbuilder.h"
#include "core/timetag.h"
#include "core/ttdformat.h"

#include <algorithm>
#include <vector>

namespace kovrant {

namespace {

// Appends the untagged characters of one body line to source and its TagGroups to ttd.
// Only a "[" can open a tag, and each is tested against the fixed-length pattern once.
bool ScanBodyLine(QStringView line, qint64 lineIndex, TextBuilder& source, TextBuilder& ttd)
{
    const QChar* const text = line.data();
    bool sawTag = false;
    qsizetype column = 0;
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (line.size() - i >= TimeTagLength) {
        if (text[i] != u'[' || !IsTimeTagAt(line, i)) {
            ++i;
            continue;
        }
        source.append(line.sliced(runStart, i - runStart));
        column += i - runStart;
        const qsizetype groupStart = i;
        do
            i += TimeTagLength;
        while (IsTimeTagAt(line, i));
        const QStringView group = line.sliced(groupStart, i - groupStart);
        QChar* out = ttd.room(MaxRecordHeadLength + group.size());
        out += WriteRecordHead(lineIndex, column, out);
        ttd.advance(std::copy_n(group.data(), group.size(), out));
        sawTag = true;
        runStart = i;
    }
    source.append(line.sliced(runStart));
    return sawTag;
}

} // namespace

bool IsAttributeLine(QStringView line)
{
    return line.startsWith(u'@') && line.contains(u'=');
}

bool DivideLyrics(QStringView input, QString& ttdText, QString& sourceLyrics, ResultCode& code)
{
    if (input.isEmpty()) {
        code = ResultCode::InvalidTaggedLyrics;
        return false;
    }

    std::vector<QStringView> attributes;
    std::vector<QStringView> body;
    for (qsizetype start = 0;;) {
        const qsizetype end = NextLineBreak(input, start);
        const QStringView line = input.sliced(start, end - start);
        (IsAttributeLine(line) ? attributes : body).push_back(line);
        if (end == input.size())
            break;
        start = AfterLineBreak(input, end);
    }

    const std::span<const QStringView> lines = WithoutEmptyEnds(body);
    if (lines.empty()) {
        code = ResultCode::InvalidTaggedLyrics;
        return false;
    }

    // Each line break of the input is at least one character and becomes CRLF, so the source
    // never outgrows this. A record adds its position to the tags it holds: the TTD text grows
    // beyond twice the input only with positions of more than three digits.
    TextBuilder source(input.size() + qsizetype(body.size()));
    TextBuilder ttd(2 * input.size() + 64);
    ttd.append(TtdIdentifier);
    ttd.append(Crlf);
    bool sawTag = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (!line.isEmpty()) {
            sawTag |= ScanBodyLine(line, qint64(i), source, ttd);
            ttd.append(Crlf);
        }
        if (i + 1 < lines.size())
            source.append(Crlf);
    }
    if (!sawTag) {
        code = ResultCode::NoValidTimeTag;
        return false;
    }

    QString sourceText = source.take();
    const std::optional<quint32> crc = StoredCrc(sourceText);
    if (!crc) {
        code = ResultCode::CrcUnavailable;
        return false;
    }
    QString tail;
    for (QStringView attribute : attributes)
        AppendAttributeItem(tail, attribute);
    AppendCrcField(tail, CrcText(*crc));
    ttd.append(tail);

    ttdText = ttd.take();
    sourceLyrics = std::move(sourceText);
    code = ResultCode::Ok;
    return true;
}

} // namespace kovrant
