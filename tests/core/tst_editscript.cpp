// The edit script keeps a common subsequence as long as the one the obvious quadratic table
// finds, for every pair of short texts over a small alphabet and for random longer ones, and the
// bound refuses a script one edit too long.
#include "core/editscript.h"

#include <QtTest>

#include <random>

using namespace kovrant;

namespace {

using Units = std::vector<char32_t>;

qsizetype ShortestByTable(const Units& a, const Units& b)
{
    std::vector<qsizetype> row(b.size() + 1, 0); // longest common subsequences
    for (char32_t x : a) {
        qsizetype diagonal = 0;
        for (std::size_t j = 0; j < b.size(); ++j)
            diagonal =
                std::exchange(row[j + 1], x == b[j] ? diagonal + 1 : std::max(row[j + 1], row[j]));
    }
    return qsizetype(a.size() + b.size()) - 2 * row.back();
}

// The script's length when its runs keep equal units in order and add up to it, else -2; -1 when
// it is refused.
qsizetype CheckedEdits(const Units& a, const Units& b, qsizetype maxEdits)
{
    std::vector<KeptRun> kept;
    qsizetype edits = -1;
    if (!ShortestEditScript(a, b, maxEdits, kept, edits))
        return edits;
    qsizetype oldEnd = 0, newEnd = 0, units = 0;
    for (const KeptRun& run : kept) {
        if (run.length <= 0 || run.oldStart < oldEnd || run.newStart < newEnd ||
            run.oldStart + run.length > qsizetype(a.size()) ||
            run.newStart + run.length > qsizetype(b.size()) ||
            !std::equal(a.begin() + run.oldStart, a.begin() + run.oldStart + run.length,
                        b.begin() + run.newStart))
            return -2;
        oldEnd = run.oldStart + run.length;
        newEnd = run.newStart + run.length;
        units += run.length;
    }
    return edits == qsizetype(a.size() + b.size()) - 2 * units ? edits : -2;
}

void CheckShortest(const Units& a, const Units& b, qsizetype shortest)
{
    const qsizetype got = CheckedEdits(a, b, shortest);
    if (got != shortest || (shortest > 0 && CheckedEdits(a, b, shortest - 1) != -1))
        QFAIL(qPrintable(QStringLiteral("%1 -> %2: %3 edits, not %4")
                             .arg(QString::fromUcs4(a.data(), qsizetype(a.size())),
                                  QString::fromUcs4(b.data(), qsizetype(b.size())))
                             .arg(got)
                             .arg(shortest)));
}

} // namespace

class TestEditScript : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void agreesWithTheTable()
    {
        std::vector<Units> shortTexts{{}};
        for (std::size_t i = 0; shortTexts[i].size() < 5; ++i) {
            for (char32_t c = U'a'; c <= U'c'; ++c) {
                shortTexts.push_back(shortTexts[i]);
                shortTexts.back().push_back(c);
            }
        }
        for (const Units& a : shortTexts) {
            for (const Units& b : shortTexts)
                CheckShortest(a, b, ShortestByTable(a, b));
        }

        std::mt19937 random(20260301);
        const auto pick = [&](int count) {
            return std::uniform_int_distribution(0, count - 1)(random);
        };
        for (int i = 0; i < 3000; ++i) {
            const int alphabet = 2 + pick(6);
            const auto letter = [&] { return U'a' + char32_t(pick(alphabet)); };
            const auto text = [&] {
                Units units(std::size_t(pick(80)));
                std::generate(units.begin(), units.end(), letter);
                return units;
            };
            const Units a = text();
            Units b = pick(4) == 0 ? text() : a; // an unrelated text, or an edited copy
            for (int edit = pick(12); edit > 0 && !b.empty(); --edit) {
                const auto at = b.begin() + pick(int(b.size()));
                pick(2) ? void(b.erase(at)) : void(b.insert(at, letter()));
            }
            CheckShortest(a, b, ShortestByTable(a, b));
        }
    }
};

QTEST_GUILESS_MAIN(TestEditScript)
#include "tst_editscript.moc"
