#include "core/combine.h"
#include "core/timeratio.h"

#include <QtTest>

#include <cmath>

using namespace kovrant;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TimeRatioChoice)
Q_DECLARE_METATYPE(std::optional<double>)

namespace {

constexpr auto To1 = TimeRatioChoice::Ratio1;
constexpr auto To09953125 = TimeRatioChoice::Ratio0_9953125;

} // namespace

class TestTimeRatio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rewrites_data();
    void rewrites();
    void parseDecimal_data();
    void parseDecimal();
};

void TestTimeRatio::rewrites_data()
{
    QTest::addColumn<QString>("attributes"); // attribute items of the TTD, one per line
    QTest::addColumn<TimeRatioChoice>("choice");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("expectedGroup");
    QTest::addColumn<QString>("expectedAttributes");

    QTest::newRow("1 to 0.9953125, one minute")
        << u"@TimeRatio=1"_s << To09953125 << u"[01:00:00]"_s << u"[00:59:72]"_s
        << u"@TimeRatio=0.9953125"_s;
    QTest::newRow("1 to 0.9953125, ten seconds")
        << u"@TimeRatio=1"_s << To09953125 << u"[00:10:00]"_s << u"[00:09:95]"_s
        << u"@TimeRatio=0.9953125"_s;
    QTest::newRow("half milliseconds round to even")
        << u"@TimeRatio=1"_s << To09953125 << u"[00:00:32]"_s << u"[00:00:32]"_s
        << u"@TimeRatio=0.9953125"_s;
    QTest::newRow("0.9953125 to 1") << u"@TimeRatio=0.9953125"_s << To1 << u"[01:00:00]"_s
                                    << u"[01:00:28]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("0.5 to 1") << u"@TimeRatio=0.5"_s << To1 << u"[01:00:00]"_s << u"[02:00:00]"_s
                              << u"@TimeRatio=1"_s;
    QTest::newRow("0.5 to 0.9953125") << u"@TimeRatio=0.5"_s << To09953125 << u"[01:00:00]"_s
                                      << u"[01:59:44]"_s << u"@TimeRatio=0.9953125"_s;
    QTest::newRow("a group is rescaled tag by tag")
        << u"@TimeRatio=0.5"_s << To1 << u"[00:01:00][00:02:00]"_s << u"[00:02:00][00:04:00]"_s
        << u"@TimeRatio=1"_s;
    QTest::newRow("already the chosen ratio 1")
        << u"@TimeRatio=1"_s << To1 << u"[01:00:00]"_s << u"[01:00:00]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("1.0 is 1 and keeps its text")
        << u"@TimeRatio=1.0"_s << To1 << u"[01:00:00]"_s << u"[01:00:00]"_s << u"@TimeRatio=1.0"_s;
    QTest::newRow("already the chosen ratio 0.9953125")
        << u"@TimeRatio=0.9953125"_s << To09953125 << u"[01:00:00]"_s << u"[01:00:00]"_s
        << u"@TimeRatio=0.9953125"_s;
    QTest::newRow("no ratio line, nothing added")
        << u"@Title=x"_s << To1 << u"[01:00:00]"_s << u"[01:00:00]"_s << u"@Title=x"_s;
    QTest::newRow("not a number") << u"@TimeRatio=abc"_s << To1 << u"[01:00:00]"_s
                                  << u"[01:00:00]"_s << u"@TimeRatio=abc"_s;
    QTest::newRow("no value") << u"@TimeRatio="_s << To1 << u"[01:00:00]"_s << u"[01:00:00]"_s
                              << u"@TimeRatio="_s;
    QTest::newRow("longer key") << u"@TimeRatioX=0.5"_s << To1 << u"[01:00:00]"_s << u"[01:00:00]"_s
                                << u"@TimeRatioX=0.5"_s;
    QTest::newRow("key in any case, spaces around =")
        << u"@TIMERATIO = 0.5"_s << To1 << u"[01:00:00]"_s << u"[02:00:00]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("the last usable line counts")
        << u"@TimeRatio=1\n@TimeRatio=0.5\n@TimeRatio=x"_s << To1 << u"[01:00:00]"_s
        << u"[02:00:00]"_s << u"@TimeRatio=1\n@TimeRatio=1\n@TimeRatio=x"_s;
    QTest::newRow("negative ratio gives zero")
        << u"@TimeRatio=-2"_s << To1 << u"[01:00:00]"_s << u"[00:00:00]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("ratio 0 clamps to the largest")
        << u"@TimeRatio=0"_s << To1 << u"[01:00:00]"_s << u"[99:59:99]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("ratio 0 on time 0 gives zero")
        << u"@TimeRatio=0"_s << To1 << u"[00:00:00]"_s << u"[00:00:00]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("tiny ratio clamps") << u"@TimeRatio=1e-300"_s << To09953125 << u"[00:00:01]"_s
                                       << u"[99:59:99]"_s << u"@TimeRatio=0.9953125"_s;
    QTest::newRow("non-numeric tag fields give zero")
        << u"@TimeRatio=0.5"_s << To1 << u"[0a:00:00]"_s << u"[00:00:00]"_s << u"@TimeRatio=1"_s;
    QTest::newRow("remainder shorter than a tag stays")
        << u"@TimeRatio=0.5"_s << To1 << u"[00:01:00]xyz"_s << u"[00:02:00]xyz"_s
        << u"@TimeRatio=1"_s;
    QTest::newRow("seconds above 59 come back normalised")
        << u"@TimeRatio=0.5"_s << To1 << u"[00:75:00]"_s << u"[02:30:00]"_s << u"@TimeRatio=1"_s;
}

void TestTimeRatio::rewrites()
{
    QFETCH(QString, attributes);
    QFETCH(TimeRatioChoice, choice);
    QFETCH(QString, group);
    QFETCH(QString, expectedGroup);
    QFETCH(QString, expectedAttributes);

    QString items = u"(000,001)"_s + group + u"\r\n"_s;
    for (const QString& attribute : attributes.split(u'\n'))
        items += u"("_s + attribute + u")\r\n"_s;
    const QString ttd = u"TTD10\r\n"_s + items + u"(CRC=00000000)"_s;
    CrcService crc;
    crc.Initialise(1);
    QString tagged;
    ResultCode code = -1;
    QVERIFY(CombineLyrics(crc, ttd, u"ab"_s, {true, choice}, tagged, code));
    const QString expected = u"a"_s + expectedGroup + u"b\r\n\r\n"_s +
                             QString(expectedAttributes).replace(u"\n"_s, u"\r\n"_s) + u"\r\n"_s;
    QCOMPARE(tagged, expected);
}

void TestTimeRatio::parseDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("value");
    QTest::newRow("integer") << u"1"_s << std::optional(1.0);
    QTest::newRow("fraction") << u"0.9953125"_s << std::optional(0.9953125);
    QTest::newRow("signs") << u"-2.5"_s << std::optional(-2.5);
    QTest::newRow("plus sign") << u"+2"_s << std::optional(2.0);
    QTest::newRow("point without fraction") << u"2."_s << std::optional(2.0);
    QTest::newRow("fraction without integer") << u".5"_s << std::optional(0.5);
    QTest::newRow("exponent") << u"5E-1"_s << std::optional(0.5);
    QTest::newRow("correctly rounded") << u"0.1"_s << std::optional(0.1);
    QTest::newRow("overflow is infinite")
        << u"1e400"_s << std::optional(std::numeric_limits<double>::infinity());
    QTest::newRow("underflow is zero") << u"0.001e-400"_s << std::optional(0.0);
    QTest::newRow("empty") << QString() << std::optional<double>();
    QTest::newRow("only a point") << u"."_s << std::optional<double>();
    QTest::newRow("exponent without digits") << u"1e"_s << std::optional<double>();
    QTest::newRow("thousands separator") << u"1,000"_s << std::optional<double>();
    QTest::newRow("hexadecimal") << u"0x10"_s << std::optional<double>();
    QTest::newRow("infinity") << u"inf"_s << std::optional<double>();
    QTest::newRow("not a number") << u"nan"_s << std::optional<double>();
    QTest::newRow("inner space") << u"1 0"_s << std::optional<double>();
    QTest::newRow("full-width digit") << u"１"_s << std::optional<double>();
    QTest::newRow("two signs") << u"--1"_s << std::optional<double>();
}

void TestTimeRatio::parseDecimal()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, value);
    QCOMPARE(ParseDecimal(text), value);
}

QTEST_GUILESS_MAIN(TestTimeRatio)
#include "tst_timeratio.moc"
