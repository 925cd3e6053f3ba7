#include "core/timetag.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestTimeTag : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findTimeTag_data();
    void findTimeTag();
    void timeTagToMs_data();
    void timeTagToMs();
    void msToTimeTag_data();
    void msToTimeTag();
    void tagsWithSecondsBelowSixtyComeBackUnchanged();
};

void TestTimeTag::findTimeTag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("rest");

    QTest::newRow("tag in the middle")
        << u"abc[00:12:34]def"_s << true << u"abc"_s << u"[00:12:34]"_s << u"def"_s;
    QTest::newRow("one-digit field is text, later tag found")
        << u"[0:12:34]x[00:01:00]"_s << true << u"[0:12:34]x"_s << u"[00:01:00]"_s << QString();
    QTest::newRow("doubled bracket")
        << u"[[00:12:34]"_s << true << u"["_s << u"[00:12:34]"_s << QString();
    QTest::newRow("only eight characters follow the bracket")
        << u"ab[00:12:3"_s << false << u"ab[00:12:3"_s << QString() << QString();
    QTest::newRow("other separators")
        << u"[00-12-34]"_s << false << u"[00-12-34]"_s << QString() << QString();
    QTest::newRow("full-width digits are no digits")
        << u"[０0:12:34]"_s << false << u"[０0:12:34]"_s << QString() << QString();
    QTest::newRow("full-width bracket")
        << u"［00:12:34]"_s << false << u"［00:12:34]"_s << QString() << QString();
    QTest::newRow("range is not checked")
        << u"[99:99:99]あ"_s << true << QString() << u"[99:99:99]"_s << u"あ"_s;
    QTest::newRow("empty") << QString() << false << QString() << QString() << QString();
}

void TestTimeTag::findTimeTag()
{
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(QString, before);
    QFETCH(QString, tag);
    QFETCH(QString, rest);
    QString b = u"x"_s, t = u"x"_s, r = u"x"_s;
    QCOMPARE(FindTimeTag(text, b, t, r), found);
    QCOMPARE(b, before);
    QCOMPARE(t, tag);
    QCOMPARE(r, rest);
}

void TestTimeTag::timeTagToMs_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<qint32>("ms");
    QTest::newRow("ordinary") << u"[01:02:03]"_s << 62030;
    QTest::newRow("seconds above 59 count at face value") << u"[00:75:00]"_s << 75000;
    QTest::newRow("largest") << u"[99:99:99]"_s << 6039990;
    QTest::newRow("separators are not examined") << u"x01y02z03w"_s << 62030;
    QTest::newRow("letter in a field") << u"[0a:00:00]"_s << -1;
    QTest::newRow("signed field") << u"[-1:00:00]"_s << -1;
    QTest::newRow("too short") << u"[00:00:0"_s << -1;
}

void TestTimeTag::timeTagToMs()
{
    QFETCH(QString, tag);
    QFETCH(qint32, ms);
    QCOMPARE(TimeTagToMs(tag), ms);
}

void TestTimeTag::msToTimeTag_data()
{
    QTest::addColumn<qint32>("ms");
    QTest::addColumn<QString>("tag");
    QTest::newRow("ordinary") << 62030 << u"[01:02:03]"_s;
    QTest::newRow("5 rounds down to even") << 12345 << u"[00:12:34]"_s;
    QTest::newRow("5 rounds up to even") << 12355 << u"[00:12:36]"_s;
    QTest::newRow("25 gives 2") << 25 << u"[00:00:02]"_s;
    QTest::newRow("35 gives 4") << 35 << u"[00:00:04]"_s;
    QTest::newRow("no carry into the seconds") << 1995 << u"[00:01:99]"_s;
    QTest::newRow("999 stays in its second") << 59999 << u"[00:59:99]"_s;
    QTest::newRow("negative clamps to zero") << -5 << u"[00:00:00]"_s;
    QTest::newRow("large clamps to the largest") << 7000000 << u"[99:59:99]"_s;
    QTest::newRow("most negative") << std::numeric_limits<qint32>::min() << u"[00:00:00]"_s;
    QTest::newRow("most positive") << std::numeric_limits<qint32>::max() << u"[99:59:99]"_s;
    QTest::newRow("normalises seconds above 59") << 75000 << u"[01:15:00]"_s;
}

void TestTimeTag::msToTimeTag()
{
    QFETCH(qint32, ms);
    QFETCH(QString, tag);
    QCOMPARE(MsToTimeTag(ms), tag);
}

void TestTimeTag::tagsWithSecondsBelowSixtyComeBackUnchanged()
{
    for (int minutes = 0; minutes < 100; minutes += 7) {
        for (int seconds = 0; seconds < 60; ++seconds) {
            for (int hundredths = 0; hundredths < 100; ++hundredths) {
                const QString tag = QStringLiteral("[%1:%2:%3]")
                                        .arg(minutes, 2, 10, QLatin1Char('0'))
                                        .arg(seconds, 2, 10, QLatin1Char('0'))
                                        .arg(hundredths, 2, 10, QLatin1Char('0'));
                QVERIFY(IsTimeTagAt(tag, 0));
                QCOMPARE(MsToTimeTag(TimeTagToMs(tag)), tag);
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestTimeTag)
#include "tst_timetag.moc"
