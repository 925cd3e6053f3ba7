#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace kovrant {

// The working record of a combine: the source lines and, sparsely, the TagGroups that go in
// front of their characters. A line holds its characters as one range of text, so nothing is
// allocated per character.
struct TagCell {
    qsizetype line = 0;   // 0-based line of the source lyrics
    qsizetype column = 0; // characters of the line ahead of the group; may lie past its end
    qsizetype offset = 0; // the group is groups[offset, offset + length)
    qsizetype length = 0;
};

struct LineSpan {
    qsizetype offset = 0; // the line is text[offset, offset + length)
    qsizetype length = 0;
};

struct LineTable {
    QStringView text;            // the source lyrics the lines refer to; outlives the table
    std::vector<LineSpan> lines; // source lines, then empty lines that records named past the end
    QString groups;              // the TagGroups' characters
    std::vector<TagCell> tags;   // ordered by line, then column; at most one per position

    QStringView lineText(const LineSpan& span) const
    {
        return text.sliced(span.offset, span.length);
    }
    QStringView group(const TagCell& cell) const
    {
        return QStringView(groups).sliced(cell.offset, cell.length);
    }
};

} // namespace kovrant
