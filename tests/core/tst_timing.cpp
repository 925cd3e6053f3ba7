// The timing model read from time-tagged lyrics, and the rounding every format writes with.
#include "core/timing.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

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

} // namespace

class TestTiming : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void read_data()
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

    void read()
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
        QTest::newRow("a fraction rounded to centiseconds") << 1004.7096 << 10 << qint64(100);
        QTest::newRow("a fraction rounded to milliseconds") << 1004.7096 << 1 << qint64(1005);
        QTest::newRow("binary noise above a half is read at 15 digits, a half")
            << 2.5000000000000004 << 1 << qint64(2);
    }

    void toUnits()
    {
        QFETCH(double, ms);
        QFETCH(qint32, unitMs);
        QFETCH(qint64, units);
        QCOMPARE(ToUnits(ms, unitMs), units);
    }
};

QTEST_GUILESS_MAIN(TestTiming)
#include "tst_timing.moc"
