#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <span>
#include <vector>

namespace kovrant {

// The line break of everything the core writes.
inline constexpr QStringView Crlf = u"\r\n";

inline bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The index of the first of the characters a, b or c in text at or after from, or text.size()
// when there is none; vectorised, for the searches that every character of a text goes through.
qsizetype IndexOfAny(QStringView text, qsizetype from, char16_t a, char16_t b, char16_t c);

// As IndexOfAny, for searches that mostly end within a few characters, such as those through
// the syllables of a line: these are looked at one by one before the vectorised search.
inline qsizetype IndexOfAnyNear(QStringView text, qsizetype from, char16_t a, char16_t b,
                                char16_t c)
{
    const char16_t* const p = text.utf16();
    const qsizetype near = std::min(text.size(), from + 16);
    for (qsizetype i = from; i < near; ++i) {
        if (p[i] == a || p[i] == b || p[i] == c)
            return i;
    }
    return near == text.size() ? near : IndexOfAny(text, near, a, b, c);
}

// The index of the first c in text at or after from, or -1: QStringView::indexOf without the
// search for a whole string that Qt 6.4 makes of a single character.
inline qsizetype IndexOf(QStringView text, char16_t c, qsizetype from = 0)
{
    const qsizetype at = IndexOfAnyNear(text, from, c, c, c);
    return at < text.size() ? at : -1;
}

// The index of the first CR or LF of text at or after from, or text.size() when there is none.
inline qsizetype NextLineBreak(QStringView text, qsizetype from)
{
    return IndexOfAny(text, from, u'\r', u'\n', u'\n');
}

// Where the line after the break at index at begins: past a CRLF, a CR or an LF.
inline qsizetype AfterLineBreak(QStringView text, qsizetype at)
{
    return at + (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1);
}

// The lines of text, split at CRLF, CR or LF alike; a text that ends in a line break yields a
// last, empty line.
std::vector<QStringView> SplitLines(QStringView text);

// The lines without the empty ones at both ends, which no line number counts; empty lines
// inside stay.
std::span<const QStringView> WithoutEmptyEnds(std::span<const QStringView> lines);

// The text with every line break made CRLF.
QString NormaliseToCrlf(QStringView text);

// The text without ordinary spaces at both ends; other white space, such as U+3000, stays.
QStringView TrimSpaces(QStringView text);

} // namespace kovrant
