// One window per user: the lock, the private folder it lives in, and the real program, whose
// later starts hand their files to the first through its socket. Nothing another user or the
// environment does keeps the first from starting or makes it write outside the user's folders.
#include "files/filenames.h"
#include "ui/instancelock.h"
#include "ui/runtimefolder.h"
#include "ui/singleinstance.h"

#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("-");
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// Mode bits and owner: "700" for a private folder of this user's, "700:0" for root's.
QString Mode(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return u"-"_s;
    const QString mode = QString::number(info.st_mode & 0777, 8);
    return info.st_uid == ::getuid() ? mode : mode + u':' + QString::number(info.st_uid);
}

QString UserName()
{
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    QProcessEnvironment m_before = QProcessEnvironment::systemEnvironment();

    QString at(const QString& name) const { return m_temp.filePath(name); }

    // The real program (or another that runs it) in folder with env; a variable set to "-" is
    // removed.
    void start(QProcess& program, const QStringList& arguments, const QString& folder,
               const QMap<QString, QString>& env,
               const QString& executable = QStringLiteral(KOVRANT_PROGRAM)) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        for (auto it = env.cbegin(); it != env.cend(); ++it) {
            if (it.value() == u"-")
                environment.remove(it.key());
            else
                environment.insert(it.key(), it.value());
        }
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder);
        program.start(executable, arguments);
        QVERIFY(program.waitForStarted());
    }

private Q_SLOTS:
    void init() { QVERIFY(m_temp.isValid()); }
    void cleanup()
    {
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
            if (m_before.contains(QString::fromLatin1(name)))
                qputenv(name, m_before.value(QString::fromLatin1(name)).toLocal8Bit());
            else
                qunsetenv(name);
        }
        m_temp.remove();
        m_temp = QTemporaryDir(); // not movable: a fresh one for the next test
    }

    // The lock of a process that has ended, or one that cannot be read, is taken over; one that
    // cannot be made at all stops nobody; a live instance's holds.
    void lockRules()
    {
        const QString path = at(u"kovrant.lock"_s);
        QLockFile model(at(u"model.lock"_s)); // this process's form, but for a pid that is gone
        QVERIFY(model.lock());
        const QByteArray info = Read(model.fileName());
        for (const QByteArray& lock :
             {"999999999" + info.mid(info.indexOf('\n')), QByteArray("x")}) {
            QVERIFY(Write(path, lock));
            InstanceLock start(path);
            QVERIFY(!start.anotherInstanceRuns() && start.isHeld());
            QVERIFY(InstanceLock(path).anotherInstanceRuns());
        }
        InstanceLock nowhere(at(u"missing/kovrant.lock"_s));
        QVERIFY(!nowhere.anotherInstanceRuns() && !nowhere.isHeld());
    }

    // Where the lock and the socket live: a runtime folder only this user can enter, else a
    // private folder in the user's cache folder; nothing another user made or can change.
    void privateFolder_data()
    {
        QTest::addColumn<QString>("runtime"); // made as: private, open, link, other; "" unset
        QTest::addColumn<QString>("cache");   // cache/Kovrant made before, as runtime; "" none
        QTest::addColumn<QString>("found");
        QTest::newRow("a private runtime folder") << u"private"_s << QString() << u"run"_s;
        QTest::newRow("one open to others is passed over")
            << u"open"_s << QString() << u"cache/Kovrant"_s;
        QTest::newRow("a link is passed over") << u"link"_s << QString() << u"cache/Kovrant"_s;
        QTest::newRow("another user's is passed over")
            << u"other"_s << QString() << u"cache/Kovrant"_s;
        QTest::newRow("without one, a private folder is made in the cache folder")
            << QString() << QString() << u"cache/Kovrant"_s;
        QTest::newRow("the user's own cache folder, open to others, is closed")
            << QString() << u"open"_s << u"cache/Kovrant"_s;
        QTest::newRow("a link in its place is never trusted")
            << QString() << u"link"_s << QString();
        QTest::newRow("nor is another user's folder") << QString() << u"other"_s << QString();
    }
    void privateFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, cache);
        QFETCH(QString, found);
        if ((runtime == u"other" || cache == u"other") && ::getuid() != 0)
            QSKIP("giving a folder to another user needs root");
        QVERIFY(QDir().mkpath(at(u"cache"_s)) && QDir().mkpath(at(u"elsewhere"_s)));
        ::chmod(QFile::encodeName(at(u"elsewhere"_s)).constData(), 0700);
        for (const auto& [name, kind] :
             {std::pair{u"run"_s, runtime}, {u"cache/Kovrant"_s, cache}}) {
            const QByteArray path = QFile::encodeName(at(name));
            if (kind == u"link")
                QVERIFY(QFile::link(at(u"elsewhere"_s), at(name)));
            else if (!kind.isEmpty())
                QVERIFY(::mkdir(path.constData(), kind == u"open" ? 0755 : 0700) == 0 &&
                        ::chmod(path.constData(), kind == u"open" ? 0755 : 0700) == 0 &&
                        (kind != u"other" || ::chown(path.constData(), 65534, 65534) == 0));
        }
        qputenv("XDG_CACHE_HOME", QFile::encodeName(at(u"cache"_s)));
        qputenv("XDG_RUNTIME_DIR",
                runtime.isEmpty() ? QByteArray() : QFile::encodeName(at(u"run"_s)));
        QCOMPARE(PrivateRuntimeFolder(), found.isEmpty() ? QString() : at(found));
        if (!found.isEmpty())
            QCOMPARE(Mode(at(found)), u"700"_s);
    }

    // A start that finds the lock held but nobody answering becomes the first after a while.
    void noAnswerMakesTheFirst()
    {
        InstanceLock holder(SingleInstance::lockPath(m_temp.path()));
        QVERIFY(!holder.anotherInstanceRuns());
        QVERIFY(Write(SingleInstance::socketPath(m_temp.path()), "stale"));
        SingleInstance start(m_temp.path());
        QVERIFY(!start.handOver({"/a.LRC"}, std::chrono::milliseconds(300)));
        QVERIFY(start.isListening());
        QVERIFY(!SingleInstance(QString()).handOver({}));
    }

    // The real program as a later start: it hands its files, as absolute paths with their bytes,
    // to the first (here this test) and ends at once, saving nothing.
    void laterStartHandsOverItsFiles()
    {
        const QString runtime = at(u"run"_s);
        QVERIFY(QDir().mkpath(runtime) &&
                ::chmod(QFile::encodeName(runtime).constData(), 0700) == 0);
        SingleInstance first(runtime);
        QVERIFY(!first.handOver({}) && first.isListening());
        QSignalSpy requested(&first, &SingleInstance::requested);
        const QString ini = at(u"config/Kovrant/Kovrant.ini"_s);
        QVERIFY(Write(ini, "[Init]\nLastMode=1\n"));

        // The shell gives the program a name that is not UTF-8.
        QProcess second;
        start(second,
              {u"-c"_s, u"exec \"$0\" song.LRC /k/b.TTD -- -x.LRC \"$(printf 'caf\\351.LRC')\""_s,
               QStringLiteral(KOVRANT_PROGRAM)},
              m_temp.path(),
              {{u"XDG_RUNTIME_DIR"_s, runtime}, {u"XDG_CONFIG_HOME"_s, at(u"config"_s)}},
              u"/bin/sh"_s);
        QTRY_COMPARE(requested.count(), 1);
        QTRY_COMPARE(second.state(), QProcess::NotRunning);
        QVERIFY(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
        QCOMPARE(requested[0][0].toStringList(),
                 QStringList({at(u"song.LRC"_s), u"/k/b.TTD"_s, at(u"-x.LRC"_s),
                              DecodeFileName(QFile::encodeName(m_temp.path()) + "/caf\xE9.LRC")}));
        QCOMPARE(Read(ini), QByteArray("[Init]\nLastMode=1\n"));
        QCOMPARE(Entries(at(u"config/Kovrant"_s)), QStringList{u"Kovrant.ini"_s});
    }

    // Two real programs without a runtime folder: the lock and the socket go to a private folder
    // in the user's cache folder, the first takes the file it was started with, the later start is
    // answered, and nothing is made in the temporary folder, the current folder or the root. Locks
    // that any user could put in the shared temporary folder stop nobody.
    void twoStartsWithinTheUsersFolders_data()
    {
        QTest::addColumn<QString>("tmp"); // empty, locked or missing
        QTest::newRow("an empty temporary folder") << u"empty"_s;
        QTest::newRow("one with locks of a live process") << u"locked"_s;
        QTest::newRow("a temporary folder that is missing") << u"missing"_s;
    }
    void twoStartsWithinTheUsersFolders()
    {
        QFETCH(QString, tmp);
        const QString home = at(u"home"_s);
        const QString qtRuntime = at(u"tmp/runtime-"_s) + UserName();
        QVERIFY(QDir().mkpath(at(u"cwd"_s)));
        if (tmp != u"missing")
            QVERIFY(QDir().mkpath(tmp == u"locked" ? qtRuntime : at(u"tmp"_s)));
        ::chmod(QFile::encodeName(qtRuntime).constData(), 0700);
        // Held by this live process, as another user's would be.
        QLockFile shared(at(u"tmp/kovrant.lock"_s));
        QLockFile sharedRuntime(qtRuntime + u"/kovrant.lock"_s);
        QVERIFY(tmp != u"locked" || (shared.tryLock(0) && sharedRuntime.tryLock(0)));
        const QStringList planted = Entries(at(u"tmp"_s));
        QVERIFY(Write(home + u"/.config/Kovrant/Kovrant.ini"_s, "[Init]\nLastMode=0\n"));
        for (const QString& song : {u"/songs/first.LRC"_s, u"/songs/song.LRC"_s})
            QVERIFY(Write(home + song, "[00:01:00]a[00:02:00]\r\n"));
        const QString root = u"/runtime-"_s + UserName();
        const bool rootHadIt = QFileInfo::exists(root);
        const QMap<QString, QString> env{{u"XDG_RUNTIME_DIR"_s, u"-"_s},
                                         {u"XDG_CACHE_HOME"_s, u"-"_s},
                                         {u"XDG_CONFIG_HOME"_s, u"-"_s},
                                         {u"HOME"_s, home},
                                         {u"TMPDIR"_s, at(u"tmp"_s)}};
        QProcess first;
        start(first, {home + u"/songs/first.LRC"_s}, at(u"cwd"_s), env);
        const QString folder = home + u"/.cache/Kovrant"_s;
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(SingleInstance::socketPath(folder)) ||
                first.state() == QProcess::NotRunning || !Entries(at(u"cwd"_s)).isEmpty() ||
                Entries(at(u"tmp"_s)) != planted || QFileInfo::exists(root) != rootHadIt,
            10000);
        QVERIFY2(first.state() == QProcess::Running, "the first start ended at once");
        QCOMPARE(Entries(at(u"cwd"_s)), QStringList());
        QCOMPARE(Entries(at(u"tmp"_s)), planted);
        QCOMPARE(QFileInfo::exists(root), rootHadIt);
        QCOMPARE(Mode(folder), u"700"_s);
        // The first divides the file it was started with and shows its summary; the second
        // start is answered all the same, and ends.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home + u"/songs/first.TTD"_s), 10000);
        QProcess second;
        start(second, {u"../home/songs/song.LRC"_s}, at(u"cwd"_s), env);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        QVERIFY(first.waitForFinished());
        QCOMPARE(Entries(at(u"cwd"_s)), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
