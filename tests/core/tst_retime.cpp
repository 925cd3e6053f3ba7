// Retiming: the output and the report of each kind of edit exactly; and over generated lyrics and
// random edits, that the old text comes back unchanged, and that the output is the new text with
// tags of the old one, in their order and never more, every dropped group where it is said to be.
// The edit script it carries tags by keeps equal units in order, as many as the obvious quadratic
// table finds in common, for every pair of short texts over a small alphabet and for random
// longer ones; and the bound refuses a script one edit too long.
#include "core/editscript.h"
#include "core/retime.h"
#include "core/timetag.h"

#include <QRegularExpression>
#include <QtTest>

#include <random>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

const QRegularExpression Tag(u"\\[[0-9]{2}:[0-9]{2}:[0-9]{2}\\]"_s);
const QRegularExpression LineBreak(u"\r\n|\r|\n"_s);
const QRegularExpression AttributeLine(u"^@.*="_s);

// "<n>" stands for the tag of n seconds.
QString Tags(const char16_t* text)
{
    static const QRegularExpression short_(u"<([0-9]+)>"_s);
    QString tagged = QString::fromUtf16(text);
    for (QRegularExpressionMatch m; (m = short_.match(tagged)).hasMatch();)
        tagged.replace(m.capturedStart(), m.capturedLength(),
                       MsToTimeTag(m.captured(1).toInt() * 1000));
    return tagged;
}

QString Report(const RetimeResult& r)
{
    QStringList lines;
    for (const DroppedGroup& d : r.dropped)
        lines << u"dropped %1 at %2:%3"_s.arg(d.tags).arg(d.line).arg(d.column);
    for (const UntimedText& u : r.untimed)
        lines << u"untimed %1: %2"_s.arg(u.line).arg(u.text);
    for (const RemovedTag& t : r.removedFromNew)
        lines << u"removed %1 at %2:%3"_s.arg(t.tag).arg(t.line).arg(t.column);
    return lines.join(u"; "_s);
}

// The text without its attribute lines, each with its line break, and without its tags, also
// those that taking tags out makes of the text around them.
QString Untagged(const QString& text)
{
    QString plain;
    for (qsizetype start = 0;;) {
        const QRegularExpressionMatch lineBreak = LineBreak.match(text, start);
        QString line = text.sliced(
            start, (lineBreak.hasMatch() ? lineBreak.capturedStart() : text.size()) - start);
        while (line.contains(Tag))
            line.remove(Tag);
        if (!AttributeLine.match(line).hasMatch())
            plain += line + lineBreak.captured();
        if (!lineBreak.hasMatch())
            return plain;
        start = lineBreak.capturedEnd();
    }
}

// Generated lyrics, the same on every run, and edits of their text.
struct Generator {
    std::mt19937 random{20260314};
    int pick(int count) { return std::uniform_int_distribution(0, count - 1)(random); }
    QString any(const char16_t* parts)
    {
        const QStringList list = QString::fromUtf16(parts).split(u'|');
        return list[pick(int(list.size()))];
    }
    QString tag() { return MsToTimeTag(pick(MaxTimeTagMs)); }

    QString lyrics(bool attributes)
    {
        QString lyrics;
        for (int line = 1 + pick(8); line > 0; --line) {
            if (attributes && pick(4) == 0)
                lyrics += u"@A"_s + QString::number(line) + u"=1"_s + any(u"\r\n|\n|\r");
            for (int tokens = pick(6); tokens >= 0; --tokens)
                lyrics += (pick(3) == 0 ? tag() : QString()) +
                          (tokens > 0 ? any(u"あ|い|恋|a| |　|\U0001F600|、") : QString());
            lyrics += line > 1 || pick(2) ? any(u"\r\n|\n|\r") : QString();
        }
        return lyrics;
    }

    // Whole characters are edited, so that no surrogate pair is split.
    QString edited(const QString& text)
    {
        QList<uint> chars = text.toUcs4();
        for (int edits = pick(6); edits > 0; --edits) {
            const qsizetype at = pick(int(chars.size()) + 1);
            chars.remove(at, pick(2) ? 0 : std::min<qsizetype>(1 + pick(4), chars.size() - at));
            const QString inserted =
                pick(8) == 0 ? tag() : any(u"\r\n|\n|\r|あ|い|恋|a| |　|\U0001F600");
            chars = chars.first(at) + inserted.toUcs4() + chars.sliced(at);
        }
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()),
                                 chars.size());
    }
};

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

class TestRetime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void retime_data()
    {
        QTest::addColumn<QString>("oldTagged");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("report");
        const auto row = [](const char* name, const char16_t* oldTagged, const char16_t* newText,
                            const char16_t* output, const char16_t* report = u"",
                            ResultCode code = ResultCode::Ok) {
            QTest::newRow(name) << Tags(oldTagged) << QString::fromUtf16(newText) << code
                                << Tags(output) << Tags(report);
        };
        row("the same text: attribute lines, any breaks, empty lines, lines of only tags, lyrics "
            "that read as an attribute line",
            u"@T=恋\r\n<1>あい<2>\r\n\r\n<3>\n@M=1\r<4><5>う  <6>\n<7>\n<8>@L=1\n@E=1",
            u"あい\r\n\r\n\nう  \n\n@L=1\n",
            u"@T=恋\r\n<1>あい<2>\r\n\r\n<3>\n@M=1\r<4><5>う  <6>\n<7>\n<8>@L=1\n@E=1");
        row("a word replaced by a longer one: its group times it", u"<1>恋<2>の<3>歌<4>",
            u"こいの歌", u"<1>こい<2>の<3>歌<4>");
        row("a word replaced by a shorter one: its later groups are dropped",
            u"<1>あ<2>い<3>う<4>え<5>\n<6>x", u"かえ\nx", u"<1>か<4>え<5>\n<6>x",
            u"dropped <2> at 1:12; dropped <3> at 1:23");
        row("replaced by lines: the group goes to the first character, past a line break",
            u"<1>恋<2>x", u"\nこ\nいx", u"\n<1>こ\nい<2>x", u"untimed 3: い");
        row("a line inserted is untimed", u"<1>あい<2>\n<3>かき<4>", u"あい\nたち\nかき",
            u"<1>あい<2>\nたち\n<3>かき<4>", u"untimed 2: たち");
        row("a line deleted with its groups", u"<1>あい<2>\n<3>かき<4>\n<5>さし<6>", u"あい\nさし",
            u"<1>あい<2>\n<5>さし<6>", u"dropped <3> at 2:1; dropped <4> at 2:13");
        row("a line deleted whole where the next one starts as it did", u"<1>x<2>\n<3>xy<4>", u"xy",
            u"<3>xy<4>", u"dropped <1> at 1:1; dropped <2> at 1:12");
        row("lines joined: the end tag stays after its last character", u"<1>あい<2>\n<3>うえ<4>",
            u"あいうえ", u"<1>あい<2><3>うえ<4>");
        row("a line split: the group follows its character", u"<1>あい<2>うえ<3>", u"あい\nうえ",
            u"<1>あい\n<2>うえ<3>");
        row("text and a line added at a line end: the end tag stays on its line", u"<1>あい<2>\n",
            u"あいう\nかき\n", u"<1>あいう<2>\nかき\n", u"untimed 1: う; untimed 2: かき");
        row("spaces taken from or added to line ends", u"<1>あ<2>  \n<3>い<4>", u"あ\nい  ",
            u"<1>あ<2>\n<3>い  <4>");
        row("spaces at a line end become an empty line", u"<1>あい<2>  \n<3>う", u"あい\n\nう",
            u"<1>あい<2>\n\n<3>う");
        row("tags in the new text are taken out, and a tag that taking one out makes", u"<1>あい",
            u"[00:09:00]あ\nい[00:0[00:08:00]1:00]", u"<1>あ\nい",
            u"removed <9> at 1:1; removed <8> at 2:7; removed <1> at 2:2");
        row("attribute lines: at the start, before the line after, after the line before, "
            "replaced by the new text's own, at the end",
            u"@A=1\n<1>x\n@B=2\n<2>y\n@C=3\n<3>v\n@D=4\n@E=5", u"@D=9\nx\nw\ny\nu\n",
            u"@D=9\n@A=1\n<1>x\nw\n@B=2\n<2>y\n@C=3\n<3>u\n@E=5", u"untimed 3: w");
        row("an attribute line between joined lines goes to the end", u"<1>x\n@B=2\n<2>y", u"xy",
            u"<1>x<2>y\n@B=2");
        row("the new text's attribute lines at its end take no tag", u"<1>x\n@A=1\n<2>", u"x\n@N=1",
            u"<1>x<2>\n@N=1\n@A=1");
        row("attribute lines take the new text's kind of break", u"@A=1\r\n<1>x\r\n<2>y", u"x\ny",
            u"@A=1\n<1>x\n<2>y");
        row("no tag in the old text's lyrics", u"@A=<1>\nあ", u"あ", u"", u"",
            ResultCode::RetimeNoTimeTag);
        row("nothing to time in the new text", u"<1>あ", u"[00:01:00]  \n@A=1\n", u"", u"",
            ResultCode::RetimeEmptyText);
        row("less than half in common", u"<1>あいう\n<2>え", u"かきくけ", u"", u"",
            ResultCode::RetimeTooDifferent);
    }

    void retime()
    {
        QFETCH(QString, oldTagged);
        QFETCH(QString, newText);
        QFETCH(ResultCode, code);
        RetimeResult result;
        ResultCode got = ResultCode::RenameFailed;
        QCOMPARE(RetimeLyrics(oldTagged, newText, result, got), code == ResultCode::Ok);
        QCOMPARE(got, code);
        QTEST(result.taggedText, "output");
        QTEST(Report(result), "report");
    }

    void carriesWithoutInventing()
    {
        static const QRegularExpression group(u"(?:"_s + Tag.pattern() + u")+"_s);
        Generator generator;
        int retimed = 0;
        for (int i = 0; i < 4000 && !QTest::currentTestFailed(); ++i) {
            const QString oldTagged = generator.lyrics(i % 2 == 0);
            const QString same = Untagged(oldTagged);
            const QString newText = i % 2 ? generator.edited(same) : same;
            RetimeResult r;
            ResultCode code = ResultCode::Ok;
            if (!RetimeLyrics(oldTagged, newText, r, code)) {
                QVERIFY(code != ResultCode::Ok &&
                        (i % 2 || code != ResultCode::RetimeTooDifferent));
                continue;
            }
            // Unless a line of only tags stood between a CR and an LF, which became one break.
            const QStringList lines = oldTagged.split(LineBreak);
            if (i % 2 == 0 &&
                same.split(LineBreak).size() == lines.size() - lines.filter(AttributeLine).size())
                QCOMPARE(r.taggedText, oldTagged);
            if (i % 2 == 0)
                continue;

            // No attribute lines: the output is the new text with tags of the old one.
            ++retimed;
            QCOMPARE(Untagged(r.taggedText), Untagged(newText));
            auto oldTags = Tag.globalMatch(oldTagged);
            for (const QRegularExpressionMatch& tag : Tag.globalMatch(r.taggedText)) {
                while (oldTags.hasNext() && oldTags.peekNext().captured() != tag.captured())
                    oldTags.next();
                QVERIFY2(oldTags.hasNext() && oldTags.next().hasMatch(), "a tag invented or moved");
            }
            qsizetype groups = 0;
            for (auto it = group.globalMatch(oldTagged); it.hasNext(); it.next())
                ++groups;
            QCOMPARE(r.carriedGroups + qsizetype(r.dropped.size()), groups);
            for (const DroppedGroup& d : r.dropped) {
                const QList<uint> line = oldTagged.split(LineBreak).value(d.line - 1).toUcs4();
                QCOMPARE(line.mid(d.column - 1, d.tags.size()), d.tags.toUcs4());
            }
        }
        QVERIFY(retimed > 1500);
    }

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

QTEST_GUILESS_MAIN(TestRetime)
#include "tst_retime.moc"
