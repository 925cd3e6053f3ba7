#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace kovrant {

// The working record of a combine: the source lines and, sparsely, the TagGroups that go in
// front of their characters. A line holds its characters as one range of text, so nothing is
// allocated per character.
struct TagCell {
    QStringView group; // into the TTD text, or into LineTable::groupStore
    qint32 line = 0;   // 0-based line of the source lyrics
    qint32 column = 0; // characters of the line ahead of the group; may lie past its end
};

struct LineSpan {
    qsizetype offset = 0; // the line is text[offset, offset + length)
    qsizetype length = 0;
};

struct LineTable {
    QStringView text;            // the source lyrics the lines refer to; outlives the table
    std::vector<LineSpan> lines; // source lines, then empty lines that records named past the end
    std::vector<TagCell> tags;   // ordered by line, then column; at most one per position
    QStringList groupStore;      // groups that are not part of the TTD text as it stands

    QStringView lineText(const LineSpan& span) const
    {
        return text.sliced(span.offset, span.length);
    }
};

} // namespace kovrant
