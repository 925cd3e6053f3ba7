#include "core/divide.h"

#include "core/crc32.h"
#include "core/lines.h"
#include "core/timetag.h"
#include "core/ttdformat.h"

#include <vector>

namespace kovrant {

namespace {

// Appends the untagged characters of one body line to source and its TagGroups to ttd.
// Only a "[" can open a tag, and each is tested against the fixed-length pattern once.
bool ScanBodyLine(QStringView line, qint64 lineIndex, QString& source, QString& ttd)
{
    bool sawTag = false;
    qsizetype column = 0;
    qsizetype runStart = 0;
    qsizetype i = line.indexOf(u'[');
    while (i >= 0 && i < line.size()) {
        if (!IsTimeTagAt(line, i)) {
            i = line.indexOf(u'[', i + 1);
            continue;
        }
        source.append(line.sliced(runStart, i - runStart));
        column += i - runStart;
        const qsizetype groupStart = i;
        while (IsTimeTagAt(line, i))
            i += TimeTagLength;
        AppendTagRecord(ttd, lineIndex, column, line.sliced(groupStart, i - groupStart));
        sawTag = true;
        runStart = i;
        i = line.indexOf(u'[', i);
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
    for (QStringView line : SplitLines(input)) {
        if (IsAttributeLine(line))
            attributes.push_back(line);
        else
            body.push_back(line);
    }

    // Empty lines at both ends of the body do not count; empty lines inside it do.
    std::size_t first = 0;
    std::size_t last = body.size();
    while (first < last && body[first].isEmpty())
        ++first;
    while (last > first && body[last - 1].isEmpty())
        --last;
    if (first == last) {
        code = ResultCode::InvalidTaggedLyrics;
        return false;
    }

    QString ttd;
    QString source;
    // A record adds at most its position to the tags it holds, so the TTD text stays below
    // twice the input; reserving what is never touched costs no memory.
    ttd.reserve(2 * input.size() + 64);
    source.reserve(input.size());
    ttd.append(TtdIdentifier);
    ttd.append(Crlf);
    bool sawTag = false;
    for (std::size_t i = first; i < last; ++i) {
        const QStringView line = body[i];
        if (!line.isEmpty()) {
            sawTag |= ScanBodyLine(line, qint64(i - first), source, ttd);
            ttd.append(Crlf);
        }
        if (i + 1 < last)
            source.append(Crlf);
    }
    if (!sawTag) {
        code = ResultCode::NoValidTimeTag;
        return false;
    }

    const std::optional<quint32> crc = StoredCrc(source);
    if (!crc) {
        code = ResultCode::CrcUnavailable;
        return false;
    }
    for (QStringView attribute : attributes)
        AppendAttributeItem(ttd, attribute);
    AppendCrcField(ttd, CrcText(*crc));

    ttdText = std::move(ttd);
    sourceLyrics = std::move(source);
    code = ResultCode::Ok;
    return true;
}

} // namespace kovrant
