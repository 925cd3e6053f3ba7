#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace kovrant {

// The line break of everything the core writes.
inline constexpr QStringView Crlf = u"\r\n";

inline bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The lines of text, split at CRLF, CR or LF alike; a text that ends in a line break yields a
// last, empty line.
std::vector<QStringView> SplitLines(QStringView text);

// The text with every line break made CRLF.
QString NormaliseToCrlf(QStringView text);

// The text without ordinary spaces at both ends; other white space, such as U+3000, stays.
QStringView TrimSpaces(QStringView text);

} // namespace kovrant
