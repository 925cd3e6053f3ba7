#include "core/divide.h"
#include "crctext.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestDivide : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void divides_data();
    void divides();
    void refuses_data();
    void refuses();
    void numbersPastThreeDigitsGetMoreDigits();
    void noCrcMeansNoTtd_data();
    void noCrcMeansNoTtd();

private:
    CrcService m_crc;
};

void TestDivide::init()
{
    m_crc = CrcService();
    m_crc.Initialise(1);
}

void TestDivide::divides_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("items"); // the TTD text between "TTD10" CRLF and the CRC field

    QTest::newRow("tags before and inside the line")
        << u"[00:01:00]あい[00:02:00]う"_s << u"あいう"_s
        << u"(000,000)[00:01:00](000,002)[00:02:00]\r\n"_s;
    QTest::newRow("trailing tag gets column = length")
        << u"あい[00:03:00]"_s << u"あい"_s << u"(000,002)[00:03:00]\r\n"_s;
    QTest::newRow("adjacent tags form one group")
        << u"[00:01:00][00:01:50]あ"_s << u"あ"_s << u"(000,000)[00:01:00][00:01:50]\r\n"_s;
    QTest::newRow("tag-like text stays in the source")
        << u"[1:00:00]あ［00:01:00］\n[[00:01:00]い"_s << u"[1:00:00]あ［00:01:00］\r\n[い"_s
        << u"\r\n(001,001)[00:01:00]\r\n"_s;
    QTest::newRow("empty line inside gives no tag line but counts")
        << u"[00:01:00]a\n\n[00:02:00]b"_s << u"a\r\n\r\nb"_s
        << u"(000,000)[00:01:00]\r\n(002,000)[00:02:00]\r\n"_s;
    QTest::newRow("untagged line gives an empty tag line")
        << u"[00:01:00]a\nかきく\n[00:02:00]b"_s << u"a\r\nかきく\r\nb"_s
        << u"(000,000)[00:01:00]\r\n\r\n(002,000)[00:02:00]\r\n"_s;
    QTest::newRow("attribute lines anywhere follow the tag lines in order")
        << u"@TimeRatio=1\n[00:01:00]a\n@X=1\nb[00:02:00]\n@Y=[00:09:00]"_s << u"a\r\nb"_s
        << u"(000,000)[00:01:00]\r\n(001,001)[00:02:00]\r\n(@TimeRatio=1)\r\n(@X=1)\r\n"
           u"(@Y=[00:09:00])\r\n"_s;
    QTest::newRow("@ without = is lyrics")
        << u"@memo[00:01:00]"_s << u"@memo"_s << u"(000,005)[00:01:00]\r\n"_s;
    QTest::newRow("empty lines at both ends are dropped")
        << u"\n\n[00:01:00]a\n\n\n"_s << u"a"_s << u"(000,000)[00:01:00]\r\n"_s;
    QTest::newRow("a line of spaces is not empty")
        << u"[00:01:00]a\r\n   \r\n"_s << u"a\r\n   "_s << u"(000,000)[00:01:00]\r\n\r\n"_s;
    QTest::newRow("CR, LF and CRLF mixed")
        << u"[00:01:00]a\rb\r\n[00:02:00]c\nd"_s << u"a\r\nb\r\nc\r\nd"_s
        << u"(000,000)[00:01:00]\r\n\r\n(002,000)[00:02:00]\r\n\r\n"_s;
    QTest::newRow("last line of only tags ends the source with CRLF")
        << u"a[00:01:00]\n[00:05:00]"_s << u"a\r\n"_s
        << u"(000,001)[00:01:00]\r\n(001,000)[00:05:00]\r\n"_s;
    QTest::newRow("first line of only tags starts the source with CRLF")
        << u"[00:05:00]\na[00:06:00]"_s << u"\r\na"_s
        << u"(000,000)[00:05:00]\r\n(001,001)[00:06:00]\r\n"_s;
    QTest::newRow("single line of only tags gives empty source")
        << u"[00:05:00]"_s << QString() << u"(000,000)[00:05:00]\r\n"_s;
    QTest::newRow("two lines of only tags give one CRLF")
        << u"[00:05:00]\n[00:06:00]"_s << u"\r\n"_s
        << u"(000,000)[00:05:00]\r\n(001,000)[00:06:00]\r\n"_s;
    QTest::newRow("worked example")
        << u"@TimeRatio=1\n[00:01:00]あい[00:02:00]う\n\n[00:03:00][00:03:50]え[00:04:00]"_s
        << u"あいう\r\n\r\nえ"_s
        << u"(000,000)[00:01:00](000,002)[00:02:00]\r\n(002,000)[00:03:00][00:03:50](002,001)"
           u"[00:04:00]\r\n(@TimeRatio=1)\r\n"_s;
    QTest::newRow("attribute holding a bracket is escaped")
        << u"[00:01:00]a\n@Title=恋の歌 (Live) 100%"_s << u"a"_s
        << u"(000,000)[00:01:00]\r\n(@Title=恋の歌 %28Live) 100%25)\r\n"_s;
    QTest::newRow("attribute that looks escaped is escaped again")
        << u"[00:01:00]a\n@Memo=%28"_s << u"a"_s << u"(000,000)[00:01:00]\r\n(@Memo=%2528)\r\n"_s;
    QTest::newRow("attribute with a lone percent is written as it is")
        << u"[00:01:00]a\n@Volume=100%"_s << u"a"_s
        << u"(000,000)[00:01:00]\r\n(@Volume=100%)\r\n"_s;
}

void TestDivide::divides()
{
    QFETCH(QString, input);
    QFETCH(QString, source);
    QFETCH(QString, items);
    QString ttd, sourceLyrics;
    ResultCode code = -1;
    QVERIFY(DivideLyrics(m_crc, input, ttd, sourceLyrics, code));
    QCOMPARE(code, Result::Ok);
    QCOMPARE(sourceLyrics, source);
    QCOMPARE(ttd, u"TTD10\r\n"_s + items + u"(CRC="_s + CrcOf(source) + u")"_s);
}

void TestDivide::refuses_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<ResultCode>("code");
    QTest::newRow("empty") << QString() << Result::InvalidTaggedLyrics;
    QTest::newRow("only line breaks") << u"\r\n\n\r"_s << Result::InvalidTaggedLyrics;
    QTest::newRow("only attributes and empty lines")
        << u"@A=1\n\n@B=2\n"_s << Result::InvalidTaggedLyrics;
    QTest::newRow("no tag") << u"abc\nあいう"_s << Result::NoValidTimeTag;
    QTest::newRow("only tag-like texts")
        << u"[1:00:00]\n[00:00:0]\n[00-00-00]"_s << Result::NoValidTimeTag;
    QTest::newRow("tags only in attribute lines")
        << u"@A=[00:01:00]\nabc"_s << Result::NoValidTimeTag;
}

void TestDivide::refuses()
{
    QFETCH(QString, input);
    QFETCH(ResultCode, code);
    QString ttd = u"old ttd"_s, source = u"old source"_s;
    ResultCode got = 0;
    QVERIFY(!DivideLyrics(m_crc, input, ttd, source, got));
    QCOMPARE(got, code);
    QCOMPARE(ttd, u"old ttd"_s);
    QCOMPARE(source, u"old source"_s);
}

void TestDivide::numbersPastThreeDigitsGetMoreDigits()
{
    QString input;
    for (int i = 0; i < 1001; ++i)
        input += u"x\n"_s;
    input += QString(1200, u'y') + u"[00:01:00]"_s;
    QString ttd, source;
    ResultCode code = -1;
    QVERIFY(DivideLyrics(m_crc, input, ttd, source, code));
    QVERIFY(ttd.contains(u"\r\n(1001,1200)[00:01:00]\r\n(CRC="_s));
}

void TestDivide::noCrcMeansNoTtd_data()
{
    QTest::addColumn<bool>("initialise");
    QTest::addColumn<QString>("input");
    QTest::newRow("service not initialised") << false << u"[00:01:00]a"_s;
    QTest::newRow("source character without a code page 932 code") << true << u"[00:01:00]〜"_s;
}

void TestDivide::noCrcMeansNoTtd()
{
    QFETCH(bool, initialise);
    QFETCH(QString, input);
    CrcService crc;
    if (initialise)
        crc.Initialise(1);
    QString ttd, source;
    ResultCode code = 0;
    QVERIFY(!DivideLyrics(crc, input, ttd, source, code));
    QCOMPARE(code, Result::CrcUnavailable);
    QVERIFY(ttd.isEmpty());
}

QTEST_GUILESS_MAIN(TestDivide)
#include "tst_divide.moc"
