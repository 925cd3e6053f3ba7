#pragma once

#include "core/resultcode.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace kovrant {

// The most characters and line breaks that retiming lets the new text delete and insert; beyond
// it, or when the texts have less than half of the shorter one in common, they are too different.
inline constexpr qsizetype MaxRetimeEdits = 10000;

// A tag group of the old text that has no place in the new one.
struct DroppedGroup {
    qsizetype line = 0;   // the old text's line, from 1, attribute lines counted
    qsizetype column = 0; // of the group's first "[" in that line as it stands, from 1
    QString tags;
};

// Inserted text that no tag group times: one piece per line of the new text.
struct UntimedText {
    qsizetype line = 0; // from 1
    QString text;
};

// A time tag that stood in the new text and was taken out.
struct RemovedTag {
    qsizetype line = 0; // from 1
    qsizetype column = 0;
    QString tag;
};

// Lines and columns count characters (a surrogate pair is one) and every line break (CRLF, CR
// or LF is one).
struct RetimeResult {
    QString taggedText;
    qsizetype carriedGroups = 0;
    std::vector<DroppedGroup> dropped; // in the old text's order
    std::vector<UntimedText> untimed;  // in the new text's order
    std::vector<RemovedTag> removedFromNew;
    qsizetype edits = 0; // characters and line breaks deleted and inserted

    // Every group carried and every new character timed.
    bool complete() const { return dropped.empty() && untimed.empty(); }
};

// Carries the tag groups of oldTagged to newText. The old text without its tags and attribute
// lines is aligned with the new text without its own by a shortest edit script, character by
// character, a line break of any kind being one character that matches any other. Then:
// - a group before a kept character stands before it, on whatever line that now is; a line
//   break counts, so a line's end tag stays at its end;
// - the first group at the start of or inside replaced text stands before the first inserted
//   character; the others, and groups in deleted text with nothing inserted, are dropped;
// - but an end tag (nothing but spaces after it on its line) whose line break is gone, as when
//   two lines are joined, stays right after its line's last character when that was kept;
// - inserted text gets no group otherwise: its piece on each line is reported as untimed, but
//   for spaces that end a line;
// - the old attribute lines stand before the line that followed them, or after the line before
//   them, where that is still the start of a line, else at the end; one whose name ("@Name=")
//   an attribute line of the new text sets gives way to it. They keep their line breaks unless
//   the new text uses a kind of break that the old did not; then they take the new text's.
// Tags in the new text are taken out, and so are tags that taking them out makes, so that every
// tag of the result is one of the old text's, in the same order. A line of the new text that
// reads as an attribute line is one, unless the old text has it as a line of lyrics.
// When newText is exactly the old text without its tags and attribute lines, the result is
// oldTagged (unless taking out a line of only tags made a CR and an LF one CRLF, or taking out
// tags made new ones). Fails with RetimeNoTimeTag, RetimeEmptyText or RetimeTooDifferent;
// result is set only on success. Time O((N+M)·D) and memory O(N+M) for texts of N and M
// characters and D edits, D at most MaxRetimeEdits.
bool RetimeLyrics(QStringView oldTagged, QStringView newText, RetimeResult& result,
                  ResultCode& code);

} // namespace kovrant
