// LRC and enhanced LRC, written from time-tagged lyrics and read back into them.
#include "core/lrcformat.h"
#include "lyricstesting.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestLrcFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void write_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("lrc");
        QTest::addColumn<QString>("enhanced");

        const QString headers = u"[ti:T]\n[ar:A]\n[al:B]\n@Ruby1=恋,こい\n@Title=a]b\n"_s;
        QTest::newRow("attributes at the top in their order, headers for keys in any case")
            << u"[00:01:00]あ[00:02:00]\n@title=T\n@ARTIST = A \n@Album=B\n@Ruby1=恋,こい\n"
               u"@TimeRatio=1\n@Title=a]b"_s
            << headers + u"[00:01.00]あ\n"_s << headers + u"[00:01.00]<00:01.00>あ<00:02.00>\n"_s;
        QTest::newRow("silences, text before the first tag, lines without time, empty lines")
            << u"まえ[00:01:00]ぞ[00:02:00][00:02:50]ら[00:03:00][00:03:10][00:03:20]\n\n歌詞"_s
            << u"[00:01.00]まえぞら\n\n歌詞\n"_s
            << u"[00:01.00]<00:01.00>まえぞ<00:02.00><00:02.50>ら<00:03.00><00:03.10><00:03.20>\n\n"
               u"歌詞\n"_s;
        QTest::newRow("what would read as a stamp or a header gets a marker")
            << u"[ti:x]\n[00:01:00][1:00.00]a<2:00>[00:02:00]<5<\n[x"_s
            << u"[\u200Bti:x]\n[00:01.00][\u200B1:00.00]a<\u200B2:00><\u200B5<\n[\u200Bx\n"_s
            << u"[\u200Bti:x]\n[00:01.00]<00:01.00>[\u200B1:00.00]a<\u200B2:00><00:02.00><\u200B5<"
               u"\n"
               u"[\u200Bx\n"_s;
        QTest::newRow("each time rounded once to centiseconds")
            << u"@TimeRatio=0.9953125\n[00:01:00]あ[00:10:00]"_s << u"[00:01.00]あ\n"_s
            << u"[00:01.00]<00:01.00>あ<00:10.05>\n"_s;
    }

    void write()
    {
        QFETCH(QString, tags);
        const TimingModel model = testing::Model(tags);
        QTEST(testing::Lf(WriteLrc(model, false)), "lrc");
        QTEST(testing::Lf(WriteLrc(model, true)), "enhanced");
    }

    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("tags");

        const auto ok = ResultCode::Ok;
        QTest::newRow("stamp forms; headers back and the others left out")
            << u"[ti:T]\n[by:me]\n[AR:A]\n[1:02]a\n[01:02.3]b\n[001:02.34]c\n[01:02.345]d\n"
               u"@TimeRatio=2\n@X=1"_s
            << ok
            << u"[01:02:00]a\n[01:02:30]b\n[01:02:34]c\n[01:02:34]d\n\n@Title=T\n@Artist=A\n@X=1\n"_s;
        QTest::newRow("the offset is taken off every time, wherever it stands; 0 at least")
            << u"[00:01.00]a\n[00:00.20]b\n[offset:+500]"_s << ok
            << u"[00:00:50]a\n[00:00:00]b\n\n"_s;
        QTest::newRow("a negative offset delays")
            << u"[offset: -250]\n[00:01.00]a"_s << ok << u"[00:01:25]a\n\n"_s;
        QTest::newRow("word stamps in <> and []; text ahead of them at the line's time")
            << u"[00:01.00]まえ<00:02.00>あ[00:03.00]い<00:02.50>う\n[00:04.00]<00:04.50>え"_s << ok
            << u"[00:01:00]まえ[00:02:00]あ[00:03:00]い[00:03:00]う\n[00:04:50]え\n\n"_s;
        QTest::newRow("a repeated line at each time, the lines then in the order of their times")
            << u"[00:05.00][00:01.00]サビ\n[00:03.00]A\n歌詞"_s << ok
            << u"[00:01:00]サビ\n[00:03:00]A\n歌詞\n[00:05:00]サビ\n\n"_s;
        QTest::newRow("empty lines at both ends go, lines without a stamp stay")
            << u"\uFEFF\n\n[00:01.00]a\n\nb\n\n"_s << ok << u"[00:01:00]a\n\nb\n\n"_s;
        QTest::newRow("no stamp") << u"[ti:T]\nあ\n[00:01:00]"_s << ResultCode::NoTimedLine;
        QTest::newRow("a time past 99:59.99 by the offset")
            << u"[offset:-10]\n[99:59.99]a"_s << ResultCode::TimeBeyondLimit;
        QTest::newRow("repeated lines many times the input")
            << u"[0:00]"_s.repeated(2000) + u"x"_s.repeated(2000) << ResultCode::FileTooLarge;
    }

    void read() { testing::CheckRead(ReadLrc); }
};

QTEST_GUILESS_MAIN(TestLrcFormat)
#include "tst_lrcformat.moc"
