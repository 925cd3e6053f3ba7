#include "core/combine.h"
#include "core/divide.h"
#include "crctext.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// A TTD text whose CRC field is that of source.
QString Ttd(const QString& items, const QString& source)
{
    return u"TTD10\r\n"_s + items + u"(CRC="_s + CrcOf(source) + u")"_s;
}

} // namespace

class TestCombine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void combines_data();
    void combines();
    void refuses_data();
    void refuses();
    void givesBackWhatItDivided_data();
    void givesBackWhatItDivided();
    void farRecordsAreSkipped();

private:
    CrcService m_crc;
};

void TestCombine::init()
{
    m_crc = CrcService();
    m_crc.Initialise(1);
}

void TestCombine::combines_data()
{
    QTest::addColumn<QString>("ttd");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("skipCrc");
    QTest::addColumn<QString>("expected");

    const QString example = u"あいう\r\n\r\nえ"_s;
    QTest::newRow("worked example")
        << Ttd(u"(000,000)[00:01:00](000,002)[00:02:00]\r\n(002,000)[00:03:00][00:03:50](002,001)"
               u"[00:04:00]\r\n(@TimeRatio=1)\r\n"_s,
               example)
        << example << false
        << u"[00:01:00]あい[00:02:00]う\r\n\r\n[00:03:00][00:03:50]え[00:04:00]\r\n\r\n"
           u"@TimeRatio=1\r\n"_s;
    QTest::newRow("source with LF and CR line breaks")
        << Ttd(u"(002,000)[00:03:00]"_s, example) << u"あいう\n\rえ"_s << false
        << u"あいう\r\n\r\n[00:03:00]え\r\n\r\n"_s;
    QTest::newRow("blank lines around the source are dropped")
        << Ttd(u"(000,001)[00:01:00]"_s, u"ab"_s) << u"\r\n\r\nab\n\n"_s << false
        << u"a[00:01:00]b\r\n\r\n"_s;
    QTest::newRow("column past the end of its line")
        << Ttd(u"(000,005)[00:05:00](000,003)[00:03:00]"_s, u"abc"_s) << u"abc"_s << false
        << u"abc[00:03:00][00:05:00]\r\n\r\n"_s;
    QTest::newRow("line past the end, check off")
        << u"TTD10(004,000)[00:09:00](CRC=00000000)"_s << u"l1\r\nl2"_s << true
        << u"l1\r\nl2\r\n\r\n\r\n[00:09:00]\r\n\r\n"_s;
    QTest::newRow("no records") << Ttd(QString(), u"a\r\nb"_s) << u"a\r\nb"_s << false
                                << u"a\r\nb\r\n\r\n"_s;
    QTest::newRow("later record for the same place wins")
        << Ttd(u"(000,000)[00:01:00]\r\n(000,000)[00:02:00]"_s, u"a"_s) << u"a"_s << false
        << u"[00:02:00]a\r\n\r\n"_s;
    QTest::newRow("records out of order")
        << Ttd(u"(001,000)[00:03:00](000,001)[00:02:00](000,000)[00:01:00]"_s, u"ab\r\nc"_s)
        << u"ab\r\nc"_s << false << u"[00:01:00]a[00:02:00]b\r\n[00:03:00]c\r\n\r\n"_s;
    QTest::newRow("records broken across lines anywhere")
        << Ttd(u"(00\r\n0,0\n00)[00:0\r1:00](\r\n000,001)[00:02:00]\r\n(@A\r\n=1)"_s, u"ab"_s)
        << u"ab"_s << false << u"[00:01:00]a[00:02:00]b\r\n\r\n@A=1\r\n"_s;
    QTest::newRow("text before the first bracket is ignored")
        << Ttd(u"anything 001,000)[00:09:00]\r\n(000,000)[00:01:00]"_s, u"a"_s) << u"a"_s << false
        << u"[00:01:00]a\r\n\r\n"_s;
    QTest::newRow("line breaks after the CRC field")
        << Ttd(u"(000,000)[00:01:00]"_s, u"a"_s) + u"\r\n\r\n\n\r"_s << u"a"_s << false
        << u"[00:01:00]a\r\n\r\n"_s;
    QTest::newRow("check off combines another text by position")
        << Ttd(u"(000,001)[00:01:00]"_s, u"abc"_s) << u"xyz\r\nmore"_s << true
        << u"x[00:01:00]yz\r\nmore\r\n\r\n"_s;
    QTest::newRow("pieces without the record form are skipped")
        << Ttd(u"(000,000)[00:01:00](12)(-01,000)[00:09:00](0x1,000)[00:09:00](000,+01)[00:09:00]"
               u"(000,00)(abcdefgh)"_s,
               u"a"_s)
        << u"a"_s << false << u"[00:01:00]a\r\n\r\n"_s;
    QTest::newRow("record with an empty group")
        << Ttd(u"(000,000)[00:01:00](000,000)"_s, u"a"_s) << u"a"_s << false << u"a\r\n\r\n"_s;
    QTest::newRow("ordinary spaces around attributes are trimmed, full-width ones kept")
        << Ttd(u"(@A=1  )\r\n(@B=2　)\r\n"_s, u"a"_s) << u"a"_s << false
        << u"a\r\n\r\n@A=1\r\n@B=2　\r\n"_s;
    QTest::newRow("escaped bracket in an attribute")
        << Ttd(u"(@T=a %28b) 100%25)"_s, u"a"_s) << u"a"_s << false
        << u"a\r\n\r\n@T=a (b) 100%\r\n"_s;
    QTest::newRow("first line of only tags, check off, source proves the alignment")
        << Ttd(u"(000,000)[00:05:00]\r\n(001,001)[00:06:00]\r\n"_s, u"\r\na"_s) << u"\r\na"_s
        << true << u"[00:05:00]\r\na[00:06:00]\r\n\r\n"_s;
    QTest::newRow("leading blank line of an edited source, check off")
        << Ttd(u"(000,000)[00:05:00]\r\n"_s, u"\r\na"_s) << u"\r\nb"_s << true
        << u"[00:05:00]b\r\n\r\n"_s;
}

void TestCombine::combines()
{
    QFETCH(QString, ttd);
    QFETCH(QString, source);
    QFETCH(bool, skipCrc);
    QFETCH(QString, expected);
    QString tagged;
    ResultCode code = -1;
    QVERIFY(CombineLyrics(m_crc, ttd, source, {skipCrc, TimeRatioChoice::Unchanged}, tagged, code));
    QCOMPARE(code, Result::Ok);
    QCOMPARE(tagged, expected);
}

void TestCombine::refuses_data()
{
    QTest::addColumn<QString>("ttd");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("skipCrc");
    QTest::addColumn<ResultCode>("code");

    const QString good = Ttd(u"(000,000)[00:01:00]"_s, u"abc"_s);
    QTest::newRow("only the identifier") << u"TTD10"_s << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("identifier and line breaks")
        << u"TTD10\r\n\r\n"_s << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("lower-case identifier")
        << u"ttd10"_s + good.mid(5) << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("byte-order mark")
        << u"\uFEFF"_s + good << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("blank line first") << u"\r\n"_s + good << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("space after the CRC field")
        << good + u" "_s << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("no CRC field, check off")
        << u"TTD10\r\n(000,000)[00:01:00]\r\n"_s << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("CRC field broken by a line break")
        << u"TTD10\r\n(000,000)[00:01:00]\r\n(CRC=1234\r\n5678)"_s << u"abc"_s << true
        << Result::InvalidTtd;
    QTest::newRow("exactly 14 characters after line breaks")
        << u"TTD10CRC=1234)\r\n"_s << u"abc"_s << true << Result::InvalidTtd;
    QTest::newRow("frame is checked before the source")
        << u"TTD10"_s << QString() << true << Result::InvalidTtd;
    QTest::newRow("empty source") << good << QString() << true << Result::EmptySourceLyrics;
    QTest::newRow("source of line breaks only")
        << good << u"\r\n\n\r"_s << false << Result::EmptySourceLyrics;
    QTest::newRow("one character differs") << good << u"abd"_s << false << Result::CrcMismatch;
    QTest::newRow("CRC in lower case") << u"TTD10(CRC="_s + CrcOf(u"abc"_s).toLower() + u")"_s
                                       << u"abc"_s << false << Result::CrcMismatch;
    QTest::newRow("source without a code page 932 code")
        << good << u"ab〜"_s << false << Result::CrcMismatch;
}

void TestCombine::refuses()
{
    QFETCH(QString, ttd);
    QFETCH(QString, source);
    QFETCH(bool, skipCrc);
    QFETCH(ResultCode, code);
    QString tagged = u"untouched"_s;
    ResultCode got = 0;
    QVERIFY(!CombineLyrics(m_crc, ttd, source, {skipCrc, TimeRatioChoice::Unchanged}, tagged, got));
    QCOMPARE(got, code);
    QCOMPARE(tagged, u"untouched"_s);
}

void TestCombine::givesBackWhatItDivided_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("last line of only tags")
        << u"a[00:01:00]\n[00:05:00]"_s << u"a[00:01:00]\r\n[00:05:00]\r\n\r\n"_s;
    QTest::newRow("last two lines of only tags")
        << u"a\n[00:05:00]\n[00:06:00]"_s << u"a\r\n[00:05:00]\r\n[00:06:00]\r\n\r\n"_s;
    QTest::newRow("first line of only tags")
        << u"[00:05:00]\nb[00:06:00]"_s << u"[00:05:00]\r\nb[00:06:00]\r\n\r\n"_s;
    QTest::newRow("first and last lines of only tags, empty lines between")
        << u"\n[00:01:00][00:02:00]\n\nb\n\n[00:06:00]\n[00:07:00]\n"_s
        << u"[00:01:00][00:02:00]\r\n\r\nb\r\n\r\n[00:06:00]\r\n[00:07:00]\r\n\r\n"_s;
    QTest::newRow("attribute holding a bracket")
        << u"@Title=恋の歌 (Live)\n[00:01:00]あ\n@Memo=%28 100%"_s
        << u"[00:01:00]あ\r\n\r\n@Title=恋の歌 (Live)\r\n@Memo=%28 100%\r\n"_s;
}

void TestCombine::givesBackWhatItDivided()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QString ttd, source, tagged;
    ResultCode code = -1;
    QVERIFY(DivideLyrics(m_crc, input, ttd, source, code));
    for (bool skipCrc : {false, true}) {
        QVERIFY(
            CombineLyrics(m_crc, ttd, source, {skipCrc, TimeRatioChoice::Unchanged}, tagged, code));
        QCOMPARE(tagged, expected);
    }
}

void TestCombine::farRecordsAreSkipped()
{
    // Three-digit fields are always honoured; wider ones only inside the source.
    QString tagged;
    ResultCode code = -1;
    const QString ttd =
        u"TTD10(99999999,000)[00:01:00](000,99999999)[00:02:00](0001,0002)[00:03:00]"
        u"(009,000)[00:04:00](0000,1003)[00:05:00](0000,0001)[00:06:00](CRC=00000000)"_s;
    QVERIFY(
        CombineLyrics(m_crc, ttd, u"a\r\nbc"_s, {true, TimeRatioChoice::Unchanged}, tagged, code));
    QCOMPARE(tagged,
             u"a[00:06:00]\r\nbc[00:03:00]\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n[00:04:00]\r\n\r\n"_s);
}

QTEST_GUILESS_MAIN(TestCombine)
#include "tst_combine.moc"
