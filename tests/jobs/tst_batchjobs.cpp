#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobs/jobpaths.h"
#include "jobtesting.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovrant;
using namespace kovrant::testing;

class TestBatchJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
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
    row("divide: lyrics without a tag", u"song.LRC=untagged"_s, lrc, {}, u"song.LRC:2"_s,
        {NoValidTimeTag}, u"song.TXT=-"_s);
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
