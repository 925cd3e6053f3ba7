#include "core/textencoding.h"

#include "core/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

namespace kovrant {

namespace {

constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");
constexpr QByteArrayView Utf16LeMark("\xFF\xFE");
constexpr QByteArrayView Utf16BeMark("\xFE\xFF");

bool HasMultiByteSequence(QByteArrayView bytes)
{
    // Eight bytes at a time: a TTD file is ASCII to its end.
    qsizetype i = 0;
    for (; bytes.size() - i >= 8; i += 8) {
        quint64 word = 0;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & 0x8080808080808080u) != 0)
            return true;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return true;
    }
    return false;
}

// Decodes without stand-ins: an invalid sequence fails the whole text, and so does one cut off
// at the end, which a decoder that waits for more would drop unseen. A byte-order mark left at
// the start stays a character. UTF-8 is decoded a piece at a time, ending each piece where a
// character starts and the first pieces short, so that a text that is no UTF-8 is given up soon
// after its first character that is not ASCII.
bool DecodeUnicode(QByteArrayView bytes, QStringConverter::Encoding encoding, QString& text)
{
    qsizetype piece = 256;
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom |
                                         QStringConverter::Flag::Stateless);
    QString decoded(decoder.requiredSpace(bytes.size()), Qt::Uninitialized);
    QChar* const first = decoded.data();
    QChar* out = first;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end =
            encoding == QStringConverter::Utf8 ? std::min(at + piece, bytes.size()) : bytes.size();
        piece = std::min<qsizetype>(2 * piece, 1 << 16);
        // A continuation byte goes with the piece of its lead byte; more than three in a row
        // are no UTF-8 in either piece.
        for (int back = 0; back < 3 && end < bytes.size() && end - 1 > at &&
                           (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80;
             ++back)
            --end;
        out = decoder.appendToBuffer(out, bytes.sliced(at, end - at));
        if (decoder.hasError())
            return false;
        at = end;
    }
    decoded.resize(out - first);
    text = std::move(decoded);
    return true;
}

} // namespace

bool IsValidUtf16(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    }
    return true;
}

bool DecodeText(QByteArrayView bytes, Recognition recognition, QString& text,
                TextEncoding& encoding)
{
    QString decoded;
    TextEncoding found = TextEncoding::Cp932;
    bool ok = false;
    if (recognition == Recognition::Cp932) {
        ok = DecodeCp932(bytes, decoded);
    } else if (bytes.startsWith(Utf8Mark)) {
        found = TextEncoding::Utf8Bom;
        ok = DecodeUnicode(bytes.sliced(Utf8Mark.size()), QStringConverter::Utf8, decoded);
    } else if (bytes.startsWith(Utf16LeMark) || bytes.startsWith(Utf16BeMark)) {
        const bool little = bytes.startsWith(Utf16LeMark);
        found = little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        const QByteArrayView body = bytes.sliced(Utf16LeMark.size());
        // An odd byte or a lone surrogate is no text either.
        ok = body.size() % 2 == 0 &&
             DecodeUnicode(body, little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           decoded) &&
             IsValidUtf16(decoded);
    } else if (HasMultiByteSequence(bytes) &&
               DecodeUnicode(bytes, QStringConverter::Utf8, decoded)) {
        // A code page 932 Japanese text is practically never valid UTF-8: its kana and most
        // kanji start with bytes that UTF-8 allows only inside a sequence.
        found = TextEncoding::Utf8;
        ok = true;
    } else {
        ok = DecodeCp932(bytes, decoded);
    }
    if (!ok)
        return false;
    text = std::move(decoded);
    encoding = found;
    return true;
}

bool EncodeText(QStringView text, TextEncoding encoding, QByteArray& bytes)
{
    if (encoding == TextEncoding::Cp932)
        return EncodeCp932(text, bytes, nullptr, true);
    if (!IsValidUtf16(text))
        return false;
    QByteArray encoded;
    switch (encoding) {
    case TextEncoding::Utf8:
        encoded = text.toUtf8();
        break;
    case TextEncoding::Utf8Bom:
        encoded = Utf8Mark.toByteArray() + text.toUtf8();
        break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        const bool little = encoding == TextEncoding::Utf16Le;
        QStringEncoder encoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        encoded = (little ? Utf16LeMark : Utf16BeMark).toByteArray() + QByteArray(encoder(text));
        break;
    }
    case TextEncoding::Cp932:
        break;
    }
    bytes = std::move(encoded);
    return true;
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
