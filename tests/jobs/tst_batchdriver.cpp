#include "jobs/batchdriver.h"
#include "jobtesting.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

const QString AllOk = u"info:全て正常に処理できました。"_s;
const QString SomeErrors = u"info:途中でエラーがありました。"_s;

// A driver over a recorder; the window's state is what the test puts into state, and what the
// driver writes back to the extension tool is recorded as "apply:TEXT|ITEM,ITEM".
struct DriverBench {
    JobBench jobs;
    JobSnapshot state;
    BatchDriver driver{jobs.context, [this] { return state; },
                       [this](const QString& text, const QStringList& items) {
                           jobs.recorder.events.append(u"apply:"_s + text + u'|' +
                                                       items.join(u','));
                       }};

    bool drop(const QString& target, const Texts& paths)
    {
        if (target == u"divide")
            return driver.dropOnDivide(paths, state.timeTaggedExtension);
        if (target == u"combine")
            return driver.dropOnCombine(paths, state.ttdExtension);
        return driver.dropOnExtensionTool(paths);
    }
};

} // namespace

class TestBatchDriver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filtersDrops_data();
    void filtersDrops();
    void runsBatch_data();
    void runsBatch();
    void dropsWithoutFilesOrDuringARunAreIgnored();
    void timerRunsTheFirstDropOnce();
};

void TestBatchDriver::filtersDrops_data()
{
    QTest::addColumn<Texts>("paths");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<Texts>("accepted");

    QTest::newRow("exactly the three letters, in any case, in drop order")
        << Texts{u"/k/song.LRC"_s, u"/k/song.lrc2"_s,    u"/k/song"_s,
                 u"/k/song.Lrc"_s, u"/k/song.lrc.bak"_s, u"/k.lrc/song"_s}
        << u".LRC"_s << Texts{u"/k/song.LRC"_s, u"/k/song.Lrc"_s};
    QTest::newRow("a four-letter setting keys on its last three letters")
        << Texts{u"/k/a.KRAX"_s, u"/k/a.rax"_s} << u".KRAX"_s << Texts{u"/k/a.rax"_s};
    QTest::newRow("a two-letter setting keeps its dot and matches nothing")
        << Texts{u"/k/a.LR"_s, u"/k/a.lr"_s} << u".LR"_s << Texts();
    QTest::newRow("an empty setting matches nothing, not names without an extension")
        << Texts{u"/k/a"_s, u"/k/b."_s} << QString() << Texts();
}

void TestBatchDriver::filtersDrops()
{
    QFETCH(Texts, paths);
    QFETCH(QString, setting);
    QFETCH(Texts, accepted);
    QCOMPARE(FilterDrop(paths, setting), accepted);
}

void TestBatchDriver::runsBatch_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<QString>("target");
    QTest::addColumn<Texts>("dropped");
    QTest::addColumn<bool>("alwaysOnTop");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<Texts>("events");
    QTest::addColumn<FileSet>("after");

    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);
    const Texts locked{u"enabled:off"_s, u"hourglass:on"_s};
    const Texts raised = locked + Texts{u"topmost:on"_s};
    const Texts unlocked{u"hourglass:off"_s, u"enabled:on"_s};
    const Texts lowered = unlocked + Texts{u"topmost:off"_s};
    const QString noFiles =
        u"info:処理対象ファイルがありませんでした。\r\n拡張子設定を再確認してください。"_s;
    const QString recent = u"|TXT,SRC,LRC"_s;

    QTest::newRow("no files: the hourglass goes before the message")
        << FileSet() << u"divide"_s << Texts{u"song.TXT"_s} << false << QString() << Answers()
        << raised + Texts{u"hourglass:off"_s, noFiles} + lowered << FileSet();
    QTest::newRow("always on top: the topmost band is left alone")
        << FileSet() << u"combine"_s << Texts{u"song.TXT"_s} << true << QString() << Answers()
        << locked + Texts{u"hourglass:off"_s, noFiles} + unlocked << FileSet();
    QTest::newRow("a divide of the matching file, then the summary")
        << FileSet{{u"song.LRC"_s, Cp932(Song().tagged)}} << u"divide"_s
        << Texts{u"song.LRC"_s, u"song.TXT"_s, u"readme.doc"_s} << false << QString() << Answers()
        << raised + Texts{AllOk} + lowered << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}};
    QTest::newRow("an error: its message, then the error summary")
        << FileSet{{u"a.TTD"_s, ttd}, {u"a.TXT"_s, txt}, {u"b.TTD"_s, ttd}} << u"combine"_s
        << Texts{u"a.TTD"_s, u"b.TTD"_s} << true << QString() << Answers()
        << locked + Texts{u"info:b.TXT\r\nError:ファイルが見つかりません"_s, SomeErrors} + unlocked
        << FileSet{{u"a.LRC"_s, Cp932(Combined(Song().ttd, Song().source))}};
    QTest::newRow("a declined overwrite ends with the error summary")
        << FileSet{{u"a.TTD"_s, ttd}, {u"a.TXT"_s, txt}, {u"a.LRC"_s, "old"}} << u"combine"_s
        << Texts{u"a.TTD"_s} << true << QString() << Answers{false}
        << locked + Texts{u"ask:%D/a.LRC\r\n上書きしますか?"_s, SomeErrors} + unlocked
        << FileSet{{u"a.LRC"_s, "old"}};
    QTest::newRow("rename: the dots go, then the summary, then the recent list")
        << FileSet{{u"a.txt"_s, "a"}} << u"ext"_s << Texts{u"a.txt"_s} << false << u"..lrc"_s
        << Answers()
        << raised + Texts{u"apply:lrc"_s + recent, AllOk, u"apply:lrc|lrc,TXT,SRC,LRC"_s} + lowered
        << FileSet{{u"a.lrc"_s, "a"}};
    QTest::newRow("a rename with a failure keeps the recent list")
        << FileSet{{u"a.txt"_s, "a"}, {u"a.lrc"_s, "taken"}} << u"ext"_s << Texts{u"a.txt"_s}
        << true << u"lrc"_s << Answers()
        << locked +
               Texts{u"apply:lrc"_s + recent,
                     u"info:a.lrc\r\nError:すでにその名前のファイルが存在します"_s, SomeErrors} +
               unlocked
        << FileSet{{u"a.txt"_s, "a"}};
    QTest::newRow("a new extension of dots only is emptied and nothing renamed")
        << FileSet{{u"a.txt"_s, "a"}} << u"ext"_s << Texts{u"a.txt"_s} << true << u"..."_s
        << Answers()
        << locked + Texts{u"apply:"_s + recent, u"info:新拡張子が指定されていません。"_s} + unlocked
        << FileSet{{u"a.txt"_s, "a"}};
}

void TestBatchDriver::runsBatch()
{
    QFETCH(FileSet, files);
    QFETCH(QString, target);
    QFETCH(Texts, dropped);
    QFETCH(bool, alwaysOnTop);
    QFETCH(QString, newExtension);
    QFETCH(Answers, answers);
    QFETCH(Texts, events);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    DriverBench bench;
    bench.jobs.recorder.answers = answers;
    bench.state.mnAlways = alwaysOnTop;
    bench.state.CmbNewExt = newExtension;
    bench.state.CmbNewExtItems = Texts{u"TXT"_s, u"SRC"_s, u"LRC"_s};
    for (QString& name : dropped)
        name = dir.filePath(name);
    QVERIFY(bench.drop(target, dropped));

    QSignalSpy finished(&bench.driver, &BatchDriver::batchFinished);
    bench.driver.RunBatch();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!bench.driver.isPending());
    QCOMPARE(bench.jobs.recorder.events, events.replaceInStrings(u"%D"_s, dir.path()));
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

void TestBatchDriver::dropsWithoutFilesOrDuringARunAreIgnored()
{
    DriverBench bench;
    QVERIFY(!bench.driver.dropOnDivide({}, u".LRC"_s));
    QVERIFY(!bench.driver.isPending());
    bool takenDuringRun = true;
    bench.jobs.recorder.duringInfo = [&] {
        takenDuringRun = bench.driver.dropOnExtensionTool({u"/k/other.txt"_s});
    };
    QVERIFY(bench.driver.dropOnDivide({u"/k/a.TXT"_s}, u".LRC"_s));
    bench.driver.RunBatch();
    QVERIFY(!takenDuringRun);
    QCOMPARE(bench.driver.batchMode(), BatchMode::NoFiles);
    QVERIFY(!bench.driver.isRunning());
}

void TestBatchDriver::timerRunsTheFirstDropOnce()
{
    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, {{u"a.txt"_s, "a"}, {u"b.txt"_s, "b"}}));
    DriverBench bench;
    bench.state.CmbNewExt = u"lrc"_s;
    QSignalSpy finished(&bench.driver, &BatchDriver::batchFinished);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(bench.driver.dropOnExtensionTool({dir.filePath(u"a.txt"_s)}));
    QVERIFY(!bench.driver.dropOnDivide({dir.filePath(u"b.LRC"_s)}, u".LRC"_s));
    QVERIFY(!bench.driver.dropOnExtensionTool({dir.filePath(u"b.txt"_s)}));
    QVERIFY(bench.jobs.recorder.events.isEmpty());

    QVERIFY(finished.wait(5000));
    QVERIFY(clock.elapsed() >= 190);
    QTest::qWait(300);
    QCOMPARE(finished.count(), 1);
    QString mismatch;
    QVERIFY2(Matches(dir, {{u"a.lrc"_s, "a"}, {u"b.txt"_s, "b"}}, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestBatchDriver)
#include "tst_batchdriver.moc"
