#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace kovrant {

// Windows code page 932 (Shift-JIS with the NEC and IBM extensions), byte for byte as Windows
// converts, except that invalid input is reported instead of being replaced.

// Decodes bytes. Fails, leaving text untouched, when a lead byte is followed by a byte that
// completes no code or stands at the very end; errorOffset then gets the lead byte's offset.
bool DecodeCp932(QByteArrayView bytes, QString& text, qsizetype* errorOffset = nullptr);

// Encodes text, choosing among duplicate codes as Windows does. Fails, leaving bytes
// untouched, when a character has no code; errorOffset then gets its index in the text.
bool EncodeCp932(QStringView text, QByteArray& bytes, qsizetype* errorOffset = nullptr);

} // namespace kovrant
