#pragma once

#include "core/linetable.h"
#include "core/resultcode.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace kovrant {

// The time-tag data (TTD) text: "TTD10" CRLF, one tag line per non-empty body line holding
// records "(" line "," column ")" TagGroup, one "(" AttributeLine ")" CRLF per attribute, and
// the closing "(CRC=" + 8 characters + ")".

inline constexpr QStringView TtdIdentifier = u"TTD10";

// Appends "(line,column)group"; numbers have at least three digits, more when they need them.
void AppendTagRecord(QString& ttd, qint64 line, qint64 column, QStringView group);

// Appends "(" attribute ")" CRLF. A "(" would cut the item apart for every reader, so lines
// that hold one are written with "(" as "%28" and "%" as "%25" (see DecodeAttributeItem).
void AppendAttributeItem(QString& ttd, QStringView attributeLine);

// The CRC-32 of the code page 932 bytes of source lyrics; nothing when a character has no code.
std::optional<quint32> SourceLyricsCrc(QStringView sourceLyrics);

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
