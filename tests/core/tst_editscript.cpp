// The edit script keeps equal units in order, as many as the obvious quadratic table finds in
// common, for every pair of short texts over a small alphabet and for random longer ones; and
// the bound refuses a script one edit too long.
#include "core/editscript.h"

#include <QtTest>

#include <random>

using namespace kovrant;

namespace {

using Units = std::vector<char32_t>;

qsizetype ShortestByTable(const Units& a, const Units& b)
{
    std::vector<qsizetype> common(b.size() + 1, 0);
    for (char32_t x : a) {
        qsizetype diagonal = 0;
        for (std::size_t j = 0; j < b.size(); ++j)
            diagonal = std::exchange(common[j + 1],
                                     x == b[j] ? diagonal + 1 : std::max(common[j + 1], common[j]));
    }
    return qsizetype(a.size() + b.size()) - 2 * common.back();
}

void CheckShortest(const Units& a, const Units& b)
{
    const qsizetype shortest = ShortestByTable(a, b);
    std::vector<KeptRun> kept;
    qsizetype edits = -1, oldEnd = 0, newEnd = 0, keptUnits = 0;
    QVERIFY(ShortestEditScript(a, b, shortest, kept, edits));
    for (const KeptRun& run : kept) {
        QVERIFY(run.length > 0 && run.oldStart >= oldEnd && run.newStart >= newEnd);
        oldEnd = run.oldStart + run.length;
        newEnd = run.newStart + run.length;
        QVERIFY(oldEnd <= qsizetype(a.size()) && newEnd <= qsizetype(b.size()));
        QVERIFY(std::equal(a.begin() + run.oldStart, a.begin() + oldEnd, b.begin() + run.newStart));
        keptUnits += run.length;
    }
    QCOMPARE(edits, shortest);
    QCOMPARE(2 * keptUnits, qsizetype(a.size() + b.size()) - shortest);
    QVERIFY(shortest == 0 || !ShortestEditScript(a, b, shortest - 1, kept, edits));
}

} // namespace

class TestEditScript : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shortestAsTheTableFinds()
    {
        std::vector<Units> shortTexts{{}};
        for (std::size_t i = 0; shortTexts[i].size() < 5; ++i) {
            for (char32_t c = U'a'; c <= U'c'; ++c) {
                shortTexts.push_back(shortTexts[i]);
                shortTexts.back().push_back(c);
            }
        }
        for (const Units& a : shortTexts) {
            for (std::size_t b = 0; b < shortTexts.size() && !QTest::currentTestFailed(); ++b)
                CheckShortest(a, shortTexts[b]);
        }

        std::minstd_rand random(20260301);
        for (int i = 0; i < 3000 && !QTest::currentTestFailed(); ++i) {
            const auto alphabet = 2 + random() % 6;
            Units a(random() % 80), b(random() % 80);
            for (Units* text : {&a, &b})
                std::generate(text->begin(), text->end(),
                              [&] { return char32_t(U'a' + random() % alphabet); });
            CheckShortest(a, b);
        }
    }
};

QTEST_GUILESS_MAIN(TestEditScript)
#include "tst_editscript.moc"
