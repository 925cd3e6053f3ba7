// Combine, exactly for chosen inputs, with its time ratio and the rounding of rescaled times; and
// what is said of a CRC that does not match: source lyrics with the differences copied lyrics
// typically have are repaired to exactly the text that was divided, and a text that differs
// otherwise is never "repaired".
#include "core/combine.h"
#include "core/crc32.h"
#include "core/crcdiagnosis.h"
#include "core/divide.h"
#include "core/timetag.h"
#include "core/ttdformat.h"

#include <QtTest>

#include <algorithm>
#include <limits>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

constexpr auto Ok = ResultCode::Ok;
constexpr auto To1 = TimeRatioChoice::Ratio1;
constexpr auto To09953125 = TimeRatioChoice::Ratio0_9953125;

// A TTD text whose CRC field is that of crcSource; "00000000" is that of no text.
QString Ttd(const QString& items, const QString& crcSource = QString())
{
    return u"TTD10\r\n"_s + items + u"(CRC="_s +
           CrcText(SourceLyricsCrc(crcSource, CrcForm::Cp932).value()) + u')';
}

void AddRow(const char* name, const QString& ttd, const QString& source, bool skipCrc,
            ResultCode code, const QString& expected = QString(),
            TimeRatioChoice ratio = TimeRatioChoice::Unchanged)
{
    QTest::newRow(name) << ttd << source << skipCrc << code << expected << ratio;
}

// A row for the time ratio: the first line is a group put after "a" of the source "ab", the
// others are attribute lines; expected is "" when nothing changes.
void AddRatio(const char* name, TimeRatioChoice ratio, const QString& lines, QString expected = {})
{
    const QStringList in = lines.split(u'\n');
    const QStringList out = (expected.isEmpty() ? lines : expected).split(u'\n');
    const QString items = u"(000,001)"_s + in[0] + u"\r\n("_s + in.sliced(1).join(u")("_s) + u')';
    expected = u'a' + out[0] + u"b\r\n\r\n"_s + out.sliced(1).join(u"\r\n"_s) + u"\r\n"_s;
    AddRow(name, Ttd(items), u"ab"_s, true, Ok, expected, ratio);
}

const QString Half =
    u"[00:01:00]Hello [00:02:00]world[00:02:50]\r\n\r\n[00:03:00]星の[00:04:00]歌\r\n"
    u"[00:05:00]end 2\r\n"_s;
const QString Full = u"[00:01:00]ＨＥＬＬＯ[00:02:00]の歌\r\n[00:03:00]ｅｎｄ　２\r\n"_s;

// The source lyrics as a careless copy gives them back.
QString Damaged(const QString& source, const QString& how)
{
    QString text = source;
    if (how.contains(u"spaces"))
        text.replace(u"\r\n"_s, u" \t\u3000\r\n"_s);
    if (how.contains(u"full"))
        text = ApplyRepairs(text, unsigned(Repair::HalfWidthToFull));
    if (how.contains(u"half"))
        text = ApplyRepairs(text, unsigned(Repair::FullWidthToHalf));
    if (how.contains(u"blank"))
        text.replace(u"\r\n\r\n"_s, u"\r\n\r\n\r\n\r\n"_s);
    if (how.contains(u"marks"))
        text = u'\uFEFF' + text + u"\x1A\r\n"_s;
    if (how.contains(u"word"))
        text.replace(u"world"_s, u"w"_s);
    if (how.contains(u"short"))
        text.replace(u"b\r\n"_s, u"\r\n"_s);
    return text;
}

} // namespace

class TestCombine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void combine_data()
    {
        QTest::addColumn<QString>("ttd");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("skipCrc"); // a row that passes the check passes without it
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<TimeRatioChoice>("ratio");

        const QString example = u"あいう\r\n\r\nえ"_s;
        AddRow("worked example",
               Ttd(u"(000,000)[00:01:00](000,002)[00:02:00]\r\n(002,000)[00:03:00][00:03:50]"
                   u"(002,001)[00:04:00]\r\n(@TimeRatio=1)\r\n"_s,
                   example),
               example, false, Ok,
               u"[00:01:00]あい[00:02:00]う\r\n\r\n[00:03:00][00:03:50]え[00:04:00]\r\n\r\n"
               u"@TimeRatio=1\r\n"_s);
        AddRow("source with any line breaks and blank lines around it",
               Ttd(u"(000,001)[00:01:00](001,000)[00:02:00]"_s, u"ab\r\nc"_s), u"\n\r\nab\rc\n\n"_s,
               false, Ok, u"a[00:01:00]b\r\n[00:02:00]c\r\n\r\n"_s);
        AddRow("last line of only tags: the source ends in CRLF",
               Ttd(u"(000,001)[00:01:00]\r\n(001,000)[00:05:00]\r\n"_s, u"a\r\n"_s), u"a\r\n"_s,
               false, Ok, u"a[00:01:00]\r\n[00:05:00]\r\n\r\n"_s);
        const QString blankEnds = u"\r\n\r\nb\r\n\r\n\r\n"_s; // "b" between lines of only tags
        AddRow("first and last lines of only tags, empty lines between",
               Ttd(u"(000,000)[00:01:00]\r\n\r\n(004,000)[00:06:00]\r\n(005,000)[00:07:00]\r\n"_s,
                   blankEnds),
               blankEnds, false, Ok,
               u"[00:01:00]\r\n\r\nb\r\n\r\n[00:06:00]\r\n[00:07:00]\r\n\r\n"_s);
        AddRow(
            "check off: another text by position, less a blank first line the CRC does not prove",
            Ttd(u"(000,000)[00:05:00](000,001)[00:01:00]\r\n"_s), u"\r\nxyz\r\nmore"_s, true, Ok,
            u"[00:05:00]x[00:01:00]yz\r\nmore\r\n\r\n"_s);
        AddRow("records: in any order, past the end of the line, later ones win, others skipped",
               Ttd(u"x 001,000)[00:09:00]\r\n(000,005)[00:05:00](000,003)[00:03:00](000,000)"
                   u"[00:01:00](12)(-01,000)[00:09:00](0x1,000)[00:09:00](000,+01)[00:09:00]"
                   u"(000,00)(abcdefgh)(000,000)[00:02:00](000,001)[00:04:00](000,001)"_s),
               u"abc"_s, true, Ok, u"[00:02:00]abc[00:03:00][00:05:00]\r\n\r\n"_s);
        AddRow("line breaks anywhere; attributes trimmed of spaces, their escape undone",
               Ttd(u"(00\r\n0,0\n00)[00:0\r1:00](\r\n000,001)[00:02:00]\r\n(@A\r\n=1  )\r\n"
                   u"(@B=2　)(@T=a %28b) 100%25)"_s) +
                   u"\r\n\n\r"_s,
               u"ab"_s, true, Ok,
               u"[00:01:00]a[00:02:00]b\r\n\r\n@A=1\r\n@B=2　\r\n@T=a (b) 100%\r\n"_s);
        const QString wide(1000, u'w'); // a line that ends at a column of four digits
        AddRow("far records: three-digit fields always count, wider ones inside the source",
               Ttd(u"(99999999,000)[00:01:00](000,99999999)[00:02:00](0001,1000)[00:03:00](009,000)"
                   u"[00:04:00](0000,1003)[00:05:00](0000,0001)[00:06:00](0001,1001)[00:07:00]"_s),
               u"a\r\n"_s + wide, true, Ok,
               u"a[00:06:00]\r\n"_s + wide + u"[00:03:00]"_s + u"\r\n"_s.repeated(8) +
                   u"[00:04:00]\r\n\r\n"_s);

        AddRow("an attribute beyond code page 932: bytes in the fallback encoding",
               Ttd(u"(000,001)[00:01:00]\r\n(@Title=🌟)"_s, u"ab"_s), u"ab"_s, false, Ok,
               u"a[00:01:00]b\r\n\r\n@Title=🌟\r\n"_s);

        const QString good = Ttd(u"(000,000)[00:01:00]"_s, u"abc"_s);
        const auto invalid = ResultCode::InvalidTtd;
        AddRow("only the identifier", u"TTD10"_s, QString(), true, invalid);
        AddRow("CRC field broken by a line break", Ttd(QString()).insert(14, u"\r\n"_s), u"abc"_s,
               true, invalid);
        AddRow("source of line breaks only", good, u"\r\n\n\r"_s, false,
               ResultCode::EmptySourceLyrics);
        AddRow("one character differs", good, u"abd"_s, false, ResultCode::CrcMismatch);
        AddRow("source without a code page 932 code", good, u"ab\u301C"_s, false,
               ResultCode::CrcMismatch);

        AddRatio("1 to 0.9953125", To09953125, u"[01:00:50]\n@TimeRatio=1"_s,
                 u"[01:00:22]\n@TimeRatio=0.9953125"_s);
        AddRatio("tag by tag, a remainder shorter than a tag stays", To1,
                 u"[00:01:00][00:75:00]xyz\n@TimeRatio=0.5"_s,
                 u"[00:02:00][02:30:00]xyz\n@TimeRatio=1"_s);
        AddRatio("already 0.9953125, its text kept", To09953125,
                 u"[01:00:00]\n@TimeRatio=0.99531250"_s);
        AddRatio("no usable ratio, nothing added", To1,
                 u"[01:00:00]\n@Title=x\n@TimeRatio=abc\n@TimeRatio=inf\n@TimeRatio=1,000\n"
                 u"@TimeRatioX=0.5\n@TimeRatio=\n@TimeRatio=0x1"_s);
        AddRatio("the last usable line counts; any case, spaces around =", To1,
                 u"[01:00:00]\n@TimeRatio=1\n@TIMERATIO = .5E0\n@TimeRatio=x"_s,
                 u"[02:00:00]\n@TimeRatio=1\n@TimeRatio=1\n@TimeRatio=x"_s);
        AddRatio("a declared ratio of zero is not usable: the times stay", To1,
                 u"[01:00:00]\n@TimeRatio=0.5\n@TimeRatio=0\n@TimeRatio=-0.0"_s,
                 u"[02:00:00]\n@TimeRatio=1\n@TimeRatio=0\n@TimeRatio=-0.0"_s);
        AddRatio("ratio beyond a double is infinite", To1, u"[01:00:00]\n@TimeRatio=1e400"_s,
                 u"[00:00:00]\n@TimeRatio=1"_s);
    }

    void combine()
    {
        QFETCH(QString, ttd);
        QFETCH(QString, source);
        QFETCH(bool, skipCrc);
        QFETCH(ResultCode, code);
        QFETCH(QString, expected);
        QFETCH(TimeRatioChoice, ratio);
        for (const bool skip : {skipCrc, true}) {
            QString tagged = u"untouched"_s;
            ResultCode got = ResultCode::RenameFailed;
            QCOMPARE(CombineLyrics(ttd, source, {skip, ratio}, tagged, got), code == Ok);
            QCOMPARE(got, code);
            QCOMPARE(tagged, code == Ok ? expected : u"untouched"_s);
            // The same text as bytes, in code page 932 where it can hold them.
            TextEncoding encoding = TextEncoding::Cp932;
            QByteArray bytes = "untouched", written = bytes;
            if (code == Ok && !EncodeText(expected, encoding, written))
                QVERIFY(EncodeText(expected, encoding = FallbackEncoding, written));
            TextEncoding used = TextEncoding::Cp932;
            QCOMPARE(CombineLyricsToBytes(ttd, source, {skip, ratio}, used, bytes, got),
                     code == Ok);
            QCOMPARE(bytes, written);
            QCOMPARE(used, encoding);
            if (code != Ok)
                break;
        }
    }

    // Times are rescaled in double, rounded to 15 significant digits and then to the nearest
    // millisecond, and written to hundredths; halves go to the even neighbour at both steps.
    void rescaleAndWrite_data()
    {
        QTest::addColumn<qint32>("ms");
        QTest::addColumn<double>("declared");
        QTest::addColumn<TimeRatioChoice>("ratio");
        QTest::addColumn<qint32>("rescaled");
        QTest::addColumn<QString>("tag");
        const auto row = [](const char* name, qint32 ms, double declared, TimeRatioChoice ratio,
                            qint32 rescaled, const QString& tag) {
            QTest::newRow(name) << ms << declared << ratio << rescaled << tag;
        };
        row("318.5 ms down to even", 320, 1.0, To09953125, 318, u"[00:00:32]"_s);
        row("955.5 ms up to even", 960, 1.0, To09953125, 956, u"[00:00:96]"_s);
        // 500.50000000000006 is 500.5 in 15 significant digits.
        row("15 significant digits", 352, 0.7, To09953125, 500, u"[00:00:50]"_s);
        row("hundredths: 5 down to even", 12345, 1.0, To1, 12345, u"[00:12:34]"_s);
        row("hundredths: 5 up to even", 12355, 1.0, To1, 12355, u"[00:12:36]"_s);
        row("no carry into the seconds", 1995, 1.0, To1, 1995, u"[00:01:99]"_s);
        row("0 at ratio 0 is 0", 0, 0.0, To1, 0, u"[00:00:00]"_s);
        row("ratio 0 clamps", 1, 0.0, To1, std::numeric_limits<qint32>::max(), u"[99:59:99]"_s);
        row("tiny ratio clamps below", -1, 1e-300, To1, std::numeric_limits<qint32>::min(),
            u"[00:00:00]"_s);
    }

    void rescaleAndWrite()
    {
        QFETCH(qint32, ms);
        QFETCH(double, declared);
        QFETCH(TimeRatioChoice, ratio);
        QFETCH(qint32, rescaled);
        QCOMPARE(RescaleMs(ms, declared, ratio), rescaled);
        QTEST(MsToTimeTag(rescaled), "tag");
    }

    void diagnoses_data()
    {
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<unsigned>("repairs");
        QTest::addColumn<QString>("shape"); // when nothing is repaired: needed/source, short lines
        QTest::newRow("spaces and tabs at line ends")
            << Half << u"spaces"_s << unsigned(Repair::TrailingSpaces) << QString();
        QTest::newRow("full-width letters, digits and spaces")
            << Half << u"full"_s << unsigned(Repair::FullWidthToHalf) << QString();
        QTest::newRow("half-width ones")
            << Full << u"half"_s << unsigned(Repair::HalfWidthToFull) << QString();
        QTest::newRow("a run of empty lines")
            << Half << u"blank"_s << unsigned(Repair::EmptyLineRuns) << QString();
        QTest::newRow("a byte-order mark and an end-of-file character")
            << Half << u"marks"_s << unsigned(Repair::MarksLeft) << QString();
        QTest::newRow("two differences together")
            << Half << u"spaces marks"_s
            << (unsigned(Repair::TrailingSpaces) | unsigned(Repair::MarksLeft)) << QString();
        QTest::newRow("a changed word is no repair: the report points at its line")
            << Half << u"word"_s << 0u << u"4/4 1:7:11"_s;
        QTest::newRow("a changed word among repairable differences is none either")
            << Half << u"spaces word"_s << 0u << u"4/4 1:10:11"_s;
        QTest::newRow("five lines short, records last line first: the first three are named")
            << u"[00:01:00]ab[00:02:00]\r\n"_s.repeated(5) << u"short reversed"_s << 0u
            << u"5/5 1:1:2 2:1:2 3:1:2"_s;
        // Spaces a repair would take away, in a text too long to look for repairs in.
        QTest::newRow("beyond the length repairs are looked for in: only the report, said so")
            << u"[00:01:00]"_s + QString(MaxRepairedLength, u'う') + u"\r\n[00:02:00]x\r\n"_s
            << u"spaces"_s << 0u << u"2/2 skipped"_s;
    }

    void diagnoses()
    {
        QFETCH(QString, lyrics);
        QFETCH(QString, damage);
        QFETCH(unsigned, repairs);
        QString ttd, source;
        ResultCode code = ResultCode::Ok;
        QVERIFY(DivideLyrics(lyrics, ttd, source, code));
        if (damage.contains(u"reversed")) { // the TTD's records from the last line to the first
            QStringList lines = ttd.split(u"\r\n"_s);
            std::reverse(lines.begin() + 1, lines.end() - 1);
            ttd = lines.join(u"\r\n"_s);
        }
        const CrcDiagnosis diagnosis = DiagnoseCrcMismatch(ttd, Damaged(source, damage));
        QCOMPARE(diagnosis.repairs, repairs);
        if (repairs != 0) {
            QCOMPARE(diagnosis.repairedText, source);
            return;
        }
        QStringList found{u"%1/%2"_s.arg(diagnosis.linesNeeded).arg(diagnosis.sourceLines)};
        if (!diagnosis.repairsTried)
            found << u"skipped"_s;
        for (const auto& line : diagnosis.shortLines)
            found << u"%1:%2:%3"_s.arg(line.line + 1).arg(line.length).arg(line.column);
        QTEST(found.join(u' '), "shape");
    }
};

QTEST_GUILESS_MAIN(TestCombine)
#include "tst_combine.moc"
