// A process of its own that never names a temporary file: each child it forks finds the handlers
// not yet installed, as a program does.
#include "files/outputfile.h"

#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestRemovalOnSignal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void removesNamedFile_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("ignored"); // as nohup leaves SIGHUP
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            QTest::addRow("SIG%s", sigabbrev_np(signal)) << signal << false;
        QTest::newRow("an ignored SIGHUP stays ignored") << SIGHUP << true;
    }

    // A child prepares an output as a hidden file beside the old one and gets the signal.
    void removesNamedFile()
    {
        QFETCH(int, signal);
        QFETCH(bool, ignored);
        QTemporaryDir dir;
        const auto entries = [&dir] {
            return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        };
        const QString old = dir.filePath(u"song.TXT"_s);
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
        file.close();
        const pid_t child = ::fork();
        if (child == 0) {
            // QtTest's own handlers stand where a program has the defaults.
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, s == signal && ignored ? SIG_IGN : SIG_DFL);
            {
                PreparedOutput output(TemporaryFile::Named);
                if (!output.prepare(old, "new", false) || entries().size() != 2)
                    ::_exit(2);
                ::raise(signal);
            }
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(status, ignored ? 0 : signal); // ended by the signal, or not at all
        QCOMPARE(entries(), QStringList{u"song.TXT"_s});
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == "old");
    }
};

QTEST_GUILESS_MAIN(TestRemovalOnSignal)
#include "tst_removalonsignal.moc"
