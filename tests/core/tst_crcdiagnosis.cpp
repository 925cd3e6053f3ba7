// Source lyrics with the differences copied lyrics typically have: each is found and repaired to
// exactly the text that was divided, and a text that differs otherwise is never "repaired".
#include "core/crcdiagnosis.h"
#include "core/divide.h"

#include <QtTest>

#include <algorithm>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

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

class TestCrcDiagnosis : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        QFETCH(QString, shape);
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
        QCOMPARE(found.join(u' '), shape);
    }
};

QTEST_GUILESS_MAIN(TestCrcDiagnosis)
#include "tst_crcdiagnosis.moc"
