// Lyrics as editors write them: recognised, divided and combined in their own encoding, with
// TTD files that stay the same whatever the encoding of the lyrics.
#include "jobs/batchjobs.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

QByteArray Fixture(const QString& name)
{
    QFile file(QStringLiteral(KOVRANT_TEST_DATA "/files/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEncodings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dividesAndCombinesBack_data()
    {
        QTest::addColumn<QString>("lyrics");  // a fixture, divided
        QTest::addColumn<QString>("source");  // the fixture whose source lyrics are combined
        QTest::addColumn<QString>("sameTtd"); // a fixture whose TTD must be the same, byte for byte
        QTest::newRow("UTF-8 with a byte-order mark")
            << u"song-utf8bom"_s << u"song-utf8bom"_s << u"song-cp932"_s;
        QTest::newRow("UTF-16 LE") << u"song-utf16le"_s << u"song-utf16le"_s << u"song-cp932"_s;
        QTest::newRow("a TTD from code page 932 takes UTF-8 source lyrics")
            << u"song-cp932"_s << u"song-utf8"_s << u"song-utf8"_s;
        QTest::newRow("a TTD from UTF-8 takes code page 932 source lyrics")
            << u"song-utf8"_s << u"song-cp932"_s << u"song-cp932"_s;
        QTest::newRow("beyond code page 932: the CRC is taken over UTF-8")
            << u"song-emoji"_s << u"song-emoji"_s << u"song-emoji"_s;
    }

    // Divides both fixtures, combines the TTD of lyrics with the source lyrics of source, and
    // expects the source fixture back byte for byte.
    void dividesAndCombinesBack()
    {
        QFETCH(QString, lyrics);
        QFETCH(QString, source);
        QFETCH(QString, sameTtd);
        JobBench bench;
        JobSnapshot state = bench.settings(u"overwrite"_s);
        BatchResults results;
        for (const QString& name : QSet<QString>{lyrics, source, sameTtd}) {
            QFile file(bench.path(name + u".LRC"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Fixture(name + u".lrc"_s)) > 0);
            file.close();
            QVERIFY(BatchDivide({file.fileName()}, state, bench.context, results));
        }
        QCOMPARE(bench.read(lyrics + u".TTD"_s), bench.read(sameTtd + u".TTD"_s));
        QVERIFY(QFile::copy(bench.path(lyrics + u".TTD"_s), bench.path(u"x.TTD"_s)));
        QVERIFY(QFile::copy(bench.path(source + u".TXT"_s), bench.path(u"x.TXT"_s)));
        state.lyricsExtension = u".out"_s;
        QVERIFY(BatchCombine({bench.path(u"x.TTD"_s)}, state, bench.context, results));
        QCOMPARE(bench.read(u"x.out"_s), Fixture(source + u".lrc"_s));
    }

    void recognises_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cp932");       // read as code page 932 whatever the bytes
        QTest::addColumn<QString>("expected"); // "encoding:text", or "-" when refused
        QTest::newRow("valid UTF-8 that is also code page 932 is UTF-8")
            << Fixture(u"cp932-as-utf8.lrc"_s) << false
            << u"UTF-8:[00:01:00]±[00:02:00]ö\r\n\r\n"_s;
        QTest::newRow("unless code page 932 is asked for")
            << Fixture(u"cp932-as-utf8.lrc"_s) << true
            << u"CP932:[00:01:00]ﾂｱ[00:02:00]ﾃｶ\r\n\r\n"_s;
        QTest::newRow("ASCII alone is code page 932")
            << QByteArray("[00:01:00]a") << false << u"CP932:[00:01:00]a"_s;
        QTest::newRow("a second mark stays a character")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") << false << u"UTF-8 with BOM:\uFEFF"_s;
        QTest::newRow("UTF-16 BE")
            << QByteArray("\xFE\xFF\x30\x42", 4) << false << u"UTF-16BE:あ"_s;
        QTest::newRow("UTF-16 of an odd length is refused")
            << QByteArray("\xFF\xFE\x42\x30\x00", 5) << false << u"-"_s;
        QTest::newRow("a lone surrogate is refused")
            << QByteArray("\xFF\xFE\x00\xD8\x41\x00", 6) << false << u"-"_s;
        QTest::newRow("UTF-8 after its mark must be valid")
            << QByteArray("\xEF\xBB\xBF\x82\xA0") << false << u"-"_s;
        QTest::newRow("UTF-8 longer than a piece of the decoder, a character across its end")
            << u"あ"_s.repeated(2000).toUtf8() << false << u"UTF-8:"_s + u"あ"_s.repeated(2000);
        QTest::newRow("UTF-8 after its mark must not be cut short")
            << QByteArray("\xEF\xBB\xBF\x61\xE3\x81") << false << u"-"_s;
        QTest::newRow("code page 932 that would be UTF-8 cut short is code page 932")
            << QByteArray("abc\xE3\x81") << false << u"CP932:abc\u7E3A"_s;
    }

    void recognises()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cp932);
        QFETCH(QString, expected);
        QString text;
        TextEncoding encoding = TextEncoding::Cp932;
        const bool read =
            DecodeText(bytes, cp932 ? Recognition::Cp932 : Recognition::Automatic, text, encoding);
        QCOMPARE(read ? EncodingName(encoding) + u':' + text : u"-"_s, expected);
        if (read) { // and written back as it was
            QByteArray written;
            QVERIFY(EncodeText(text, encoding, written));
            QCOMPARE(written, bytes);
        }
    }
};

QTEST_GUILESS_MAIN(TestEncodings)
#include "tst_encodings.moc"
