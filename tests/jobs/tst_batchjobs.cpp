#include "jobs/batchjobs.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

QString Info(const QString& name, ResultCode code)
{
    return u"info:"_s + name + u"\r\nError:"_s + ErrorMessage(code);
}

// The overwrite question for a file of the test's folder (%D).
QString Ask(const QString& name)
{
    return u"ask:%D/"_s + name + u"\r\n上書きしますか?"_s;
}

const QByteArray Old("old content");

QByteArray TtdBytes()
{
    return Cp932(Song().ttd);
}
QByteArray SourceBytes()
{
    return Cp932(Song().source);
}
QByteArray LyricsBytes()
{
    return Cp932(Song().tagged);
}
QByteArray CombinedBytes()
{
    return Cp932(Combined(Song().ttd, Song().source));
}

// Time-tagged lyrics of exactly the given size in bytes.
QByteArray TaggedOfSize(qsizetype bytes)
{
    return "[00:01:00]" + QByteArray(bytes - 10, 'x');
}

} // namespace

class TestBatchJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
    void extensionsAreAppendedAsTheyStand();
    void writtenFilesAreLogged();
    void messageTexts();
};

void TestBatchJobs::runs_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<QStringList>("queue");
    QTest::addColumn<QString>("options"); // "overwrite", "nocrc"
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<QList<ResultCode>>("results");
    QTest::addColumn<bool>("allOk");
    QTest::addColumn<FileSet>("after");

    const QByteArray ttd = TtdBytes();
    const QByteArray txt = SourceBytes();
    const QByteArray lrc = LyricsBytes();
    const QByteArray combined = CombinedBytes();
    const QStringList one{u"song.TTD"_s};
    const QStringList none;

    QTest::newRow("combine: a pair goes through")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}} << one << QString()
        << QList<bool>() << none << QList<ResultCode>{0} << true
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("combine: a missing source is named, not the TTD")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}} << one << QString() << QList<bool>()
        << QStringList{Info(u"song.TXT"_s, 11)} << QList<ResultCode>{11} << false
        << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("combine: TTD and source missing, only the TTD is named")
        << u"combine"_s << FileSet() << one << QString() << QList<bool>()
        << QStringList{Info(u"song.TTD"_s, 11)} << QList<ResultCode>{11} << false << FileSet();
    QTest::newRow("combine: an empty TTD is not read before the source is found")
        << u"combine"_s << FileSet{{u"song.TTD"_s, QByteArray()}} << one << QString()
        << QList<bool>() << QStringList{Info(u"song.TXT"_s, 11)} << QList<ResultCode>{11} << false
        << FileSet();
    QTest::newRow("combine: both inputs empty, only the TTD is named")
        << u"combine"_s << FileSet{{u"song.TTD"_s, QByteArray()}, {u"song.TXT"_s, QByteArray()}}
        << one << QString() << QList<bool>() << QStringList{Info(u"song.TTD"_s, 14)}
        << QList<ResultCode>{14} << false << FileSet{{u"song.LRC"_s, Missing}};

    for (const auto& [padded, name] :
         {std::pair{Padded::Ttd, u"song.TTD"_s}, std::pair{Padded::Source, u"song.TXT"_s}}) {
        const Lyrics fits = LyricsOfSize(padded, 60000);
        QTest::addRow("combine: %s of 60000 bytes is taken", qPrintable(name))
            << u"combine"_s
            << FileSet{{u"song.TTD"_s, Cp932(fits.ttd)}, {u"song.TXT"_s, Cp932(fits.source)}} << one
            << QString() << QList<bool>() << none << QList<ResultCode>{0} << true
            << FileSet{{u"song.LRC"_s, Cp932(Combined(fits.ttd, fits.source))}};
        const Lyrics tooLarge = LyricsOfSize(padded, 60001);
        QTest::addRow("combine: %s of 60001 bytes is refused", qPrintable(name))
            << u"combine"_s
            << FileSet{{u"song.TTD"_s, Cp932(tooLarge.ttd)},
                       {u"song.TXT"_s, Cp932(tooLarge.source)}}
            << one << QString() << QList<bool>() << QStringList{Info(name, 12)}
            << QList<ResultCode>{12} << false << FileSet{{u"song.LRC"_s, Missing}};
    }

    QTest::newRow("combine: an undecodable TTD is a read failure")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd + "\x81"}, {u"song.TXT"_s, txt}} << one
        << QString() << QList<bool>() << QStringList{Info(u"song.TTD"_s, 13)}
        << QList<ResultCode>{13} << false << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("combine: an undecodable source is named")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\x81"}} << one
        << QString() << QList<bool>() << QStringList{Info(u"song.TXT"_s, 13)}
        << QList<ResultCode>{13} << false << FileSet();
    QTest::newRow("combine: 21 names the TTD")
        << u"combine"_s << FileSet{{u"song.TTD"_s, "not a TTD"}, {u"song.TXT"_s, txt}} << one
        << QString() << QList<bool>() << QStringList{Info(u"song.TTD"_s, 21)}
        << QList<ResultCode>{21} << false << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("combine: 22 names the source")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\r\n\r\n"}} << one
        << QString() << QList<bool>() << QStringList{Info(u"song.TXT"_s, 22)}
        << QList<ResultCode>{22} << false << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("combine: 23 names the TTD")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}}
        << one << QString() << QList<bool>() << QStringList{Info(u"song.TTD"_s, 23)}
        << QList<ResultCode>{23} << false << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("combine: without the CRC check another source is taken")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}}
        << one << u"nocrc"_s << QList<bool>() << none << QList<ResultCode>{0} << true
        << FileSet{{u"song.LRC"_s, Cp932(Combined(Song().ttd, OtherSong().source, true))}};
    QTest::newRow("combine: existing output, No keeps it and spoils the summary")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}}
        << one << QString() << QList<bool>{false} << QStringList{Ask(u"song.LRC"_s)}
        << QList<ResultCode>{0} << false << FileSet{{u"song.LRC"_s, Old}};
    QTest::newRow("combine: existing output, Yes replaces it")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}}
        << one << QString() << QList<bool>{true} << QStringList{Ask(u"song.LRC"_s)}
        << QList<ResultCode>{0} << true << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("combine: existing output with the option on, replaced without a question")
        << u"combine"_s << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}}
        << one << u"overwrite"_s << QList<bool>() << none << QList<ResultCode>{0} << true
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("combine: an output that cannot be written is named with 15")
        << u"combine"_s
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, FolderMark}} << one
        << QString() << QList<bool>() << QStringList{Info(u"song.LRC"_s, 15)}
        << QList<ResultCode>{15} << false << FileSet{{u"song.LRC"_s, FolderMark}};
    QTest::newRow("combine: of three files the second fails, the third is handled")
        << u"combine"_s
        << FileSet{{u"a.TTD"_s, ttd},
                   {u"a.TXT"_s, txt},
                   {u"b.TTD"_s, ttd},
                   {u"c.TTD"_s, ttd},
                   {u"c.TXT"_s, txt}}
        << QStringList{u"a.TTD"_s, u"b.TTD"_s, u"c.TTD"_s} << QString() << QList<bool>()
        << QStringList{Info(u"b.TXT"_s, 11)} << QList<ResultCode>{0, 11, 0} << false
        << FileSet{{u"a.LRC"_s, combined}, {u"b.LRC"_s, Missing}, {u"c.LRC"_s, combined}};
    QTest::newRow("combine: an empty queue gives false")
        << u"combine"_s << FileSet() << QStringList() << QString() << QList<bool>() << none
        << QList<ResultCode>() << false << FileSet();

    const QStringList lyrics{u"song.LRC"_s};
    QTest::newRow("divide: source and TTD are written beside the lyrics")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc}} << lyrics << QString() << QList<bool>()
        << none << QList<ResultCode>{0} << true
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}, {u"song.LRC"_s, lrc}};
    QTest::newRow("divide: a missing file")
        << u"divide"_s << FileSet() << lyrics << QString() << QList<bool>()
        << QStringList{Info(u"song.LRC"_s, 11)} << QList<ResultCode>{11} << false << FileSet();
    QTest::newRow("divide: an empty file")
        << u"divide"_s << FileSet{{u"song.LRC"_s, QByteArray()}} << lyrics << QString()
        << QList<bool>() << QStringList{Info(u"song.LRC"_s, 14)} << QList<ResultCode>{14} << false
        << FileSet{{u"song.TXT"_s, Missing}, {u"song.TTD"_s, Missing}};
    QTest::newRow("divide: 60000 bytes are taken")
        << u"divide"_s << FileSet{{u"song.LRC"_s, TaggedOfSize(60000)}} << lyrics << QString()
        << QList<bool>() << none << QList<ResultCode>{0} << true
        << FileSet{{u"song.TXT"_s, QByteArray(59990, 'x')}};
    QTest::newRow("divide: 60001 bytes are refused")
        << u"divide"_s << FileSet{{u"song.LRC"_s, TaggedOfSize(60001)}} << lyrics << QString()
        << QList<bool>() << QStringList{Info(u"song.LRC"_s, 12)} << QList<ResultCode>{12} << false
        << FileSet{{u"song.TXT"_s, Missing}};
    QTest::newRow("divide: lyrics without a tag")
        << u"divide"_s << FileSet{{u"song.LRC"_s, Cp932(u"歌だけ\r\n"_s)}} << lyrics << QString()
        << QList<bool>() << QStringList{Info(u"song.LRC"_s, 2)} << QList<ResultCode>{2} << false
        << FileSet{{u"song.TXT"_s, Missing}};
    QTest::newRow("divide: undecodable lyrics")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc + "\x81"}} << lyrics << QString()
        << QList<bool>() << QStringList{Info(u"song.LRC"_s, 13)} << QList<ResultCode>{13} << false
        << FileSet{{u"song.TXT"_s, Missing}};
    QTest::newRow("divide: both outputs exist, Yes then No leaves new source beside old TTD")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, Old}, {u"song.TTD"_s, Old}}
        << lyrics << QString() << QList<bool>{true, false}
        << QStringList{Ask(u"song.TXT"_s), Ask(u"song.TTD"_s)} << QList<ResultCode>{0} << false
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, Old}};
    QTest::newRow("divide: No to the source question writes neither output")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, Old}} << lyrics << QString()
        << QList<bool>{false} << QStringList{Ask(u"song.TXT"_s)} << QList<ResultCode>{0} << false
        << FileSet{{u"song.TXT"_s, Old}, {u"song.TTD"_s, Missing}};
    QTest::newRow("divide: with the option on both outputs are replaced unasked")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, Old}, {u"song.TTD"_s, Old}}
        << lyrics << u"overwrite"_s << QList<bool>() << none << QList<ResultCode>{0} << true
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}};
    QTest::newRow("divide: a source that cannot be written, the TTD is not written either")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, FolderMark}} << lyrics
        << QString() << QList<bool>() << QStringList{Info(u"song.TXT"_s, 15)}
        << QList<ResultCode>{15} << false << FileSet{{u"song.TTD"_s, Missing}};
    QTest::newRow("divide: a TTD that cannot be written is named, the source stays written")
        << u"divide"_s << FileSet{{u"song.LRC"_s, lrc}, {u"song.TTD"_s, FolderMark}} << lyrics
        << QString() << QList<bool>() << QStringList{Info(u"song.TTD"_s, 15)}
        << QList<ResultCode>{15} << false << FileSet{{u"song.TXT"_s, txt}};
    QTest::newRow("divide: of three files the second fails, the third is handled")
        << u"divide"_s << FileSet{{u"a.LRC"_s, lrc}, {u"b.LRC"_s, "no tags"}, {u"c.LRC"_s, lrc}}
        << QStringList{u"a.LRC"_s, u"b.LRC"_s, u"c.LRC"_s} << QString() << QList<bool>()
        << QStringList{Info(u"b.LRC"_s, 2)} << QList<ResultCode>{0, 2, 0} << false
        << FileSet{{u"a.TTD"_s, ttd}, {u"b.TTD"_s, Missing}, {u"c.TTD"_s, ttd}};
    QTest::newRow("divide: a declined file does not stop the next one")
        << u"divide"_s << FileSet{{u"a.LRC"_s, lrc}, {u"a.TXT"_s, Old}, {u"b.LRC"_s, lrc}}
        << QStringList{u"a.LRC"_s, u"b.LRC"_s} << QString() << QList<bool>{false}
        << QStringList{Ask(u"a.TXT"_s)} << QList<ResultCode>{0, 0} << false
        << FileSet{{u"a.TTD"_s, Missing}, {u"b.TXT"_s, txt}, {u"b.TTD"_s, ttd}};
}

void TestBatchJobs::runs()
{
    QFETCH(QString, job);
    QFETCH(FileSet, files);
    QFETCH(QStringList, queue);
    QFETCH(QString, options);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, dialogs);
    QFETCH(QList<ResultCode>, results);
    QFETCH(bool, allOk);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    JobBench bench;
    bench.dialogs.answers = answers;
    JobSnapshot state;
    state.mnOverwrite = options.contains(u"overwrite");
    state.mnNoCRCCheck = options.contains(u"nocrc");
    QStringList paths;
    for (const QString& name : queue)
        paths.append(dir.filePath(name));

    BatchResults found{99};
    const bool ok = job == u"combine" ? BatchCombine(paths, state, bench.context, found)
                                      : BatchDivide(paths, state, bench.context, found);

    QCOMPARE(bench.log.dialogs(), dialogs.replaceInStrings(u"%D"_s, dir.path()));
    QCOMPARE(found, results);
    QCOMPARE(ok, allOk);
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

void TestBatchJobs::extensionsAreAppendedAsTheyStand()
{
    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, {{u"song.krA"_s, LyricsBytes()}}));
    JobBench bench;
    JobSnapshot state;
    state.sourceExtension = u".szi"_s;
    state.ttdExtension = u".Ttd"_s;
    BatchResults results;
    QVERIFY(BatchDivide({dir.filePath(u"song.krA"_s)}, state, bench.context, results));
    QVERIFY(Populate(dir, {{u"song.TXT"_s, "not this one"}}));

    state.timeTaggedExtension = u".kra"_s;
    QVERIFY(BatchCombine({dir.filePath(u"song.Ttd"_s)}, state, bench.context, results));
    QString mismatch;
    QVERIFY2(Matches(dir,
                     {{u"song.szi"_s, SourceBytes()},
                      {u"song.Ttd"_s, TtdBytes()},
                      {u"song.kra"_s, CombinedBytes()}},
                     mismatch),
             qPrintable(mismatch));
    QVERIFY(bench.log.dialogs().isEmpty());
}

void TestBatchJobs::writtenFilesAreLogged()
{
    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, {{u"song.LRC"_s, LyricsBytes()}, {u"song.TXT"_s, Old}}));
    JobBench bench;
    bench.dialogs.answers = {true};
    BatchResults results;
    QVERIFY(BatchDivide({dir.filePath(u"song.LRC"_s)}, JobSnapshot(), bench.context, results));
    QCOMPARE(bench.files.entries, (QStringList{u"wrote "_s + dir.filePath(u"song.TXT"_s),
                                               u"wrote "_s + dir.filePath(u"song.TTD"_s)}));
}

void TestBatchJobs::messageTexts()
{
    QCOMPARE(FileErrorText(u"/k/song.TXT"_s, 11), u"song.TXT\r\nError:ファイルが見つかりません"_s);
    QCOMPARE(OverwriteQuestion(u"/k/song.TXT"_s), u"/k/song.TXT\r\n上書きしますか?"_s);
}

QTEST_GUILESS_MAIN(TestBatchJobs)
#include "tst_batchjobs.moc"
