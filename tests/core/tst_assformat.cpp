// ASS karaoke, written from time-tagged lyrics, read back into them, and read by libass.
#include "core/assformat.h"
#include "core/lyricsconversion.h"
#include "lyricstesting.h"

#include <QtTest>

#include <ass/ass.h>
#include <memory>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

const QString Info = u"[Script Info]\n"_s;
const QString Events = u"[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, "
                       u"MarginV, Effect, Text\n"_s;

} // namespace

class TestAssFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The whole file once: head, style, the end rules, escapes and lines without time.
    void writeAndReadBack()
    {
        const QString tags = u"[00:01:00]あ{b}\\N[00:01:50][00:02:00]い\\[00:03:00]\n歌詞\n\n"
                             u"[00:03:00]う[00:05:00]\n\n@Title=T\n@Artist=A\n"_s;
        const QString ass = WriteAss(testing::Model(tags));
        QCOMPARE(testing::Lf(ass),
                 u"[Script Info]\nScriptType: v4.00+\nTitle: T\n; @Artist=A\nPlayResX: 1280\n"
                 u"PlayResY: 720\nWrapStyle: 0\nScaledBorderAndShadow: yes\n\n[V4+ Styles]\n"
                 u"Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
                 u"OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, "
                 u"Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
                 u"MarginV, Encoding\nStyle: Default,IPAGothic,56,&H00FF8000,&H00FFFFFF,"
                 u"&H00000000,&H80000000,0,0,0,0,100,100,0,0,1,3,1,2,60,60,50,1\n\n"_s +
                     Events +
                     u"Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,{\\kf50}あ\\{{}b}\\\u200BN"
                     u"{\\kf50}{\\kf100}い\\\u200B{\\kf0}\n"
                     u"Comment: 0,0:00:00.00,0:00:00.00,Default,,0,0,0,,歌詞\n"
                     u"Comment: 0,0:00:00.00,0:00:00.00,Default,,0,0,0,,\n"
                     u"Dialogue: 0,0:00:03.00,0:00:05.00,Default,,0,0,0,,{\\kf200}う{\\kf0}\n"_s);
        TimingModel back;
        ResultCode code = ResultCode::Ok;
        QVERIFY(ReadAss(ass, back, code));
        QCOMPARE(testing::Lf(WriteTimeTaggedLyrics(back)), tags);
    }

    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("tags");

        const auto ok = ResultCode::Ok;
        QTest::newRow("every karaoke tag; text ahead of the first, other tags and escapes")
            << Info + u"Title: 歌\n; @X=1\n; a comment\n[V4+ Styles]\nTitle: not this\n"_s +
                   Events +
                   u"Dialogue: 0,0:00:01.00,0:00:09.00,Default,,0,0,0,,まえ{\\k50\\b1}あ{\\K30}い"
                   u"{\\kf20\\kt10}う{\\ko-5}{\\fs20}え\\Nお\\hか{x"_s
            << ok
            << u"[00:01:00]まえあ[00:01:50]い[00:01:80]う[00:02:00]え お\u00A0か{x[00:02:00]\n\n"
               u"@Title=歌\n@X=1\n"_s;
        QTest::newRow("without karaoke End ends; comments without an effect; another format")
            << Info + u"[Events]\nFormat: Start, End, Effect, Text\n"
                      u"Comment: 0:00:00.00,0:00:00.00,,歌詞\n"
                      u"Comment: 0:00:00.00,0:00:00.00,template syl,{\\k1}x\n"
                      u"Dialogue: 0:00:01.00,0:00:03.00,,a, b\nDialogue:0:00:05.00,0:00:06.00,,c"_s
            << ok << u"歌詞\n[00:01:00]a, b[00:03:00]\n[00:05:00]c[00:06:00]\n\n"_s;
        QTest::newRow("no events section") << Info + u"Title: x"_s << ResultCode::InvalidAss;
        QTest::newRow("a time not H:MM:SS.CC")
            << Events + u"Dialogue: 0,0:00:01.0,0:00:02.00,Default,,0,0,0,,a"_s
            << ResultCode::InvalidAss;
        QTest::newRow("a Dialogue with too few fields")
            << Events + u"Dialogue: 0,0:00:01.00"_s << ResultCode::InvalidAss;
        QTest::newRow("a format whose last field is not Text")
            << u"[Events]\nFormat: Start, Text, End\n"_s << ResultCode::InvalidAss;
        QTest::newRow("no Dialogue")
            << Events + u"Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a"_s
            << ResultCode::NoTimedLine;
        QTest::newRow("a time past 99:59.99")
            << Events + u"Dialogue: 0,1:40:00.00,1:40:01.00,Default,,0,0,0,,a"_s
            << ResultCode::TimeBeyondLimit;
    }

    void read() { testing::CheckRead(ReadAss); }

    // libass finds one event per timed line, starting at its first tag and lasting to its end
    // tag, or else to the next line's start, or for the last line two seconds past its last tag.
    void libassReadsEveryTimedLine()
    {
        const std::unique_ptr<ASS_Library, void (*)(ASS_Library*)> library(ass_library_init(),
                                                                           ass_library_done);
        ass_set_message_cb(
            library.get(), [](int, const char*, va_list, void*) {}, nullptr);
        testing::LyricsGenerator generator;
        for (int i = 0; i < 200; ++i) {
            const QString tags = generator.lyrics();
            QString ass;
            ResultCode code = ResultCode::Ok;
            QVERIFY(ConvertLyrics(tags, LyricsFormat::Ass, {}, ass, code));
            QByteArray bytes = ass.toUtf8();
            const std::unique_ptr<ASS_Track, void (*)(ASS_Track*)> track(
                ass_read_memory(library.get(), bytes.data(), std::size_t(bytes.size()), nullptr),
                ass_free_track);
            QVERIFY(track);
            const TimingModel model = testing::Model(tags);
            std::vector<std::pair<qint64, qint64>> expected; // start, last tag
            std::vector<bool> ended;
            for (const TimingLine& line : model.lines) {
                const auto points = model.pointsOf(line);
                if (points.empty())
                    continue;
                expected.emplace_back(qint64(points.front().ms), qint64(points.back().ms));
                ended.push_back(points.size() > 1 && points.back().column == line.textLength);
            }
            QCOMPARE(track->n_events, int(expected.size()));
            for (std::size_t e = 0; e < expected.size(); ++e) {
                const auto [start, last] = expected[e];
                const qint64 end = ended[e]                  ? last
                                   : e + 1 < expected.size() ? std::max(expected[e + 1].first, last)
                                                             : last + 2000;
                QCOMPARE(track->events[e].Start, start);
                QCOMPARE(track->events[e].Duration, end - start);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAssFormat)
#include "tst_assformat.moc"
