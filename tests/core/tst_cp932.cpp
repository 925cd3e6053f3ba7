#include "core/cp932.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// A row of the reference table: a valid code, what Windows decodes it to, and the bytes
// Windows writes for that character.
struct WindowsCode {
    QByteArray bytes;
    QString character;
    QByteArray writtenBack;
};

// Whole-table checks report how many entries failed and the first few of them.
QByteArray Summary(const QByteArrayList& failures)
{
    return QByteArray::number(failures.size()) + " wrong, e.g. " + failures.mid(0, 8).join(' ');
}

} // namespace

class TestCp932 : public QObject {
    Q_OBJECT
    QList<WindowsCode> m_codes;
    QSet<QByteArray> m_listedBytes;
    QSet<QString> m_listedCharacters;

private Q_SLOTS:
    void initTestCase()
    {
        QFile file(QStringLiteral(KOVRANT_TEST_DATA "/cp932-windows.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> fields = line.split('\t'); // bytes, U+code, written back
            QVERIFY2(fields.size() == 3, line.constData());
            const QChar character(fields[1].mid(2).toUShort(nullptr, 16));
            m_codes.push_back(
                {QByteArray::fromHex(fields[0]), character, QByteArray::fromHex(fields[2])});
            m_listedBytes.insert(m_codes.back().bytes);
            m_listedCharacters.insert(m_codes.back().character);
        }
        // Every single byte plus Microsoft's pairs; a short read would make the checks vacuous.
        QCOMPARE(m_codes.size(), 9800);
    }

    void everyListedCodeDecodesAndEncodesAsWindowsWritesItBack()
    {
        QByteArrayList failures;
        for (const WindowsCode& code : m_codes) {
            QString text;
            QByteArray bytes;
            if (!DecodeCp932(code.bytes, text) || text != code.character)
                failures << "decode " + code.bytes.toHex();
            if (!EncodeCp932(code.character, bytes) || bytes != code.writtenBack)
                failures << "encode " + code.bytes.toHex() + "->" + bytes.toHex();
        }
        QVERIFY2(failures.isEmpty(), Summary(failures).constData());
    }

    void everythingUnlistedFailsWhereItStands()
    {
        QByteArrayList failures;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead >= 0xA0 && lead <= 0xDF)
                continue;
            QString text;
            qsizetype offset = -1;
            const QByteArray cutOff = "ab" + QByteArray(1, char(lead));
            if (DecodeCp932(cutOff, text, &offset) || offset != 2)
                failures << "cut-off " + cutOff.toHex();
            for (int trail = 0; trail <= 0xFF; ++trail) {
                const QByteArray pair = cutOff.mid(2) + char(trail);
                if (!m_listedBytes.contains(pair) &&
                    (DecodeCp932(pair, text, &offset) || offset != 0))
                    failures << pair.toHex();
            }
        }
        for (int unit = 0; unit <= 0xFFFF; ++unit) {
            const QString c = QChar(char16_t(unit));
            QByteArray bytes;
            qsizetype offset = -1;
            if (!m_listedCharacters.contains(c) &&
                (EncodeCp932(u"ab"_s + c, bytes, &offset) || offset != 2))
                failures << "U+" + QByteArray::number(unit, 16);
        }
        QVERIFY2(failures.isEmpty(), Summary(failures).constData());
    }

    // A few of Windows' choices, spelled out, and one mixed text both ways.
    void conversions_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("writtenBack");
        const auto row = [](const char* name, const char* hex, const QString& text,
                            const char* back) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << text << QByteArray::fromHex(back);
        };
        row("5C is the backslash, not the yen sign", "5C", u"\\"_s, "5C");
        row("8160 is the full-width tilde, not the wave dash", "8160", u"\uFF5E"_s, "8160");
        row("NEC-selected kanji is written as IBM", "ED40", u"\u7E8A"_s, "FA5C");
        const char* mixed = "5B30303A30313A30325DB6D7B5B989CC8E8C955C87400D0AFBFCFAB1F04020610D0A";
        row("mixed lyrics lines", mixed, u"[00:01:02]ｶﾗｵｹ歌詞表①\r\n髙﨑\uE000 a\r\n"_s, mixed);
    }

    void conversions()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QByteArray, writtenBack);
        QString decoded = u"stale"_s;
        QVERIFY(DecodeCp932(bytes, decoded));
        QCOMPARE(decoded, text);
        QByteArray encoded = "stale";
        QVERIFY(EncodeCp932(text, encoded));
        QCOMPARE(encoded.toHex(), writtenBack.toHex());
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // decoded when not null
        QTest::addColumn<QString>("text");     // encoded otherwise
        QTest::addColumn<qsizetype>("offset");
        const auto bad = [](const char* name, const char* hex, qsizetype offset) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << QString() << offset;
        };
        bad("offset counts the bytes of the pairs before", "89CC8E8C817F", 4);
        bad("trail byte is not read again as a lead", "818181", 2);
        QTest::newRow("offset counts UTF-16 units, not bytes")
            << QByteArray() << u"ｶ歌\u301C"_s << qsizetype(2);
        QTest::newRow("character outside the BMP fails at its first unit")
            << QByteArray() << u"歌\U00020B9F詞"_s << qsizetype(1);
    }

    void failures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(qsizetype, offset);
        QString decoded = u"untouched"_s;
        QByteArray encoded = "untouched";
        qsizetype errorOffset = -1;
        if (bytes.isNull())
            QVERIFY(!EncodeCp932(text, encoded, &errorOffset) && !EncodeCp932(text, encoded));
        else
            QVERIFY(!DecodeCp932(bytes, decoded, &errorOffset) && !DecodeCp932(bytes, decoded));
        QCOMPARE(errorOffset, offset);
        QCOMPARE(decoded, u"untouched"_s);
        QCOMPARE(encoded, QByteArray("untouched"));
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
