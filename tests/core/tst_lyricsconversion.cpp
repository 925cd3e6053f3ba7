// Conversion between time-tagged lyrics and the formats players read: which format a text is,
// what a conversion refuses, the shift, and the round trips through every format.
#include "core/divide.h"
#include "core/lines.h"
#include "core/lyricsconversion.h"
#include "lyricstesting.h"

#include <QtTest>

#include <optional>

using namespace kovrant;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<kovrant::LyricsFormat>)

namespace {

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

} // namespace

class TestLyricsConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
