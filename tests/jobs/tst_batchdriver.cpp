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
const QString NoFiles =
    u"info:処理対象ファイルがありませんでした。\r\n拡張子設定を再確認してください。"_s;

// A driver over recorded dialogs and hooks whose window state the test sets.
struct DriverBench {
    JobBench jobs;
    JobSnapshot state;
    BatchDriver driver{jobs.context, [this] { return state; },
                       [this](const QString& text, const QStringList& items) {
                           jobs.log.events.append(u"apply:"_s + text + u'|' + items.join(u','));
                       }};
};

bool Drop(BatchDriver& driver, const QString& target, const QStringList& paths,
          const QString& setting)
{
    if (target == u"divide")
        return driver.dropOnDivide(paths, setting);
    if (target == u"combine")
        return driver.dropOnCombine(paths, setting);
    return driver.dropOnExtensionTool(paths);
}

} // namespace

class TestBatchDriver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filtersDrops_data();
    void filtersDrops();
    void takesDrops_data();
    void takesDrops();
    void runsBatch_data();
    void runsBatch();
    void dropsAreIgnoredWhilePending();
    void dropsAreIgnoredWhileRunning();
    void timerRunsTheFirstDropOnce();
};

void TestBatchDriver::filtersDrops_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("accepted");

    QTest::newRow("three letters in any case, nothing more")
        << QStringList{u"/k/song.LRC"_s, u"/k/song.Lrc"_s, u"/k/song.lrc2"_s, u"/k/song"_s,
                       u"/k/song.lrc"_s, u"/k/song.TXT"_s, u"/k/readme.doc"_s}
        << u".LRC"_s << QStringList{u"/k/song.LRC"_s, u"/k/song.Lrc"_s, u"/k/song.lrc"_s};
    QTest::newRow("the order of the drop is kept")
        << QStringList{u"/k/b.ttd"_s, u"/k/a.TTD"_s} << u".TTD"_s
        << QStringList{u"/k/b.ttd"_s, u"/k/a.TTD"_s};
    QTest::newRow("a dot in a folder name is no extension")
        << QStringList{u"/k.lrc/song"_s} << u".LRC"_s << QStringList();
    QTest::newRow("only the last extension counts")
        << QStringList{u"/k/song.lrc.bak"_s, u"/k/song.bak.lrc"_s} << u".LRC"_s
        << QStringList{u"/k/song.bak.lrc"_s};
    QTest::newRow("a four-letter setting keys on its last three letters")
        << QStringList{u"/k/a.KRAX"_s, u"/k/a.rax"_s} << u".KRAX"_s << QStringList{u"/k/a.rax"_s};
    QTest::newRow("a two-letter setting keeps its dot and matches nothing")
        << QStringList{u"/k/a.LR"_s, u"/k/a.lr"_s, u"/k/a"_s} << u".LR"_s << QStringList();
    QTest::newRow("an empty setting matches nothing, not names without an extension")
        << QStringList{u"/k/a"_s, u"/k/b."_s} << QString() << QStringList();
}

void TestBatchDriver::filtersDrops()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, setting);
    QFETCH(QStringList, accepted);
    QCOMPARE(FilterDrop(paths, setting), accepted);
}

void TestBatchDriver::takesDrops_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("queue");

    QTest::newRow("divide drop queues only the lyrics")
        << u"divide"_s << QStringList{u"/k/song.LRC"_s, u"/k/song.TXT"_s, u"/k/readme.doc"_s}
        << u".LRC"_s << true << int(BatchMode::DivideFiles) << QStringList{u"/k/song.LRC"_s};
    QTest::newRow("combine drop without a TTD is taken as no files")
        << u"combine"_s << QStringList{u"/k/song.TXT"_s} << u".TTD"_s << true
        << int(BatchMode::NoFiles) << QStringList();
    QTest::newRow("extension tool takes every path")
        << u"ext"_s << QStringList{u"/k/a.txt"_s, u"/k/folder"_s} << QString() << true
        << int(BatchMode::RenameExtensions) << QStringList{u"/k/a.txt"_s, u"/k/folder"_s};
    QTest::newRow("a drop without files is ignored")
        << u"divide"_s << QStringList() << u".LRC"_s << false << int(BatchMode::NoFiles)
        << QStringList();
    QTest::newRow("an extension-tool drop without files is ignored")
        << u"ext"_s << QStringList() << QString() << false << int(BatchMode::NoFiles)
        << QStringList();
}

void TestBatchDriver::takesDrops()
{
    QFETCH(QString, target);
    QFETCH(QStringList, paths);
    QFETCH(QString, setting);
    QFETCH(bool, taken);
    QFETCH(int, mode);
    QFETCH(QStringList, queue);

    DriverBench bench;
    QCOMPARE(Drop(bench.driver, target, paths, setting), taken);
    QCOMPARE(bench.driver.isPending(), taken);
    QCOMPARE(int(bench.driver.batchMode()), mode);
    QCOMPARE(bench.driver.batchQueue(), queue);
    QVERIFY(bench.jobs.log.events.isEmpty());
}

void TestBatchDriver::runsBatch_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<bool>("alwaysOnTop");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<FileSet>("after");

    const QByteArray lyrics = Cp932(Song().tagged);
    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);
    const QStringList locked{u"enabled:off"_s, u"hourglass:on"_s};
    const QStringList raised = locked + QStringList{u"topmost:on"_s};
    const QStringList unlocked{u"hourglass:off"_s, u"enabled:on"_s};
    const QStringList lowered = unlocked + QStringList{u"topmost:off"_s};
    const QString recent = u"|TXT,SRC,LRC"_s;

    QTest::newRow("no files: the hourglass goes before the message")
        << FileSet() << u"divide"_s << QStringList{u"song.TXT"_s} << false << QString()
        << QList<bool>() << raised + QStringList{u"hourglass:off"_s, NoFiles} + lowered
        << FileSet();
    QTest::newRow("no files, always on top: topmost left alone")
        << FileSet() << u"combine"_s << QStringList{u"song.TXT"_s} << true << QString()
        << QList<bool>() << locked + QStringList{u"hourglass:off"_s, NoFiles} + unlocked
        << FileSet();
    QTest::newRow("divide of the matching file, then the summary")
        << FileSet{{u"song.LRC"_s, lyrics}} << u"divide"_s
        << QStringList{u"song.LRC"_s, u"song.TXT"_s, u"readme.doc"_s} << false << QString()
        << QList<bool>() << raised + QStringList{AllOk} + lowered
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}};
    QTest::newRow("combine with an error: its message, then the error summary")
        << FileSet{{u"a.TTD"_s, ttd}, {u"a.TXT"_s, txt}, {u"b.TTD"_s, ttd}} << u"combine"_s
        << QStringList{u"a.TTD"_s, u"b.TTD"_s} << true << QString() << QList<bool>()
        << locked + QStringList{u"info:b.TXT\r\nError:ファイルが見つかりません"_s, SomeErrors} +
               unlocked
        << FileSet{{u"a.LRC"_s, Cp932(Combined(Song().ttd, Song().source))}};
    QTest::newRow("a declined overwrite ends with the error summary")
        << FileSet{{u"a.TTD"_s, ttd}, {u"a.TXT"_s, txt}, {u"a.LRC"_s, "old"}} << u"combine"_s
        << QStringList{u"a.TTD"_s} << true << QString() << QList<bool>{false}
        << locked + QStringList{u"ask:%D/a.LRC\r\n上書きしますか?"_s, SomeErrors} + unlocked
        << FileSet{{u"a.LRC"_s, "old"}};
    QTest::newRow("rename: dots go, then the summary, then the recent list")
        << FileSet{{u"a.txt"_s, "a"}} << u"ext"_s << QStringList{u"a.txt"_s} << false << u"..lrc"_s
        << QList<bool>()
        << raised + QStringList{u"apply:lrc"_s + recent, AllOk, u"apply:lrc|lrc,TXT,SRC,LRC"_s} +
               lowered
        << FileSet{{u"a.lrc"_s, "a"}};
    QTest::newRow("rename with a failure keeps the recent list")
        << FileSet{{u"a.txt"_s, "a"}, {u"a.lrc"_s, "taken"}} << u"ext"_s << QStringList{u"a.txt"_s}
        << true << u".lrc"_s << QList<bool>()
        << locked +
               QStringList{u"apply:lrc"_s + recent,
                           u"info:a.lrc\r\nError:すでにその名前のファイルが存在します"_s,
                           SomeErrors} +
               unlocked
        << FileSet{{u"a.txt"_s, "a"}, {u"a.lrc"_s, "taken"}};
    QTest::newRow("a new extension of dots only is emptied and nothing renamed")
        << FileSet{{u"a.txt"_s, "a"}} << u"ext"_s << QStringList{u"a.txt"_s} << true << u"..."_s
        << QList<bool>()
        << locked + QStringList{u"apply:"_s + recent, u"info:新拡張子が指定されていません。"_s} +
               unlocked
        << FileSet{{u"a.txt"_s, "a"}};
}

void TestBatchDriver::runsBatch()
{
    QFETCH(FileSet, files);
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(bool, alwaysOnTop);
    QFETCH(QString, newExtension);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, events);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    DriverBench bench;
    bench.jobs.dialogs.answers = answers;
    bench.state.mnAlways = alwaysOnTop;
    bench.state.CmbNewExt = newExtension;
    bench.state.CmbNewExtItems = QStringList{u"TXT"_s, u"SRC"_s, u"LRC"_s};
    QStringList paths;
    for (const QString& name : dropped)
        paths.append(dir.filePath(name));
    QVERIFY(Drop(bench.driver, target, paths,
                 target == u"divide" ? bench.state.timeTaggedExtension : bench.state.ttdExtension));

    QSignalSpy finished(&bench.driver, &BatchDriver::batchFinished);
    bench.driver.RunBatch();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!bench.driver.isPending());
    QVERIFY(!bench.driver.isRunning());
    QCOMPARE(bench.jobs.log.events, events.replaceInStrings(u"%D"_s, dir.path()));
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

void TestBatchDriver::dropsAreIgnoredWhilePending()
{
    DriverBench bench;
    QVERIFY(bench.driver.dropOnDivide({u"/k/a.LRC"_s}, u".LRC"_s));
    QVERIFY(!bench.driver.dropOnCombine({u"/k/b.TTD"_s}, u".TTD"_s));
    QVERIFY(!bench.driver.dropOnExtensionTool({u"/k/c.txt"_s}));
    QCOMPARE(bench.driver.batchMode(), BatchMode::DivideFiles);
    QCOMPARE(bench.driver.batchQueue(), QStringList{u"/k/a.LRC"_s});
}

void TestBatchDriver::dropsAreIgnoredWhileRunning()
{
    DriverBench bench;
    bool takenDuringRun = true;
    bench.jobs.dialogs.duringInfo = [&] {
        takenDuringRun = bench.driver.dropOnExtensionTool({u"/k/other.txt"_s});
    };
    QVERIFY(bench.driver.dropOnDivide({u"/k/a.TXT"_s}, u".LRC"_s));
    bench.driver.RunBatch();
    QVERIFY(!takenDuringRun);
    QCOMPARE(bench.driver.batchMode(), BatchMode::NoFiles);
    QVERIFY(!bench.driver.isPending());
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
    QVERIFY(!bench.driver.dropOnExtensionTool({dir.filePath(u"b.txt"_s)}));
    QVERIFY(bench.jobs.log.events.isEmpty());

    QVERIFY(finished.wait(5000));
    QVERIFY(clock.elapsed() >= 190);
    QTest::qWait(300);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!bench.driver.isPending());
    QString mismatch;
    QVERIFY2(Matches(dir, {{u"a.lrc"_s, "a"}, {u"b.txt"_s, "b"}}, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestBatchDriver)
#include "tst_batchdriver.moc"
