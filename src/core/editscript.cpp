#include "core/editscript.h"

#include <algorithm>
#include <limits>

namespace kovrant {

namespace {

constexpr qsizetype Unbounded = std::numeric_limits<qsizetype>::max() / 4;

// Myers' algorithm in linear space. A path through the edit graph of a rectangle of a × b moves
// right (a deletion), down (an insertion) or diagonally (a kept unit); each step looks for the
// furthest points that paths of d edits reach on each diagonal k = x - y, from the top left
// corner and, on the reversed texts, from the bottom right one, until the two searches meet on a
// diagonal. That point lies on a shortest path: the rectangle is cut there and each half solved
// the same way, so only the furthest points of the current round are ever held.
class Differ {
public:
    Differ(std::span<const char32_t> a, std::span<const char32_t> b)
        : m_a(a.data())
        , m_b(b.data())
        , m_offset(qsizetype(b.size()))
        , m_forward(a.size() + b.size() + 1)
        , m_backward(a.size() + b.size() + 1)
    {}

    // The script for a[aLo, aHi) and b[bLo, bHi), its kept runs appended to kept; false when it
    // needs more than limit edits.
    bool compare(qsizetype aLo, qsizetype aHi, qsizetype bLo, qsizetype bHi, qsizetype limit,
                 std::vector<KeptRun>& kept);

private:
    bool split(qsizetype aLo, qsizetype aHi, qsizetype bLo, qsizetype bHi, qsizetype limit,
               qsizetype& x, qsizetype& y);

    const char32_t* m_a;
    const char32_t* m_b;
    qsizetype m_offset; // diagonals run from -b.size() to a.size()
    std::vector<qsizetype> m_forward;
    std::vector<qsizetype> m_backward;
};

void Keep(std::vector<KeptRun>& kept, qsizetype oldStart, qsizetype newStart, qsizetype length)
{
    if (length == 0)
        return;
    if (!kept.empty()) {
        KeptRun& last = kept.back();
        if (last.oldStart + last.length == oldStart && last.newStart + last.length == newStart) {
            last.length += length;
            return;
        }
    }
    kept.push_back({oldStart, newStart, length});
}

bool Differ::compare(qsizetype aLo, qsizetype aHi, qsizetype bLo, qsizetype bHi, qsizetype limit,
                     std::vector<KeptRun>& kept)
{
    qsizetype prefix = 0;
    while (aLo + prefix < aHi && bLo + prefix < bHi && m_a[aLo + prefix] == m_b[bLo + prefix])
        ++prefix;
    Keep(kept, aLo, bLo, prefix);
    aLo += prefix;
    bLo += prefix;
    qsizetype suffix = 0;
    while (aHi - suffix > aLo && bHi - suffix > bLo &&
           m_a[aHi - 1 - suffix] == m_b[bHi - 1 - suffix])
        ++suffix;
    aHi -= suffix;
    bHi -= suffix;

    if (aLo < aHi && bLo < bHi) {
        // Both ends differ, so at least two edits remain and each half needs fewer: the split
        // always makes progress, and only the whole needs the bound.
        qsizetype x = 0;
        qsizetype y = 0;
        if (!split(aLo, aHi, bLo, bHi, limit, x, y))
            return false;
        compare(aLo, x, bLo, y, Unbounded, kept);
        compare(x, aHi, y, bHi, Unbounded, kept);
    } else if ((aHi - aLo) + (bHi - bLo) > limit) {
        return false;
    }
    Keep(kept, aHi, bHi, suffix);
    return true;
}

bool Differ::split(qsizetype aLo, qsizetype aHi, qsizetype bLo, qsizetype bHi, qsizetype limit,
                   qsizetype& xSplit, qsizetype& ySplit)
{
    const qsizetype n = aHi - aLo;
    const qsizetype m = bHi - bLo;
    const qsizetype delta = n - m; // the diagonal of the bottom right corner
    const bool odd = delta % 2 != 0;
    const char32_t* const a = m_a + aLo;
    const char32_t* const b = m_b + bLo;
    qsizetype* const f = m_forward.data() + m_offset;
    qsizetype* const r = m_backward.data() + m_offset;

    // Only points inside the rectangle are kept: a diagonal whose path would leave it gets -1,
    // and such a path is never shorter than one that stays inside. A round's diagonals have the
    // parity of its number and read only the previous round's.
    const auto round = [n, m](qsizetype d, qsizetype* v, qsizetype& lo, qsizetype& hi,
                              const auto& snake) {
        qsizetype newLo = std::max(lo - 1, -m);
        qsizetype newHi = std::min(hi + 1, n);
        if ((newLo - d) % 2 != 0)
            ++newLo;
        if ((newHi - d) % 2 != 0)
            --newHi;
        for (qsizetype k = newLo; k <= newHi; k += 2) {
            const qsizetype down =
                k + 1 <= hi && v[k + 1] >= 0 && v[k + 1] - k - 1 < m ? v[k + 1] : -1;
            const qsizetype right =
                k - 1 >= lo && v[k - 1] >= 0 && v[k - 1] < n ? v[k - 1] + 1 : -1;
            qsizetype x = std::max(down, right);
            if (x >= 0)
                x = snake(x, x - k);
            v[k] = x;
        }
        lo = newLo;
        hi = newHi;
    };
    const auto forwardSnake = [&](qsizetype x, qsizetype y) {
        while (x < n && y < m && a[x] == b[y])
            ++x, ++y;
        return x;
    };
    const auto backwardSnake = [&](qsizetype x, qsizetype y) {
        while (x < n && y < m && a[n - 1 - x] == b[m - 1 - y])
            ++x, ++y;
        return x;
    };

    // The corners differ: no path starts with a kept unit.
    f[0] = 0;
    r[0] = 0;
    qsizetype fLo = 0, fHi = 0, rLo = 0, rHi = 0;
    for (qsizetype d = 1; d <= (n + m + 1) / 2; ++d) {
        if (2 * d - 1 > limit)
            return false;
        round(d, f, fLo, fHi, forwardSnake);
        if (odd) {
            // Paths of d edits from the start meet paths of d - 1 edits from the end.
            for (qsizetype k = fLo; k <= fHi; k += 2) {
                const qsizetype j = delta - k;
                if (f[k] >= 0 && j >= rLo && j <= rHi && r[j] >= 0 && f[k] >= n - r[j]) {
                    xSplit = aLo + f[k];
                    ySplit = bLo + f[k] - k;
                    return true;
                }
            }
        }
        if (2 * d > limit)
            return false;
        round(d, r, rLo, rHi, backwardSnake);
        if (!odd) {
            for (qsizetype k = rLo; k <= rHi; k += 2) {
                const qsizetype j = delta - k;
                if (r[k] >= 0 && j >= fLo && j <= fHi && f[j] >= 0 && f[j] >= n - r[k]) {
                    xSplit = aLo + f[j];
                    ySplit = bLo + f[j] - j;
                    return true;
                }
            }
        }
    }
    return false; // not reached: the searches meet by half the rectangle's perimeter
}

} // namespace

bool ShortestEditScript(std::span<const char32_t> a, std::span<const char32_t> b,
                        qsizetype maxEdits, std::vector<KeptRun>& kept, qsizetype& edits)
{
    Differ differ(a, b);
    std::vector<KeptRun> runs;
    if (!differ.compare(0, qsizetype(a.size()), 0, qsizetype(b.size()), maxEdits, runs))
        return false;
    qsizetype keptUnits = 0;
    for (const KeptRun& run : runs)
        keptUnits += run.length;
    edits = qsizetype(a.size() + b.size()) - 2 * keptUnits;
    kept = std::move(runs);
    return true;
}

} // namespace kovrant
