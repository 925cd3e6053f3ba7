#include "core/cp932.h"

#include <QFile>
#include <QSet>
#include <QtTest>

#include <vector>

using namespace kovrant;

namespace {

// One row of the reference file: a valid code, the character Windows decodes it to, and the
// bytes Windows writes for that character.
struct WindowsCode {
    QByteArray bytes;
    char16_t character;
    QByteArray writtenBack;
};

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QString CodePoint(char16_t c)
{
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString Unit(char16_t c)
{
    return QString(QChar(c));
}

// Whole-table checks report how many entries failed and the first few of them.
void VerifyNone(const QStringList& failures, const char* what)
{
    const QString message = QStringLiteral("%1 %2, e.g. %3")
                                .arg(failures.size())
                                .arg(QLatin1String(what))
                                .arg(failures.mid(0, 8).join(QStringLiteral("; ")));
    QVERIFY2(failures.isEmpty(), qPrintable(message));
}

} // namespace

class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void decodesEveryListedCode();
    void encodesEveryListedCharacterAsWindowsWritesItBack();
    void rejectsEveryUnlistedPair();
    void rejectsLeadByteAtEnd();
    void rejectsEveryCharacterWithoutCode();

    void windowsChoices_data();
    void windowsChoices();
    void decodeFailure_data();
    void decodeFailure();
    void encodeFailure_data();
    void encodeFailure();
    void roundTrip_data();
    void roundTrip();

private:
    std::vector<WindowsCode> m_codes;
    QSet<QByteArray> m_listedBytes;
    QSet<char16_t> m_listedCharacters;
};

void TestCp932::initTestCase()
{
    QFile file(QStringLiteral(KOVRANT_TEST_DATA "/cp932-windows.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        bool ok = fields.size() == 3 && fields[1].startsWith("U+");
        const ushort character = ok ? fields[1].mid(2).toUShort(&ok, 16) : 0;
        QVERIFY2(ok, qPrintable(QStringLiteral("malformed line %1").arg(lineNumber)));
        const WindowsCode code{QByteArray::fromHex(fields[0]), character,
                               QByteArray::fromHex(fields[2])};
        m_codes.push_back(code);
        m_listedBytes.insert(code.bytes);
        m_listedCharacters.insert(code.character);
    }
    // Every single byte plus Microsoft's pairs; a short read would make the checks below vacuous.
    QCOMPARE(m_codes.size(), std::size_t(9800));
}

void TestCp932::decodesEveryListedCode()
{
    QStringList failures;
    for (const WindowsCode& code : m_codes) {
        QString text;
        if (!DecodeCp932(code.bytes, text) || text != Unit(code.character))
            failures << Hex(code.bytes);
    }
    VerifyNone(failures, "codes decode wrongly");
}

void TestCp932::encodesEveryListedCharacterAsWindowsWritesItBack()
{
    QStringList failures;
    for (const WindowsCode& code : m_codes) {
        QByteArray bytes;
        if (!EncodeCp932(Unit(code.character), bytes) || bytes != code.writtenBack)
            failures << CodePoint(code.character) + QStringLiteral(" -> ") + Hex(bytes);
    }
    VerifyNone(failures, "characters encode wrongly");
}

void TestCp932::rejectsEveryUnlistedPair()
{
    QStringList failures;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const QByteArray pair = QByteArray(1, char(lead)) + char(trail);
            if (m_listedBytes.contains(pair))
                continue;
            QString text;
            qsizetype offset = -1;
            if (DecodeCp932(pair, text, &offset) || offset != 0)
                failures << Hex(pair);
        }
    }
    VerifyNone(failures, "invalid pairs accepted or misplaced");
}

void TestCp932::rejectsLeadByteAtEnd()
{
    QStringList failures;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        const QByteArray bytes = QByteArray("ab") + char(lead);
        QString text;
        qsizetype offset = -1;
        if (DecodeCp932(bytes, text, &offset) || offset != 2)
            failures << Hex(bytes);
    }
    VerifyNone(failures, "cut-off lead bytes accepted or misplaced");
}

void TestCp932::rejectsEveryCharacterWithoutCode()
{
    QStringList failures;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const auto c = char16_t(u);
        if (m_listedCharacters.contains(c))
            continue;
        QByteArray bytes;
        qsizetype offset = -1;
        if (EncodeCp932(QStringLiteral("ab") + Unit(c), bytes, &offset) || offset != 2)
            failures << CodePoint(c);
    }
    VerifyNone(failures, "characters without code accepted or misplaced");
}

void TestCp932::windowsChoices_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QByteArray>("writtenBack");

    const auto row = [](const char* name, const char* hex, char16_t c, const char* back) {
        QTest::newRow(name) << QByteArray::fromHex(hex) << Unit(c) << QByteArray::fromHex(back);
    };
    row("1A is SUB", "1A", 0x001A, "1A");
    row("1C is FS", "1C", 0x001C, "1C");
    row("7F is DEL", "7F", 0x007F, "7F");
    row("5C is the backslash, not the yen sign", "5C", 0x005C, "5C");
    row("7E is the tilde, not the overline", "7E", 0x007E, "7E");
    row("80 is U+0080", "80", 0x0080, "80");
    row("A0 is private use F8F0", "A0", 0xF8F0, "A0");
    row("FD is private use F8F1", "FD", 0xF8F1, "FD");
    row("FF is private use F8F3", "FF", 0xF8F3, "FF");
    row("first half-width kana", "A1", 0xFF61, "A1");
    row("last half-width kana", "DF", 0xFF9F, "DF");
    row("8160 is the full-width tilde, not the wave dash", "8160", 0xFF5E, "8160");
    row("815F is the full-width backslash", "815F", 0xFF3C, "815F");
    row("trail byte 5C inside a kanji", "955C", 0x8868, "955C");
    row("NEC row 13 copy of a JIS symbol is written as JIS", "879A", 0x2235, "81E6");
    row("IBM copy of a JIS symbol is written as JIS", "FA54", 0xFFE2, "81CA");
    row("IBM roman numeral is written as NEC row 13", "FA4A", 0x2160, "8754");
    row("NEC-selected kanji is written as IBM", "ED40", 0x7E8A, "FA5C");
    row("NEC-selected small roman numeral is written as IBM", "EEEF", 0x2170, "FA40");
    row("first user-defined code", "F040", 0xE000, "F040");
    row("last user-defined code", "F9FC", 0xE757, "F9FC");
}

void TestCp932::windowsChoices()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, character);
    QFETCH(QByteArray, writtenBack);

    QString text;
    QVERIFY(DecodeCp932(bytes, text));
    QCOMPARE(text, character);
    QByteArray encoded;
    QVERIFY(EncodeCp932(text, encoded));
    QCOMPARE(encoded.toHex(), writtenBack.toHex());
}

void TestCp932::decodeFailure_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("offset");

    const auto row = [](const char* name, const char* hex, qsizetype offset) {
        QTest::newRow(name) << QByteArray::fromHex(hex) << offset;
    };
    row("lead byte alone", "88", 0);
    row("lead byte at the end after text", "414282", 2);
    row("lead byte before CRLF", "41820D0A", 1);
    row("trail byte 7F", "817F", 0);
    row("trail byte FD", "81FD", 0);
    row("unassigned code in a JIS row", "8240", 0);
    row("lead byte without any code", "8540", 0);
    row("offset counts the bytes of the pairs before", "89CC8E8C817F", 4);
    row("trail byte is not read again as a lead", "818181", 2);
    row("half-width kana then a cut-off lead", "B6E0", 1);
}

void TestCp932::decodeFailure()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, offset);

    const QString untouched = QStringLiteral("untouched");
    QString text = untouched;
    qsizetype errorOffset = -1;
    QVERIFY(!DecodeCp932(bytes, text, &errorOffset));
    QCOMPARE(errorOffset, offset);
    QCOMPARE(text, untouched);
    QVERIFY(!DecodeCp932(bytes, text));
    QCOMPARE(text, untouched);
}

void TestCp932::encodeFailure_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("offset");

    QTest::newRow("wave dash U+301C") << QStringLiteral(u"AB\u301C") << qsizetype(2);
    QTest::newRow("double vertical line U+2016") << QStringLiteral(u"\u2016") << qsizetype(0);
    QTest::newRow("minus sign U+2212 after a kanji") << QStringLiteral(u"歌\u2212") << qsizetype(1);
    QTest::newRow("yen sign, as 5C is the backslash") << QStringLiteral(u"\u00A5") << qsizetype(0);
    QTest::newRow("lone high surrogate at the end")
        << QStringLiteral(u"ab") + Unit(0xD842) << qsizetype(2);
    QTest::newRow("lone low surrogate") << Unit(0xDF9F) + QStringLiteral(u"ab") << qsizetype(0);
    QTest::newRow("surrogate pair fails at its first unit")
        << QStringLiteral(u"歌\U00020B9F詞") << qsizetype(1);
}

void TestCp932::encodeFailure()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, offset);

    const QByteArray untouched("untouched");
    QByteArray bytes = untouched;
    qsizetype errorOffset = -1;
    QVERIFY(!EncodeCp932(text, bytes, &errorOffset));
    QCOMPARE(errorOffset, offset);
    QCOMPARE(bytes, untouched);
    QVERIFY(!EncodeCp932(text, bytes));
    QCOMPARE(bytes, untouched);
}

void TestCp932::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ASCII with CRLF") << QStringLiteral(u"[00:01:02]a\\~\r\n")
                                     << QByteArray::fromHex("5B30303A30313A30325D615C7E0D0A");
    QTest::newRow("half-width kana") << QStringLiteral(u"ｶﾗｵｹ") << QByteArray::fromHex("B6D7B5B9");
    QTest::newRow("kanji with trail byte 5C")
        << QStringLiteral(u"歌詞表ソ") << QByteArray::fromHex("89CC8E8C955C835C");
    QTest::newRow("NEC row 13") << QStringLiteral(u"①Ⅷ㈱") << QByteArray::fromHex("8740875B878A");
    QTest::newRow("IBM extensions")
        << QStringLiteral(u"髙﨑ⅰ") << QByteArray::fromHex("FBFCFAB1FA40");
    QTest::newRow("user-defined area")
        << QStringLiteral(u"\uE000\uE757") << QByteArray::fromHex("F040F9FC");
    QTest::newRow("mixed lyrics lines")
        << QStringLiteral(u"[00:01:02]ｶﾗｵｹ歌詞①\r\n髙﨑\uE000 a\r\n")
        << QByteArray::fromHex("5B30303A30313A30325DB6D7B5B989CC8E8C87400D0A"
                               "FBFCFAB1F04020610D0A");
}

void TestCp932::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QByteArray encoded("stale");
    QVERIFY(EncodeCp932(text, encoded));
    QCOMPARE(encoded.toHex(), bytes.toHex());
    QString decoded = QStringLiteral("stale");
    QVERIFY(DecodeCp932(encoded, decoded));
    QCOMPARE(decoded, text);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
