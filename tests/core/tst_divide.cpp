// What Divide writes: exactly, for chosen inputs, and as properties over generated ones: what
// it splits, Combine gives back, and Combine answers any damage to it with one of its codes.
#include "core/combine.h"
#include "core/divide.h"
#include "core/timetag.h"

#include <QRegularExpression>
#include <QtTest>

#include <random>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

const QStringList Breaks = u"\r\n|\n|\r"_s.split(u'|');
const QStringList Keys = u"@TimeRatio=|@Title=|@=|@((="_s.split(u'|');
// Text around the tags, with all that nearly is one.
const QStringList Tokens =
    u"あ|ｱ|ﾟ|恋|髙|①|纊|a| |　|(|)|@|=|%|%28|%25|[0:12:34]|[00:12:3|[00-12-34]|"
    u"[|[[|［00:12:34］|[０0:12:34]"_s.split(u'|');

// What a damaged TTD text may hold.
const QStringList Damage = u"(|)|,|000|12|1000|99999999|-|[00:01:00]|@A=1|@TimeRatio=0|CRC=|\r|\n|"
                           u"%28|あ"_s.split(u'|');

// Texts made of random parts, the same on every run.
struct Generator {
    std::mt19937 random{20261206};
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    QString any(const QStringList& parts) { return parts[pick(int(parts.size()))]; }
    QString tag() { return MsToTimeTag(pick(MaxTimeTagMs + 1)); }

    // Lyrics with empty lines and attribute lines anywhere, and tags, alone or side by side,
    // anywhere in a line.
    QString lyrics()
    {
        QString text;
        for (int line = pick(13); line > 0; --line) {
            const int kind = pick(10);
            if (kind == 0)
                text += any(Keys);
            for (int tokens = kind == 0 || kind > 2 ? 1 + pick(8) : 0; tokens > 0; --tokens)
                text += pick(5) > 1 ? any(Tokens) : tag();
            if (line > 1 || pick(3) == 0)
                text += any(Breaks);
        }
        return text;
    }
};

const QRegularExpression LineBreak(u"\r\n|\r|\n"_s);
const QRegularExpression EmptyLinesAtTheEnds(u"^\n+|\n+$"_s);
const QRegularExpression SpacesAtTheEnd(u" +$"_s);

// The body less the empty lines at its ends, then the attribute lines less the spaces that end
// them: what a divide and a combine keep of a text.
QString Kept(const QString& text)
{
    QStringList body, attributes;
    for (const QString& line : text.split(LineBreak))
        (line.startsWith(u'@') && line.contains(u'=') ? attributes : body) << line;
    return body.join(u'\n').remove(EmptyLinesAtTheEnds) + u"\n--\n"_s +
           attributes.replaceInStrings(SpacesAtTheEnd, QString()).join(u'\n');
}

// A reader that cuts the TTD text at every "(" and knows records only as "lll,ccc)" and tags.
const QRegularExpression
    ThreeDigitItem(u"^(@|CRC=|[0-9]{3},[0-9]{3}\\)(\\[[0-9]{2}:[0-9]{2}:[0-9]{2}\\])+$)"_s);
// Combine drops them from attribute lines, so a second divide does not write them.
const QRegularExpression SpacesEndingAnItem(u" +\\)\r\n"_s);

constexpr int Inputs = 10000;

} // namespace

class TestDivide : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void divide_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("items"); // the TTD text after "TTD10" CRLF

        const auto ok = ResultCode::Ok;
        QTest::newRow("worked example")
            << u"@TimeRatio=1\n[00:01:00]あい[00:02:00]う\n\n[00:03:00][00:03:50]え[00:04:00]"_s
            << ok << u"あいう\r\n\r\nえ"_s
            << u"(000,000)[00:01:00](000,002)[00:02:00]\r\n(002,000)[00:03:00][00:03:50](002,001)"
               u"[00:04:00]\r\n(@TimeRatio=1)\r\n(CRC=B3DF21B4)"_s;
        QTest::newRow("attributes follow in order; with ( or an escape they are escaped")
            << u"@X=[00:09:00]\n[00:01:00]a\n@T=恋 (Live) 100%\n@M=%28\n@V=100%"_s << ok << u"a"_s
            << u"(000,000)[00:01:00]\r\n(@X=[00:09:00])\r\n(@T=恋 %28Live) 100%25)\r\n"
               u"(@M=%2528)\r\n(@V=100%)\r\n(CRC=E8B7BE43)"_s;
        QTest::newRow("only tags: no source, no CRC digits")
            << u"[00:05:00]"_s << ok << QString() << u"(000,000)[00:05:00]\r\n(CRC=00000000)"_s;
        // The CRC of a long source is computed piece by piece.
        QTest::newRow("long source: numbers past three digits get more digits")
            << u"x\n"_s.repeated(1001) + QString(20000, u'あ') + u"[00:01:00]"_s << ok
            << u"x\r\n"_s.repeated(1001) + QString(20000, u'あ')
            << u"\r\n"_s.repeated(1001) + u"(1001,20000)[00:01:00]\r\n(CRC=01374403)"_s;

        QTest::newRow("only line breaks, attributes and empty lines")
            << u"\r\n@A=1\n\n\r"_s << ResultCode::InvalidTaggedLyrics;
        QTest::newRow("no tag: near misses and tags in attribute lines do not count")
            << u"[1:00:00]\n@A=[00:01:00]\n[00:00:0]"_s << ResultCode::NoValidTimeTag;
        QTest::newRow("source lyrics that are no text: a lone surrogate")
            << u"[00:01:00]\xD800"_s << ResultCode::CrcUnavailable;
    }

    void divide()
    {
        QFETCH(QString, input);
        QFETCH(ResultCode, code);
        QString ttd = u"untouched"_s, sourceLyrics = u"untouched"_s;
        ResultCode got = ResultCode::RenameFailed;
        QCOMPARE(DivideLyrics(input, ttd, sourceLyrics, got), code == ResultCode::Ok);
        QCOMPARE(got, code);
        if (code != ResultCode::Ok) {
            QCOMPARE(ttd + sourceLyrics, u"untoucheduntouched"_s);
            return;
        }
        QFETCH(QString, items);
        QTEST(sourceLyrics, "source");
        QCOMPARE(ttd, u"TTD10\r\n"_s + items);
    }

    void combineGivesBackWhatDivideSplit()
    {
        Generator generator;
        int combined = 0;
        for (int i = 0; i < Inputs; ++i) {
            const QString input = generator.lyrics();
            const auto context = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning().noquote() << "input" << i << input.toUtf8().toPercentEncoding();
            });
            QString ttd, source;
            ResultCode code = ResultCode::RenameFailed;
            if (!DivideLyrics(input, ttd, source, code)) {
                QVERIFY(code == ResultCode::InvalidTaggedLyrics ||
                        code == ResultCode::NoValidTimeTag);
                continue;
            }
            for (const QString& item :
                 QString(ttd).remove(u'\r').remove(u'\n').split(u'(').sliced(1))
                QVERIFY2(ThreeDigitItem.match(item).hasMatch(), qPrintable(item));
            for (const bool skipCrc : {false, true}) {
                QString tagged, ttdAgain, sourceAgain;
                if (!CombineLyrics(ttd, source, {skipCrc, TimeRatioChoice::Unchanged}, tagged,
                                   code)) {
                    // Only lines of tags alone leave no source to put them on.
                    QCOMPARE(code, ResultCode::EmptySourceLyrics);
                    QCOMPARE(QString(source).remove(u"\r\n"_s), QString());
                    continue;
                }
                QCOMPARE(Kept(tagged), Kept(input));
                QVERIFY(DivideLyrics(tagged, ttdAgain, sourceAgain, code));
                QCOMPARE(sourceAgain, source);
                QCOMPARE(ttdAgain, QString(ttd).replace(SpacesEndingAnItem, u")\r\n"_s));
                ++combined;
            }
            // A damaged TTD text still gets one of Combine's codes, and a result of bounded size.
            for (int n = generator.pick(4); n > 0; --n)
                ttd.insert(generator.pick(int(ttd.size()) + 1), generator.any(Damage));
            const int cut = generator.pick(int(ttd.size()) + 1);
            ttd.remove(cut, generator.pick(12));
            QString tagged;
            const bool ok =
                CombineLyrics(ttd, input, {true, TimeRatioChoice::Ratio0_9953125}, tagged, code);
            QVERIFY(ok == (code == ResultCode::Ok));
            QVERIFY(ok || code == ResultCode::InvalidTtd || code == ResultCode::EmptySourceLyrics);
            // At most 1000 lines can be added past the source, each a line break.
            QVERIFY(tagged.size() <= 2 * (ttd.size() + input.size()) + 2 * 1000 + 16);
        }
        // The generator must reach the interesting cases, not only the refusals.
        QVERIFY2(combined > Inputs, qPrintable(QString::number(combined)));
    }
};

QTEST_GUILESS_MAIN(TestDivide)
#include "tst_divide.moc"
