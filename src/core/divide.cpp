#include "core/divide.h"

#include "core/crc32.h"
#include "core/lines.h"
#include "core/timetag.h"
#include "core/ttdformat.h"

#include <algorithm>
#include <vector>

namespace kovrant {

namespace {

// A text written through a pointer, grown only when an append needs more room than is left, so
// that the many short appends of a divide check nothing else.
class TextBuilder {
public:
    explicit TextBuilder(qsizetype capacity)
        : m_text(std::max<qsizetype>(capacity, 16), Qt::Uninitialized)
        , m_out(m_text.data())
        , m_end(m_out + m_text.size())
    {}

    // Room for n more characters, to be written from the pointer given and then taken by
    // advance().
    QChar* room(qsizetype n)
    {
        if (m_end - m_out < n)
            grow(n);
        return m_out;
    }
    void advance(QChar* to) { m_out = to; }

    void append(QStringView text)
    {
        QChar* out = room(text.size());
        advance(std::copy_n(text.data(), text.size(), out));
    }

    QString take()
    {
        m_text.truncate(m_out - m_text.constData());
        return std::move(m_text);
    }

private:
    void grow(qsizetype n)
    {
        const qsizetype used = m_out - m_text.constData();
        m_text.resize(std::max(2 * m_text.size(), used + n));
        m_out = m_text.data() + used;
        m_end = m_text.data() + m_text.size();
    }

    QString m_text;
    QChar* m_out;
    QChar* m_end;
};

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
