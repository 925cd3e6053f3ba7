#pragma once

#include "core/resultcode.h"

#include <QString>
#include <QStringView>

namespace kovrant {

// Splits time-tagged lyrics into the TTD text (tags with their line and column, the attribute
// lines and the CRC of the source lyrics) and the source lyrics (the text without its tags,
// CRLF between lines). Fails with 1 (no body), 2 (no tag) or 3 (source lyrics that are no
// valid text, such as one with a lone surrogate, and so have no CRC); the output texts are set
// only on success.
bool DivideLyrics(QStringView input, QString& ttdText, QString& sourceLyrics, ResultCode& code);

// True for a line that travels as an AttributeLine: it begins with "@" and holds "=".
bool IsAttributeLine(QStringView line);

} // namespace kovrant
