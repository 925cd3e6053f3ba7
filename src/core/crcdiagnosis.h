#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace kovrant {

// The small differences that copied lyrics typically have from the text that was divided.
// A repair undoes one of them over the whole text.
enum class Repair : unsigned {
    MarksLeft = 1, // a byte-order mark in the text, or an end-of-file character (0x1A) at its end
    FullWidthToHalf = 2, // full-width ASCII letters, digits and spaces made half-width
    HalfWidthToFull = 4, // half-width ASCII letters, digits and spaces made full-width
    TrailingSpaces = 8,  // spaces (U+0020, U+3000) and tabs at the ends of lines removed
    EmptyLineRuns = 16,  // runs of empty lines inside the text made one
};
using Repairs = unsigned; // a set of Repair bits

// The longest source lyrics, in characters, that repairs are looked for in: the search makes a
// few dozen passes over the text, each with copies of it, which beyond this takes seconds.
inline constexpr qsizetype MaxRepairedLength = 1000000;

// What can be said of source lyrics whose CRC does not match a TTD.
struct CrcDiagnosis {
    // False when the source lyrics were too long for repairs to be looked for.
    bool repairsTried = true;

    // The repairs that make the CRC match, and the text they give: that text is exactly the
    // one that was divided. 0 when no combination of repairs proves a match.
    Repairs repairs = 0;
    QString repairedText;

    // Where the source differs in shape from what the TTD's records need.
    struct ShortLine {
        qint64 line = 0;   // 0-based
        qint64 length = 0; // characters of the line
        qint64 column = 0; // the TTD places a tag after this many characters
    };
    qint64 linesNeeded = 0; // the lines the TTD's records reach
    qint64 sourceLines = 0;
    std::vector<ShortLine>
        shortLines; // the first lines, at most three, shorter than a tag's column
};

// Looks for a repair of sourceText that makes the CRC of ttdText match, trying every repair alone
// and in combination (a few dozen passes over the text, each linear), fewer repairs first, in a
// text of at most MaxRepairedLength characters. When none matches or none is looked for,
// compares the shape of the source with the TTD's records. For a ttdText that is no TTD text the
// diagnosis is empty.
CrcDiagnosis DiagnoseCrcMismatch(QStringView ttdText, QStringView sourceText);

// Applies a set of repairs to a text, in a fixed order.
QString ApplyRepairs(QStringView text, Repairs repairs);

} // namespace kovrant
