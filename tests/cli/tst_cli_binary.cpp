#include "jobs/jobtesting.h"

#include <QProcess>
#include <QtTest>

using namespace kovrant::testing;
using namespace Qt::StringLiterals;

// The real kovrant-cli, run in a folder of its own with stdin a closed pipe, as a script runs it.
class TestCliBinary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
};

void TestCliBinary::runs_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<Texts>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out"); // UTF-8, as the terminal gets it
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<FileSet>("after");

    const QByteArray lrc = Cp932(Song().tagged);
    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);

    QTest::newRow("version") << FileSet() << Texts{u"--version"_s} << 0
                             << QByteArray("kovrant-cli 1.00\n") << QByteArray() << FileSet();
    QTest::newRow("a name relative to the working folder")
        << FileSet{{u"歌.LRC"_s, lrc}} << Texts{u"divide"_s, u"歌.LRC"_s} << 0 << QByteArray()
        << QByteArray() << FileSet{{u"歌.TXT"_s, txt}, {u"歌.TTD"_s, ttd}};
    QTest::newRow("a failure is one UTF-8 line on stderr")
        << FileSet{{u"歌.TTD"_s, ttd}, {u"歌.TXT"_s, Cp932(OtherSong().source)}}
        << Texts{u"combine"_s, u"歌.TTD"_s} << 1 << QByteArray()
        << u"歌.TTD: Error:CRCが一致しませんでした\n"_s.toUtf8() << FileSet{{u"歌.LRC"_s, Missing}};
    QTest::newRow("nothing is replaced without --overwrite off a terminal")
        << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, "old"}}
        << Texts{u"divide"_s, u"song.LRC"_s} << 1 << QByteArray()
        << QByteArray("song.TXT: exists, not replaced (--overwrite replaces it)\n")
        << FileSet{{u"song.TXT"_s, "old"}, {u"song.TTD"_s, Missing}};
    QTest::newRow("--overwrite replaces")
        << FileSet{{u"song.LRC"_s, lrc}, {u"song.TXT"_s, "old"}}
        << Texts{u"divide"_s, u"--overwrite"_s, u"song.LRC"_s} << 0 << QByteArray() << QByteArray()
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}};
    QTest::newRow("a usage error")
        << FileSet{{u"a.txt"_s, "a"}} << Texts{u"rename"_s, u"a.txt"_s} << 2 << QByteArray()
        << QByteArray("kovrant-cli: rename needs --to EXT\n"
                      "Try 'kovrant-cli --help' for more information.\n")
        << FileSet{{u"a.txt"_s, "a"}};
}

void TestCliBinary::runs()
{
    QFETCH(FileSet, files);
    QFETCH(Texts, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(QStringLiteral(KOVRANT_CLI_PATH), arguments);
    QVERIFY(cli.waitForStarted());
    cli.closeWriteChannel();
    QVERIFY(cli.waitForFinished(10000));

    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.readAllStandardError(), err);
    QCOMPARE(cli.readAllStandardOutput(), out);
    QCOMPARE(cli.exitCode(), exitCode);
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestCliBinary)
#include "tst_cli_binary.moc"
