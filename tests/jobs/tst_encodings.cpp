// Lyrics as editors write them: recognised, divided and combined in their own encoding, with
// TTD files that stay the same whatever the encoding of the lyrics.
#include "jobs/batchjobs.h"
#include "jobs/singlecombine.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

QByteArray Fixture(QLatin1StringView name)
{
    QFile file(QStringLiteral(KOVRANT_TEST_DATA "/files/") + name + u".lrc"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEncodings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recognises_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Recognition>("recognition");
        // "ENCODING:text", or "-ENCODING@OFFSET" for the first byte not valid in the encoding
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("other"); // the other reading as "ENCODING:text", or ""
        const auto row = [](const char* name, const QByteArray& bytes, const QString& expected,
                            const QString& other = {},
                            Recognition recognition = Recognition::Automatic) {
            QTest::newRow(name) << bytes << recognition << expected << other;
        };
        const QByteArray kana = Fixture("cp932-as-utf8"_L1);
        row("half-width katakana that are valid UTF-8 of two-byte sequences are code page 932",
            kana, u"CP932:[00:01:00]ﾂｱ[00:02:00]ﾃｶ\r\n\r\n"_s,
            u"UTF-8:[00:01:00]±[00:02:00]ö\r\n\r\n"_s);
        row("code page 932 is asked for: no second reading", kana,
            u"CP932:[00:01:00]ﾂｱ[00:02:00]ﾃｶ\r\n\r\n"_s, {}, Recognition::Cp932);
        row("UTF-8 is asked for: two-byte sequences are UTF-8", "\xC3\xA8", u"UTF-8:è"_s, {},
            Recognition::Utf8);
        row("UTF-8 asked for still follows a UTF-16 mark", QByteArray("\xFF\xFE\x42\x30", 4),
            u"UTF-16LE:あ"_s, {}, Recognition::Utf8);
        row("UTF-8 asked for must be valid", "ab\xC3", u"-UTF-8@2"_s, {}, Recognition::Utf8);
        row("a sequence of three bytes makes UTF-8; code page 932 reads it too", "\xE3\x81\xB1",
            u"UTF-8:ぱ"_s, u"CP932:縺ｱ"_s);
        row("a TTD without a mark is code page 932 even then", "\xE3\x81\xB1", u"CP932:縺ｱ"_s, {},
            Recognition::MarkElseCp932);
        row("a TTD with a mark follows it", "\xEF\xBB\xBF\xE3\x81\xB1", u"UTF-8 with BOM:ぱ"_s, {},
            Recognition::MarkElseCp932);
        row("valid UTF-8 of two-byte sequences that is no code page 932 is UTF-8", "\xC4\x81\r\n",
            u"UTF-8:ā\r\n"_s);
        row("ASCII alone is code page 932", "[00:01:00]a", u"CP932:[00:01:00]a"_s);
        row("a second mark stays a character", "\xEF\xBB\xBF\xEF\xBB\xBF",
            u"UTF-8 with BOM:\uFEFF"_s);
        row("UTF-16 BE", QByteArray("\xFE\xFF\x30\x42", 4), u"UTF-16BE:あ"_s);
        row("UTF-16 of an odd length: its last byte", QByteArray("\xFF\xFE\x42\x30\x00", 5),
            u"-UTF-16LE@4"_s);
        row("a lone surrogate: where it stands", QByteArray("\xFF\xFE\x41\x00\x00\xD8\x41\x00", 8),
            u"-UTF-16LE@4"_s);
        row("UTF-8 after its mark must be valid: an overlong form", "\xEF\xBB\xBF\x61\xC0\x80",
            u"-UTF-8 with BOM@4"_s);
        row("UTF-8 after its mark must not be cut short", "\xEF\xBB\xBF\x61\xE3\x81",
            u"-UTF-8 with BOM@4"_s);
        row("a code page 932 lead byte without its trail", "abc\r\n\x82", u"-CP932@5"_s);
        row("neither: named after the reading that gets further",
            "\xE3\x81\x86\xE3\x81\x86\xE3\x81\x86\x82", u"-UTF-8@9"_s);
        row("UTF-8 longer than a chunk of the encoder, a character across its end",
            u"う"_s.repeated(20000).toUtf8(), u"UTF-8:"_s + u"う"_s.repeated(20000));
        row("code page 932 that would be UTF-8 cut short is code page 932", "abc\xE3\x81",
            u"CP932:abc\u7E3A"_s);
    }

    void recognises()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Recognition, recognition);
        QString text;
        TextEncoding encoding = TextEncoding::Cp932;
        DecodeFailure failure;
        const bool read = DecodeText(bytes, recognition, text, encoding, &failure);
        QTEST(read ? EncodingName(encoding) + u':' + text
                   : u"-%1@%2"_s.arg(EncodingName(failure.encoding)).arg(failure.offset),
              "expected");
        if (!read)
            return;
        QByteArray written; // and written back as it was
        QVERIFY(EncodeText(text, encoding, written));
        QCOMPARE(written, bytes);
        QString otherText;
        TextEncoding otherEncoding = TextEncoding::Cp932;
        const bool hasOther =
            DecodeOtherReading(bytes, recognition, encoding, otherText, otherEncoding);
        QTEST(hasOther ? EncodingName(otherEncoding) + u':' + otherText : QString(), "other");
    }

    void roundTrips_data()
    {
        QTest::addColumn<QByteArray>("first");  // divided as meant
        QTest::addColumn<QByteArray>("lyrics"); // divided as divideAs; as a combine writes them
        QTest::addColumn<Recognition>("meant");
        QTest::addColumn<Recognition>("divideAs");
        const auto row = [](const char* name, const QByteArray& lyrics,
                            Recognition meant = Recognition::Cp932,
                            Recognition divideAs = Recognition::Automatic) {
            QTest::newRow(name) << lyrics << lyrics << meant << divideAs;
        };
        const auto fixtures = [](const char* name, QLatin1StringView first,
                                 QLatin1StringView lyrics) {
            QTest::newRow(name) << Fixture(first) << Fixture(lyrics) << Recognition::Automatic
                                << Recognition::Automatic;
        };
        fixtures("UTF-8 with a byte-order mark", "song-cp932"_L1, "song-utf8bom"_L1);
        fixtures("UTF-16 LE", "song-cp932"_L1, "song-utf16le"_L1);
        fixtures("a TTD from code page 932 takes UTF-8 source lyrics", "song-cp932"_L1,
                 "song-utf8"_L1);
        fixtures("a TTD from UTF-8 takes code page 932 source lyrics", "song-utf8"_L1,
                 "song-cp932"_L1);
        fixtures("beyond code page 932: the CRC is taken over UTF-8", "song-emoji"_L1,
                 "song-emoji"_L1);
        row("half-width katakana that read as UTF-8 'è'", "[00:01:00]\xC3\xA8[00:02:00]\r\n\r\n");
        row("a tag between the two halves of that 'è'",
            "[00:01:00]\xC3[00:01:50]\xA8[00:02:00]\r\n\r\n");
        row("an attribute in half-width katakana beside kanji",
            "[00:01:00]\x96\xE9\x8B\xF3[00:02:00]\r\n\r\n@Artist=\xD5\xB7 \xD0\xB6\r\n");
        row("an attribute whose code page 932 reads as UTF-8 kana",
            "[00:01:00]\x96\xE9[00:02:00]\r\n\r\n@Title=\xE3\x81\xB1\r\n");
        row("UTF-8 kana that code page 932 reads as well: the CRC proves UTF-8",
            u"[00:01:00]ぱ[00:02:00]\r\n\r\n"_s.toUtf8(), Recognition::Utf8);
        row("code page 932 that reads as UTF-8 kana, divided as asked: the tags tell",
            "[00:01:00]\xE3\x81[00:01:50]\xB1[00:02:00]\r\n\r\n", Recognition::Cp932,
            Recognition::Cp932);
    }

    // Divides first and lyrics, each in the encoding given, into the same TTD, and combines it with
    // the source lyrics of lyrics, recognised automatically, in a batch and in the single combine:
    // both give back lyrics byte for byte, every tag where it stood.
    void roundTrips()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, lyrics);
        QFETCH(Recognition, meant);
        QFETCH(Recognition, divideAs);
        JobBench bench;
        JobSnapshot state = bench.settings(u"same overwrite"_s);
        BatchResults results;
        QByteArrayList ttds;
        for (const auto& [bytes, recognition] : {std::pair{first, meant}, {lyrics, divideAs}}) {
            QFile file(bench.path(u"song.LRC"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            state.recognition = recognition;
            bench.context.writtenThisRun.clear(); // each divide a run of its own
            QVERIFY(BatchDivide({file.fileName()}, state, bench.context, results));
            QVERIFY(QFile::remove(file.fileName()));
            ttds << bench.read(u"song.TTD"_s);
        }
        QCOMPARE(ttds.last(), ttds.first());
        state.recognition = Recognition::Automatic;
        QVERIFY(BatchCombine({bench.path(u"song.TTD"_s)}, state, bench.context, results));
        QCOMPARE(bench.read(u"song.LRC"_s), lyrics);
        QVERIFY(QFile::remove(bench.path(u"song.LRC"_s)));
        QCOMPARE(SingleCombine(state, bench.context), SingleCombineOutcome::Written);
        QCOMPARE(bench.read(u"song.LRC"_s), lyrics);
    }

    void encodesInPieces_data()
    {
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::newRow("code page 932") << TextEncoding::Cp932 << u"歌aｶ"_s.repeated(9000);
        QTest::newRow("UTF-16, surrogate pairs") << TextEncoding::Utf16Be << u"🌟x"_s.repeated(9000);
    }

    // Pieces of any length, surrogate pairs split between them, give the bytes of the whole.
    void encodesInPieces()
    {
        QFETCH(TextEncoding, encoding);
        QFETCH(QString, text);
        QByteArray whole;
        QVERIFY(EncodeText(text, encoding, whole));
        for (const qsizetype piece : {1, 16383, 40000}) {
            PieceEncoder encoder(encoding);
            for (qsizetype at = 0; at < text.size(); at += piece)
                QVERIFY(encoder.append(
                    QStringView(text).sliced(at).first(std::min(piece, text.size() - at))));
            QVERIFY(encoder.finish());
            QCOMPARE(encoder.takeBytes(), whole);
        }
    }
};

QTEST_GUILESS_MAIN(TestEncodings)
#include "tst_encodings.moc"
