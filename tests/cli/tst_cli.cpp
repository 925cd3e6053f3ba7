#include "cli/cliargs.h"
#include "cli/clirun.h"
#include "jobs/jobtesting.h"

#include <QTextStream>
#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

class ScriptedTerminal final : public Terminal {
public:
    bool interactive = false;
    Texts lines;
    bool isInteractive() const override { return interactive; }
    std::optional<QString> readLine() override
    {
        if (lines.isEmpty())
            return std::nullopt;
        return lines.takeFirst();
    }
};

// What the parser understood, in one line.
QString Understood(const CliOptions& o)
{
    const Texts commands{u"help"_s, u"version"_s, u"divide"_s, u"combine"_s, u"rename"_s};
    Texts parts{commands[int(o.command)], o.sourceExtension, o.ttdExtension, o.lyricsExtension};
    if (o.noCrcCheck)
        parts << u"nocrc"_s;
    if (o.timeRatio != TimeRatioChoice::Unchanged)
        parts << u"ratio="_s + QString::number(int(o.timeRatio));
    if (o.overwrite)
        parts << u"overwrite"_s;
    if (o.verbose)
        parts << u"verbose"_s;
    if (!o.source.isNull())
        parts << u"source="_s + o.source;
    if (!o.outputDir.isNull())
        parts << u"dir="_s + o.outputDir;
    if (!o.newExtension.isEmpty())
        parts << u"to="_s + o.newExtension;
    return parts.join(u' ') + u" files="_s + o.files.join(u',');
}

const QString TryHelp = u"Try 'kovrant-cli --help' for more information.\n"_s;
const QByteArray Old("old");

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parses_data();
    void parses();
    void refusesUsage_data();
    void refusesUsage();
    void runs_data();
    void runs();
};

void TestCli::parses_data()
{
    QTest::addColumn<Texts>("arguments");
    QTest::addColumn<QString>("understood");

    QTest::newRow("the window's default extensions")
        << Texts{u"divide"_s, u"a"_s, u"b"_s} << u"divide .TXT .TTD .LRC files=a,b"_s;
    QTest::newRow("an extension gets one leading dot and keeps its case")
        << Texts{u"divide"_s, u"--source-ext"_s, u"szi"_s, u"--ttd-ext=..tdd"_s, u"a"_s}
        << u"divide .szi .tdd .LRC files=a"_s;
    QTest::newRow("options between files; -- ends them")
        << Texts{u"combine"_s, u"a"_s, u"--overwrite"_s, u"--"_s, u"--b"_s}
        << u"combine .TXT .TTD .LRC overwrite files=a,--b"_s;
    QTest::newRow("combine's own options")
        << Texts{u"combine"_s,          u"--lyrics-ext"_s, u"KRA"_s,      u"--no-crc-check"_s,
                 u"--time-ratio"_s,     u"0.9953125"_s,    u"--source"_s, u"s.TXT"_s,
                 u"--output-dir=out"_s, u"--verbose"_s,    u"a"_s}
        << u"combine .TXT .TTD .KRA nocrc ratio=2 verbose source=s.TXT dir=out files=a"_s;
    QTest::newRow("--help wins over everything before --")
        << Texts{u"divide"_s, u"--bogus"_s, u"--help"_s} << u"help .TXT .TTD .LRC files="_s;
}

void TestCli::parses()
{
    QFETCH(Texts, arguments);
    QFETCH(QString, understood);
    CliOptions options;
    QString problem;
    QVERIFY2(ParseCliArguments(arguments, options, problem), qPrintable(problem));
    QCOMPARE(Understood(options), understood);
}

void TestCli::refusesUsage_data()
{
    QTest::addColumn<Texts>("arguments");
    QTest::addColumn<QString>("problem");

    QTest::newRow("an option before the command")
        << Texts{u"--overwrite"_s, u"divide"_s, u"a"_s}
        << u"no command given: divide, combine or rename comes first"_s;
    QTest::newRow("an unknown option")
        << Texts{u"divide"_s, u"--bogus=1"_s, u"a"_s} << u"unknown option '--bogus'"_s;
    QTest::newRow("rename never overwrites") << Texts{u"rename"_s, u"--overwrite"_s, u"a"_s}
                                             << u"option '--overwrite' does not go with rename"_s;
    QTest::newRow("an empty output folder")
        << Texts{u"combine"_s, u"--output-dir="_s, u"a"_s} << u"an empty file name was given"_s;
    QTest::newRow("no files") << Texts{u"divide"_s, u"--overwrite"_s} << u"no files given"_s;
    QTest::newRow("a separator in an extension")
        << Texts{u"combine"_s, u"--lyrics-ext"_s, u"x/LRC"_s, u"a"_s}
        << u"'x/LRC' is not an extension"_s;
    QTest::newRow("two kinds of file with one extension, whatever its case")
        << Texts{u"divide"_s, u"--source-ext"_s, u"ttd"_s, u"a"_s}
        << u"--source-ext and --ttd-ext name the same extension"_s;
    QTest::newRow("a time ratio not offered")
        << Texts{u"combine"_s, u"--time-ratio=2"_s, u"a"_s}
        << u"--time-ratio takes none, 1 or 0.9953125, not '2'"_s;
    QTest::newRow("--source with two TTD files")
        << Texts{u"combine"_s, u"--source"_s, u"s"_s, u"a"_s, u"b"_s}
        << u"--source goes with one TTDFILE only"_s;
}

void TestCli::refusesUsage()
{
    QFETCH(Texts, arguments);
    QFETCH(QString, problem);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    ScriptedTerminal terminal;
    QCOMPARE(RunCli(arguments, outStream, errStream, terminal), CliExit::UsageError);
    QCOMPARE(err, u"kovrant-cli: "_s + problem + u'\n' + TryHelp);
    QCOMPARE(out, QString());
}

void TestCli::runs_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<Texts>("arguments"); // %D is the test's folder
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<Texts>("typed");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<FileSet>("after");

    const QByteArray lrc = Cp932(Song().tagged);
    const QByteArray ttd = Cp932(Song().ttd);
    const QByteArray txt = Cp932(Song().source);
    const QByteArray combined = Cp932(Combined(Song().ttd, Song().source));
    const FileSet pair{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"out"_s, FolderMark}};
    const FileSet pairAndOld{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, txt}, {u"song.LRC"_s, Old}};
    const QString ttdFile = u"%D/song.TTD"_s;
    const Texts combine{u"combine"_s, ttdFile};
    const QString question = u"%D/song.LRC: 上書きしますか? [y/N] "_s;

    QTest::newRow("divide takes any file, writes beside it and says nothing")
        << FileSet{{u"song.txt2"_s, lrc}} << Texts{u"divide"_s, u"%D/song.txt2"_s} << false
        << Texts() << 0 << QString() << QString()
        << FileSet{{u"song.TXT"_s, txt}, {u"song.TTD"_s, ttd}};
    QTest::newRow("--verbose lists what was written")
        << FileSet{{u"song.LRC"_s, lrc}}
        << Texts{u"divide"_s, u"--verbose"_s, u"--source-ext=SZI"_s, u"%D/song.LRC"_s} << false
        << Texts() << 0 << u"%D/song.SZI\n%D/song.TTD\n"_s << QString()
        << FileSet{{u"song.SZI"_s, txt}};
    QTest::newRow("a failing file is one line on stderr, the others go on")
        << FileSet{{u"a.LRC"_s, lrc}, {u"c.LRC"_s, lrc}}
        << Texts{u"divide"_s, u"%D/a.LRC"_s, u"%D/b.LRC"_s, u"%D/c.LRC"_s} << false << Texts() << 1
        << QString() << u"b.LRC: Error:ファイルが見つかりません\n"_s
        << FileSet{{u"a.TTD"_s, ttd}, {u"c.TTD"_s, ttd}};
    QTest::newRow("combine passes the CRC option and the time ratio on")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.TXT"_s, Cp932(OtherSong().source)}}
        << Texts{u"combine"_s, u"--no-crc-check"_s, u"--time-ratio=0.9953125"_s, ttdFile} << false
        << Texts() << 0 << QString() << QString()
        << FileSet{{u"song.LRC"_s, Cp932(Combined(Song().ttd, OtherSong().source, true,
                                                  TimeRatioChoice::Ratio0_9953125))}};
    QTest::newRow("off a terminal an existing output is kept")
        << pairAndOld << combine << false << Texts() << 1 << QString()
        << u"song.LRC: exists, not replaced (--overwrite replaces it)\n"_s
        << FileSet{{u"song.LRC"_s, Old}};
    QTest::newRow("--overwrite replaces it unasked")
        << pairAndOld << Texts{u"combine"_s, u"--overwrite"_s, ttdFile} << false << Texts() << 0
        << QString() << QString() << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("on a terminal y replaces it")
        << pairAndOld << combine << true << Texts{u" Y "_s} << 0 << QString() << question
        << FileSet{{u"song.LRC"_s, combined}};
    QTest::newRow("on a terminal anything else keeps it")
        << pairAndOld << combine << true << Texts{u"yep"_s} << 1 << QString() << question
        << FileSet{{u"song.LRC"_s, Old}};
    QTest::newRow("on a terminal the end of input keeps it")
        << pairAndOld << combine << true << Texts() << 1 << QString() << question + u'\n'
        << FileSet{{u"song.LRC"_s, Old}};

    const Lyrics large = LyricsOfSize(60001);
    const FileSet largePair{{u"song.TTD"_s, Cp932(large.ttd)},
                            {u"song.TXT"_s, Cp932(large.source)},
                            {u"big.TXT"_s, Cp932(large.source)},
                            {u"out"_s, FolderMark}};
    const QByteArray largeCombined = Cp932(Combined(large.ttd, large.source));
    QTest::newRow("the batch combine refuses a large source")
        << largePair << combine << false << Texts() << 1 << QString()
        << u"song.TXT: Error:ファイルが大きすぎます\n"_s << FileSet{{u"song.LRC"_s, Missing}};
    QTest::newRow("--source: the single combine, without a size limit")
        << largePair << Texts{u"combine"_s, u"--source"_s, u"%D/big.TXT"_s, ttdFile} << false
        << Texts() << 0 << QString() << QString() << FileSet{{u"song.LRC"_s, largeCombined}};
    QTest::newRow("--output-dir: the single combine into that folder")
        << largePair << Texts{u"combine"_s, u"--output-dir"_s, u"%D/out"_s, ttdFile} << false
        << Texts() << 0 << QString() << QString()
        << FileSet{{u"out/song.LRC"_s, largeCombined}, {u"song.LRC"_s, Missing}};
    QTest::newRow("the single combine's own messages")
        << pair << Texts{u"combine"_s, u"--output-dir"_s, u"%D/nowhere"_s, ttdFile} << false
        << Texts() << 1 << QString() << u"%D/nowhere: フォルダが見つかりません\n"_s << FileSet();
    QTest::newRow("rename, listed with --verbose")
        << FileSet{{u"a.txt"_s, "a"}}
        << Texts{u"rename"_s, u"--to"_s, u".LRC"_s, u"--verbose"_s, u"%D/a.txt"_s} << false
        << Texts() << 0 << u"%D/a.txt -> %D/a.LRC\n"_s << QString() << FileSet{{u"a.LRC"_s, "a"}};

    const QString ownOutput = u"kovrant-cli: %1 would be replaced by an output of this run; "
                              u"choose other extensions or files\n"_s +
                              TryHelp;
    QTest::newRow("a file that its own output would replace is refused before any work")
        << FileSet{{u"a.LRC"_s, lrc}, {u"song.TXT"_s, lrc}}
        << Texts{u"divide"_s, u"%D/a.LRC"_s, u"%D/song.TXT"_s} << true << Texts{u"y"_s} << 2
        << QString() << ownOutput.arg(u"%D/song.TXT"_s)
        << FileSet{{u"song.TXT"_s, lrc}, {u"a.TXT"_s, Missing}};
    QTest::newRow("a combine whose output would replace its TTD")
        << pair << Texts{u"combine"_s, u"--lyrics-ext"_s, u"ttd"_s, u"--overwrite"_s, ttdFile}
        << false << Texts() << 2 << QString() << ownOutput.arg(ttdFile)
        << FileSet{{u"song.TTD"_s, ttd}};
    QTest::newRow("a single combine whose output would replace its source")
        << FileSet{{u"song.TTD"_s, ttd}, {u"song.LRC"_s, txt}}
        << Texts{u"combine"_s, u"--overwrite"_s, u"--source"_s, u"%D/song.LRC"_s, ttdFile} << false
        << Texts() << 2 << QString() << ownOutput.arg(u"%D/song.LRC"_s)
        << FileSet{{u"song.LRC"_s, txt}};
}

void TestCli::runs()
{
    QFETCH(FileSet, files);
    QFETCH(Texts, arguments);
    QFETCH(bool, terminal);
    QFETCH(Texts, typed);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    ScriptedTerminal term;
    term.interactive = terminal;
    term.lines = typed;
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);

    const int code =
        RunCli(arguments.replaceInStrings(u"%D"_s, dir.path()), outStream, errStream, term);
    QCOMPARE(errText, err.replace(u"%D"_s, dir.path()));
    QCOMPARE(outText, out.replace(u"%D"_s, dir.path()));
    QCOMPARE(code, exitCode);
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
