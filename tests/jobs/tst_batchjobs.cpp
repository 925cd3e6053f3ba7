#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobtesting.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

// A write that fails part-way, as on a full disk: the kernel refuses bytes past the limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        if (bytes <= 0)
            return;
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{rlim_t(bytes), m_old.rlim_max};
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_old);
    }

private:
    rlimit m_old{};
    bool m_set = false;
};

} // namespace

class TestBatchJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
    void replacesAgainAndAgain();
    void survivesItsFolderChanging();
    void remembersNewExtension_data();
    void remembersNewExtension();
};

void TestBatchJobs::runs_data()
{
    // With "new=EXT" in the script the queue is renamed; else TTD files are combined, others
    // divided.
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("dialogs"); // as the recorder writes them
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<QString>("after");
    const auto row = [](const char* name, const QString& files, const QString& queue,
                        const QString& script, const QString& dialogs, const QList<int>& results,
                        const QString& after) {
        QTest::newRow(name) << files << queue << script << dialogs << results << after;
    };
    const QString pair = u"song.TTD=ttd song.TXT=txt "_s;
    const QString ttd = u"song.TTD"_s;
    const QString lrc = u"song.LRC"_s;
    const QString lyrics = u"song.LRC=lrc "_s;
    const QString noOutput = u"song.LRC=-"_s;

    row("combine: a missing source is named, not the TTD", u"song.TTD=ttd"_s, ttd, {},
        u"song.TXT:11"_s, {11}, noOutput);
    row("combine: TTD and source missing, only the TTD is named", {}, ttd, {}, u"song.TTD:11"_s,
        {11}, {});
    row("combine: both inputs are found before an empty TTD is read", u"song.TTD="_s, ttd, {},
        u"song.TXT:11"_s, {11}, {});
    row("combine: both inputs empty, only the TTD is named", u"song.TTD= song.TXT="_s, ttd, {},
        u"song.TTD:14"_s, {14}, noOutput);
    row("combine: a source of 60000 bytes is taken", u"song.TTD=ttd60000 song.TXT=txt60000"_s, ttd,
        {}, {}, {0}, u"song.LRC=lrc60000"_s);
    row("combine: a source of 60001 bytes is refused", u"song.TTD=ttd60001 song.TXT=txt60001"_s,
        ttd, {}, u"song.TXT:12"_s, {12}, noOutput);
    row("combine: 21 names the TTD", u"song.TTD=TTD? song.TXT=txt"_s, ttd, {}, u"song.TTD:21"_s,
        {21}, noOutput);
    row("combine: 22 names the source", u"song.TTD=ttd song.TXT=blank"_s, ttd, {}, u"song.TXT:22"_s,
        {22}, noOutput);
    row("combine: 23 names the TTD", u"song.TTD=ttd song.TXT=txt-other"_s, ttd, {},
        u"mismatch:song.TTD"_s, {23}, noOutput);
    row("combine: No keeps an existing output and spoils the summary", pair + u"song.LRC=old"_s,
        ttd, u"no"_s, u"song.LRC?"_s, {0}, u"song.LRC=old"_s);
    row("combine: of three files the second fails, the third is handled",
        u"a.TTD=ttd a.TXT=txt b.TTD=ttd c.TTD=ttd c.TXT=txt"_s, u"a.TTD b.TTD c.TTD"_s, {},
        u"b.TXT:11"_s, {0, 11, 0}, u"a.LRC=lrc b.LRC=- c.LRC=lrc"_s);

    row("divide: a dangling link at an output's name is asked about, and No creates nothing",
        lyrics + u"song.TXT=@nowhere"_s, lrc, u"no"_s, u"song.TXT?"_s, {0},
        u"song.TXT=@nowhere nowhere=- song.TTD=-"_s);
    row("divide: Yes replaces the dangling link itself, never creating its target",
        lyrics + u"song.TXT=@nowhere"_s, lrc, u"yes"_s, u"song.TXT?"_s, {0},
        u"song.TXT=txt nowhere=- song.TTD=ttd"_s);
    row("combine: Yes writes through a link to a file", pair + u"song.LRC=@real real=old"_s, ttd,
        u"yes"_s, u"song.LRC?"_s, {0}, u"song.LRC=@real real=lrc"_s);
    row("divide: through a link into another folder, the other output stays beside the lyrics",
        lyrics + u"song.TXT=@sub/real sub/real=old"_s, lrc, u"overwrite"_s, {}, {0},
        u"song.TXT=@real sub/real=txt song.TTD=ttd sub/song.TTD=-"_s);
    row("combine: a link to a file this run wrote is not written through",
        u"a.TTD=ttd a.TXT=txt b.TTD=ttd-other b.TXT=txt-other b.LRC=@a.LRC"_s, u"a.TTD b.TTD"_s,
        u"overwrite"_s, u"b.LRC:17"_s, {0, 17}, u"a.LRC=lrc b.LRC=@a.LRC"_s);
    row("divide: a file that appears before the last step is asked about, No keeps it",
        u"song.LRC=lrc"_s, lrc, u"appear=song.TTD no"_s, u"song.TTD?"_s, {0},
        u"song.TXT=txt song.TTD=appeared"_s);
    row("combine: a TTD larger than any lyrics input, as divide writes it, is taken",
        u"song.TTD=ttd-tags song.TXT=txt-tags"_s, ttd, {}, {}, {0}, u"song.LRC=lrc-tags"_s);
    row("divide: a name that is not UTF-8 is refused, and the look-alike left alone",
        u"caf\uFFFD.LRC=lrc"_s, u"caf\xDCE9.LRC"_s, {}, u"caf\xDCE9.LRC:16"_s, {16},
        u"caf\uFFFD.LRC=lrc caf\uFFFD.TXT=-"_s);
    row("divide: lyrics without a tag", u"song.LRC=untagged"_s, lrc, {}, u"song.LRC:2"_s, {2},
        u"song.TXT=-"_s);
    row("divide: both outputs exist, Yes then No leaves new source and old TTD",
        lyrics + u"song.TXT=old song.TTD=old"_s, lrc, u"yes no"_s, u"song.TXT? song.TTD?"_s, {0},
        u"song.TXT=txt song.TTD=old"_s);
    row("divide: No to a source writes neither output and does not stop the next file",
        u"a.LRC=lrc a.TXT=old b.LRC=lrc"_s, u"a.LRC b.LRC"_s, u"no"_s, u"a.TXT?"_s, {0, 0},
        u"a.TXT=old a.TTD=- b.TXT=txt b.TTD=ttd"_s);

    const QString txt = u"song.txt"_s;
    row("rename: only the last extension is replaced, the new one as given",
        u"song.txt=1 a.b.txt=2 README=3"_s, u"song.txt a.b.txt README"_s, u"new=t.XT"_s, {},
        {0, 0, 0}, u"song.t.XT=1 a.b.t.XT=2 README.t.XT=3 song.txt=-"_s);
    row("rename: a dropped folder is renamed like a file", u"album.old/track=t"_s, u"album.old"_s,
        u"new=new"_s, {}, {0}, u"album.new/track=t album.old=-"_s);
    row("rename: a taken name and a file's own name both give 31, naming the new name",
        u"song.txt=txt song.lrc=lrc"_s, u"song.txt song.lrc"_s, u"new=lrc"_s,
        u"song.lrc:31 song.lrc:31"_s, {31, 31}, u"song.txt=txt song.lrc=lrc"_s);
    row("rename: a folder under the new name gives 32 and both stay", u"song.txt=txt song.lrc=/"_s,
        txt, u"new=lrc"_s, u"song.lrc:32"_s, {32}, u"song.txt=txt song.lrc=/"_s);
    row("rename: two failures give two messages, the file after them is renamed", u"c.txt=c"_s,
        u"a.txt b.txt c.txt"_s, u"new=lrc"_s, u"a.lrc:32 b.lrc:32"_s, {32, 32, 0}, u"c.lrc=c"_s);
    row("rename: a name that is not UTF-8 is refused", u"caf\uFFFD.txt=a"_s, u"caf\xDCE9.txt"_s,
        u"new=lrc"_s, u"caf\xDCE9.lrc:16"_s, {16}, u"caf\uFFFD.txt=a caf\uFFFD.lrc=-"_s);
    row("rename: an extension with a separator moves nothing into another folder",
        u"song.txt=txt song.x=/"_s, txt, u"new=x/y"_s, u"song.x/y:32"_s, {32},
        u"song.txt=txt song.x/y=-"_s);
}

void TestBatchJobs::runs()
{
    QFETCH(QString, files);
    QFETCH(QString, queue);
    QFETCH(QString, script);
    QFETCH(QString, dialogs);
    QFETCH(QList<int>, results);
    QFETCH(QString, after);

    JobBench bench;
    QVERIFY(bench.fill(files));
    const JobSnapshot state = bench.settings(script);
    const Texts paths = bench.paths(queue);
    BatchResults found{ResultCode::FileEmpty};
    // "full=N": the file system takes no file over N bytes during the job.
    const FileSizeLimit limit(script.section(u"full="_s, 1).section(u' ', 0, 0).toLongLong());
    const bool ok = !state.newExtension.isEmpty()
                        ? BatchRename(paths, state.newExtension, bench.context, found)
                        : (queue.endsWith(u".TTD") ? BatchCombine : BatchDivide)(
                              paths, state, bench.context, found);
    // An error or a No spoils the summary.
    QCOMPARE(ok, !dialogs.contains(u':') && !script.split(u' ').contains(u"no"_s));
    QCOMPARE(bench.events(), dialogs.split(u' ', Qt::SkipEmptyParts));
    QList<int> codes;
    for (const ResultCode code : found)
        codes << int(code);
    QCOMPARE(codes, results);
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
    QString files;
    for (int i = 0; i < 20; ++i)
        files += u"f%1.LRC=lrc f%1.TXT=old f%1.TTD=old "_s.arg(i, 2, 10, QLatin1Char('0'));
    QVERIFY(bench.fill(files));
    const Texts queue = bench.paths(u"f00.LRC f01.LRC f02.LRC f03.LRC f04.LRC f05.LRC f06.LRC "
                                    u"f07.LRC f08.LRC f09.LRC f10.LRC f11.LRC f12.LRC f13.LRC "
                                    u"f14.LRC f15.LRC f16.LRC f17.LRC f18.LRC f19.LRC"_s);
    QVERIFY(QFile::remove(bench.path(u"f03.LRC"_s)));
    QVERIFY(QFile::remove(bench.path(u"f05.LRC"_s)) && bench.fill(u"f05.LRC=/"_s));
    QVERIFY(QFile::remove(bench.path(u"f07.TTD"_s)) && bench.fill(u"f07.TTD=/"_s));
    QVERIFY(QFile::setPermissions(bench.path(u"f09.TXT"_s), QFile::ReadOwner));
    QVERIFY(QFile::remove(bench.path(u"f11.LRC"_s)) && bench.fill(u"f11.LRC=undecodable"_s));
    QVERIFY(QFile::remove(bench.path(u"f13.LRC"_s)) && bench.fill(u"f13.LRC=@nowhere"_s));
    // f15 onwards: the disk is full for anything larger than a TTD.
    QVERIFY(QFile::remove(bench.path(u"f15.LRC"_s)) && bench.fill(u"f15.LRC=lrc-tags"_s));
    BatchResults results;
    {
        const FileSizeLimit full(20000);
        QVERIFY(!BatchDivide(queue, bench.settings(u"overwrite"_s), bench.context, results));
    }
    // Root may write any file, so a read-only output stops only other users.
    const bool root = ::geteuid() == 0;
    QCOMPARE(bench.events().join(u' '), u"f03.LRC:11 f05.LRC:11 f07.TTD:15 "_s +
                                            (root ? u""_s : u"f09.TXT:15 "_s) +
                                            u"f11.LRC:13 f13.LRC:11 f15.TTD:15"_s);
    const QString kept = u"f03.TXT=old f05.TXT=old f07.TXT=old f07.TTD=/ f11.TXT=old f11.TTD=old "
                         u"f13.TXT=old f15.TXT=old f15.TTD=old"_s;
    QCOMPARE(bench.check(kept), kept);
    const QString divided = u"f00.TXT=txt f00.TTD=ttd f19.TXT=txt f19.TTD=ttd"_s;
    QCOMPARE(bench.check(divided), divided);
}

// The new extension is the first of the list it makes.
void TestBatchJobs::remembersNewExtension_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("list");
    const QString ten = u"e0 e1 e2 e3 e4 e5 e6 e7 e8 e9"_s;
    QTest::newRow("the comparison is case-sensitive") << u"TXT SRC LRC"_s << u"lrc TXT SRC LRC"_s;
    QTest::newRow("an exact copy moves to the top") << u"TXT SRC LRC"_s << u"SRC TXT LRC"_s;
    QTest::newRow("ten and a new one: the oldest goes")
        << ten << u"new e0 e1 e2 e3 e4 e5 e6 e7 e8"_s;
    QTest::newRow("ten with a copy among them: nine remain")
        << ten << u"e3 e0 e1 e2 e4 e5 e6 e7 e8"_s;
}

void TestBatchJobs::remembersNewExtension()
{
    QFETCH(QString, items);
    QFETCH(QString, list);
    QCOMPARE(RememberNewExtension(list.section(u' ', 0, 0), items.split(u' ')).join(u' '), list);
}

QTEST_GUILESS_MAIN(TestBatchJobs)
#include "tst_batchjobs.moc"
