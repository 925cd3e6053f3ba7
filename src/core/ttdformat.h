#pragma once

#include "core/resultcode.h"

#include <QString>
#include <QStringList>
#include <QStringView>

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

// Appends the closing "(CRC=" crcText ")".
void AppendCrcField(QString& ttd, QStringView crcText);

// One TagRecord as read: group is the range [offset, offset + length) of TtdContents::pool.
struct TagRecord {
    qint64 line = 0;
    qint64 column = 0;
    qsizetype offset = 0;
    qsizetype length = 0;
};

struct TtdContents {
    QString crcText;                // the 8 characters after "(CRC="
    QString pool;                   // the text after "TTD10" without line breaks
    std::vector<TagRecord> records; // in the order they stand
    QStringList attributes;         // AttributeLines, in the order they stand
};

// Reads a TTD text: the identifier, the CRC field at its end and every piece between. Pieces
// that have no record form are skipped. Fails with 21 when the frame is wrong; contents are
// then untouched.
bool ReadTtdText(QStringView ttdText, TtdContents& contents, ResultCode& code);

} // namespace kovrant
