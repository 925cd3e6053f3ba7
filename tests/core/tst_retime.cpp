// Retiming: the output and the report of each kind of edit exactly; and over generated lyrics and
// random edits, that the old text comes back unchanged, that the output is the new text with
// tags from the old one, in their order and never more, and that every report points at what it
// names.
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
QString Tags(QString text)
{
    static const QRegularExpression short_(u"<([0-9]+)>"_s);
    for (QRegularExpressionMatch m; (m = short_.match(text)).hasMatch();)
        text.replace(m.capturedStart(), m.capturedLength(),
                     MsToTimeTag(m.captured(1).toInt() * 1000));
    return text;
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

// Also the tags that taking tags out makes of the text around them go.
QString WithoutTags(QString text)
{
    while (text.contains(Tag))
        text.remove(Tag);
    return text;
}

// The text without its tags and its attribute lines, each of those with its line break.
QString Untagged(const QString& text)
{
    QString plain;
    for (qsizetype start = 0;;) {
        const QRegularExpressionMatch lineBreak = LineBreak.match(text, start);
        const qsizetype end = lineBreak.hasMatch() ? lineBreak.capturedStart() : text.size();
        const QString line = text.sliced(start, end - start);
        if (!AttributeLine.match(line).hasMatch())
            plain += WithoutTags(line) + lineBreak.captured();
        if (!lineBreak.hasMatch())
            return plain;
        start = lineBreak.capturedEnd();
    }
}

// Whether the line'th line of text holds what at the column'th character.
bool HoldsAt(const QString& text, qsizetype line, qsizetype column, const QString& what)
{
    const QList<uint> chars = text.split(LineBreak).value(line - 1).toUcs4();
    return column >= 1 && chars.mid(column - 1, what.toUcs4().size()) == what.toUcs4();
}

// Generated lyrics, the same on every run, and edits of their text.
struct Generator {
    std::mt19937 random{20260314};
    int pick(int count) { return std::uniform_int_distribution(0, count - 1)(random); }
    QString any(QStringList parts) { return parts[pick(int(parts.size()))]; }
    QString tag() { return MsToTimeTag(pick(MaxTimeTagMs)); }
    QString text() { return any(u"あ|い|恋|a| |　|\U0001F600|、"_s.split(u'|')); }
    QString lineBreak() { return any(u"\r\n|\n|\r"_s.split(u'|')); }

    QString lyrics(bool attributes)
    {
        QString lyrics;
        for (int line = 1 + pick(8); line > 0; --line) {
            if (attributes && pick(4) == 0)
                lyrics += u"@A"_s + QString::number(line) + u"=1"_s + lineBreak();
            for (int tokens = pick(6); tokens >= 0; --tokens)
                lyrics += (pick(3) == 0 ? tag() : QString()) + (tokens > 0 ? text() : QString());
            lyrics += line > 1 || pick(2) ? lineBreak() : QString();
        }
        return lyrics;
    }

    // Edits whole characters, so that no surrogate pair is split.
    QString edited(const QString& text)
    {
        QList<uint> chars = text.toUcs4();
        for (int edits = pick(6); edits > 0; --edits) {
            const qsizetype at = pick(int(chars.size()) + 1);
            if (pick(2) == 0 && at < chars.size())
                chars.remove(at, std::min<qsizetype>(1 + pick(4), chars.size() - at));
            const QString inserted = pick(4) == 0   ? lineBreak()
                                     : pick(8) == 0 ? tag()
                                                    : this->text();
            chars = chars.first(at) + inserted.toUcs4() + chars.sliced(at);
        }
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()),
                                 chars.size());
    }
};

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
                            const char16_t* output, const char16_t* report = u"") {
            QTest::newRow(name) << Tags(QString::fromUtf16(oldTagged))
                                << QString::fromUtf16(newText) << ResultCode::Ok
                                << Tags(QString::fromUtf16(output))
                                << Tags(QString::fromUtf16(report));
        };
        row("the same text: attribute lines, any breaks, empty lines and lines of only tags",
            u"@T=恋\r\n<1>あい<2>\r\n\r\n<3>\n@M=1\r<4><5>う  <6>\n<7>\n@E=1",
            u"あい\r\n\r\n\nう  \n\n",
            u"@T=恋\r\n<1>あい<2>\r\n\r\n<3>\n@M=1\r<4><5>う  <6>\n<7>\n@E=1");
        row("a word replaced by a longer one: its group times it", u"<1>恋<2>の<3>歌<4>",
            u"こいの歌", u"<1>こい<2>の<3>歌<4>");
        row("a word replaced by a shorter one: its later groups are dropped",
            u"<1>あ<2>い<3>う<4>え<5>\n<6>x", u"かえ\nx", u"<1>か<4>え<5>\n<6>x",
            u"dropped <2> at 1:12; dropped <3> at 1:23");
        row("kanji to kana", u"<1>好<2>き<3>\n<4>x", u"すき\nx", u"<1>す<2>き<3>\n<4>x");
        row("a line inserted is untimed", u"<1>あい<2>\n<3>かき<4>", u"あい\nたち\nかき",
            u"<1>あい<2>\nたち\n<3>かき<4>", u"untimed 2: たち");
        row("a line deleted with its groups", u"<1>あい<2>\n<3>かき<4>\n<5>さし<6>", u"あい\nさし",
            u"<1>あい<2>\n<5>さし<6>", u"dropped <3> at 2:1; dropped <4> at 2:13");
        row("a line of only tags deleted", u"<1>あ\n<2>\n<3>い", u"あ\nい", u"<1>あ\n<3>い",
            u"dropped <2> at 2:1");
        row("lines joined: the end tag stays after its last character", u"<1>あい<2>\n<3>うえ<4>",
            u"あいうえ", u"<1>あい<2><3>うえ<4>");
        row("a line split: the group follows its character", u"<1>あい<2>うえ<3>", u"あい\nうえ",
            u"<1>あい\n<2>うえ<3>");
        row("text added at a line end, before its end tag", u"<1>あい<2>", u"あいう",
            u"<1>あいう<2>", u"untimed 1: う");
        row("spaces taken from or added to line ends", u"<1>あ<2>  \n<3>い<4>", u"あ\nい  ",
            u"<1>あ<2>\n<3>い  <4>");
        row("deleted text drops its group, the line end keeps its tag", u"<1>あ<2>い<3>", u"あ",
            u"<1>あ<3>", u"dropped <2> at 1:12");
        row("a surrogate pair is one character", u"<1>\U0001F600<2>x<3>\n<4>\U0001F600y",
            u"\U0001F601x\ny", u"<1>\U0001F601<2>x<3>\ny", u"dropped <4> at 2:1");
        row("tags in the new text are taken out", u"<1>あい",
            u"[00:09:00]あ\n[00:08:00]い[00:07:00]", u"<1>あ\nい",
            u"removed <9> at 1:1; removed <8> at 2:1; removed <7> at 2:12");
        row("a tag that taking out a tag makes is taken out too", u"<1>あ",
            u"あ[00:0[00:09:00]1:00]", u"<1>あ", u"removed <9> at 1:7; removed <1> at 1:2");
        row("attribute lines stay by their lines; the new text's own replace them",
            u"@A=1\n<1>x\n@B=2\n<2>y\n@C=3", u"@C=9\nx\nz\n@D=4",
            u"@C=9\n@A=1\n<1>x\n@B=2\n<2>z\n@D=4");
        row("an attribute line between joined lines goes to the end", u"<1>x\n@B=2\n<2>y", u"xy",
            u"<1>x<2>y\n@B=2");
        row("attribute lines take the new text's kind of break", u"@A=1\r\n<1>x\r\n<2>y", u"x\ny",
            u"@A=1\n<1>x\n<2>y");

        const auto refused = [](const char* name, const char16_t* oldTagged,
                                const char16_t* newText, ResultCode code) {
            QTest::newRow(name) << Tags(QString::fromUtf16(oldTagged))
                                << QString::fromUtf16(newText) << code << QString() << QString();
        };
        refused("no tag in the old text's lyrics", u"@A=<1>\nあ", u"あ",
                ResultCode::RetimeNoTimeTag);
        refused("nothing to time in the new text", u"<1>あ", u"[00:01:00]  \n@A=1\n",
                ResultCode::RetimeEmptyText);
        refused("less than half in common", u"<1>あいう\n<2>え", u"かきくけ",
                ResultCode::RetimeTooDifferent);
    }

    void retime()
    {
        QFETCH(QString, oldTagged);
        QFETCH(QString, newText);
        QFETCH(ResultCode, code);
        RetimeResult result;
        result.taggedText = u"untouched"_s;
        ResultCode got = ResultCode::RenameFailed;
        QCOMPARE(RetimeLyrics(oldTagged, newText, result, got), code == ResultCode::Ok);
        QCOMPARE(got, code);
        QTEST(code == ResultCode::Ok ? result.taggedText : QString(), "output");
        QTEST(Report(result), "report");
    }

    void carriesWithoutInventing()
    {
        static const QRegularExpression group(u"(?:"_s + Tag.pattern() + u")+"_s);
        Generator generator;
        int retimed = 0;
        for (int i = 0; i < 4000; ++i) {
            const QString oldTagged = generator.lyrics(i % 2 == 0);
            const QString same = Untagged(oldTagged);
            // Unless a line of only tags stood between a CR and an LF, which become one break.
            const QStringList lines = oldTagged.split(LineBreak);
            const bool sameLines =
                same.split(LineBreak).size() == lines.size() - lines.filter(AttributeLine).size();
            RetimeResult r;
            ResultCode code = ResultCode::Ok;
            if (RetimeLyrics(oldTagged, same, r, code))
                QVERIFY(!sameLines || r.taggedText == oldTagged);
            else
                QVERIFY(code == ResultCode::RetimeNoTimeTag || code == ResultCode::RetimeEmptyText);
            if (i % 2 == 0)
                continue;

            // Attribute lines aside, the output is the new text with the old text's tags.
            const QString newText = generator.edited(same);
            const auto context = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning().noquote() << oldTagged.toUtf8().toPercentEncoding() << "to"
                                         << newText.toUtf8().toPercentEncoding();
            });
            if (!RetimeLyrics(oldTagged, newText, r, code))
                continue;
            ++retimed;
            QCOMPARE(Untagged(r.taggedText), Untagged(newText));
            auto oldTags = Tag.globalMatch(oldTagged);
            for (const QRegularExpressionMatch& tag : Tag.globalMatch(r.taggedText)) {
                while (oldTags.hasNext() && oldTags.peekNext().captured() != tag.captured())
                    oldTags.next();
                QVERIFY2(oldTags.hasNext(), "a tag the old text has not, or not there");
                oldTags.next();
            }
            qsizetype groups = 0;
            for (auto it = group.globalMatch(oldTagged); it.hasNext(); it.next())
                ++groups;
            QCOMPARE(r.carriedGroups + qsizetype(r.dropped.size()), groups);
            for (const DroppedGroup& d : r.dropped)
                QVERIFY(HoldsAt(oldTagged, d.line, d.column, d.tags));
            for (const RemovedTag& t : r.removedFromNew)
                QVERIFY(HoldsAt(newText, t.line, t.column, u"["_s) &&
                        Tag.match(t.tag).capturedLength() == 10);
            for (const UntimedText& u : r.untimed)
                QVERIFY(WithoutTags(newText.split(LineBreak).value(u.line - 1)).contains(u.text));
        }
        QVERIFY(retimed > 1500);
    }
};

QTEST_GUILESS_MAIN(TestRetime)
#include "tst_retime.moc"
