#include "jobs/batchdriver.h"
#include "jobtesting.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

// What the driver writes back to the extension tool is recorded as "apply:TEXT|ITEM,ITEM".
struct DriverBench : JobBench {
    JobSnapshot state;
    BatchDriver driver{context, [this] { return state; },
                       [this](const QString& text, const QStringList& items) {
                           recorder.events << u"apply:"_s + text + u'|' + items.join(u',');
                       },
                       std::chrono::hours(1)};
};

} // namespace

class TestBatchDriver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A drop keeps, in order, the names whose extension is the setting's last three letters in any
    // case; a setting of fewer letters matches nothing, not even names without an extension.
    void filtersDrops()
    {
        const auto filter = [](const QString& setting, const QString& paths) {
            return FilterDrop(paths.split(u' '), setting).join(u' ');
        };
        QCOMPARE(filter(u".LRC"_s, u"song.LRC song.lrc2 song song.Lrc song.lrc.bak k.lrc/song"_s),
                 u"song.LRC song.Lrc"_s);
        QCOMPARE(filter(u".KRAX"_s, u"a.KRAX a.rax"_s), u"a.rax"_s);
        QCOMPARE(filter(u".LR"_s, u"a.LR a.lr"_s), QString());
        QCOMPARE(filter(QString(), u"a b."_s), QString());
    }

    void runsBatch_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("drop"); // the target, then the dropped names
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("events"); // between the window's locking and unlocking
        QTest::addColumn<QString>("after");
        const auto row = [](const char* name, const QString& files, const QString& drop,
                            const QString& script, const QString& events, const QString& after) {
            QTest::newRow(name) << files << drop << script << events << after;
        };
        const QString allOk = u" summary:0"_s;
        const QString someErrors = u" summary:1"_s;
        const QString noFiles = u"hourglass:off summary:2"_s;
        const QString pair = u"a.TTD=ttd a.TXT=txt "_s;

        row("always on top: the topmost band is left alone", {}, u"combine song.TXT"_s, u"always"_s,
            noFiles, {});
        row("an error: its message, then the error summary", pair + u"b.TTD=ttd"_s,
            u"combine a.TTD b.TTD"_s, u"always"_s, u"b.TXT:11"_s + someErrors, u"a.LRC=lrc"_s);
        row("rename: the dots go, then the summary, then the recent list", u"a.txt=a"_s,
            u"rename a.txt"_s, u"new=..lrc"_s,
            u"apply:lrc|TXT,SRC,LRC"_s + allOk + u" apply:lrc|lrc,TXT,SRC,LRC"_s, u"a.lrc=a"_s);
        row("a rename with a failure keeps the recent list", u"a.txt=a a.lrc=taken"_s,
            u"rename a.txt"_s, u"always new=lrc"_s,
            u"apply:lrc|TXT,SRC,LRC a.lrc:31"_s + someErrors, u"a.txt=a"_s);
        row("a new extension of dots only is emptied and nothing renamed", u"a.txt=a"_s,
            u"rename a.txt"_s, u"always new=..."_s, u"apply:|TXT,SRC,LRC summary:3"_s,
            u"a.txt=a"_s);
    }

    void runsBatch()
    {
        QFETCH(QString, files);
        QFETCH(QString, drop);
        QFETCH(QString, script);
        QFETCH(QString, events);
        QFETCH(QString, after);

        DriverBench bench;
        QVERIFY(bench.fill(files));
        bench.state = bench.settings(script);
        bench.state.recentNewExtensions = Texts{u"TXT"_s, u"SRC"_s, u"LRC"_s};
        const QString target = drop.section(u' ', 0, 0);
        const Texts paths = bench.paths(drop.section(u' ', 1));
        BatchDriver& driver = bench.driver;
        QVERIFY(target == u"divide"    ? driver.dropOnDivide(paths, bench.state.lyricsExtension)
                : target == u"combine" ? driver.dropOnCombine(paths, bench.state.ttdExtension)
                                       : driver.dropOnExtensionTool(paths));

        QSignalSpy finished(&driver, &BatchDriver::batchFinished);
        driver.runBatch();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!driver.isPending());
        // The window is raised for the run unless it is always on top.
        const bool raised = !bench.state.alwaysOnTop;
        const QString frame =
            u"enabled:off hourglass:on "_s + (raised ? u"topmost:on "_s : QString()) + events +
            u" hourglass:off enabled:on"_s + (raised ? u" topmost:off"_s : QString());
        QCOMPARE(bench.events(), frame.split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(bench.check(after), after);
    }

    // Drops are taken one batch at a time: none while one waits for its tick or runs, and the batch
    // runs in the tick, on the event loop, after the drop has returned.
    void takesOneDropAtATime()
    {
        DriverBench bench;
        QVERIFY(bench.fill(u"a.txt=a b.txt=b"_s));
        bench.state.newExtension = u"lrc"_s;
        BatchDriver driver{bench.context, [&] { return bench.state; },
                           [](const QString&, const QStringList&) {}, std::chrono::milliseconds(0)};
        const Texts b{bench.path(u"b.txt"_s)};
        bool takenDuringRun = true;
        bench.recorder.duringSummary = [&] { takenDuringRun = driver.dropOnExtensionTool(b); };
        QSignalSpy finished(&driver, &BatchDriver::batchFinished);

        QVERIFY(!driver.dropOnDivide({}, u".LRC"_s)); // a drop that carries no files
        QVERIFY(driver.dropOnExtensionTool({bench.path(u"a.txt"_s)}));
        QVERIFY(!driver.dropOnDivide({bench.path(u"b.LRC"_s)}, u".LRC"_s));
        QVERIFY(!driver.dropOnExtensionTool(b));
        QVERIFY(bench.recorder.events.isEmpty());
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!takenDuringRun);
        QCOMPARE(bench.check(u"a.lrc=a b.txt=b"_s), u"a.lrc=a b.txt=b"_s);
    }
};

QTEST_GUILESS_MAIN(TestBatchDriver)
#include "tst_batchdriver.moc"
