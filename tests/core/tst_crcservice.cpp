#include "core/crcservice.h"

#include <QtTest>

using namespace kovrant;

class TestCrcService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void knownValues_data();
    void knownValues();
    void refusesWhatItCannotCompute_data();
    void refusesWhatItCannotCompute();
    void continuesAcrossCalls();
};

void TestCrcService::knownValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("check value of CRC-32") << QByteArray("123456789") << QStringLiteral("CBF43926");
    QTest::newRow("no bytes") << QByteArray() << QStringLiteral("00000000");
    QTest::newRow("leading zero digits are kept") << QByteArray("a") << QStringLiteral("E8B7BE43");
    QTest::newRow("longer than one slice of eight")
        << QByteArray("The quick brown fox jumps over the lazy dog") << QStringLiteral("414FA339");
    QTest::newRow("CRLF") << QByteArray("\r\n") << QStringLiteral("14A285AC");
}

void TestCrcService::knownValues()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    CrcService crc;
    crc.Initialise(1);
    qint32 count = qint32(bytes.size());
    crc.Compute(bytes, count, false, -1);
    QCOMPARE(crc.ResultText(), expected);
    QCOMPARE(count, qint32(bytes.size()));
    QCOMPARE(QStringLiteral("%1").arg(Crc32(bytes), 8, 16, QLatin1Char('0')).toUpper(), expected);
}

void TestCrcService::refusesWhatItCannotCompute_data()
{
    QTest::addColumn<bool>("initialise");
    QTest::addColumn<qint32>("count");
    QTest::newRow("before Initialise") << false << qint32(3);
    QTest::newRow("count larger than the data") << true << qint32(4);
    QTest::newRow("count smaller than the data") << true << qint32(2);
    QTest::newRow("negative count") << true << qint32(-1);
}

void TestCrcService::refusesWhatItCannotCompute()
{
    QFETCH(bool, initialise);
    QFETCH(qint32, count);
    CrcService crc;
    if (initialise)
        crc.Initialise(1);
    const QByteArray data("abc");
    crc.Compute(data, count, false, -1);
    QCOMPARE(crc.ResultText(), QStringLiteral("0"));
}

void TestCrcService::continuesAcrossCalls()
{
    CrcService crc;
    QCOMPARE(crc.ResultText(), QStringLiteral("0"));
    crc.Initialise(1);
    QByteArray first("12345"), second("6789");
    qint32 n1 = 5, n2 = 4;
    crc.Compute(first, n1, false, -1);
    crc.Compute(second, n2, true, -1);
    QCOMPARE(crc.ResultText(), QStringLiteral("CBF43926"));
    // A failed computation is not a starting point for the next one.
    qint32 wrong = 9;
    crc.Compute(first, wrong, false, -1);
    crc.Compute(second, n2, true, -1);
    QCOMPARE(crc.ResultText(), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestCrcService)
#include "tst_crcservice.moc"
