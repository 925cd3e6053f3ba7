#include "cli/cliargs.h"
#include "cli/clirun.h"
#include "cli/clitexts.h"
#include "cli/quoting.h"
#include "files/filenames.h"
#include "jobs/jobtesting.h"
#include "jobs/messages.h"

#include <QBuffer>
#include <QProcess>
#include <QTextStream>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

class ScriptedTerminal final : public Terminal {
public:
    bool interactive = false;
    std::optional<QString> line; // typed once
    bool isInteractive() const override { return interactive; }
    std::optional<QString> readLine() override { return std::exchange(line, std::nullopt); }
};

// A run of kovrant-cli and what it leaves. how: "" off a terminal, "tty" on one with nothing or
// "tty:LINE" typed, "full" with a stdout that takes nothing, "deep" in a current folder deeper
// than the kernel's longest path, where %D is "."; "program": the real kovrant-cli, run in the
// folder with stdin a closed pipe, as a script runs it. In arguments, %D is the test's folder.
struct CliRun {
    QString files, arguments, how;
    int exitCode = 0;
    QString out, err, after;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
    void quotesNames();
    void helpDescribesEveryOption();
    void endsCleanlyOnSignals_data();
    void endsCleanlyOnSignals();
};

void TestCli::runs_data()
{
    QTest::addColumn<CliRun>("run");
    const auto row = [](const char* name, const QString& files, const QString& arguments,
                        const QString& how, int exitCode, const QString& out, const QString& err,
                        const QString& after) {
        QTest::newRow(name) << CliRun{files, arguments, how, exitCode, out, err, after};
    };
    const auto usage = [&row](const char* name, const QString& arguments, const QString& problem,
                              const QString& files = {}, const QString& after = {},
                              const QString& how = {}) {
        row(name, files, arguments, how, 2, {},
            u"kovrant-cli: "_s + problem + u"\nTry 'kovrant-cli --help' for more information.\n"_s,
            after);
    };
    const QString pairAndOld = u"song.TTD=ttd song.TXT=txt song.LRC=old"_s;
    const QString combine = u"combine %D/song.TTD"_s;
    const QString question = u"%D/song.LRC: 上書きしますか? [y/N] "_s;
    const QString ownOutput = u"%1 would be replaced by an output of this run; choose other "
                              u"extensions or files"_s;

    row("extensions get one leading dot and keep their case; --verbose lists the outputs",
        u"a.LRC=lrc"_s, u"divide --verbose --source-ext szi --ttd-ext=..tdd %D/a.LRC"_s, {}, 0,
        u"%D/a.szi\n%D/a.tdd\n"_s, {}, u"a.szi=txt a.tdd=ttd a.TXT=-"_s);
    row("--encoding cp932 reads what would pass for UTF-8 as code page 932", u"a.LRC=ambiguous"_s,
        u"divide --encoding cp932 --verbose %D/a.LRC"_s, {}, 0, u"%D/a.TXT\n%D/a.TTD\n"_s, {}, {});
    row("--encoding utf-8 reads two-byte sequences as UTF-8", u"a.LRC=ambiguous"_s,
        u"divide --encoding utf-8 --verbose %D/a.LRC"_s, {}, 0, u"%D/a.TXT (UTF-8)\n%D/a.TTD\n"_s,
        {}, {});
    const QString kana = u"song.TTD=ttd-kana song.TXT=txt-kana"_s;
    row("source lyrics that read both ways: the error, then how to say which is meant", kana,
        combine, {}, 1, {},
        u"song.TXT: Error:"_s + ErrorMessage(ResultCode::AmbiguousEncoding) + u"\nsong.TXT: "_s +
            CliText::EncodingHint + u'\n',
        u"song.LRC=-"_s);
    row("--encoding cp932 says it", kana, u"combine --encoding cp932 %D/song.TTD"_s, {}, 0, {}, {},
        u"song.LRC=lrc-kana"_s);
    row("options between files; -- ends them", u"a.LRC=lrc a.TXT=old"_s,
        u"divide %D/a.LRC --overwrite -- --verbose"_s, {}, 1, {},
        u"--verbose: Error:ファイルが見つかりません\n"_s, u"a.TXT=txt"_s);
    row("combine passes the CRC option and the time ratio on", u"song.TTD=ttd song.TXT=txt-other"_s,
        u"combine --no-crc-check --time-ratio=0.9953125 %D/song.TTD"_s, {}, 0, {}, {},
        u"song.LRC=nocrc+ratio"_s);
    row("on a terminal y replaces", pairAndOld, combine, u"tty: Y "_s, 0, {}, question,
        u"song.LRC=lrc"_s);
    row("on a terminal the end of input keeps", pairAndOld, combine, u"tty"_s, 1, {},
        question + u'\n', u"song.LRC=old"_s);
    row("--source: the single combine, without a size limit",
        u"song.TTD=ttd60001 song.TXT=txt60001 big.TXT=txt60001"_s,
        u"combine --source %D/big.TXT %D/song.TTD"_s, {}, 0, {}, {}, u"song.LRC=lrc60001"_s);
    row("one output, one writer per run",
        u"a/song.TTD=ttd a/song.TXT=txt b/song.TTD=ttd-other b/song.TXT=txt-other out=/"_s,
        u"combine --overwrite --output-dir %D/out %D/a/song.TTD %D/b/song.TTD"_s, {}, 1, {},
        u"song.LRC: Error:この処理ですでに出力したファイルです\n"_s, u"out/song.LRC=lrc"_s);
    const QString repairs = u"song.TTD: 素材歌詞は次の修正で一致します：行末の空白を取り除く"_s;
    row("a proven repair is named, and without --repair the file fails",
        u"song.TTD=ttd song.TXT=txt-spaces"_s, combine, {}, 1, {},
        u"song.TTD: Error:CRCが一致しませんでした\n"_s + repairs +
            u" (--repair combines with them)\n"_s,
        u"song.LRC=-"_s);
    row("--repair combines with the repaired text, the source file stays as it is",
        u"song.TTD=ttd song.TXT=txt-spaces"_s, u"combine --repair %D/song.TTD"_s, {}, 0, {},
        repairs + u'\n', u"song.LRC=lrc song.TXT=txt-spaces"_s);
    row("a stdout that takes nothing fails the run", {}, u"--help"_s, u"full"_s, 1, {},
        u"kovrant-cli: cannot write to standard output\n"_s, {});
    const QString tooLong = QString(300, u'A');
    row("a name too long for the file system is said to be so, never asked about", u"s.LRC=lrc"_s,
        u"divide --source-ext "_s + tooLong + u" %D/s.LRC"_s, u"tty"_s, 1, {},
        u"s."_s + tooLong + u": Error:ファイル名が長すぎます\n"_s, u"s.TTD=-"_s);
    row("a source of a single combine too long a name", u"s.TTD=ttd"_s,
        u"combine --source %D/"_s + tooLong + u" %D/s.TTD"_s, {}, 1, {},
        tooLong + u": Error:ファイル名が長すぎます\n"_s, u"s.LRC=-"_s);
    row("deep: files are named relative to the current folder, also in messages",
        u"s.LRC=lrc s.TXT=old"_s, u"divide --overwrite --verbose s.LRC %D/gone.LRC"_s, u"deep"_s, 1,
        u"s.TXT\ns.TTD\n"_s, u"gone.LRC: Error:ファイルが見つかりません\n"_s,
        u"s.TXT=txt s.TTD=ttd"_s);
    usage("deep: an output over its own input is still refused", u"divide %D/a.LRC s.TXT"_s,
          ownOutput.arg(u"s.TXT"_s), u"a.LRC=lrc s.TXT=lrc"_s, u"s.TXT=lrc a.TXT=-"_s, u"deep"_s);
    row("rename, listed with --verbose", u"a.txt=a"_s, u"rename --to .LRC --verbose %D/a.txt"_s, {},
        0, u"%D/a.txt -> %D/a.LRC\n"_s, {}, u"a.LRC=a"_s);
    row("convert writes players' formats in UTF-8, each file on its own; a TTD is combined first",
        u"a.LRC=lrc song.TTD=ttd song.TXT=txt"_s,
        u"convert --to vtt --verbose %D/a.LRC %D/song.TTD %D/b.LRC"_s, {}, 1,
        u"%D/a.vtt (UTF-8)\n%D/song.vtt (UTF-8)\n"_s, u"b.LRC: Error:ファイルが見つかりません\n"_s,
        u"a.vtt=as-vtt song.vtt=as-vtt"_s);
    usage("convert: an output over a later input is refused before anything is written",
          u"convert --to tags %D/a.vtt %D/a.LRC"_s, ownOutput.arg(u"%D/a.LRC"_s),
          u"a.vtt=as-vtt a.LRC=lrc"_s, u"a.LRC=lrc"_s);
    usage("convert: a TTD file's source lyrics are an input too",
          u"convert --to lrc --source-ext lrc %D/song.TTD"_s, ownOutput.arg(u"%D/song.lrc"_s),
          u"song.TTD=ttd song.lrc=txt"_s, u"song.lrc=txt"_s);
    usage("retime: so are those of OLD", u"retime --source-ext LRC %D/song.TTD %D/song.txt"_s,
          ownOutput.arg(u"%D/song.LRC"_s), u"song.TTD=ttd song.LRC=txt song.txt=txt"_s,
          u"song.LRC=txt"_s);
    usage("convert: --to names a format", u"convert --to xyz a"_s,
          u"--to takes lrc, elrc, ass, vtt or tags, not 'xyz'"_s);
    usage("convert: --shift takes whole milliseconds that a tag can hold",
          u"convert --to lrc --shift -6000000 a"_s,
          u"--shift takes whole milliseconds from -5999990 to 5999990, not '-6000000'"_s);
    usage("retime takes OLD and NEW", u"retime a"_s, u"retime takes two files, OLD and NEW"_s);
    usage("--strict goes with retime only", u"convert --to lrc --strict a"_s,
          u"option '--strict' does not go with convert"_s);

    const QString program = u"program"_s;
    row("program: a path goes to the kernel as given, '..' after a link included",
        u"real/sub=/ lnk=@real/sub real/song.LRC=lrc song.LRC=lrc-other"_s,
        u"divide lnk/../song.LRC"_s, program, 0, {}, {}, u"real/song.TXT=txt song.TXT=-"_s);
    row("program: a failure is one UTF-8 line on stderr, then where the source differs",
        u"歌.TTD=ttd 歌.TXT=txt-other"_s, u"combine 歌.TTD"_s, program, 1, {},
        u"歌.TTD: Error:CRCが一致しませんでした\n歌.TTD: タイムタグデータは2行、素材歌詞は1行です\n"_s,
        u"歌.LRC=-"_s);
    row("program: bytes not valid in their encoding: the error line, then where they stop",
        u"歌.TTD=ttd 歌.TXT=undecodable"_s, u"combine 歌.TTD"_s, program, 1, {},
        u"歌.TXT: Error:"_s + ErrorMessage(ResultCode::InvalidEncoding) + u"\n歌.TXT: "_s +
            DetailsText({0, 1, TextEncoding::Cp932}) + u'\n',
        u"歌.LRC=-"_s);
    row("program: a name that would forge a line is quoted", {}, u"divide a\nb.LRC"_s, program, 1,
        {}, u"$'a\\nb.LRC': Error:ファイルが見つかりません\n"_s, {});
    row("program: nothing is replaced off a terminal", u"song.LRC=lrc song.TXT=old"_s,
        u"divide song.LRC"_s, program, 1, {},
        u"song.TXT: exists, not replaced (--overwrite replaces it)\n"_s,
        u"song.TXT=old song.TTD=-"_s);
    row("program: retime reports on stderr what it dropped, then the counts; --strict writes "
        "nothing",
        u"old.LRC=lrc new.TXT=ｶﾀｶﾅ"_s, u"retime --strict old.LRC new.TXT"_s, program, 1, {},
        u"new.TXT: 元の歌詞の1行目、1文字目のタグ[00:01:00]を引き継げませんでした\n"
        u"new.TXT: 元の歌詞の1行目、14文字目のタグ[00:02:50]を引き継げませんでした\n"
        u"new.TXT: 引き継いだタググループ1、引き継げなかったタググループ2、タイミングのない箇所0、"
        u"取り除いたタグ0\nnew.TXT: Error:引き継げないタイミングがあるため保存しませんでした\n"_s,
        u"new.LRC=-"_s);
    usage("program: a usage error", u"rename a.txt"_s, u"rename needs --to EXT"_s, u"a.txt=a"_s,
          u"a.txt=a"_s, program);

    usage("an option before the command", u"--overwrite divide a"_s,
          u"no command given: divide, combine, rename, convert or retime comes first"_s);
    usage("an unknown option", u"divide --bogus=1 a"_s, u"Unknown option 'bogus'."_s);
    usage("rename never overwrites", u"rename --overwrite a"_s,
          u"option '--overwrite' does not go with rename"_s);
    usage("no files", u"divide --overwrite"_s, u"no files given"_s);
    usage("a separator in an extension", u"combine --lyrics-ext x/LRC a"_s,
          u"'x/LRC' is not an extension"_s);
    usage("an encoding not offered", u"divide --encoding latin1 a"_s,
          u"--encoding takes auto, cp932 or utf-8, not 'latin1'"_s);
    usage("a time ratio not offered", u"combine --time-ratio=2 a"_s,
          u"--time-ratio takes none, 1 or 0.9953125, not '2'"_s);
    usage("a single combine whose output would replace its source",
          u"combine --overwrite --source %D/song.LRC %D/song.TTD"_s,
          ownOutput.arg(u"%D/song.LRC"_s), u"song.TTD=ttd song.LRC=txt"_s, u"song.LRC=txt"_s);
}

void TestCli::runs()
{
    QFETCH(CliRun, run);
    const auto& [files, arguments, how, exitCode, out, err, after] = run;

    Folder folder;
    // Deeper than any path the kernel takes, so that only names relative to the current folder
    // reach it; rm, unlike a removal by path, takes it away again.
    const QString home = QDir::currentPath();
    const QString top = folder.path(u"d"_s);
    const auto leave = qScopeGuard([&] {
        if (QDir::setCurrent(home) && how == u"deep")
            QProcess::execute(u"rm"_s, {u"-rf"_s, top});
    });
    if (how == u"deep") {
        QVERIFY(QDir::setCurrent(folder.dir.path()));
        for (int i = 0; i < 20; ++i) {
            const QByteArray level = i ? QByteArray(250, 'd') : QByteArray("d");
            QVERIFY(::mkdir(level.constData(), 0700) == 0 && ::chdir(level.constData()) == 0);
        }
        folder.dir.setPath(u"."_s);
    }
    QVERIFY(folder.fill(files));
    const Texts args = folder.expand(arguments).split(u' ');
    int code = -1;
    if (how == u"program") {
        QProcess cli;
        cli.setWorkingDirectory(folder.dir.path());
        cli.start(QStringLiteral(KOVRANT_CLI_PATH), args);
        QVERIFY(cli.waitForStarted());
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.readAllStandardError(), folder.expand(err).toUtf8());
        QCOMPARE(cli.readAllStandardOutput(), folder.expand(out).toUtf8());
        code = cli.exitCode();
    } else {
        ScriptedTerminal terminal;
        terminal.interactive = how.startsWith(u"tty");
        if (how.startsWith(u"tty:"))
            terminal.line = how.mid(4);
        QString outText;
        QString errText;
        QTextStream outStream(&outText);
        QTextStream errStream(&errText);
        QBuffer full;
        if (how == u"full" && full.open(QIODevice::ReadOnly))
            outStream.setDevice(&full);
        code = RunCli(args, outStream, errStream, terminal);
        QCOMPARE(errText, folder.expand(err));
        QCOMPARE(outText, folder.expand(out));
    }
    QCOMPARE(code, exitCode);
    QCOMPARE(folder.check(after), after);
}

// Names are printed as they are unless they hold what a terminal would act on.
void TestCli::quotesNames()
{
    QCOMPARE(QuotedName(u"歌 it's.LRC"_s), u"歌 it's.LRC"_s);
    QCOMPARE(QuotedName(u"a\x1B[31m'.LRC"_s), u"$'a\\E[31m\\'.LRC'"_s);
    QCOMPARE(QuotedName(DecodeFileName("caf\xE9.LRC")), u"$'caf\\xe9.LRC'"_s); // not UTF-8
    // Bidirectional controls, which would show this name as "songDTT.LRC", but not ZWJ.
    QCOMPARE(QuotedName(u"song\u202ECRL.TTD\u200D"_s), u"$'song\\u202eCRL.TTD\u200D'"_s);
    QCOMPARE(QuotedName(u"\u200E\u200F\u202A\u2066\u2069"_s),
             u"$'\\u200e\\u200f\\u202a\\u2066\\u2069'"_s);
}

void TestCli::endsCleanlyOnSignals_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("after"); // outputs listed before the signal is sent
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        for (const int after : {1, 5})
            QTest::addRow("SIG%s after %d outputs", sigabbrev_np(signal), after) << signal << after;
    }
}

// Whenever a signal ends a batch, the process ends with that signal, every output is the old
// file or the whole new one, and no temporary file is left. SIGKILL cannot be caught: its batch
// writes new files only, which take their names at once.
void TestCli::endsCleanlyOnSignals()
{
    QFETCH(int, signal);
    QFETCH(int, after);
    const bool replacing = signal != SIGKILL;
    Folder folder;
    Texts arguments{u"divide"_s, u"--overwrite"_s, u"--verbose"_s};
    QString files;
    for (int i = 0; i < 40; ++i) {
        const QString name = u"f%1."_s.arg(i);
        files += name + u"LRC=lrc "_s;
        if (replacing)
            files += name + u"TXT=old "_s + name + u"TTD=old "_s;
        arguments << name + u"LRC"_s;
    }
    QVERIFY(folder.fill(files));
    QProcess cli;
    cli.setWorkingDirectory(folder.dir.path());
    cli.start(QStringLiteral(KOVRANT_CLI_PATH), arguments);
    QVERIFY(cli.waitForStarted());
    // Taken now: once the program has ended, processId() is 0, and kill(0) signals this test.
    const auto pid = pid_t(cli.processId());
    QByteArray listed;
    while (listed.count('\n') < after && cli.waitForReadyRead(10000))
        listed += cli.readAllStandardOutput();
    QCOMPARE(::kill(pid, signal), 0);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
    QCOMPARE(cli.exitCode(), signal);
    for (const QString& entry : folder.dir.entryList(QDir::Files | QDir::Hidden)) {
        const QByteArray bytes = folder.read(entry);
        QVERIFY2(!entry.startsWith(u'.') &&
                     (bytes == "old" ||
                      bytes == Contents().value(entry.section(u'.', -1).toLower(), "?")),
                 qPrintable(entry));
    }
}

// The help is made from the parser's options: each has its description, and --help, then
// --version, win over everything before "--".
void TestCli::helpDescribesEveryOption()
{
    const QString help = CliHelpText();
    for (const QCommandLineOption& option : CliOptionList()) {
        const QString name = u"--"_s + option.names().constFirst();
        QVERIFY2(!option.description().isEmpty(), qPrintable(name));
        QVERIFY2(help.contains(u"\n  "_s + name), qPrintable(name));
    }
    CliOptions options;
    QString problem;
    QVERIFY(ParseCliArguments(u"divide --bogus --version --help"_s.split(u' '), options, problem));
    QCOMPARE(options.command, CliCommand::Help);
    QVERIFY(
        ParseCliArguments(u"rename --bogus --version -- --help"_s.split(u' '), options, problem));
    QCOMPARE(options.command, CliCommand::Version);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
