#include "jobs/singlecombine.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;

class TestSingleCombine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
};

void TestSingleCombine::runs_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("events");
    QTest::addColumn<SingleCombineOutcome>("outcome");
    QTest::addColumn<QString>("after");
    const auto row = [](const char* name, const QString& files, const QString& script,
                        const QString& events, SingleCombineOutcome outcome, const QString& after) {
        QTest::newRow(name) << files << script << events << outcome << after;
    };
    const QString pair = u"song.TTD=ttd song.TXT=txt dest=/ "_s;
    const QString other = u"song.TTD=ttd song.TXT=txt-other"_s;
    // The window is locked around the combine itself, and usable again before any message.
    const QString locked = u"enabled:off hourglass:on hourglass:off enabled:on "_s;
    using enum SingleCombineOutcome;

    row("an empty TTD field: nothing happens, nothing is said", pair, u"ttd= out=%D/dest"_s, {},
        NothingToDo, u"dest/song.LRC=-"_s);
    row("an empty source field: likewise", pair, u"sozai="_s, {}, NothingToDo, {});
    row("no output folder while not beside the TTD", pair, {}, u"no-output-folder"_s, Failed, {});
    row("beside the TTD no output folder is needed or looked at", pair, u"same out=%D/nowhere"_s,
        locked, Written, u"song.LRC=lrc"_s);
    row("TTD and source missing: only the TTD is named", {}, u"same"_s, u"notice:song.TTD:0"_s,
        Failed, {});
    row("a missing output folder is shown as typed", pair, u"out=%D/nowhere/"_s,
        u"folder:nowhere/"_s, Failed, {});
    row("an output folder whose name is too long is said to be so", pair,
        u"out=%D/"_s + QString(300, u'o'), QString(300, u'o') + u":18"_s, Failed, {});
    row("an output folder typed without its separator", pair, u"out=%D/dest"_s, locked, Written,
        u"dest/song.LRC=lrc song.LRC=-"_s);
    row("the root passes the folder test; 23 names the TTD", other, u"out=/"_s,
        locked + u"mismatch:song.TTD"_s, Failed, {});
    row("a source not valid in its encoding: the notice names the byte and the encoding",
        u"song.TTD=ttd song.TXT=undecodable"_s, u"same"_s, u"notice:song.TXT:4:CP932@1"_s, Failed,
        {});
    row("a read that fails: the notice gives the system's reason", pair, u"same nofiles"_s,
        u"notice:song.TTD:1:errno=24"_s, Failed, {});
    row("source lyrics that read both ways with a tag on other bytes, even unchecked: 24",
        u"song.TTD=ttd-kana song.TXT=txt-kana"_s, u"same nocrc"_s, locked + u"song.TXT:24"_s,
        Failed, u"song.LRC=-"_s);
    row("21 names the TTD", u"song.TTD=TTD? song.TXT=txt"_s, u"same"_s, locked + u"song.TTD:21"_s,
        Failed, u"song.LRC=-"_s);
    row("22 names the source", u"song.TTD=ttd song.TXT=blank"_s, u"same"_s,
        locked + u"song.TXT:22"_s, Failed, {});
    row("a repair the CRC proves is offered; Yes combines, the source stays",
        u"song.TTD=ttd song.TXT=txt-spaces"_s, u"same yes"_s, locked + u"repair:song.TTD:8"_s,
        Written, u"song.LRC=lrc song.TXT=txt-spaces"_s);
    row("the CRC option and the time ratio are passed on", other, u"same nocrc ratio"_s, locked,
        Written, u"song.LRC=nocrc+ratio"_s);
    row("no size limit on the inputs", u"song.TTD=ttd60001 song.TXT=txt60001"_s, u"same"_s, locked,
        Written, u"song.LRC=lrc60001"_s);
    row("an input larger than memory may hold is refused unread", u"song.TTD=ttd song.TXT=>1G"_s,
        u"same"_s, u"notice:song.TXT:2"_s, Failed, u"song.LRC=-"_s);
    row("an existing output: No keeps it", pair + u"song.LRC=old"_s, u"same no"_s,
        locked + u"song.LRC?"_s, Declined, u"song.LRC=old"_s);
    row("an output that cannot be written", pair + u"dest/song.LRC=/"_s, u"out=%D/dest overwrite"_s,
        locked + u"notice:dest/song.LRC:3"_s, Failed, {});
}

void TestSingleCombine::runs()
{
    QFETCH(QString, files);
    QFETCH(QString, script);
    QFETCH(QString, events);
    QFETCH(SingleCombineOutcome, outcome);
    QFETCH(QString, after);

    JobBench bench;
    QVERIFY(bench.fill(files));
    const JobSnapshot state = bench.settings(script);
    const NoFileOpens noFiles(script.contains(u"nofiles"_s));
    QCOMPARE(SingleCombine(state, bench.context), outcome);
    QCOMPARE(bench.events(), events.split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(bench.check(after), after);
}

QTEST_GUILESS_MAIN(TestSingleCombine)
#include "tst_singlecombine.moc"
