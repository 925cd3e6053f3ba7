#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

namespace kovrant {

// Units that an edit script keeps: a[oldStart + i] == b[newStart + i] for i < length.
struct KeptRun {
    qsizetype oldStart = 0;
    qsizetype newStart = 0;
    qsizetype length = 0;
};

// A shortest edit script from a to b: the runs of units it keeps (together a longest common
// subsequence), in order, and its length, the units deleted from a plus those inserted from b.
// Time O((N+M)·D) and memory O(N+M), N and M the lengths and D the script's length. Fails when
// the script needs more than maxEdits units, having spent about maxEdits²/2 steps finding that
// out; kept and edits are set only on success.
bool ShortestEditScript(std::span<const char32_t> a, std::span<const char32_t> b,
                        qsizetype maxEdits, std::vector<KeptRun>& kept, qsizetype& edits);

} // namespace kovrant
