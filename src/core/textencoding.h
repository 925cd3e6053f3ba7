#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace kovrant {

// The encodings a text file may have. Code page 932 is the format's own; UTF-8 and UTF-16 are
// what other editors write. The byte-order mark is no part of the text.
enum class TextEncoding {
    Cp932,
    Utf8,    // without a byte-order mark
    Utf8Bom, // with one
    Utf16Le, // always with its byte-order mark
    Utf16Be,
};

// How the bytes of a file are recognised.
enum class Recognition {
    Automatic, // a byte-order mark; else UTF-8 when valid and not plain ASCII; else code page 932
    Cp932,     // code page 932 whatever the bytes
};

// Decodes bytes as recognition says. Fails, leaving text and encoding untouched, for bytes that
// are not valid in the encoding found: nothing is ever decoded with stand-ins.
bool DecodeText(QByteArrayView bytes, Recognition recognition, QString& text,
                TextEncoding& encoding);

// Encodes text, with the byte-order mark the encoding has. Code page 932 holds the characters
// that JIS-based converters write where it has a look-alike (U+301C for U+FF5E, ...) under the
// code of that look-alike. Fails, leaving bytes untouched, for a character code page 932 has no
// code for, or for a lone surrogate.
bool EncodeText(QStringView text, TextEncoding encoding, QByteArray& bytes);

// True when text holds no lone surrogate, so that every character of it has a byte form.
bool IsValidUtf16(QStringView text);

// A short name for messages: "CP932", "UTF-8", "UTF-8 with BOM", "UTF-16LE", "UTF-16BE".
QString EncodingName(TextEncoding encoding);

} // namespace kovrant
