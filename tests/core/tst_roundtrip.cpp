// Properties over generated inputs: what Divide writes, Combine gives back, and every record
// stays readable by a reader that only knows three-digit fields.
#include "core/combine.h"
#include "core/divide.h"
#include "core/ttdformat.h"

#include <QRegularExpression>
#include <QtTest>

#include <random>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

class LyricsGenerator {
public:
    explicit LyricsGenerator(std::uint32_t seed)
        : m_random(seed)
    {}

    QString lyrics()
    {
        QString text;
        const int lines = pick(0, 12);
        for (int i = 0; i < lines; ++i) {
            if (i > 0)
                text += lineBreak();
            text += line();
        }
        if (lines > 0 && chance(30))
            text += lineBreak();
        return text;
    }

    // Text made of the TTD format's own pieces, in any order.
    QString ttdNoise()
    {
        static const QStringList parts{u"("_s,        u")"_s,    u","_s,          u"000"_s,
                                       u"12"_s,       u"1000"_s, u"[00:01:00]"_s, u"@A=1"_s,
                                       u"CRC="_s,     u"\r\n"_s, u"\r"_s,         u"-"_s,
                                       u"99999999"_s, u"x"_s,    u"%28"_s,        u"あ"_s};
        QString text = chance(90) ? u"TTD10"_s : QString();
        const int count = pick(0, 40);
        for (int i = 0; i < count; ++i)
            text += parts[pick(0, int(parts.size()) - 1)];
        if (chance(70))
            text += u"(CRC=00000000)"_s;
        return text;
    }

    QString anyText()
    {
        static const QStringList parts{u"a"_s, u"\r\n"_s, u"\n"_s, u"あ"_s, u"[00:00:01]"_s, u""_s};
        QString text;
        const int count = pick(0, 12);
        for (int i = 0; i < count; ++i)
            text += parts[pick(0, int(parts.size()) - 1)];
        return text;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    QString lineBreak()
    {
        static const QStringList breaks{u"\r\n"_s, u"\n"_s, u"\r"_s};
        return breaks[pick(0, 2)];
    }

    QString tag()
    {
        return QStringLiteral("[%1:%2:%3]")
            .arg(pick(0, 99), 2, 10, QLatin1Char('0'))
            .arg(pick(0, 99), 2, 10, QLatin1Char('0'))
            .arg(pick(0, 99), 2, 10, QLatin1Char('0'));
    }

    QString line()
    {
        const int kind = pick(1, 100);
        if (kind <= 20)
            return QString();
        if (kind <= 30)
            return attribute();
        if (kind <= 33)
            return u"@memo "_s + token();
        QString text;
        const int tokens = pick(1, 10);
        for (int i = 0; i < tokens; ++i)
            text += token();
        return text;
    }

    QString attribute()
    {
        static const QStringList values{u"1"_s,   u"0.9953125"_s, u"恋の歌 (Live)"_s, u"100%"_s,
                                        u"%28"_s, u"a)b("_s,      u"[00:01:00]"_s,    u"x  "_s,
                                        u"　"_s,  u"=="_s};
        static const QStringList keys{u"@TimeRatio"_s, u"@Title"_s, u"@"_s, u"@(("_s};
        return keys[pick(0, int(keys.size()) - 1)] + u"="_s +
               values[pick(0, int(values.size()) - 1)];
    }

    QString token()
    {
        static const QStringList kana{u"あ"_s, u"か"_s, u"ン"_s, u"ｱ"_s, u"ﾟ"_s};
        static const QStringList kanji{u"恋"_s, u"歌"_s, u"髙"_s, u"①"_s, u"纊"_s};
        static const QStringList nearMiss{
            u"[0:12:34]"_s,    u"[00:12:3"_s, u"[00-12-34]"_s, u"［00:12:34］"_s,
            u"[００:12:34]"_s, u"["_s,        u"[["_s};
        switch (pick(0, 9)) {
        case 0:
        case 1:
            return kana[pick(0, int(kana.size()) - 1)];
        case 2:
            return kanji[pick(0, int(kanji.size()) - 1)];
        case 3:
            return QString(QChar(u'a' + pick(0, 25)));
        case 4:
            return chance(50) ? u" "_s : u"("_s;
        case 5:
            return nearMiss[pick(0, int(nearMiss.size()) - 1)];
        default: {
            QString group = tag();
            while (chance(25))
                group += tag();
            return group;
        }
        }
    }

    std::mt19937 m_random;
};

const QRegularExpression TagPattern(u"\\[[0-9]{2}:[0-9]{2}:[0-9]{2}\\]"_s);
const QRegularExpression LineBreak(u"\r\n|\r|\n"_s);

struct Expectation {
    ResultCode divideCode = Result::Ok;
    ResultCode combineCode = Result::Ok;
    QString source;
    QString tagged;
};

// What a divide and a combine must give, worked out from the lines directly.
Expectation Expect(const QString& input)
{
    Expectation e;
    if (input.isEmpty()) {
        e.divideCode = Result::InvalidTaggedLyrics;
        return e;
    }
    QStringList attributes, body;
    for (const QString& line : input.split(LineBreak)) {
        if (line.startsWith(u'@') && line.contains(u'='))
            attributes += line;
        else
            body += line;
    }
    while (!body.isEmpty() && body.first().isEmpty())
        body.removeFirst();
    while (!body.isEmpty() && body.last().isEmpty())
        body.removeLast();
    if (body.isEmpty()) {
        e.divideCode = Result::InvalidTaggedLyrics;
        return e;
    }
    if (!body.join(u'\n').contains(TagPattern)) {
        e.divideCode = Result::NoValidTimeTag;
        return e;
    }
    QStringList sourceLines;
    for (const QString& line : body)
        sourceLines += QString(line).remove(TagPattern);
    e.source = sourceLines.join(u"\r\n"_s);
    if (QString(e.source).remove(u'\r').remove(u'\n').isEmpty())
        e.combineCode = Result::EmptySourceLyrics;
    for (const QString& line : body)
        e.tagged += line + u"\r\n"_s;
    e.tagged += u"\r\n"_s;
    for (QString attribute : attributes) {
        while (attribute.endsWith(u' '))
            attribute.chop(1);
        e.tagged += attribute + u"\r\n"_s;
    }
    return e;
}

// The (line, column, group) triples a reader finds that cuts at every "(" and reads
// characters 1-3 and 5-7 as the line and the column.
QStringList ContractRecords(const QString& ttd)
{
    QString flat = ttd.mid(5);
    flat.remove(u'\r').remove(u'\n');
    QStringList records;
    const QStringList pieces = flat.split(u'(');
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        if (!pieces[i].startsWith(u"CRC"_s) && !pieces[i].startsWith(u'@'))
            records += pieces[i];
    }
    return records;
}

QStringList OwnRecords(const QString& ttd)
{
    TtdContents contents;
    ResultCode code = -1;
    if (!ReadTtdText(ttd, contents, code))
        return {u"unreadable"_s};
    QStringList records;
    for (const TagCell& record : contents.records) {
        records += QStringLiteral("%1,%2)")
                       .arg(record.line, 3, 10, QLatin1Char('0'))
                       .arg(record.column, 3, 10, QLatin1Char('0')) +
                   record.group.toString();
    }
    return records;
}

constexpr int Inputs = 10000;

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void combineGivesBackWhatDivideSplit();
    void combineStaysWithinItsCodesOnAnyText();
};

void TestRoundTrip::combineGivesBackWhatDivideSplit()
{
    LyricsGenerator generator(20261206);
    CrcService crc;
    crc.Initialise(1);
    int combined = 0;
    for (int i = 0; i < Inputs; ++i) {
        const QString input = generator.lyrics();
        const Expectation expected = Expect(input);
        const auto context = qScopeGuard([&] {
            if (QTest::currentTestFailed())
                qWarning().noquote() << "input" << i << ":" << input.toUtf8().toPercentEncoding();
        });

        QString ttd, source;
        ResultCode code = -1;
        QCOMPARE(DivideLyrics(crc, input, ttd, source, code), expected.divideCode == Result::Ok);
        QCOMPARE(code, expected.divideCode);
        if (code != Result::Ok)
            continue;
        QCOMPARE(source, expected.source);
        QCOMPARE(OwnRecords(ttd), ContractRecords(ttd));

        for (bool skipCrc : {false, true}) {
            QString tagged;
            const bool ok = CombineLyrics(crc, ttd, source, {skipCrc, TimeRatioChoice::Unchanged},
                                          tagged, code);
            QCOMPARE(code, expected.combineCode);
            QCOMPARE(ok, expected.combineCode == Result::Ok);
            if (ok)
                QCOMPARE(tagged, expected.tagged);
        }
        combined += expected.combineCode == Result::Ok;
    }
    // The generator must reach the interesting cases, not only the refusals.
    QVERIFY2(combined > Inputs / 2, qPrintable(QString::number(combined)));
}

void TestRoundTrip::combineStaysWithinItsCodesOnAnyText()
{
    LyricsGenerator generator(7);
    CrcService crc;
    crc.Initialise(1);
    for (int i = 0; i < Inputs; ++i) {
        const QString ttd = generator.ttdNoise();
        const QString source = generator.anyText();
        for (auto choice : {TimeRatioChoice::Unchanged, TimeRatioChoice::Ratio0_9953125}) {
            QString tagged;
            ResultCode code = -1;
            const bool ok = CombineLyrics(crc, ttd, source, {true, choice}, tagged, code);
            QVERIFY(code == Result::Ok || code == Result::InvalidTtd ||
                    code == Result::EmptySourceLyrics);
            QCOMPARE(ok, code == Result::Ok);
            // At most 1000 lines can be added past the source, each a line break.
            QVERIFY(tagged.size() <= 2 * (ttd.size() + source.size()) + 2 * 1000 + 16);
        }
    }
}

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
