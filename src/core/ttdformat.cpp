#include "core/ttdformat.h"

#include "core/cp932.h"
#include "core/crc32.h"
#include "core/lines.h"
#include "core/textencoding.h"
#include "core/timetag.h"

#include <algorithm>

namespace kovrant {

namespace {

constexpr QStringView CrcFieldStart = u"(CRC=";
constexpr qsizetype CrcFieldLength = 14; // "(CRC=" + 8 characters + ")"
constexpr qsizetype CrcTextLength = 8;
constexpr qsizetype ThreeDigitRecordLength = 8; // "lll,ccc)"

// A field this long cannot name a line or column of any text we can hold.
constexpr qsizetype MaxFieldDigits = 9;

// Writes value with at least three digits; returns how many characters were written. Three
// digits, which nearly every record has, are written without a loop.
qsizetype WriteNumber(qint64 value, QChar* out)
{
    if (value < 1000) {
        const int v = int(value);
        out[0] = QChar(u'0' + v / 100);
        out[1] = QChar(u'0' + v / 10 % 10);
        out[2] = QChar(u'0' + v % 10);
        return 3;
    }
    QChar digits[20];
    qsizetype n = 0;
    do {
        digits[n++] = QChar(u'0' + int(value % 10));
        value /= 10;
    } while (value > 0);
    for (qsizetype i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    return n;
}

qsizetype DigitRun(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && IsAsciiDigit(text[end]))
        ++end;
    return end - from;
}

qint32 DigitValue(QStringView digits)
{
    qint32 value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

bool AllDigits(QStringView text)
{
    for (QChar c : text) {
        if (!IsAsciiDigit(c))
            return false;
    }
    return true;
}

bool NeedsEscape(QStringView line)
{
    return line.contains(u'(') || line.contains(u"%28") || line.contains(u"%25");
}

// Reverses the escape of AppendAttributeItem. Lines written verbatim hold no "%28" or "%25",
// so decoding leaves them as they are.
QString DecodeAttributeItem(QStringView item)
{
    if (!item.contains(u'%'))
        return item.toString();
    QString line;
    line.reserve(item.size());
    for (qsizetype i = 0; i < item.size(); ++i) {
        if (item[i] == u'%' && i + 2 < item.size() && item[i + 1] == u'2') {
            if (item[i + 2] == u'8') {
                line.append(u'(');
                i += 2;
                continue;
            }
            if (item[i + 2] == u'5') {
                line.append(u'%');
                i += 2;
                continue;
            }
        }
        line.append(item[i]);
    }
    return line;
}

// Reads "lll,ccc)group": three-digit fields as the format has always had them, or the wider
// fields that long texts need ("1000,005)"). Anything else is no record.
bool ParseTagRecord(QStringView piece, TagCell& record)
{
    // "lll,ccc)" with nothing wider, as nearly every record is written.
    const auto digit = [](QChar c) { return unsigned(c.unicode()) - u'0' < 10u; };
    if (piece.size() >= ThreeDigitRecordLength && piece[3] == u',' && piece[7] == u')' &&
        digit(piece[0]) && digit(piece[1]) && digit(piece[2]) && digit(piece[4]) &&
        digit(piece[5]) && digit(piece[6])) {
        record.line = DigitValue(piece.sliced(0, 3));
        record.column = DigitValue(piece.sliced(4, 3));
        record.group = piece.sliced(ThreeDigitRecordLength);
        return true;
    }
    const qsizetype lineDigits = DigitRun(piece, 0);
    if (lineDigits >= 3 && lineDigits < piece.size() && piece[lineDigits] == u',') {
        const qsizetype columnDigits = DigitRun(piece, lineDigits + 1);
        const qsizetype close = lineDigits + 1 + columnDigits;
        if ((lineDigits > 3 || columnDigits > 3) && columnDigits >= 3 && close < piece.size() &&
            piece[close] == u')') {
            if (lineDigits > MaxFieldDigits || columnDigits > MaxFieldDigits)
                return false;
            record.line = DigitValue(piece.sliced(0, lineDigits));
            record.column = DigitValue(piece.sliced(lineDigits + 1, columnDigits));
            record.group = piece.sliced(close + 1);
            return true;
        }
    }
    if (piece.size() < ThreeDigitRecordLength || !AllDigits(piece.sliced(0, 3)) ||
        !AllDigits(piece.sliced(4, 3)))
        return false;
    record.line = DigitValue(piece.sliced(0, 3));
    record.column = DigitValue(piece.sliced(4, 3));
    record.group = piece.sliced(ThreeDigitRecordLength);
    return true;
}

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// A record as Divide writes it: "lll,ccc)" from start, tags, and line breaks only after them,
// before the next "(" or the end. Such a record is taken as it stands, without the search the
// other pieces need; gives where the next "(" (or the end) is, or -1 for any other piece.
qsizetype ReadWrittenRecord(QStringView body, qsizetype start, std::vector<TagCell>& records)
{
    const QChar* const text = body.data() + start;
    const qsizetype left = body.size() - start;
    const auto digit = [](QChar c) { return unsigned(c.unicode()) - u'0' < 10u; };
    if (left < ThreeDigitRecordLength || text[3] != u',' || text[7] != u')' || !digit(text[0]) ||
        !digit(text[1]) || !digit(text[2]) || !digit(text[4]) || !digit(text[5]) || !digit(text[6]))
        return -1;
    qsizetype groupEnd = start + ThreeDigitRecordLength;
    while (IsTimeTagAt(body, groupEnd))
        groupEnd += TimeTagLength;
    qsizetype after = groupEnd;
    while (after < body.size() && IsLineBreak(body[after]))
        ++after;
    if (after < body.size() && body[after] != u'(')
        return -1;
    const auto value = [text](qsizetype at) {
        return (text[at].unicode() - u'0') * 100 + (text[at + 1].unicode() - u'0') * 10 +
               (text[at + 2].unicode() - u'0');
    };
    records.push_back(
        {body.sliced(start + ThreeDigitRecordLength, groupEnd - start - ThreeDigitRecordLength),
         value(0), value(4)});
    return after;
}

// The piece without its line breaks: a part of itself when they stand only at its ends,
// otherwise a joined copy kept in store.
QStringView WithoutLineBreaks(QStringView piece, QStringList& store)
{
    qsizetype begin = 0;
    qsizetype end = piece.size();
    while (begin < end && IsLineBreak(piece[begin]))
        ++begin;
    while (end > begin && IsLineBreak(piece[end - 1]))
        --end;
    piece = piece.sliced(begin, end - begin);
    if (std::none_of(piece.begin(), piece.end(), IsLineBreak))
        return piece;
    QString joined;
    joined.reserve(piece.size());
    for (QChar c : piece) {
        if (!IsLineBreak(c))
            joined.append(c);
    }
    store.append(std::move(joined));
    return store.constLast();
}

} // namespace

std::optional<quint32> SourceLyricsCrc(QStringView sourceLyrics, CrcForm form)
{
    const LineSpan whole{0, sourceLyrics.size()};
    return SourceLyricsCrc(sourceLyrics, {&whole, 1}, form);
}

std::optional<quint32> SourceLyricsCrc(QStringView text, std::span<const LineSpan> lines,
                                       CrcForm form)
{
    // Encoded piece by piece so that a long text needs no second copy of itself in bytes.
    quint32 crc = 0;
    PieceEncoder encoder(form == CrcForm::Cp932 ? TextEncoding::Cp932 : TextEncoding::Utf8,
                         [&crc](QByteArrayView bytes) { crc = Crc32(bytes, crc); });
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if ((i > 0 && !encoder.append(Crlf)) ||
            !encoder.append(text.sliced(lines[i].offset, lines[i].length)))
            return std::nullopt;
    }
    if (!encoder.finish())
        return std::nullopt;
    return crc;
}

std::optional<quint32> StoredCrc(QStringView sourceLyrics)
{
    if (const std::optional<quint32> crc = SourceLyricsCrc(sourceLyrics, CrcForm::Cp932))
        return crc;
    return SourceLyricsCrc(sourceLyrics, CrcForm::Utf8);
}

qsizetype WriteRecordHead(qint64 line, qint64 column, QChar* out)
{
    qsizetype n = 0;
    out[n++] = u'(';
    n += WriteNumber(line, out + n);
    out[n++] = u',';
    n += WriteNumber(column, out + n);
    out[n++] = u')';
    return n;
}

void AppendTagRecord(QString& ttd, qint64 line, qint64 column, QStringView group)
{
    QChar head[MaxRecordHeadLength];
    ttd.append(head, WriteRecordHead(line, column, head));
    ttd.append(group);
}

void AppendAttributeItem(QString& ttd, QStringView attributeLine)
{
    ttd.append(u'(');
    if (NeedsEscape(attributeLine)) {
        for (QChar c : attributeLine) {
            if (c == u'(')
                ttd.append(u"%28");
            else if (c == u'%')
                ttd.append(u"%25");
            else
                ttd.append(c);
        }
    } else {
        ttd.append(attributeLine);
    }
    ttd.append(u')');
    ttd.append(Crlf);
}

void AppendCrcField(QString& ttd, QStringView crcText)
{
    ttd.append(CrcFieldStart);
    ttd.append(crcText);
    ttd.append(u')');
}

bool ReadTtdText(QStringView ttdText, TtdContents& contents, ResultCode& code)
{
    if (!ttdText.startsWith(TtdIdentifier)) {
        code = ResultCode::InvalidTtd;
        return false;
    }

    // Line breaks of any kind at the end do not count; the CRC field must end the text.
    qsizetype end = ttdText.size();
    while (end > 0 && (ttdText[end - 1] == u'\n' || ttdText[end - 1] == u'\r'))
        --end;

    // The last 14 characters, with every line break (CRLF, CR or LF) counted as one.
    QChar tail[CrcFieldLength];
    qsizetype missing = CrcFieldLength;
    qsizetype pos = end;
    while (missing > 0 && pos > 0) {
        const QChar c = ttdText[pos - 1];
        if (c == u'\n' || c == u'\r') {
            pos -= (c == u'\n' && pos >= 2 && ttdText[pos - 2] == u'\r') ? 2 : 1;
            tail[--missing] = u'\n';
        } else {
            --pos;
            tail[--missing] = c;
        }
    }
    const QStringView tailView(tail, CrcFieldLength);
    if (missing > 0 || pos == 0 || !tailView.startsWith(CrcFieldStart)) {
        code = ResultCode::InvalidTtd;
        return false;
    }

    TtdContents read;
    read.crcText = tailView.sliced(CrcFieldStart.size(), CrcTextLength).toString();

    // Records may be spread over lines or share one: the line structure carries no meaning,
    // and line breaks cannot hide a "(". A piece is read in place unless a line break stands
    // inside it.
    // The search for the next "(" stops at line breaks too, which are noted on the way.
    const QStringView body = ttdText.sliced(0, end);
    const QChar* const text = body.data();
    read.records.reserve(std::size_t(body.size() / (ThreeDigitRecordLength + 2)));
    qsizetype open = body.indexOf(u'(', TtdIdentifier.size());
    while (open >= 0) {
        const qsizetype start = open + 1;
        if (const qsizetype after = ReadWrittenRecord(body, start, read.records); after >= 0) {
            open = after < end ? after : -1;
            continue;
        }
        qsizetype next = IndexOfAny(body, start, u'(', u'\r', u'\n');
        bool hasLineBreak = false;
        while (next < end && text[next] != u'(') {
            hasLineBreak = true;
            next = IndexOfAny(body, next + 1, u'(', u'\r', u'\n');
        }
        QStringView piece = body.sliced(start, next - start);
        if (hasLineBreak)
            piece = WithoutLineBreaks(piece, read.spliced);
        open = next < end ? next : -1;
        if (piece.size() >= 3 && piece[0] == u'C' && piece[1] == u'R' && piece[2] == u'C')
            continue;
        if (piece.startsWith(u'@')) {
            read.attributes.append(DecodeAttributeItem(TrimSpaces(piece.chopped(1))));
            continue;
        }
        TagCell record;
        if (ParseTagRecord(piece, record))
            read.records.push_back(record);
    }

    contents = std::move(read);
    code = ResultCode::Ok;
    return true;
}

} // namespace kovrant
