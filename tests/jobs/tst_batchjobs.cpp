#include "jobs/batchjobs.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

QString Error(const QString& name, ResultCode code)
{
    return u"info:"_s + name + u"\r\nError:"_s + ErrorMessage(code);
}

// The overwrite question for a file of the test's folder (%D).
QString Ask(const QString& name)
{
    return u"ask:%D/"_s + name + u"\r\n上書きしますか?"_s;
}

const QByteArray Old("old");

} // namespace

class TestBatchJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
};

void TestBatchJobs::runs_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<Texts>("queue");
    QTest::addColumn<QString>("script"); // "overwrite", "nocrc", and the answers "yes", "no"
    QTest::addColumn<Texts>("dialogs");
    QTest::addColumn<Codes>("results");
    QTest::addColumn<bool>("allOk");
    QTest::addColumn<FileSet>("after");

    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);
    const QByteArray lrc = Cp932(Song().tagged);
    const QByteArray combined = Cp932(Combined(Song().ttd, Song().source));
    const FileSet pair{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}};
    const FileSet pairAndOld{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}};
    const QString c = u"combine"_s;
    const Texts one{u"song.TTD"_s};
    const FileSet noOutput{{u"song.LRC"_s, Missing}};

    QTest::newRow("combine: a pair goes through")
        << c << pair << one << QString() << Texts() << Codes{0} << true
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("combine: a missing source is named, not the TTD")
        << c << FileSet{{u"song.TTD"_s, ttd}} << one << QString() << Texts{Error(u"song.TXT"_s, 11)}
        << Codes{11} << false << noOutput;
    QTest::newRow("combine: TTD and source missing, only the TTD is named")
        << c << FileSet() << one << QString() << Texts{Error(u"song.TTD"_s, 11)} << Codes{11}
        << false << FileSet();
    QTest::newRow("combine: both inputs are found before an empty TTD is read")
        << c << FileSet{{u"song.TTD"_s, ""}} << one << QString() << Texts{Error(u"song.TXT"_s, 11)}
        << Codes{11} << false << FileSet();
    QTest::newRow("combine: both inputs empty, only the TTD is named")
        << c << FileSet{{u"song.TTD"_s, ""}, {u"song.TXT"_s, ""}} << one << QString()
        << Texts{Error(u"song.TTD"_s, 14)} << Codes{14} << false << noOutput;

    const Lyrics fits = LyricsOfSize(60000);
    QTest::newRow("combine: a source of 60000 bytes is taken")
        << c << FileSet{{u"song.TTD"_s, Cp932(fits.ttd)}, {u"song.TXT"_s, Cp932(fits.source)}}
        << one << QString() << Texts() << Codes{0} << true
        << FileSet{{u"song.LRC"_s, Cp932(Combined(fits.ttd, fits.source))}};
    const Lyrics large = LyricsOfSize(60001);
    QTest::newRow("combine: a source of 60001 bytes is refused")
        << c << FileSet{{u"song.TTD"_s, Cp932(large.ttd)}, {u"song.TXT"_s, Cp932(large.source)}}
        << one << QString() << Texts{Error(u"song.TXT"_s, 12)} << Codes{12} << false << noOutput;
    QTest::newRow("combine: a TTD of 60001 bytes is refused")
        << c << FileSet{{u"song.TTD"_s, QByteArray(60001, 'x')}, {u"song.TXT"_s, txt}} << one
        << QString() << Texts{Error(u"song.TTD"_s, 12)} << Codes{12} << false << noOutput;
    QTest::newRow("combine: an undecodable TTD is a read failure")
        << c << FileSet{{u"song.TTD"_s, ttd + "\x81"}, {u"song.TXT"_s, txt}} << one << QString()
        << Texts{Error(u"song.TTD"_s, 13)} << Codes{13} << false << noOutput;
    QTest::newRow("combine: 21 names the TTD")
        << c << FileSet{{u"song.TTD"_s, "no TTD"}, {u"song.TXT"_s, txt}} << one << QString()
        << Texts{Error(u"song.TTD"_s, 21)} << Codes{21} << false << noOutput;
    QTest::newRow("combine: 22 names the source")
        << c << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, "\r\n\r\n"}} << one << QString()
        << Texts{Error(u"song.TXT"_s, 22)} << Codes{22} << false << noOutput;
    const FileSet otherSource{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}};
    QTest::newRow("combine: 23 names the TTD")
        << c << otherSource << one << QString() << Texts{Error(u"song.TTD"_s, 23)} << Codes{23}
        << false << noOutput;
    QTest::newRow("combine: without the CRC check another source is taken")
        << c << otherSource << one << u"nocrc"_s << Texts() << Codes{0} << true
        << FileSet{{u"song.LRC"_s, Cp932(Combined(Song().ttd, OtherSong().source, true))}};
    QTest::newRow("combine: No keeps an existing output and spoils the summary")
        << c << pairAndOld << one << u"no"_s << Texts{Ask(u"song.LRC"_s)} << Codes{0} << false
        << FileSet{{u"song.LRC"_s, Old}};
    QTest::newRow("combine: Yes replaces it")
        << c << pairAndOld << one << u"yes"_s << Texts{Ask(u"song.LRC"_s)} << Codes{0} << true
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("combine: with the option on it is replaced unasked")
        << c << pairAndOld << one << u"overwrite"_s << Texts() << Codes{0} << true
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("combine: an output that cannot be written is named with 15")
        << c << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, FolderMark}}
        << one << QString() << Texts{Error(u"song.LRC"_s, 15)} << Codes{15} << false
        << FileSet{{u"song.LRC"_s, FolderMark}};
    QTest::newRow("combine: of three files the second fails, the third is handled")
        << c
        << FileSet{{u"a.TTD"_s, ttd},
                   {u"a.TXT"_s, txt},
                   {u"b.TTD"_s, ttd},
                   {u"c.TTD"_s, ttd},
                   {u"c.TXT"_s, txt}}
        << Texts{u"a.TTD"_s, u"b.TTD"_s, u"c.TTD"_s} << QString() << Texts{Error(u"b.TXT"_s, 11)}
        << Codes{0, 11, 0} << false
        << FileSet{{u"a.LRC"_s, combined}, {u"b.LRC"_s, Missing}, {u"c.LRC"_s, combined}};

    const QString d = u"divide"_s;
    const Texts lyrics{u"song.LRC"_s};
    QTest::newRow("divide: source and TTD are written beside the lyrics")
        << d << FileSet{{u"song.LRC"_s, lrc}} << lyrics << QString() << Texts() << Codes{0} << true
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}, {u"song.LRC"_s, lrc}};
    QTest::newRow("divide: lyrics without a tag")
        << d << FileSet{{u"song.LRC"_s, Cp932(u"歌だけ"_s)}} << lyrics << QString()
        << Texts{Error(u"song.LRC"_s, 2)} << Codes{2} << false << FileSet{{u"song.TXT"_s, Missing}};
    QTest::newRow("divide: both outputs exist, Yes then No leaves new source and old TTD")
        << d << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, Old}, {u"song.TTD"_s, Old}} << lyrics
        << u"yes no"_s << Texts{Ask(u"song.TXT"_s), Ask(u"song.TTD"_s)} << Codes{0} << false
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, Old}};
    QTest::newRow("divide: No to the source question writes neither output")
        << d << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, Old}} << lyrics << u"no"_s
        << Texts{Ask(u"song.TXT"_s)} << Codes{0} << false
        << FileSet{{u"song.TXT"_s, Old}, {u"song.TTD"_s, Missing}};
    QTest::newRow("divide: with the option on both outputs are replaced unasked")
        << d << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, Old}, {u"song.TTD"_s, Old}} << lyrics
        << u"overwrite"_s << Texts() << Codes{0} << true
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}};
    QTest::newRow("divide: an unwritable source, and the TTD is not written either")
        << d << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, FolderMark}} << lyrics << QString()
        << Texts{Error(u"song.TXT"_s, 15)} << Codes{15} << false
        << FileSet{{u"song.TTD"_s, Missing}};
    QTest::newRow("divide: an unwritable TTD is named, the source stays written")
        << d << FileSet{{u"song.LRC"_s, lrc}, {u"song.TTD"_s, FolderMark}} << lyrics << QString()
        << Texts{Error(u"song.TTD"_s, 15)} << Codes{15} << false << FileSet{{u"song.TXT"_s, txt}};
    QTest::newRow("divide: a declined file does not stop the next one")
        << d << FileSet{{u"a.LRC"_s, lrc}, {u"a.TXT"_s, Old}, {u"b.LRC"_s, lrc}}
        << Texts{u"a.LRC"_s, u"b.LRC"_s} << u"no"_s << Texts{Ask(u"a.TXT"_s)} << Codes{0, 0}
        << false << FileSet{{u"a.TTD"_s, Missing}, {u"b.TXT"_s, txt}, {u"b.TTD"_s, ttd}};
}

void TestBatchJobs::runs()
{
    QFETCH(QString, job);
    QFETCH(FileSet, files);
    QFETCH(Texts, queue);
    QFETCH(QString, script);
    QFETCH(Texts, dialogs);
    QFETCH(Codes, results);
    QFETCH(bool, allOk);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    JobBench bench;
    JobSnapshot state;
    for (const QString& word : script.split(u' ', Qt::SkipEmptyParts)) {
        state.mnOverwrite |= word == u"overwrite";
        state.mnNoCRCCheck |= word == u"nocrc";
        if (word == u"yes" || word == u"no")
            bench.recorder.answers.append(word == u"yes");
    }
    for (QString& name : queue)
        name = dir.filePath(name);

    BatchResults found{99};
    const bool ok = job == u"combine" ? BatchCombine(queue, state, bench.context, found)
                                      : BatchDivide(queue, state, bench.context, found);
    QCOMPARE(bench.recorder.dialogs(), dialogs.replaceInStrings(u"%D"_s, dir.path()));
    QCOMPARE(found, results);
    QCOMPARE(ok, allOk);
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestBatchJobs)
#include "tst_batchjobs.moc"
