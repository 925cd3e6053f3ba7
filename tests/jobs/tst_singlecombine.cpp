#include "jobs/singlecombine.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

// The window around the combine itself: locked, then usable again before any message.
const Texts Span{u"enabled:off"_s, u"hourglass:on"_s, u"hourglass:off"_s, u"enabled:on"_s};

Texts SpanThen(const QString& event)
{
    return Span + Texts{event};
}

const QByteArray Old("old");

} // namespace

class TestSingleCombine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
};

void TestSingleCombine::runs_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<QString>("txtTTD");   // a name in the test's folder, or ""
    QTest::addColumn<QString>("txtSozai"); // likewise
    QTest::addColumn<QString>("txtOut");   // as typed; %D is the test's folder
    QTest::addColumn<QString>("script");   // "same" (ChkSameTTD), "overwrite", "nocrc", "ratio",
                                           // and the answers "yes", "no"
    QTest::addColumn<Texts>("events");
    QTest::addColumn<SingleCombineOutcome>("outcome");
    QTest::addColumn<FileSet>("after");

    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);
    const FileSet combined{{u"song.LRC"_s, Cp932(Combined(Song().ttd, Song().source))}};
    const FileSet pair{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"out"_s, FolderMark}};
    const FileSet pairAndOld{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}};
    const FileSet otherSource{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}};
    const QString t = u"song.TTD"_s;
    const QString s = u"song.TXT"_s;
    const QString same = u"same"_s;
    using enum SingleCombineOutcome;

    QTest::newRow("an empty TTD field: nothing happens, nothing is said")
        << pair << QString() << s << u"%D/out"_s << QString() << Texts() << NothingToDo
        << FileSet{{u"out/song.LRC"_s, Missing}};
    QTest::newRow("an empty source field: likewise")
        << pair << t << QString() << QString() << QString() << Texts() << NothingToDo << FileSet();
    QTest::newRow("no output folder while not beside the TTD")
        << pair << t << s << QString() << QString()
        << Texts{u"info:出力フォルダを指定してください。"_s} << Failed << FileSet();
    QTest::newRow("beside the TTD no output folder is needed or looked at")
        << pair << t << s << u"%D/nowhere"_s << same << Span << Written << combined;
    QTest::newRow("TTD and source missing: only the TTD is named")
        << FileSet() << t << s << QString() << same
        << Texts{u"info:song.TTD\r\nファイルが見つかりません"_s} << Failed << FileSet();
    QTest::newRow("a missing output folder is shown as typed")
        << pair << t << s << u"%D/nowhere/"_s << QString()
        << Texts{u"info:%D/nowhere/\r\nフォルダが見つかりません"_s} << Failed << FileSet();
    QTest::newRow("an output folder typed with its separator")
        << pair << t << s << u"%D/out/"_s << QString() << Span << Written
        << FileSet{{u"out/song.LRC"_s, combined.first()}};
    QTest::newRow("an output folder typed without it")
        << pair << t << s << u"%D/out"_s << QString() << Span << Written
        << FileSet{{u"out/song.LRC"_s, combined.first()}, {u"song.LRC"_s, Missing}};
    QTest::newRow("the root passes the folder test")
        << otherSource << t << s << u"/"_s << QString()
        << SpanThen(u"info:song.TTD\r\nError:CRCが一致しませんでした"_s) << Failed << FileSet();
    QTest::newRow("an undecodable source cannot be read")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\x81"}} << t << s << QString() << same
        << Texts{u"info:song.TXT\r\nファイルが読みとれません"_s} << Failed << FileSet();
    QTest::newRow("21 names the TTD")
        << FileSet{{u"song.TTD"_s, "no TTD"}, {u"song.TXT"_s, txt}} << t << s << QString() << same
        << SpanThen(u"info:song.TTD\r\nError:ファイル形式が不正です"_s) << Failed
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("22 names the source")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\r\n"}} << t << s << QString() << same
        << SpanThen(u"info:song.TXT\r\nError:ファイル形式が不正です"_s) << Failed << FileSet();
    QTest::newRow("23 names the TTD")
        << otherSource << t << s << QString() << same
        << SpanThen(u"info:song.TTD\r\nError:CRCが一致しませんでした"_s) << Failed
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("the CRC option and the time ratio are passed on")
        << otherSource << t << s << QString() << u"same nocrc ratio"_s << Span << Written
        << FileSet{{u"song.LRC"_s, Cp932(Combined(Song().ttd, OtherSong().source, true,
                                                  TimeRatioChoice::Ratio0_9953125))}};
    const Lyrics large = LyricsOfSize(60001);
    QTest::newRow("no size limit on the inputs")
        << FileSet{{u"song.TTD"_s, Cp932(large.ttd)}, {u"song.TXT"_s, Cp932(large.source)}} << t
        << s << QString() << same << Span << Written
        << FileSet{{u"song.LRC"_s, Cp932(Combined(large.ttd, large.source))}};
    QTest::newRow("an existing output: No keeps it")
        << pairAndOld << t << s << QString() << u"same no"_s
        << SpanThen(u"ask:%D/song.LRC\r\n上書きしますか?"_s) << Declined
        << FileSet{{u"song.LRC"_s, Old}};
    QTest::newRow("Yes replaces it")
        << pairAndOld << t << s << QString() << u"same yes"_s
        << SpanThen(u"ask:%D/song.LRC\r\n上書きしますか?"_s) << Written << combined;
    QTest::newRow("with the option on it is replaced unasked")
        << pairAndOld << t << s << QString() << u"same overwrite"_s << Span << Written << combined;
    QTest::newRow("an output that cannot be written")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"out/song.LRC"_s, FolderMark}} << t
        << s << u"%D/out"_s << QString() << SpanThen(u"info:song.LRC\r\n保存に失敗しました"_s)
        << Failed << FileSet();
}

void TestSingleCombine::runs()
{
    QFETCH(FileSet, files);
    QFETCH(QString, txtTTD);
    QFETCH(QString, txtSozai);
    QFETCH(QString, txtOut);
    QFETCH(QString, script);
    QFETCH(Texts, events);
    QFETCH(SingleCombineOutcome, outcome);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    JobBench bench;
    JobSnapshot state;
    state.txtTTD = txtTTD.isEmpty() ? QString() : dir.filePath(txtTTD);
    state.txtSozai = txtSozai.isEmpty() ? QString() : dir.filePath(txtSozai);
    state.txtOut = txtOut.replace(u"%D"_s, dir.path());
    const QStringList words = script.split(u' ', Qt::SkipEmptyParts);
    state.ChkSameTTD = words.contains(u"same");
    state.mnOverwrite = words.contains(u"overwrite");
    state.mnNoCRCCheck = words.contains(u"nocrc");
    if (words.contains(u"ratio"))
        state.timeRatioChoice = TimeRatioChoice::Ratio0_9953125;
    for (const QString& word : words) {
        if (word == u"yes" || word == u"no")
            bench.recorder.answers.append(word == u"yes");
    }

    QCOMPARE(SingleCombine(state, bench.context), outcome);
    QCOMPARE(bench.recorder.events, events.replaceInStrings(u"%D"_s, dir.path()));
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestSingleCombine)
#include "tst_singlecombine.moc"
