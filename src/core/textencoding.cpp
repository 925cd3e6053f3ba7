#include "core/textencoding.h"

#include "core/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <optional>

namespace kovrant {

namespace {

constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");
constexpr QByteArrayView Utf16LeMark("\xFF\xFE");
constexpr QByteArrayView Utf16BeMark("\xFE\xFF");

// What a pass over bytes finds of UTF-8 in them.
struct Utf8Scan {
    bool valid = true;
    qsizetype errorOffset = 0; // of the sequence that is not UTF-8, when not valid
    bool multiByte = false;    // a sequence of two or more bytes
    bool longSequence = false; // one of three or four bytes
};

// Checks bytes as UTF-8 without decoding them: overlong forms, surrogates, code points beyond
// U+10FFFF and sequences cut off at the end are no UTF-8.
Utf8Scan ScanUtf8(QByteArrayView bytes)
{
    Utf8Scan scan;
    const auto* const p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        // Eight bytes at a time through ASCII, which most of a file is.
        if (size - i >= 8) {
            quint64 word = 0;
            std::memcpy(&word, p + i, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        qsizetype length = 0;
        unsigned low = 0x80; // the range of the byte after the lead byte
        unsigned high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0)
                low = 0xA0;
            else if (b == 0xED)
                high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F;
        }
        bool ok = length > 0 && size - i >= length && p[i + 1] >= low && p[i + 1] <= high;
        for (qsizetype k = 2; ok && k < length; ++k)
            ok = (p[i + k] & 0xC0) == 0x80;
        if (!ok) {
            scan.valid = false;
            scan.errorOffset = i;
            return scan;
        }
        scan.multiByte = true;
        scan.longSequence = scan.longSequence || length > 2;
        i += length;
    }
    return scan;
}

// Decodes bytes already known to be valid; a byte-order mark left at the start stays a
// character.
bool DecodeUnicode(QByteArrayView bytes, QStringConverter::Encoding encoding, QString& text)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom |
                                         QStringConverter::Flag::Stateless);
    QString decoded = decoder(bytes);
    if (decoder.hasError())
        return false;
    text = std::move(decoded);
    return true;
}

// A lone surrogate's index in text, or -1.
qsizetype LoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return i;
    }
    return -1;
}

struct Decoded {
    bool ok = false;
    QString text;
    TextEncoding encoding = TextEncoding::Cp932;
    DecodeFailure failure;
};

Decoded Failed(TextEncoding encoding, qsizetype offset)
{
    Decoded d;
    d.encoding = encoding;
    d.failure = {offset, encoding};
    return d;
}

Decoded AsCp932(QByteArrayView bytes)
{
    Decoded d;
    qsizetype offset = 0;
    d.ok = DecodeCp932(bytes, d.text, &offset);
    d.failure = {offset, TextEncoding::Cp932};
    return d;
}

// bytes, which start at offset skip of the file, as UTF-8 already scanned.
Decoded AsUtf8(QByteArrayView bytes, const Utf8Scan& scan, TextEncoding encoding, qsizetype skip)
{
    if (!scan.valid)
        return Failed(encoding, skip + scan.errorOffset);
    Decoded d;
    d.encoding = encoding;
    d.ok = DecodeUnicode(bytes, QStringConverter::Utf8, d.text);
    d.failure = {skip, encoding};
    return d;
}

// A file with a byte-order mark, which decides its encoding; nothing when it has none.
std::optional<Decoded> ByMark(QByteArrayView bytes)
{
    if (bytes.startsWith(Utf8Mark)) {
        const QByteArrayView body = bytes.sliced(Utf8Mark.size());
        return AsUtf8(body, ScanUtf8(body), TextEncoding::Utf8Bom, Utf8Mark.size());
    }
    if (!bytes.startsWith(Utf16LeMark) && !bytes.startsWith(Utf16BeMark))
        return std::nullopt;
    const bool little = bytes.startsWith(Utf16LeMark);
    const TextEncoding encoding = little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    const QByteArrayView body = bytes.sliced(Utf16LeMark.size());
    // An odd last byte, or a lone surrogate, is no text either.
    if (body.size() % 2 != 0)
        return Failed(encoding, bytes.size() - 1);
    Decoded d;
    d.encoding = encoding;
    if (!DecodeUnicode(body, little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                       d.text))
        return Failed(encoding, Utf16LeMark.size());
    if (const qsizetype lone = LoneSurrogate(d.text); lone >= 0)
        return Failed(encoding, Utf16LeMark.size() + 2 * lone);
    d.ok = true;
    return d;
}

Decoded Recognise(QByteArrayView bytes, Recognition recognition)
{
    if (recognition == Recognition::Cp932)
        return AsCp932(bytes);
    if (std::optional<Decoded> marked = ByMark(bytes))
        return std::move(*marked);
    if (recognition == Recognition::MarkElseCp932)
        return AsCp932(bytes);
    const Utf8Scan scan = ScanUtf8(bytes);
    if (recognition == Recognition::Utf8)
        return AsUtf8(bytes, scan, TextEncoding::Utf8, 0);
    // Half-width katakana in code page 932 often make valid UTF-8 of two-byte sequences ("ﾃｨ"
    // is "è"); Japanese in UTF-8 is sequences of three bytes, which code page 932 text rarely
    // forms throughout.
    if (scan.valid && scan.longSequence)
        return AsUtf8(bytes, scan, TextEncoding::Utf8, 0);
    Decoded cp932 = AsCp932(bytes);
    if (cp932.ok || scan.valid)
        return cp932.ok ? std::move(cp932) : AsUtf8(bytes, scan, TextEncoding::Utf8, 0);
    // Named after the reading that got further, the one the file more likely was meant in.
    if (scan.errorOffset > cp932.failure.offset)
        return Failed(TextEncoding::Utf8, scan.errorOffset);
    return cp932;
}

// The bytes of text in encoding without a byte-order mark.
bool EncodeBare(QStringView text, TextEncoding encoding, QByteArray& bytes)
{
    if (encoding == TextEncoding::Cp932)
        return EncodeCp932(text, bytes, nullptr, true);
    if (!IsValidUtf16(text))
        return false;
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        bytes = text.toUtf8();
        return true;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        QStringEncoder encoder(encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE
                                                                 : QStringConverter::Utf16BE);
        bytes = encoder(text);
        return true;
    }
    case TextEncoding::Cp932:
        break;
    }
    return false;
}

QByteArrayView ByteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return Utf8Mark;
    case TextEncoding::Utf16Le:
        return Utf16LeMark;
    case TextEncoding::Utf16Be:
        return Utf16BeMark;
    case TextEncoding::Cp932:
    case TextEncoding::Utf8:
        break;
    }
    return {};
}

} // namespace

Recognition TtdRecognition(Recognition recognition)
{
    return recognition == Recognition::Cp932 ? Recognition::Cp932 : Recognition::MarkElseCp932;
}

bool IsValidUtf16(QStringView text)
{
    return LoneSurrogate(text) < 0;
}

bool DecodeText(QByteArrayView bytes, Recognition recognition, QString& text,
                TextEncoding& encoding, DecodeFailure* failure)
{
    Decoded decoded = Recognise(bytes, recognition);
    if (!decoded.ok) {
        if (failure)
            *failure = decoded.failure;
        return false;
    }
    text = std::move(decoded.text);
    encoding = decoded.encoding;
    return true;
}

bool DecodeOtherReading(QByteArrayView bytes, Recognition recognition, TextEncoding found,
                        QString& text, TextEncoding& encoding)
{
    // Automatic recognition finds these two only in bytes without a byte-order mark.
    if (recognition != Recognition::Automatic)
        return false;
    Decoded other;
    if (found == TextEncoding::Utf8) {
        other = AsCp932(bytes);
    } else if (found == TextEncoding::Cp932) {
        const Utf8Scan scan = ScanUtf8(bytes);
        if (!scan.multiByte)
            return false; // ASCII alone reads the same either way
        other = AsUtf8(bytes, scan, TextEncoding::Utf8, 0);
    }
    if (!other.ok)
        return false;
    text = std::move(other.text);
    encoding = other.encoding;
    return true;
}

bool EncodeText(QStringView text, TextEncoding encoding, QByteArray& bytes)
{
    QByteArray encoded;
    if (!EncodeBare(text, encoding, encoded))
        return false;
    if (const QByteArrayView mark = ByteOrderMark(encoding); !mark.isEmpty())
        encoded.prepend(mark);
    bytes = std::move(encoded);
    return true;
}

PieceEncoder::PieceEncoder(TextEncoding encoding, Sink sink)
    : m_encoding(encoding)
    , m_sink(std::move(sink))
{
    put(ByteOrderMark(encoding));
}

void PieceEncoder::put(QByteArrayView bytes)
{
    if (m_sink)
        m_sink(bytes);
    else
        m_bytes.append(bytes);
}

bool PieceEncoder::append(QStringView piece)
{
    // Large enough that the encoders run at their speed, small enough to cost nothing.
    constexpr qsizetype Chunk = 16384;
    while (m_ok && !piece.isEmpty()) {
        if (m_pending.isEmpty() && piece.size() > Chunk) {
            // A long piece is encoded where it stands, a chunk at a time.
            const qsizetype length = Chunk - (piece[Chunk - 1].isHighSurrogate() ? 1 : 0);
            QByteArray encoded;
            m_ok = EncodeBare(piece.first(length), m_encoding, encoded);
            put(encoded);
            piece = piece.sliced(length);
            continue;
        }
        const qsizetype take = std::min(piece.size(), Chunk - m_pending.size());
        m_pending.append(piece.first(take));
        piece = piece.sliced(take);
        // A high surrogate at the end waits for its pair in the next piece.
        if (m_pending.size() >= Chunk)
            m_ok = flush(m_pending.back().isHighSurrogate() ? 1 : 0);
    }
    return m_ok;
}

bool PieceEncoder::flush(qsizetype keep)
{
    QByteArray encoded;
    if (!EncodeBare(QStringView(m_pending).chopped(keep), m_encoding, encoded))
        return false;
    put(encoded);
    m_pending.remove(0, m_pending.size() - keep);
    return true;
}

bool PieceEncoder::finish()
{
    if (m_ok && !m_pending.isEmpty())
        m_ok = flush(0);
    return m_ok;
}

qsizetype EncodedSize(QStringView text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp932:
        return Cp932Size(text);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: {
        qsizetype size = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            // Each half of a surrogate pair counts two of its four bytes.
            size += u < 0x80 ? 1 : u < 0x800 || QChar::isSurrogate(u) ? 2 : 3;
        }
        return size;
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return 2 * text.size();
    }
    return -1;
}

QString EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp932:
        return QStringLiteral("CP932");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 with BOM");
    case TextEncoding::Utf16Le:
        return QStringLiteral("UTF-16LE");
    case TextEncoding::Utf16Be:
        return QStringLiteral("UTF-16BE");
    }
    return QString();
}

} // namespace kovrant
