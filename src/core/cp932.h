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
// untouched, when a character has no code; errorOffset then gets its index in the text. With
// lookAlikes, the seven characters that JIS-based converters write where code page 932 has a
// look-alike (U+301C for U+FF5E, ...) get the code of that look-alike.
bool EncodeCp932(QStringView text, QByteArray& bytes, qsizetype* errorOffset = nullptr,
                 bool lookAlikes = false);

// The bytes EncodeCp932 with lookAlikes gives for text, counted without encoding it; -1 when a
// character has no code.
qsizetype Cp932Size(QStringView text);

// The character of code page 932 that c is a JIS look-alike of, or c itself.
char16_t Cp932LookAlike(char16_t c);

} // namespace kovrant
