// Time-tagged lyrics and the formats that players read: the timing model read from the lyrics
// and the rounding every format writes with; LRC, enhanced LRC, WebVTT and ASS written and read
// back, ASS also by libass; which format a text is, what a conversion refuses, the shift, and the
// round trips through every format.
#include "core/assformat.h"
#include "core/divide.h"
#include "core/lines.h"
#include "core/lrcformat.h"
#include "core/lyricsconversion.h"
#include "core/timing.h"
#include "core/vttformat.h"
#include "lyricsgenerator.h"

#include <QtTest>

#include <ass/ass.h>
#include <memory>
#include <optional>

using namespace kovrant;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<kovrant::LyricsFormat>)

namespace {

QString Lf(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s);
}

// The model of time-tagged lyrics that a test takes as read.
TimingModel Model(const QString& tags)
{
    TimingModel model;
    ResultCode code = ResultCode::Ok;
    if (!ReadTimeTaggedLyrics(tags, 0, model, code))
        qFatal("test lyrics that do not read");
    return model;
}

using Reader = bool (*)(QStringView, TimingModel&, ResultCode&);

// Each line's text with "{ms}" at its points, lines joined by "/", then the attributes.
QString Describe(const TimingModel& model)
{
    QStringList lines;
    for (const TimingLine& line : model.lines) {
        QString text = model.textOf(line).toString();
        const auto points = model.pointsOf(line);
        for (auto point = points.rbegin(); point != points.rend(); ++point)
            text.insert(point->column, u'{' + QString::number(point->ms, 'g', 10) + u'}');
        lines << text;
    }
    return lines.join(u'/') + u" | "_s + model.attributes.join(u',');
}

// The body lines of time-tagged lyrics as Divide counts them.
QStringList Body(QStringView tags)
{
    std::vector<QStringView> body;
    for (const QStringView line : SplitLines(tags)) {
        if (!IsAttributeLine(line))
            body.push_back(line);
    }
    QStringList lines;
    for (const QStringView line : WithoutEmptyEnds(body))
        lines << line.toString();
    return lines;
}

const QString Info = u"[Script Info]\n"_s;
const QString Events = u"[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, "
                       u"MarginV, Effect, Text\n"_s;

} // namespace

class TestLyricsConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readTimeTags_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<qint32>("shiftMs");
        QTest::addColumn<QString>("model"); // empty: fails with NoTimeTagToConvert

        QTest::newRow("syllables, a silence between two tags, a tag at the end")
            << u"[00:01:00]あ[00:01:50][00:02:00]い[00:03:00]"_s << 0
            << u"{1000}あ{1500}{2000}い{3000} | "_s;
        QTest::newRow("a group of three keeps its middle tag as a second silence")
            << u"[00:01:00]あ[00:01:50][00:01:70][00:02:00]い"_s << 0
            << u"{1000}あ{1500}{1700}{2000}い | "_s;
        QTest::newRow("text before the first tag, lines without tags and empty lines stay")
            << u"\r\n@Title=x\nまえ[00:01:00]あ\r\r歌詞\n\n"_s << 0
            << u"まえ{1000}あ//歌詞 | @Title=x"_s;
        QTest::newRow("the last usable ratio divides; unusable ones stay attributes")
            << u"@TimeRatio=2\n[00:01:00]あ\n@TimeRatio=0.5\n@TimeRatio=0\n@timeratio = x"_s << 0
            << u"{2000}あ | @TimeRatio=0,@timeratio = x"_s;
        QTest::newRow("a ratio not 1 leaves fractions for the formats to round")
            << u"@TIMERATIO = 0.9953125\n[00:01:00]あ"_s << 0 << u"{1004.709576}あ | "_s;
        QTest::newRow("a negative ratio sends every time to 0")
            << u"@TimeRatio=-1\n[00:01:00]あ"_s << 0 << u"{0}あ | "_s;
        QTest::newRow("the shift is added; times stay within 0 and 99:59.99")
            << u"[00:01:00]あ[00:02:00]い[99:99:99]"_s << -1500 << u"{0}あ{500}い{5999990} | "_s;
        QTest::newRow("a tag earlier than the one before takes that one's time")
            << u"[00:05:00]あ[00:03:00]い\n[00:01:00]う"_s << 0
            << u"{5000}あ{5000}い/{1000}う | "_s;
        QTest::newRow("no tag; a tag in an attribute line is none")
            << u"あ\n@A=[00:01:00]\n[0:01:00]"_s << 0 << QString();
        QTest::newRow("nothing") << QString() << 0 << QString();
    }

    void readTimeTags()
    {
        QFETCH(QString, input);
        QFETCH(qint32, shiftMs);
        QFETCH(QString, model);
        TimingModel read;
        read.attributes << u"untouched"_s;
        ResultCode code = ResultCode::Ok;
        QCOMPARE(ReadTimeTaggedLyrics(input, shiftMs, read, code), !model.isEmpty());
        QCOMPARE(code, model.isEmpty() ? ResultCode::NoTimeTagToConvert : ResultCode::Ok);
        QCOMPARE(Describe(read), model.isEmpty() ? u" | untouched"_s : model);
    }

    void toUnits_data()
    {
        QTest::addColumn<double>("ms");
        QTest::addColumn<qint32>("unitMs");
        QTest::addColumn<qint64>("units");

        QTest::newRow("whole milliseconds: a half goes to the even neighbour, down")
            << 1005.0 << 10 << qint64(100);
        QTest::newRow("whole milliseconds: a half goes to the even neighbour, up")
            << 1015.0 << 10 << qint64(102);
        QTest::newRow("whole milliseconds: more than a half goes up")
            << 1016.0 << 10 << qint64(102);
        QTest::newRow("a fraction rounded to centiseconds") << 1004.7096 << 10 << qint64(100);
        QTest::newRow("a fraction rounded to milliseconds") << 1004.7096 << 1 << qint64(1005);
        QTest::newRow("binary noise above a half is read at 15 digits, a half")
            << 2.5000000000000004 << 1 << qint64(2);
    }

    void toUnits()
    {
        QFETCH(double, ms);
        QFETCH(qint32, unitMs);
        QTEST(ToUnits(ms, unitMs), "units");
    }

    void writeLrc_data()
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

    void writeLrc()
    {
        QFETCH(QString, tags);
        const TimingModel model = Model(tags);
        QTEST(Lf(WriteLrc(model, false)), "lrc");
        QTEST(Lf(WriteLrc(model, true)), "enhanced");
    }

    void writeVtt_data()
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

    void writeVtt()
    {
        QFETCH(QString, tags);
        QTEST(WriteVtt(Model(tags)), "vtt");
    }

    // The whole file once: head, style, the end rules, escapes and lines without time.
    void writeAssAndReadBack()
    {
        const QString tags = u"[00:01:00]あ{b}\\N[00:01:50][00:02:00]い\\[00:03:00]\n歌詞\n\n"
                             u"[00:03:00]う[00:05:00]\n\n@Title=T\n@Artist=A\n"_s;
        const QString ass = WriteAss(Model(tags));
        QCOMPARE(Lf(ass),
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
        QCOMPARE(Lf(WriteTimeTaggedLyrics(back)), tags);
    }

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
            const TimingModel model = Model(tags);
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

    // Each format read back into time-tagged lyrics, compared as written with LF; a failure
    // leaves the model as it was.
    void read_data()
    {
        QTest::addColumn<Reader>("reader");
        QTest::addColumn<QString>("text");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("tags");
        const auto rows = [](Reader reader, const char* format) {
            return [=](const char* name) -> QTestData& {
                return QTest::addRow("%s: %s", format, name) << reader;
            };
        };
        const auto lrc = rows(ReadLrc, "LRC"), vtt = rows(ReadVtt, "WebVTT"),
                   ass = rows(ReadAss, "ASS");
        const auto ok = ResultCode::Ok;
        lrc("stamp forms; headers back and the others left out")
            << u"[ti:T]\n[by:me]\n[AR:A]\n[1:02]a\n[01:02.3]b\n[001:02.34]c\n[01:02.345]d\n"
               u"@TimeRatio=2\n@X=1"_s
            << ok
            << u"[01:02:00]a\n[01:02:30]b\n[01:02:34]c\n[01:02:34]d\n\n@Title=T\n@Artist=A\n@X=1\n"_s;
        lrc("the offset is taken off every time, wherever it stands; 0 at least")
            << u"[00:01.00]a\n[00:00.20]b\n[offset:+500]"_s << ok
            << u"[00:00:50]a\n[00:00:00]b\n\n"_s;
        lrc("a negative offset delays")
            << u"[offset: -250]\n[00:01.00]a"_s << ok << u"[00:01:25]a\n\n"_s;
        lrc("word stamps in <> and []; text ahead of them at the line's time")
            << u"[00:01.00]まえ<00:02.00>あ[00:03.00]い<00:02.50>う\n[00:04.00]<00:04.50>え"_s << ok
            << u"[00:01:00]まえ[00:02:00]あ[00:03:00]い[00:03:00]う\n[00:04:50]え\n\n"_s;
        lrc("a repeated line at each time, the lines then in the order of their times")
            << u"[00:05.00][00:01.00]サビ\n[00:03.00]A\n歌詞"_s << ok
            << u"[00:01:00]サビ\n[00:03:00]A\n歌詞\n[00:05:00]サビ\n\n"_s;
        lrc("empty lines at both ends go, lines without a stamp stay")
            << u"\uFEFF\n\n[00:01.00]a\n\nb\n\n"_s << ok << u"[00:01:00]a\n\nb\n\n"_s;
        lrc("no stamp") << u"[ti:T]\nあ\n[00:01:00]"_s << ResultCode::NoTimedLine;
        lrc("a time past 99:59.99 by the offset")
            << u"[offset:-10]\n[99:59.99]a"_s << ResultCode::TimeBeyondLimit;
        lrc("repeated lines many times the input")
            << u"[0:00]"_s.repeated(2000) + u"x"_s.repeated(2000) << ResultCode::FileTooLarge;
        vtt("header lines, identifiers, settings, short stamps, lines joined")
            << u"\uFEFFWEBVTT - 歌\r\nKind: captions\r\n\r\nSTYLE\r\n::cue {}\r\n\r\nid1\r\n"
               u"00:01.000 --> 00:02.000 align:start\r\nあ<00:01.500>い\r\nう\r\n"_s
            << ok << u"[00:01:00]あ[00:01:50]い う[00:02:00]\n\n"_s;
        vtt("markup and ruby text left out, references decoded, text that reads as a tag")
            << u"WEBVTT\n\n00:00:01.000 --> 00:00:04.000\n<v 歌手><c.x>漢<ruby>字<rt>じ</rt></ruby>"
               u"</c>&amp;&lt;&#x41;&#66;&nbsp;&bogus;&#0;[00:09:00]\n"_s
            << ok << u"[00:01:00]漢字&<AB\u00A0&bogus;&#0;[\u200B00:09:00][00:04:00]\n\n"_s;
        vtt("notes: attributes, lines without time, empty lines; bad cues skipped")
            << u"WEBVTT\n\nNOTE\n@Title=T\n@TimeRatio=2\n\nNOTE 歌&amp;詞\n\nNOTE\n\n"
               u"00:00:61.000 --> 00:00:62.000\nx\n\n1:02.000 --> 1:03.000\nx\n\n00:03.00 --> "
               u"00:04.000\nx\n\n"
               u"00:00:01.000 --> 00:00:02.000\nあ\n00:00:02.000 --> 00:00:04.000\nい"_s
            << ok << u"歌&詞\n\n[00:01:00]あ\n[00:02:00]い\n\n@Title=T\n"_s;
        vtt("a stamp past the cue's end, an earlier one at the time before")
            << u"WEBVTT\n\n00:00:02.000 --> 00:00:03.000\nあ<00:00:04.000>い<00:00:01.000>う"_s
            << ok << u"[00:02:00]あ[00:04:00]い[00:04:00]う[00:04:00]\n\n"_s;
        vtt("no header") << u"WEBVTTX\n\n00:00:01.000 --> 00:00:02.000\nあ"_s
                         << ResultCode::UnknownLyricsFormat;
        vtt("no valid cue") << u"WEBVTT\n\nNOTE x\n\n00:00:01.000 -> 00:00:02.000\nあ"_s
                            << ResultCode::NoTimedLine;
        vtt("a time past 99:59.99")
            << u"WEBVTT\n\n01:40:00.000 --> 01:40:01.000\nあ"_s << ResultCode::TimeBeyondLimit;
        ass("every karaoke tag; text ahead of the first, other tags and escapes")
            << Info + u"Title: 歌\n; @X=1\n; a comment\n[V4+ Styles]\nTitle: not this\n"_s +
                   Events +
                   u"Dialogue: 0,0:00:01.00,0:00:09.00,Default,,0,0,0,,まえ{\\k50\\b1}あ{\\K30}い"
                   u"{\\kf20\\kt10}う{\\ko-5}{\\fs20}え\\Nお\\hか{x"_s
            << ok
            << u"[00:01:00]まえあ[00:01:50]い[00:01:80]う[00:02:00]え お\u00A0か{x[00:02:00]\n\n"
               u"@Title=歌\n@X=1\n"_s;
        ass("without karaoke End ends; comments without an effect; another format")
            << Info + u"[Events]\nFormat: Start, End, Effect, Text\n"
                      u"Comment: 0:00:00.00,0:00:00.00,,歌詞\n"
                      u"Comment: 0:00:00.00,0:00:00.00,template syl,{\\k1}x\n"
                      u"Dialogue: 0:00:01.00,0:00:03.00,,a, b\nDialogue:0:00:05.00,0:00:06.00,,c"_s
            << ok << u"歌詞\n[00:01:00]a, b[00:03:00]\n[00:05:00]c[00:06:00]\n\n"_s;
        ass("no events section") << Info + u"Title: x"_s << ResultCode::InvalidAss;
        ass("a time not H:MM:SS.CC")
            << Events + u"Dialogue: 0,0:00:01.0,0:00:02.00,Default,,0,0,0,,a"_s
            << ResultCode::InvalidAss;
        ass("a Dialogue with too few fields")
            << Events + u"Dialogue: 0,0:00:01.00"_s << ResultCode::InvalidAss;
        ass("a format whose last field is not Text")
            << u"[Events]\nFormat: Start, Text, End\n"_s << ResultCode::InvalidAss;
        ass("no Dialogue") << Events + u"Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a"_s
                           << ResultCode::NoTimedLine;
        ass("a time past 99:59.99")
            << Events + u"Dialogue: 0,1:40:00.00,1:40:01.00,Default,,0,0,0,,a"_s
            << ResultCode::TimeBeyondLimit;
    }

    void read()
    {
        QFETCH(Reader, reader);
        QFETCH(QString, text);
        QFETCH(ResultCode, code);
        TimingModel model;
        model.attributes << u"untouched"_s;
        ResultCode got = ResultCode::Ok;
        QCOMPARE(reader(text, model, got), code == ResultCode::Ok);
        QCOMPARE(got, code);
        if (code == ResultCode::Ok)
            QTEST(Lf(WriteTimeTaggedLyrics(model)), "tags");
        else
            QCOMPARE(model.attributes, QStringList{u"untouched"_s});
    }

    void recognise_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<LyricsFormat>>("format");

        const std::optional<LyricsFormat> none;
        QTest::newRow("WebVTT by its header, after a byte-order mark")
            << u"\uFEFFWEBVTT\n\n00:01.000 --> 00:02.000\n[00:01:00]"_s
            << std::optional(LyricsFormat::WebVtt);
        QTest::newRow("a header word that runs on is none") << u"WEBVTTX"_s << none;
        QTest::newRow("ASS by its first line that is not empty")
            << u"\r\n [script info] \n[00:01:00]"_s << std::optional(LyricsFormat::Ass);
        QTest::newRow("Script Info further down is none") << u"x\n[Script Info]"_s << none;
        QTest::newRow("time-tagged lyrics by a tag, LRC stamps or not")
            << u"[00:01.00]a\n[00:01:00]b"_s << std::optional(LyricsFormat::Tags);
        QTest::newRow("LRC by a line that begins with a stamp; a tag in an attribute is none")
            << u"@A=[00:01:00]\n[ti:x]\n[1:00]a"_s << std::optional(LyricsFormat::Lrc);
        QTest::newRow("enhanced LRC by a word stamp")
            << u"[00:01.00]a\n[00:02.00]<00:02.00>b"_s << std::optional(LyricsFormat::EnhancedLrc);
        QTest::newRow("a stamp not at the head of a line is none") << u" [00:01.00]a"_s << none;
    }

    void recognise()
    {
        QFETCH(QString, text);
        QTEST(RecogniseLyricsFormat(text), "format");
    }

    void convert_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<LyricsFormat>("to");
        QTest::addColumn<qint32>("shiftMs");
        QTest::addColumn<ResultCode>("code");
        QTest::addColumn<QString>("output");

        const auto ok = ResultCode::Ok;
        QTest::newRow("the shift moves time-tagged lyrics")
            << u"[00:01:00]a"_s << LyricsFormat::Lrc << 255 << ok << u"[00:01.26]a\r\n"_s;
        QTest::newRow("the shift moves a format's times, not below 0")
            << u"[00:01.00]a\n[00:03.00]b"_s << LyricsFormat::Tags << -2000 << ok
            << u"[00:00:00]a\r\n[00:01:00]b\r\n\r\n"_s;
        QTest::newRow("time-tagged lyrics do not become tags again")
            << u"[00:01:00]a"_s << LyricsFormat::Tags << 0 << ResultCode::AlreadyTimeTagged;
        QTest::newRow("a text in no format")
            << u"あ"_s << LyricsFormat::Tags << 0 << ResultCode::UnknownLyricsFormat;
        QTest::newRow("lyrics without a tag")
            << u"[00:01.00]a"_s << LyricsFormat::WebVtt << 0 << ResultCode::NoTimeTagToConvert;
        QTest::newRow("a format reader's failure")
            << u"[Script Info]\n"_s << LyricsFormat::Tags << 0 << ResultCode::InvalidAss;
    }

    void convert()
    {
        QFETCH(QString, input);
        QFETCH(LyricsFormat, to);
        QFETCH(qint32, shiftMs);
        QFETCH(ResultCode, code);
        QString output = u"untouched"_s;
        ResultCode got = ResultCode::Ok;
        QCOMPARE(ConvertLyrics(input, to, {shiftMs}, output, got), code == ResultCode::Ok);
        QCOMPARE(got, code);
        if (code == ResultCode::Ok)
            QTEST(output, "output");
        else
            QCOMPARE(output, u"untouched"_s);
    }

    // Time-tagged lyrics through each format and back keep their body lines, and the format's
    // text made again from them is the same text.
    void roundTrips()
    {
        testing::LyricsGenerator generator;
        for (int i = 0; i < 2000; ++i) {
            const QString tags = generator.lyrics();
            for (const LyricsFormat format :
                 {LyricsFormat::EnhancedLrc, LyricsFormat::Ass, LyricsFormat::WebVtt}) {
                const auto context = qScopeGuard([&] {
                    if (QTest::currentTestFailed())
                        qWarning().noquote() << "format" << int(format) << "lyrics" << tags;
                });
                QString converted, back, again;
                ResultCode code = ResultCode::Ok;
                QVERIFY(ConvertLyrics(tags, format, {}, converted, code));
                QVERIFY(ConvertLyrics(converted, LyricsFormat::Tags, {}, back, code));
                QCOMPARE(Body(back), Body(tags));
                QVERIFY(ConvertLyrics(back, format, {}, again, code));
                QCOMPARE(again, converted);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLyricsConversion)
#include "tst_lyricsconversion.moc"
