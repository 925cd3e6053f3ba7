#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

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

// How the bytes of a file are recognised. A byte-order mark decides wherever one is honoured.
enum class Recognition {
    // A byte-order mark; else UTF-8 when the bytes are valid UTF-8 and hold a sequence of three
    // or four bytes (every kana, kanji and full-width character is one); else code page 932
    // where the bytes are valid in it; else UTF-8 where they are valid in that.
    Automatic,
    Cp932,        // code page 932 whatever the bytes, a byte-order mark included
    Utf8,         // a byte-order mark; else UTF-8
    MarkElseCp932 // a byte-order mark; else code page 932
};

// How a TTD file is read under the recognition chosen for a run: Kovrant writes a TTD file in
// UTF-8 only with a byte-order mark, so without one it is code page 932 unless asked otherwise.
Recognition TtdRecognition(Recognition recognition);

// Where bytes stop being text in the encoding they were read as.
struct DecodeFailure {
    qsizetype offset = 0; // of the first byte that is not valid, from the file's first byte
    TextEncoding encoding = TextEncoding::Cp932;
};

// Decodes bytes as recognition says. Fails, leaving text and encoding untouched, for bytes that
// are not valid in the encoding found: nothing is ever decoded with stand-ins. failure then
// names the first invalid byte and the encoding tried; of two readings that both fail, the one
// that reads further.
bool DecodeText(QByteArrayView bytes, Recognition recognition, QString& text,
                TextEncoding& encoding, DecodeFailure* failure = nullptr);

// The other reading of bytes that DecodeText read as found: under automatic recognition and
// without a byte-order mark, bytes beyond ASCII that are valid both as code page 932 and as UTF-8
// read as either. False, leaving text and encoding untouched, when there is no other reading.
bool DecodeOtherReading(QByteArrayView bytes, Recognition recognition, TextEncoding found,
                        QString& text, TextEncoding& encoding);

// Encodes text, with the byte-order mark the encoding has. Code page 932 holds the characters
// that JIS-based converters write where it has a look-alike (U+301C for U+FF5E, ...) under the
// code of that look-alike. Fails, leaving bytes untouched, for a character code page 932 has no
// code for, or for a lone surrogate.
bool EncodeText(QStringView text, TextEncoding encoding, QByteArray& bytes);

// The encoding an output is written in when its own cannot hold its text.
inline constexpr TextEncoding FallbackEncoding = TextEncoding::Utf8Bom;

// Encodes a long text a piece at a time, to the bytes EncodeText gives for the whole, so that
// nothing but the bytes grows with the text; with a sink, not even they: each run of bytes goes
// to the sink as soon as it is encoded.
class PieceEncoder {
public:
    using Sink = std::function<void(QByteArrayView)>;
    explicit PieceEncoder(TextEncoding encoding, Sink sink = {});
    // Adds a piece; a surrogate pair may be split between two pieces. False, from then on, once
    // a character has no form in the encoding.
    bool append(QStringView piece);
    // Ends the text; false when a character had no form.
    bool finish();
    // The bytes, after finish, when there is no sink.
    QByteArray takeBytes() { return std::move(m_bytes); }

private:
    bool flush(qsizetype keep);
    void put(QByteArrayView bytes);

    TextEncoding m_encoding;
    Sink m_sink;
    QString m_pending; // characters not yet encoded
    QByteArray m_bytes;
    bool m_ok = true;
};

// The bytes text, which holds no lone surrogate, takes in encoding without a byte-order mark;
// -1 when code page 932 has no code for one of its characters.
qsizetype EncodedSize(QStringView text, TextEncoding encoding);

// True when text holds no lone surrogate, so that every character of it has a byte form.
bool IsValidUtf16(QStringView text);

// A short name for messages: "CP932", "UTF-8", "UTF-8 with BOM", "UTF-16LE", "UTF-16BE".
QString EncodingName(TextEncoding encoding);

} // namespace kovrant
