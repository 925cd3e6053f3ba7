#include "files/filenames.h"

#include "core/textencoding.h"

#include <algorithm>

namespace kovrant {

namespace {

constexpr char16_t KeptByteBase = 0xDC00;

// Length of the valid UTF-8 sequence at p, or 0.
qsizetype Utf8SequenceAt(const unsigned char* p, const unsigned char* end)
{
    const unsigned b = p[0];
    if (b < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        min = 0x80;
        code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        min = 0x800;
        code = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        min = 0x10000;
        code = b & 0x07;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

QString DecodeFileName(QByteArrayView raw)
{
    const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
    const auto* const end = p + raw.size();
    QString name;
    name.reserve(raw.size());
    while (p < end) {
        const qsizetype length = Utf8SequenceAt(p, end);
        if (length == 0) {
            name.append(QChar(char16_t(KeptByteBase + *p)));
            ++p;
            continue;
        }
        name.append(QString::fromUtf8(reinterpret_cast<const char*>(p), length));
        p += length;
    }
    return name;
}

bool IsValidFileName(const QString& path)
{
    return IsValidUtf16(path);
}

int KeptByte(QChar c)
{
    return c.unicode() >= KeptByteBase + 0x80 && c.unicode() <= KeptByteBase + 0xFF
               ? c.unicode() - KeptByteBase
               : -1;
}

bool IsBidiControl(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

QString PrintableFileName(const QString& path)
{
    if (IsValidFileName(path) && std::none_of(path.cbegin(), path.cend(), IsBidiControl))
        return path;
    QString printable;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            printable.append(c);
            printable.append(path[++i]);
        } else if (const int byte = KeptByte(c); byte >= 0) {
            printable.append(QStringLiteral("\\x"));
            printable.append(QString::number(byte, 16).toUpper());
        } else if (IsBidiControl(c)) {
            printable.append(QStringLiteral("\\u"));
            printable.append(QString::number(c.unicode(), 16).toUpper());
        } else if (c.isSurrogate()) {
            printable.append(QChar::ReplacementCharacter);
        } else {
            printable.append(c);
        }
    }
    return printable;
}

} // namespace kovrant
