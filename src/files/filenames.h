#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kovrant {

// File names as the kernel sees them are bytes; here they are UTF-8. A byte that is not part of
// valid UTF-8 is kept as the lone surrogate U+DC80 + (byte - 0x80), so that such a name is
// neither lost nor mistaken for the name its stand-in characters would spell.

// The name of raw bytes, as above.
QString DecodeFileName(QByteArrayView raw);

// True when every character of path is a real character, false when it holds kept bytes (or any
// lone surrogate): such a name is refused rather than handed to the file system.
bool IsValidFileName(const QString& path);

// The byte that c keeps in a decoded name, or -1 when c is a character of its own.
int KeptByte(QChar c);

// True for the invisible characters that change the order in which the characters around them
// are shown (U+200E, U+200F, U+202A-U+202E, U+2066-U+2069): "song<U+202E>CRL.TTD" shows as
// "songDTT.LRC".
bool IsBidiControl(QChar c);

// The path for messages: kept bytes written as "\xNN", bidirectional controls as "\uNNNN", so
// that the name shows the characters it has in their order.
QString PrintableFileName(const QString& path);

} // namespace kovrant
