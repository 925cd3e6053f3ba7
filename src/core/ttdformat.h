#pragma once

#include "core/linetable.h"
#include "core/resultcode.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

namespace kovrant {

// The time-tag data (TTD) text: "TTD10" CRLF, one tag line per non-empty body line holding
// records "(" line "," column ")" TagGroup, one "(" AttributeLine ")" CRLF per attribute, and
// the closing "(CRC=" + 8 characters + ")".

inline constexpr QStringView TtdIdentifier = u"TTD10";

// Appends "(line,column)group"; numbers have at least three digits, more when they need them.
void AppendTagRecord(QString& ttd, qint64 line, qint64 column, QStringView group);

// The longest "(line,column)" WriteRecordHead writes.
inline constexpr qsizetype MaxRecordHeadLength = 1 + 19 + 1 + 19 + 1;

// Writes "(line,column)" to out, which has room for MaxRecordHeadLength characters; gives the
// number written. line and column are not negative.
qsizetype WriteRecordHead(qint64 line, qint64 column, QChar* out);

// Appends "(" attribute ")" CRLF. A "(" would cut the item apart for every reader, so lines
// that hold one are written with "(" as "%28" and "%" as "%25" (see DecodeAttributeItem).
void AppendAttributeItem(QString& ttd, QStringView attributeLine);

// The byte forms a source text's CRC may be taken over: its code page 932 bytes, the JIS
// look-alikes counted as the code page 932 characters of the same code, so that a TTD made from
// a UTF-8 file equals the one made from the same lyrics in code page 932; or, for a text that
// code page 932 cannot hold, its UTF-8 bytes.
enum class CrcForm { Cp932, Utf8 };

// The CRC-32 of the source lyrics in form; nothing when the text has no such form.
std::optional<quint32> SourceLyricsCrc(QStringView sourceLyrics, CrcForm form);
// The same of the lines of text, joined by CRLF whatever breaks stand between them in text.
std::optional<quint32> SourceLyricsCrc(QStringView text, std::span<const LineSpan> lines,
                                       CrcForm form);

// The CRC Divide stores: of the code page 932 form where there is one, else of the UTF-8 form.
std::optional<quint32> StoredCrc(QStringView sourceLyrics);

// Appends the closing "(CRC=" crcText ")".
void AppendCrcField(QString& ttd, QStringView crcText);

struct TtdContents {
    QString crcText;              // the 8 characters after "(CRC="
    std::vector<TagCell> records; // in the order they stand
    QStringList attributes;       // AttributeLines, in the order they stand
    QStringList spliced;          // pieces that line breaks had cut, joined again
};

// Reads a TTD text: the identifier, the CRC field at its end and every piece between. Pieces
// that have no record form are skipped. Fails with 21 when the frame is wrong; contents are
// then untouched. The records' groups refer to ttdText and to contents.spliced.
bool ReadTtdText(QStringView ttdText, TtdContents& contents, ResultCode& code);

} // namespace kovrant
