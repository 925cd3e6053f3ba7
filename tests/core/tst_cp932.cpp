#include "core/cp932.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestCp932 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every byte, pair and UTF-16 unit against the reference table of what Windows reads and
    // writes, after a prefix whose bytes and units differ in number ("歌" is two bytes, "ｶ" one)
    // so that the offsets of failures must be counted in the right unit.
    void convertsAsWindowsDoes()
    {
        QFile file(QStringLiteral(KOVRANT_TEST_DATA "/cp932-windows.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QHash<QByteArray, QString> decoded;     // bytes -> character
        QHash<QString, QByteArray> writtenBack; // character -> the bytes Windows writes
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QByteArrayList fields = line.trimmed().split('\t');
            if (line.startsWith('#') || fields.size() != 3)
                continue;
            const QString c = QChar(fields[1].sliced(2).toUShort(nullptr, 16));
            decoded.insert(QByteArray::fromHex(fields[0]), c);
            writtenBack.insert(c, QByteArray::fromHex(fields[2]));
        }
        QCOMPARE(decoded.size(), 9800); // a short read would make the checks vacuous

        QByteArrayList failures;
        const auto decodes = [&](const QByteArray& bytes, qsizetype failAt) {
            QString text = u"untouched"_s;
            qsizetype offset = -1;
            const bool ok = DecodeCp932("\x89\xCC" + bytes, text, &offset);
            if (failAt < 0 ? !ok || text != u"歌"_s + decoded.value(bytes)
                           : ok || offset != failAt || text != u"untouched"_s)
                failures << bytes.toHex();
        };
        for (int lead = 0; lead < 0x100; ++lead) {
            const QByteArray single(1, char(lead));
            decodes(single, decoded.contains(single) ? -1 : 2);
            for (int trail = 0; trail < 0x100 && !decoded.contains(single); ++trail)
                decodes(single + char(trail), decoded.contains(single + char(trail)) ? -1 : 2);
        }
        for (int unit = 0; unit < 0x10000; ++unit) {
            const QString c = QChar(char16_t(unit));
            QByteArray bytes = "untouched";
            qsizetype offset = -1;
            const bool ok = EncodeCp932(u"ｶ歌"_s + c, bytes, &offset);
            if (writtenBack.contains(c) ? !ok || bytes != "\xB6\x89\xCC" + writtenBack[c]
                                        : ok || offset != 2 || bytes != "untouched")
                failures << "U+" + QByteArray::number(unit, 16);
        }
        QVERIFY2(failures.isEmpty(), QByteArray::number(failures.size()) + " wrong, e.g. " +
                                         failures.mid(0, 8).join(' '));
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
