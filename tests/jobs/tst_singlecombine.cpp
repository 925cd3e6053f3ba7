#include "jobs/singlecombine.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

// What the window goes through around the combine itself.
const QStringList CombineSpan{u"enabled:off"_s, u"hourglass:on"_s, u"hourglass:off"_s,
                              u"enabled:on"_s};

QStringList CombineSpanThen(const QString& event)
{
    return CombineSpan + QStringList{event};
}

const QByteArray Old("old content");

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
    QTest::addColumn<bool>("sameTtd");
    QTest::addColumn<QString>("options"); // "overwrite", "nocrc", "ratio"
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<FileSet>("after");

    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);
    const QByteArray combined = Cp932(Combined(Song().ttd, Song().source));
    const FileSet pair{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}};
    const FileSet pairAndOut{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"out"_s, FolderMark}};
    const QString sTtd = u"song.TTD"_s;
    const QString sTxt = u"song.TXT"_s;
    const int nothing = int(SingleCombineOutcome::NothingToDo);
    const int failed = int(SingleCombineOutcome::Failed);
    const int declined = int(SingleCombineOutcome::Declined);
    const int written = int(SingleCombineOutcome::Written);

    QTest::newRow("empty TTD field: nothing happens, nothing is said")
        << pair << QString() << sTxt << u"%D/out"_s << false << QString() << QList<bool>()
        << QStringList() << nothing << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("empty source field: nothing happens, nothing is said")
        << pair << sTtd << QString() << QString() << false << QString() << QList<bool>()
        << QStringList() << nothing << FileSet();
    QTest::newRow("no output folder while not beside the TTD")
        << pair << sTtd << sTxt << QString() << false << QString() << QList<bool>()
        << QStringList{u"info:出力フォルダを指定してください。"_s} << failed << FileSet();
    QTest::newRow("no output folder, beside the TTD: written next to it")
        << pair << sTtd << sTxt << QString() << true << QString() << QList<bool>() << CombineSpan
        << written << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("beside the TTD, a missing output folder is not looked at")
        << pair << sTtd << sTxt << u"%D/nowhere"_s << true << QString() << QList<bool>()
        << CombineSpan << written << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("TTD and source missing: only the TTD is named")
        << FileSet() << sTtd << sTxt << QString() << true << QString() << QList<bool>()
        << QStringList{u"info:song.TTD\r\nファイルが見つかりません"_s} << failed << FileSet();
    QTest::newRow("missing source")
        << FileSet{{u"song.TTD"_s, ttd}} << sTtd << sTxt << QString() << true << QString()
        << QList<bool>() << QStringList{u"info:song.TXT\r\nファイルが見つかりません"_s} << failed
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("missing output folder is shown as typed")
        << pair << sTtd << sTxt << u"%D/nowhere/"_s << false << QString() << QList<bool>()
        << QStringList{u"info:%D/nowhere/\r\nフォルダが見つかりません"_s} << failed << FileSet();
    QTest::newRow("an output folder that is a file")
        << pair << sTtd << sTxt << u"%D/song.TXT"_s << false << QString() << QList<bool>()
        << QStringList{u"info:%D/song.TXT\r\nフォルダが見つかりません"_s} << failed << FileSet();
    QTest::newRow("output folder typed with its separator")
        << pairAndOut << sTtd << sTxt << u"%D/out/"_s << false << QString() << QList<bool>()
        << CombineSpan << written << FileSet{{u"out/song.LRC"_s, combined}};
    QTest::newRow("output folder typed without its separator")
        << pairAndOut << sTtd << sTxt << u"%D/out"_s << false << QString() << QList<bool>()
        << CombineSpan << written
        << FileSet{{u"out/song.LRC"_s, combined}, {u"song.LRC"_s, Missing}};
    QTest::newRow("the root passes the folder test")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}} << sTtd << sTxt
        << u"/"_s << false << QString() << QList<bool>()
        << CombineSpanThen(u"info:song.TTD\r\nError:CRCが一致しませんでした"_s) << failed
        << FileSet();
    QTest::newRow("undecodable TTD cannot be read")
        << FileSet{{u"song.TTD"_s, "\x81"}, {u"song.TXT"_s, txt}} << sTtd << sTxt << QString()
        << true << QString() << QList<bool>()
        << QStringList{u"info:song.TTD\r\nファイルが読みとれません"_s} << failed << FileSet();
    QTest::newRow("undecodable source cannot be read")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\x81"}} << sTtd << sTxt << QString()
        << true << QString() << QList<bool>()
        << QStringList{u"info:song.TXT\r\nファイルが読みとれません"_s} << failed << FileSet();
    QTest::newRow("21 names the TTD, after the window is back")
        << FileSet{{u"song.TTD"_s, "no TTD"}, {u"song.TXT"_s, txt}} << sTtd << sTxt << QString()
        << true << QString() << QList<bool>()
        << CombineSpanThen(u"info:song.TTD\r\nError:ファイル形式が不正です"_s) << failed
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("an empty TTD file is no TTD text")
        << FileSet{{u"song.TTD"_s, QByteArray()}, {u"song.TXT"_s, QByteArray()}} << sTtd << sTxt
        << QString() << true << QString() << QList<bool>()
        << CombineSpanThen(u"info:song.TTD\r\nError:ファイル形式が不正です"_s) << failed
        << FileSet();
    QTest::newRow("22 names the source")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\r\n"}} << sTtd << sTxt << QString()
        << true << QString() << QList<bool>()
        << CombineSpanThen(u"info:song.TXT\r\nError:ファイル形式が不正です"_s) << failed
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("23 names the TTD")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}} << sTtd << sTxt
        << QString() << true << QString() << QList<bool>()
        << CombineSpanThen(u"info:song.TTD\r\nError:CRCが一致しませんでした"_s) << failed
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("no CRC check: another source is combined")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}} << sTtd << sTxt
        << QString() << true << u"nocrc"_s << QList<bool>() << CombineSpan << written
        << FileSet{{u"song.LRC"_s, Cp932(Combined(Song().ttd, OtherSong().source, true))}};
    QTest::newRow("the forced time ratio is passed on")
        << pair << sTtd << sTxt << QString() << true << u"ratio"_s << QList<bool>() << CombineSpan
        << written
        << FileSet{{u"song.LRC"_s, Cp932(Combined(Song().ttd, Song().source, false,
                                                  TimeRatioChoice::Ratio0_9953125))}};
    const Lyrics large = LyricsOfSize(Padded::Source, 60001);
    QTest::newRow("no size limit on the inputs")
        << FileSet{{u"song.TTD"_s, Cp932(large.ttd)}, {u"song.TXT"_s, Cp932(large.source)}} << sTtd
        << sTxt << QString() << true << QString() << QList<bool>() << CombineSpan << written
        << FileSet{{u"song.LRC"_s, Cp932(Combined(large.ttd, large.source))}};
    QTest::newRow("existing output, No keeps it")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}} << sTtd << sTxt
        << QString() << true << QString() << QList<bool>{false}
        << CombineSpanThen(u"ask:%D/song.LRC\r\n上書きしますか?"_s) << declined
        << FileSet{{u"song.LRC"_s, Old}};
    QTest::newRow("existing output, Yes replaces it")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}} << sTtd << sTxt
        << QString() << true << QString() << QList<bool>{true}
        << CombineSpanThen(u"ask:%D/song.LRC\r\n上書きしますか?"_s) << written
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("existing output with the option on: replaced unasked")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}} << sTtd << sTxt
        << QString() << true << u"overwrite"_s << QList<bool>() << CombineSpan << written
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("an output that cannot be written")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"out/song.LRC"_s, FolderMark}}
        << sTtd << sTxt << u"%D/out"_s << false << QString() << QList<bool>()
        << CombineSpanThen(u"info:song.LRC\r\n保存に失敗しました"_s) << failed
        << FileSet{{u"out/song.LRC"_s, FolderMark}};
}

void TestSingleCombine::runs()
{
    QFETCH(FileSet, files);
    QFETCH(QString, txtTTD);
    QFETCH(QString, txtSozai);
    QFETCH(QString, txtOut);
    QFETCH(bool, sameTtd);
    QFETCH(QString, options);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, events);
    QFETCH(int, outcome);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    JobBench bench;
    bench.dialogs.answers = answers;
    JobSnapshot state;
    state.txtTTD = txtTTD.isEmpty() ? QString() : dir.filePath(txtTTD);
    state.txtSozai = txtSozai.isEmpty() ? QString() : dir.filePath(txtSozai);
    state.txtOut = QString(txtOut).replace(u"%D"_s, dir.path());
    state.ChkSameTTD = sameTtd;
    state.mnOverwrite = options.contains(u"overwrite");
    state.mnNoCRCCheck = options.contains(u"nocrc");
    if (options.contains(u"ratio"))
        state.timeRatioChoice = TimeRatioChoice::Ratio0_9953125;

    QCOMPARE(int(SingleCombine(state, bench.context)), outcome);
    QCOMPARE(bench.log.events, events.replaceInStrings(u"%D"_s, dir.path()));
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestSingleCombine)
#include "tst_singlecombine.moc"
