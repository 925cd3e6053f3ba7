#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobs/formatconversion.h"
#include "jobs/jobpaths.h"
#include "jobs/retimejob.h"
#include "jobs/singlecombine.h"
#include "jobtesting.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

// Words of a script besides the bench's settings: "to=FORMAT" (a conversion; without it a
// retime), "shift=MS", "dir=DIR" (the output folder), "strict", "files=NAME,NAME" (the queue, or
// retime's OLD and NEW).
QString Word(const QString& script, const QString& key)
{
    for (const QString& word : script.split(u' ')) {
        if (word.startsWith(key + u'='))
            return word.mid(key.size() + 1);
    }
    return {};
}

} // namespace

class TestBatchJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
    void singleCombine_data();
    void singleCombine();
    void convertsAndRetimes_data();
    void convertsAndRetimes();
    void replacesAgainAndAgain();
    void survivesItsFolderChanging();
    void remembersNewExtension();
    void keepsOutputsOffInputs_data();
    void keepsOutputsOffInputs();
};

void TestBatchJobs::runs_data()
{
    // With "new=EXT" in the script the queue is renamed; else TTD files are combined, others
    // divided.
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("dialogs"); // as the recorder writes them
    QTest::addColumn<BatchResults>("results");
    QTest::addColumn<QString>("after");
    using enum ResultCode;
    const auto row = [](const char* name, const QString& files, const QString& queue,
                        const QString& script, const QString& dialogs, const BatchResults& results,
                        const QString& after) {
        QTest::newRow(name) << files << queue << script << dialogs << results << after;
    };
    const QString ttd = u"song.TTD"_s;
    const QString lrc = u"song.LRC"_s;
    const QString lyrics = u"song.LRC=lrc "_s;

    row("combine: the TTD is checked first, both inputs before either is read",
        u"b.TTD=ttd c.TTD= d.TTD= d.TXT="_s, u"a.TTD b.TTD c.TTD d.TTD"_s, {},
        u"a.TTD:11 b.TXT:11 c.TXT:11 d.TTD:14"_s,
        {FileNotFound, FileNotFound, FileNotFound, FileEmpty}, u"b.LRC=- d.LRC=-"_s);
    row("combine: each failure names the file at fault, the queue goes on",
        u"a.TTD=TTD? a.TXT=txt b.TTD=ttd b.TXT=blank c.TTD=ttd c.TXT=txt-other d.TTD=ttd60001 "
        u"d.TXT=txt60001 e.TTD=ttd e.TXT=txt"_s,
        u"a.TTD b.TTD c.TTD d.TTD e.TTD"_s, {}, u"a.TTD:21 b.TXT:22 mismatch:c.TTD d.TXT:12"_s,
        {InvalidTtd, EmptySourceLyrics, CrcMismatch, FileTooLarge, Ok},
        u"a.LRC=- b.LRC=- c.LRC=- d.LRC=- e.LRC=lrc"_s);
    row("combine: source lyrics that read both ways with a tag on other bytes: refused, named",
        u"a.TTD=ttd-kana a.TXT=txt-kana"_s, u"a.TTD"_s, {}, u"a.TXT:24"_s, {AmbiguousEncoding},
        u"a.LRC=-"_s);
    row("combine: a read that fails gives the system's reason", u"a.TTD=ttd a.TXT=txt"_s,
        u"a.TTD"_s, u"nofiles"_s, u"a.TTD:13:errno=24"_s, {ReadFailed}, u"a.LRC=-"_s);
    row("combine: No keeps an existing output and spoils the summary",
        u"song.TTD=ttd song.TXT=txt song.LRC=old"_s, ttd, u"no"_s, u"song.LRC?"_s, {Ok},
        u"song.LRC=old"_s);
    row("combine: a TTD larger than any lyrics input, as divide writes it, is taken",
        u"song.TTD=ttd-tags song.TXT=txt-tags"_s, ttd, {}, {}, {Ok}, u"song.LRC=lrc-tags"_s);
    row("divide: links at the outputs' names are asked about; a dangling one is replaced itself",
        lyrics + u"song.TXT=@nowhere song.TTD=@real real=old"_s, lrc, u"yes yes"_s,
        u"song.TXT? song.TTD?"_s, {Ok}, u"song.TXT=txt nowhere=- song.TTD=@real real=ttd"_s);
    row("divide: through a link into another folder, the other output stays beside the lyrics",
        lyrics + u"song.TXT=@sub/real sub/real=old"_s, lrc, u"overwrite"_s, {}, {Ok},
        u"song.TXT=@real sub/real=txt song.TTD=ttd sub/song.TTD=-"_s);
    row("combine: a link to a file this run wrote is not written through",
        u"a.TTD=ttd a.TXT=txt b.TTD=ttd-other b.TXT=txt-other b.LRC=@a.LRC"_s, u"a.TTD b.TTD"_s,
        u"overwrite"_s, u"b.LRC:17"_s, {Ok, WrittenThisRun}, u"a.LRC=lrc b.LRC=@a.LRC"_s);
    row("divide: a file that appears before the last step is asked about, No keeps it",
        u"song.LRC=lrc"_s, lrc, u"appear=song.TTD no"_s, u"song.TTD?"_s, {Ok},
        u"song.TXT=txt song.TTD=appeared"_s);
    row("divide: a name that is not UTF-8 is refused, and the look-alike left alone",
        u"caf\uFFFD.LRC=lrc"_s, u"caf\xDCE9.LRC"_s, {}, u"caf\xDCE9.LRC:16"_s, {InvalidFileName},
        u"caf\uFFFD.LRC=lrc caf\uFFFD.TXT=-"_s);
    row("divide: Yes then No keeps the new source and the old TTD; No to a source writes neither",
        u"a.LRC=lrc a.TXT=old a.TTD=old b.LRC=lrc b.TXT=old c.LRC=lrc"_s, u"a.LRC b.LRC c.LRC"_s,
        u"yes no no"_s, u"a.TXT? a.TTD? b.TXT?"_s, {Ok, Ok, Ok},
        u"a.TXT=txt a.TTD=old b.TXT=old b.TTD=- c.TXT=txt c.TTD=ttd"_s);

    row("rename: only the last extension is replaced, the new one as given",
        u"song.txt=1 a.b.txt=2 README=3"_s, u"song.txt a.b.txt README"_s, u"new=t.XT"_s, {},
        {Ok, Ok, Ok}, u"song.t.XT=1 a.b.t.XT=2 README.t.XT=3 song.txt=-"_s);
    row("rename: a dropped folder is renamed like a file", u"album.old/track=t"_s, u"album.old"_s,
        u"new=new"_s, {}, {Ok}, u"album.new/track=t album.old=-"_s);
    row("rename: a taken name or the file's own gives 31, a folder or no file 32; all go on",
        u"a.txt=a a.lrc=b b.lrc=b c.txt=c c.lrc=/ e.txt=e"_s, u"a.txt b.lrc c.txt d.txt e.txt"_s,
        u"new=lrc"_s, u"a.lrc:31 b.lrc:31 c.lrc:32 d.lrc:32"_s,
        {TargetExists, TargetExists, RenameFailed, RenameFailed, Ok},
        u"a.txt=a a.lrc=b b.lrc=b c.txt=c c.lrc=/ e.lrc=e"_s);
    row("rename: a name that is not UTF-8 is refused", u"caf\uFFFD.txt=a"_s, u"caf\xDCE9.txt"_s,
        u"new=lrc"_s, u"caf\xDCE9.lrc:16"_s, {InvalidFileName},
        u"caf\uFFFD.txt=a caf\uFFFD.lrc=-"_s);
    row("rename: a new name too long for the file system is said to be so", u"song.txt=txt"_s,
        u"song.txt"_s, u"new="_s + QString(300, u'x'), u"song."_s + QString(300, u'x') + u":18"_s,
        {NameTooLong}, u"song.txt=txt"_s);
    row("rename: an extension with a separator moves nothing into another folder",
        u"song.txt=txt song.x=/"_s, u"song.txt"_s, u"new=x/y"_s, u"song.x/y:32"_s, {RenameFailed},
        u"song.txt=txt song.x/y=-"_s);
}

void TestBatchJobs::runs()
{
    QFETCH(QString, files);
    QFETCH(QString, queue);
    QFETCH(QString, script);
    QFETCH(QString, dialogs);
    QFETCH(BatchResults, results);
    QFETCH(QString, after);

    JobBench bench;
    QVERIFY(bench.fill(files));
    const JobSnapshot state = bench.settings(script);
    const Texts paths = bench.paths(queue);
    BatchResults found{ResultCode::FileEmpty};
    const NoFileOpens noFiles(script.contains(u"nofiles"_s));
    const bool ok = !state.newExtension.isEmpty()
                        ? BatchRename(paths, state.newExtension, bench.context, found)
                        : (queue.endsWith(u".TTD") ? BatchCombine : BatchDivide)(
                              paths, state, bench.context, found);
    // An error or a No spoils the summary.
    QCOMPARE(ok, results == BatchResults(results.size(), ResultCode::Ok) &&
                     !script.split(u' ').contains(u"no"_s));
    QCOMPARE(bench.events(), dialogs.split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(found, results);
    QCOMPARE(bench.check(after), after);
}

void TestBatchJobs::singleCombine_data()
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

void TestBatchJobs::singleCombine()
{
    QFETCH(QString, files);
    QFETCH(QString, script);
    QFETCH(QString, events);
    QFETCH(QString, after);

    JobBench bench;
    QVERIFY(bench.fill(files));
    const JobSnapshot state = bench.settings(script);
    const NoFileOpens noFiles(script.contains(u"nofiles"_s));
    QTEST(SingleCombine(state, bench.context), "outcome");
    QCOMPARE(bench.events(), events.split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(bench.check(after), after);
}

void TestBatchJobs::convertsAndRetimes_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("after");
    const auto row = [](const char* name, const QString& files, const QString& script,
                        const QString& events, const QString& after) {
        QTest::newRow(name) << files << script << events << after;
    };
    const QString pair = u"song.TTD=ttd song.TXT=txt "_s;
    row("to LRC beside a.LRC: a folder that tells case apart keeps both", u"a.LRC=lrc"_s,
        u"to=lrc files=a.LRC"_s, {}, u"a.lrc=as-lrc a.LRC=lrc"_s);
    row("to enhanced LRC", u"a.LRC=lrc"_s, u"to=elrc files=a.LRC"_s, {}, u"a.lrc=as-elrc"_s);
    row("to ASS, from a TTD file and the source lyrics beside it", pair, u"to=ass files=song.TTD"_s,
        {}, u"song.ass=as-ass"_s);
    row("to WebVTT into an output folder", u"a.LRC=lrc dest=/"_s,
        u"to=vtt dir=%D/dest files=a.LRC"_s, {}, u"dest/a.vtt=as-vtt a.vtt=-"_s);
    row("WebVTT back to tags, in code page 932", u"a.vtt=as-vtt"_s, u"to=tags files=a.vtt"_s, {},
        u"a.LRC=from-vtt"_s);
    row("to tags, text code page 932 cannot hold: UTF-8 with a byte-order mark",
        u"k.vtt=WEBVTT\n\n00:01.000-->00:02.000\n한\n"_s, u"to=tags files=k.vtt"_s, {},
        u"k.LRC=\uFEFF[00:01:00]한[00:02:00]\r\n\r\n"_s);
    row("the shift moves every time", u"k.vtt=WEBVTT\n\n00:01.000-->00:02.000\nx\n"_s,
        u"to=tags shift=-250 files=k.vtt"_s, {}, u"k.LRC=[00:00:75]x[00:01:75]\r\n\r\n"_s);
    row("each file on its own: one fails, the next is written",
        u"a.txt=lrc b.txt=untagged c.vtt=as-vtt"_s, u"to=tags files=a.txt,b.txt,c.vtt"_s,
        u"a.txt:45 b.txt:42"_s, u"c.LRC=from-vtt a.LRC=- b.LRC=-"_s);
    row("a TTD file is no input for tags", pair, u"to=tags files=song.TTD"_s, u"song.TTD:45"_s,
        u"song.LRC=-"_s);
    row("a TTD file whose source lyrics fail the CRC: nothing written",
        u"song.TTD=ttd song.TXT=txt-other"_s, u"to=lrc files=song.TTD"_s, u"mismatch:song.TTD"_s,
        u"song.lrc=-"_s);
    row("a TTD file without its source lyrics names them", u"song.TTD=ttd"_s,
        u"to=lrc files=song.TTD"_s, u"song.TXT:11"_s, u"song.lrc=-"_s);
    row("an existing output is asked about: No keeps it", u"a.LRC=lrc a.vtt=old"_s,
        u"to=vtt no files=a.LRC"_s, u"a.vtt?"_s, u"a.vtt=old"_s);
    row("an output folder that is not there: said once, nothing read", u"a.LRC=lrc b.LRC=lrc"_s,
        u"to=vtt dir=%D/none files=a.LRC,b.LRC"_s, u"folder:none"_s, u"a.vtt=-"_s);
    row("retime: the old text unchanged: the old file byte for byte",
        u"old.LRC=lrc new.TXT=lrc-text"_s, u"files=old.LRC,new.TXT"_s, u"retime:new.TXT:3/0/0/0"_s,
        u"new.LRC=lrc"_s);
    row("retime: from a TTD file and its source lyrics, into an output folder",
        u"song.TTD=ttd song.TXT=txt new.TXT=lrc-text dest=/"_s,
        u"files=song.TTD,new.TXT dir=%D/dest"_s, u"retime:new.TXT:3/0/0/0"_s,
        u"dest/new.LRC=lrc new.LRC=-"_s);
    row("retime: edited lyrics in UTF-8 give their output in UTF-8",
        u"old.LRC=lrc new.txt=あいうえお\r\nｶﾀｶﾅ\r\n"_s, u"files=old.LRC,new.txt"_s,
        u"retime:new.txt:3/0/1/0"_s,
        u"new.LRC=[00:01:00]あいう[00:02:50]えお\r\n[00:03:00]ｶﾀｶﾅ\r\n@TimeRatio=1\r\n"_s);
    row("retime: strict: what was lost is told and nothing written",
        u"old.LRC=lrc new.txt=あいう\r\nｶﾀｶﾅ\r\n"_s, u"files=old.LRC,new.txt strict"_s,
        u"retime:new.txt:2/1/0/0 new.txt:54"_s, u"new.LRC=-"_s);
    row("retime: an existing output is asked about: No keeps it",
        u"old.LRC=lrc new.TXT=lrc-text new.LRC=x"_s, u"no files=old.LRC,new.TXT"_s,
        u"retime:new.TXT:3/0/0/0 new.LRC?"_s, u"new.LRC=x"_s);
    row("retime: an old text without tags names the old file", u"old.LRC=untagged new.TXT=txt"_s,
        u"files=old.LRC,new.TXT"_s, u"old.LRC:52"_s, u"new.LRC=-"_s);
    row("retime: a missing new file is found before the old one is read, or a repair offered",
        u"song.TTD=ttd song.TXT=txt-spaces"_s, u"files=song.TTD,new.TXT"_s, u"new.TXT:11"_s,
        u"new.LRC=-"_s);
}

// A job succeeds when it reports nothing but what a retime carried.
void TestBatchJobs::convertsAndRetimes()
{
    QFETCH(QString, files);
    QFETCH(QString, script);
    QFETCH(QString, events);
    QFETCH(QString, after);
    JobBench bench;
    QVERIFY(bench.fill(files));
    const JobSnapshot state = bench.settings(script);
    const Texts queue = bench.paths(Word(script, u"files"_s).replace(u',', u' '));
    const QString to = Word(script, u"to"_s), folder = bench.expand(Word(script, u"dir"_s));
    BatchResults results;
    const bool ok =
        to.isEmpty()
            ? Retime({queue[0], queue[1], folder, script.split(u' ').contains(u"strict"_s)}, state,
                     bench.context)
            : BatchConvert(
                  queue,
                  {LyricsFormat(
                       Texts{u"tags"_s, u"lrc"_s, u"elrc"_s, u"ass"_s, u"vtt"_s}.indexOf(to)),
                   Word(script, u"shift"_s).toInt(), folder},
                  state, bench.context, results);
    QCOMPARE(bench.events().join(u' '), bench.expand(events));
    QCOMPARE(ok, QRegularExpression(u"^(retime:\\S+ ?)*$"_s).match(events).hasMatch());
    QCOMPARE(bench.check(after), after);
}

// A name as long as the file system allows is replaced again and again, and a replaced file
// keeps its owner, group and permissions, also those that the umask takes from a new file.
void TestBatchJobs::replacesAgainAndAgain()
{
    JobBench bench;
    const QString base = QString(251, u'a');
    QVERIFY(bench.fill(base + u".LRC=lrc "_s + base + u".TXT=old "_s + base + u".TTD=old"_s));
    const QByteArray source = QFile::encodeName(bench.path(base + u".TXT"_s));
    const QByteArray ttd = QFile::encodeName(bench.path(base + u".TTD"_s));
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown(source.constData(), 65534, 65534), 0);
    QCOMPARE(::chmod(source.constData(), 0640), 0);
    QCOMPARE(::chmod(ttd.constData(), 0666), 0);
    const mode_t umask = ::umask(022);
    BatchResults results;
    for (int round = 0; round < 2; ++round) {
        bench.context.writtenThisRun.clear(); // each round is a run of its own
        QVERIFY(BatchDivide({bench.path(base + u".LRC"_s)}, bench.settings(u"overwrite"_s),
                            bench.context, results));
    }
    ::umask(umask);
    QCOMPARE(bench.check(base + u".TXT=txt"_s), base + u".TXT=txt"_s);
    struct stat info {};
    QCOMPARE(::stat(source.constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0640u);
    if (root)
        QCOMPARE(info.st_uid, 65534u);
    QCOMPARE(::stat(ttd.constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0666u);
}

// Between the drop and the run, inputs vanish or become folders or garbage, outputs become
// folders or read-only, and the disk fills: each file gets its own message, the batch goes on
// to the end, and nothing but the outputs of the files that went through changes.
void TestBatchJobs::survivesItsFolderChanging()
{
    JobBench bench;
    Texts queue;
    for (int i = 0; i < 20; ++i) {
        const QString name = u"f%1."_s.arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY(bench.fill(name + u"LRC=lrc "_s + name + u"TXT=old "_s + name + u"TTD=old"_s));
        queue << bench.path(name + u"LRC"_s);
    }
    for (const QString& gone : {u"f03.LRC"_s, u"f05.LRC"_s, u"f07.TTD"_s, u"f13.LRC"_s})
        QVERIFY(QFile::remove(bench.path(gone)));
    QVERIFY(QFile::setPermissions(bench.path(u"f09.TXT"_s), QFile::ReadOwner));
    // f15 onwards: the disk is full for anything larger than a TTD.
    QVERIFY(
        bench.fill(u"f05.LRC=/ f07.TTD=/ f11.LRC=undecodable f13.LRC=@nowhere f15.LRC=lrc-tags"_s));
    // A write that fails part-way, as on a full disk: the kernel refuses bytes past the limit.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const rlimit full{20000, unlimited.rlim_max};
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
    BatchResults results;
    const bool ok = BatchDivide(queue, bench.settings(u"overwrite"_s), bench.context, results);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    QVERIFY(!ok);
    // Root may write any file, so a read-only output stops only other users.
    const bool root = ::geteuid() == 0;
    QCOMPARE(bench.events().join(u' '), u"f03.LRC:11 f05.LRC:11 f07.TTD:15 "_s +
                                            (root ? u""_s : u"f09.TXT:15 "_s) +
                                            u"f11.LRC:19:CP932@1 f13.LRC:11 f15.TTD:15"_s);
    const QString kept = u"f03.TXT=old f05.TXT=old f07.TXT=old f07.TTD=/ f11.TXT=old f11.TTD=old "
                         u"f13.TXT=old f15.TXT=old f15.TTD=old"_s;
    QCOMPARE(bench.check(kept), kept);
    const QString divided = u"f00.TXT=txt f00.TTD=ttd f19.TXT=txt f19.TTD=ttd"_s;
    QCOMPARE(bench.check(divided), divided);
}

// The new extension heads the list it makes, of ten at most; a copy further down goes.
void TestBatchJobs::remembersNewExtension()
{
    const Texts ten = u"e0 e1 e2 e3 e4 e5 e6 e7 e8 e9"_s.split(u' ');
    QCOMPARE(RememberNewExtension(u"new"_s, ten).join(u' '), u"new e0 e1 e2 e3 e4 e5 e6 e7 e8"_s);
    QCOMPARE(RememberNewExtension(u"e3"_s, ten).join(u' '), u"e3 e0 e1 e2 e4 e5 e6 e7 e8"_s);
}

void TestBatchJobs::keepsOutputsOffInputs_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<QString>("outputs");
    QTest::addColumn<QString>("replaced"); // the input named, or ""
    QTest::newRow("apart") << u"a.LRC=lrc"_s << u"a.LRC"_s << u"a.TXT a.TTD"_s << QString();
    QTest::newRow("the same name but for case, its folder's too: not seen to tell case apart")
        << u"sub/a.LRC=lrc"_s << u"sub/a.LRC"_s << u"sub/a.TXT SUB/A.lrc"_s << u"sub/a.LRC"_s;
    QTest::newRow("the same name but for case, where the folder tells case apart")
        << u"a.LRC=lrc b.LRC=lrc b.lrc=lrc"_s << u"a.LRC b.LRC gone.LRC"_s
        << u"a.lrc b.lrc GONE.lrc"_s << QString();
    QTest::newRow("an output name that is a link to the input")
        << u"a.LRC=lrc a.TXT=@a.LRC"_s << u"a.LRC"_s << u"a.TXT"_s << u"a.LRC"_s;
    QTest::newRow("a later input, through a folder link and ..")
        << u"a.TTD=ttd sub/a.TXT=txt up=@sub"_s << u"a.TTD sub/a.TXT"_s << u"up/../sub/a.TXT"_s
        << u"sub/a.TXT"_s;
    QTest::newRow("another name of the same file: writing replaces the name, not the file")
        << u"a.LRC=lrc"_s << u"a.LRC"_s << u"hard.TXT"_s << QString();
}

// Whether a run may start: no output may replace the input it is made from.
void TestBatchJobs::keepsOutputsOffInputs()
{
    QFETCH(QString, files);
    QFETCH(QString, inputs);
    QFETCH(QString, outputs);
    QFETCH(QString, replaced);
    Folder folder;
    QVERIFY(folder.fill(files));
    if (QFile::exists(folder.path(u"a.LRC"_s))) {
        QCOMPARE(::link(QFile::encodeName(folder.path(u"a.LRC"_s)).constData(),
                        QFile::encodeName(folder.path(u"hard.TXT"_s)).constData()),
                 0);
    }
    const std::optional<QString> found =
        InputReplacedByOutput({folder.paths(inputs), folder.paths(outputs)});
    QCOMPARE(found.value_or(folder.path(QString())), folder.path(replaced));
}

QTEST_GUILESS_MAIN(TestBatchJobs)
#include "tst_batchjobs.moc"
