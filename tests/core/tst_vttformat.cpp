// WebVTT, written from time-tagged lyrics and read back into them.
#include "core/vttformat.h"
#include "lyricstesting.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestVttFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void write_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("vtt");

        QTest::newRow("attributes in a note; an end tag ends the cue, else the next start does")
            << u"[00:01:00]ぞ[00:02:00][00:02:50]ら[00:03:00]\n[00:04:00]あ[00:05:00]い\n"
               u"@Title=T\n@TimeRatio=1"_s
            << u"WEBVTT\n\nNOTE\n@Title=T\n\n00:00:01.000 --> 00:00:03.000\n"
               u"ぞ<00:00:02.000><00:00:02.500>ら\n\n00:00:04.000 --> 00:00:07.000\n"
               u"あ<00:00:05.000>い\n"_s;
        QTest::newRow("an end tag where the implicit end would be is stamped after the text")
            << u"[00:01:00]あ[00:02:00]\n[00:02:00]い[00:02:50][00:04:50]"_s
            << u"WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nあ<00:00:02.000>\n\n"
               u"00:00:02.000 --> 00:00:04.500\nい<00:00:02.500><00:00:04.500>\n"_s;
        QTest::newRow("no going back: a line that starts early keeps its own last start")
            << u"[00:05:00]あ[00:06:00]い\n[00:01:00]う"_s
            << u"WEBVTT\n\n00:00:05.000 --> 00:00:06.000\nあ<00:00:06.000>い\n\n"
               u"00:00:01.000 --> 00:00:03.000\nう\n"_s;
        QTest::newRow("references, lines without time and empty lines as notes, a line of tags")
            << u"まえ[00:01:00]a&b<c>--> \n歌詞 <i>\n\n[00:02:00][00:02:50]"_s
            << u"WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nまえa&amp;b&lt;c&gt;--&gt; \n\n"
               u"NOTE 歌詞 &lt;i&gt;\n\nNOTE\n\n00:00:02.000 --> 00:00:02.500\n\n"_s;
        QTest::newRow("milliseconds rounded once")
            << u"@TimeRatio=0.9953125\n[00:01:00]あ[00:10:00]"_s
            << u"WEBVTT\n\n00:00:01.005 --> 00:00:10.047\nあ\n"_s;
    }

    void write()
    {
        QFETCH(QString, tags);
        QTEST(WriteVtt(testing::Model(tags)), "vtt");
    }

    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("tags");

        const auto ok = ResultCode::Ok;
        QTest::newRow("header lines, identifiers, settings, short stamps, lines joined")
            << u"\uFEFFWEBVTT - 歌\r\nKind: captions\r\n\r\nSTYLE\r\n::cue {}\r\n\r\nid1\r\n"
               u"00:01.000 --> 00:02.000 align:start\r\nあ<00:01.500>い\r\nう\r\n"_s
            << ok << u"[00:01:00]あ[00:01:50]い う[00:02:00]\n\n"_s;
        QTest::newRow("markup and ruby text left out, references decoded, text that reads as a tag")
            << u"WEBVTT\n\n00:00:01.000 --> 00:00:04.000\n<v 歌手><c.x>漢<ruby>字<rt>じ</rt></ruby>"
               u"</c>&amp;&lt;&#x41;&#66;&nbsp;&bogus;&#0;[00:09:00]\n"_s
            << ok << u"[00:01:00]漢字&<AB\u00A0&bogus;&#0;[\u200B00:09:00][00:04:00]\n\n"_s;
        QTest::newRow("notes: attributes, lines without time, empty lines; bad cues skipped")
            << u"WEBVTT\n\nNOTE\n@Title=T\n@TimeRatio=2\n\nNOTE 歌&amp;詞\n\nNOTE\n\n"
               u"00:00:61.000 --> 00:00:62.000\nx\n\n1:02.000 --> 1:03.000\nx\n\n00:03.00 --> "
               u"00:04.000\nx\n\n"
               u"00:00:01.000 --> 00:00:02.000\nあ\n00:00:02.000 --> 00:00:04.000\nい"_s
            << ok << u"歌&詞\n\n[00:01:00]あ\n[00:02:00]い\n\n@Title=T\n"_s;
        QTest::newRow("a stamp past the cue's end, an earlier one at the time before")
            << u"WEBVTT\n\n00:00:02.000 --> 00:00:03.000\nあ<00:00:04.000>い<00:00:01.000>う"_s
            << ok << u"[00:02:00]あ[00:04:00]い[00:04:00]う[00:04:00]\n\n"_s;
        QTest::newRow("no header")
            << u"WEBVTTX\n\n00:00:01.000 --> 00:00:02.000\nあ"_s << ResultCode::UnknownLyricsFormat;
        QTest::newRow("no valid cue")
            << u"WEBVTT\n\nNOTE x\n\n00:00:01.000 -> 00:00:02.000\nあ"_s << ResultCode::NoTimedLine;
        QTest::newRow("a time past 99:59.99")
            << u"WEBVTT\n\n01:40:00.000 --> 01:40:01.000\nあ"_s << ResultCode::TimeBeyondLimit;
    }

    void read() { testing::CheckRead(ReadVtt); }
};

QTEST_GUILESS_MAIN(TestVttFormat)
#include "tst_vttformat.moc"
