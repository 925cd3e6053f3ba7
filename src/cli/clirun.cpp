#include "cli/clirun.h"

#include "cli/cliargs.h"
#include "cli/clitexts.h"
#include "cli/quoting.h"
#include "files/paths.h"
#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobs/jobpaths.h"
#include "jobs/messages.h"
#include "jobs/singlecombine.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kovrant {

namespace {

void WriteLine(QTextStream& stream, const QString& line)
{
    stream << line << u'\n';
    stream.flush();
}

// What the command line says of a file: its name (or the text the user gave), ": " and what
// the window would show on the message's second line.
QString About(const QString& name, const QString& text)
{
    return QuotedName(name) + u": "_s + text;
}

bool IsYes(const QString& answer)
{
    const QString word = answer.trimmed();
    return word.compare(u"y", Qt::CaseInsensitive) == 0 ||
           word.compare(u"yes", Qt::CaseInsensitive) == 0;
}

class CliDialogs final : public UserDialogs {
public:
    CliDialogs(QTextStream& err, Terminal& terminal, bool repair)
        : m_err(err)
        , m_terminal(terminal)
        , m_repair(repair)
    {}

    bool askOverwrite(const QString& path) override
    {
        if (!m_terminal.isInteractive()) {
            // Nobody can answer: keep the file and say why the run does not end with 0.
            WriteLine(m_err, About(DisplayName(path), CliText::NotReplaced));
            return false;
        }
        m_err << About(path, OverwriteQuestion()) << CliText::OverwritePrompt;
        m_err.flush();
        const std::optional<QString> answer = m_terminal.readLine();
        if (!answer) {
            WriteLine(m_err, QString());
            return false;
        }
        return IsYes(*answer);
    }

    void reportFileError(const QString& path, ResultCode code) override
    {
        WriteLine(m_err, About(DisplayName(path), ErrorPrefix() + ErrorMessage(code)));
    }

    // With --repair the file is combined with the repaired text; without it the file fails as
    // any mismatch does, and the line says what --repair would do.
    bool offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis) override
    {
        if (!m_repair)
            reportFileError(ttdPath, ResultCode::CrcMismatch);
        QString line = About(DisplayName(ttdPath), RepairText(diagnosis.repairs));
        if (!m_repair)
            line += CliText::RepairHint;
        WriteLine(m_err, line);
        return m_repair;
    }

    void reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis) override
    {
        reportFileError(ttdPath, ResultCode::CrcMismatch);
        for (const QString& line : ShapeReport(diagnosis))
            WriteLine(m_err, About(DisplayName(ttdPath), line));
    }

    void reportFileNotice(const QString& path, FileNotice notice) override
    {
        WriteLine(m_err, About(DisplayName(path), NoticeText(notice)));
    }

    void reportFolderNotFound(const QString& folder) override
    {
        WriteLine(m_err, About(folder, FolderNotFoundText()));
    }

    void reportOutputFolderMissing() override { WriteLine(m_err, OutputFolderMissingText()); }

    // Every failure has had its own line; the exit status sums the run up.
    void showSummary(BatchSummary) override {}

private:
    QTextStream& m_err;
    Terminal& m_terminal;
    bool m_repair;
};

class CliLog final : public JobLog {
public:
    CliLog(QTextStream& out, bool verbose)
        : m_out(out)
        , m_verbose(verbose)
    {}

    // A file in code page 932, the format's own encoding, is listed by its name alone.
    void written(const QString& path, TextEncoding encoding) override
    {
        if (!m_verbose)
            return;
        QString line = QuotedName(path);
        if (encoding != TextEncoding::Cp932)
            line += u" ("_s + EncodingName(encoding) + u')';
        WriteLine(m_out, line);
    }

    void renamed(const QString& from, const QString& to) override
    {
        if (m_verbose)
            WriteLine(m_out, QuotedName(from) + CliText::Arrow + QuotedName(to));
    }

private:
    QTextStream& m_out;
    bool m_verbose;
};

int UsageError(QTextStream& err, const QString& problem)
{
    // The problem may quote what was typed, line breaks and all.
    WriteLine(err, CliText::Program + u": "_s + OneLineText(problem));
    WriteLine(err, CliText::TryHelp);
    return CliExit::UsageError;
}

// Messages name files without their folder and outputs are formed beside the inputs, so the
// jobs get absolute paths whatever the user typed. Nothing is cleaned: "link/.." is for the
// kernel to resolve, as every other program does. The current folder is asked for once.
class Absolute {
public:
    QString operator()(const QString& path)
    {
        if (path.isEmpty() || QDir::isAbsolutePath(path))
            return path;
        if (m_current.isEmpty())
            m_current = AddBackslash(QDir::currentPath());
        return m_current + path;
    }

private:
    QString m_current;
};

JobSnapshot SnapshotFor(const CliOptions& options)
{
    JobSnapshot state;
    state.alwaysOnTop = false;
    state.overwriteWithoutAsking = options.overwrite;
    state.skipCrcCheck = options.noCrcCheck;
    state.timeRatio = options.timeRatio;
    state.recognition = options.recognition;
    state.lyricsExtension = options.lyricsExtension;
    state.sourceExtension = options.sourceExtension;
    state.ttdExtension = options.ttdExtension;
    return state;
}

// The window's state for a single combine of file: the source named or the one beside it, the
// output into --output-dir or beside the TTD file.
JobSnapshot SingleCombineSnapshot(const CliOptions& options, const QString& file)
{
    JobSnapshot state = SnapshotFor(options);
    state.ttdPath = file;
    state.sourcePath = options.source.value_or(CombineSourcePath(file, state));
    state.outputFolder = options.outputDir.value_or(QString());
    state.outputBesideTtd = !options.outputDir;
    return state;
}

// The identities of the paths one file's checks name, each looked up once.
class Identities {
public:
    std::optional<FileId> of(const QString& path)
    {
        const auto known = m_known.constFind(path);
        if (known != m_known.cend())
            return *known;
        return *m_known.insert(path, IdentityOf(path));
    }
    void clear() { m_known.clear(); }

private:
    QHash<QString, std::optional<FileId>> m_known;
};

// Without case, as some file systems see names; and through links where both exist. Names of
// two different files need no more than their identities; names of one file are compared as
// their canonical paths.
bool SamePath(const QString& a, const QString& b, Identities& identities)
{
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return true;
    const std::optional<FileId> second = identities.of(b);
    if (!second)
        return false;
    const std::optional<FileId> first = identities.of(a);
    return first && *first == *second && QFileInfo(a) == QFileInfo(b);
}

// The window's extension rules keep every output apart from its inputs; named files and free
// extensions do not, so a file that its own output would replace is refused before anything
// runs.
bool CheckOutputsLeaveInputs(const CliOptions& options, QString& problem)
{
    Identities identities;
    const auto check = [&](const QString& input, const QString& output) {
        if (!SamePath(input, output, identities))
            return true;
        problem = CliText::OwnOutput.arg(input);
        return false;
    };
    for (const QString& file : options.files) {
        identities.clear();
        switch (options.command) {
        case CliCommand::Divide: {
            const DivideOutputs outputs = DivideOutputPaths(file, SnapshotFor(options));
            if (!check(file, outputs.source) || !check(file, outputs.ttd))
                return false;
            break;
        }
        case CliCommand::Combine: {
            // The batch combine writes where the single combine does beside the TTD file.
            const JobSnapshot state = SingleCombineSnapshot(options, file);
            const QString output = SingleCombineOutputPath(state);
            if (!check(file, output) || !check(state.sourcePath, output))
                return false;
            break;
        }
        case CliCommand::Rename:
        case CliCommand::Help:
        case CliCommand::Version:
            break;
        }
    }
    return true;
}

// A run whose own output could not be written has failed, whatever else went well.
int Finish(QTextStream& out, QTextStream& err, int exitCode)
{
    out.flush();
    if (out.status() != QTextStream::Ok) {
        WriteLine(err, CliText::Program + u": "_s + CliText::OutputFailed);
        return CliExit::Failed;
    }
    err.flush();
    return exitCode;
}

bool RunSingleCombines(const CliOptions& options, JobContext& context)
{
    bool allOk = true;
    for (const QString& file : options.files) {
        if (SingleCombine(SingleCombineSnapshot(options, file), context) !=
            SingleCombineOutcome::Written)
            allOk = false;
    }
    return allOk;
}

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err, Terminal& terminal)
{
    CliOptions options;
    QString problem;
    if (!ParseCliArguments(arguments, options, problem))
        return UsageError(err, problem);
    if (options.command == CliCommand::Help) {
        out << CliText::Help;
        return Finish(out, err, CliExit::Ok);
    }
    if (options.command == CliCommand::Version) {
        WriteLine(out, CliText::Version);
        return Finish(out, err, CliExit::Ok);
    }

    Absolute absolute;
    for (QString& file : options.files)
        file = absolute(file);
    if (options.source)
        options.source = absolute(*options.source);
    if (options.outputDir)
        options.outputDir = absolute(*options.outputDir);
    if (!CheckOutputsLeaveInputs(options, problem))
        return UsageError(err, problem);

    CliDialogs dialogs(err, terminal, options.repair);
    NoWindowHooks hooks;
    CliLog log(out, options.verbose);
    JobContext context{dialogs, hooks, log};
    const JobSnapshot state = SnapshotFor(options);
    BatchResults results;

    bool allOk = false;
    switch (options.command) {
    case CliCommand::Divide:
        allOk = BatchDivide(options.files, state, context, results);
        break;
    case CliCommand::Combine:
        allOk = IsSingleCombine(options) ? RunSingleCombines(options, context)
                                         : BatchCombine(options.files, state, context, results);
        break;
    case CliCommand::Rename:
        allOk = BatchRename(options.files, options.newExtension, context, results);
        break;
    case CliCommand::Help:
    case CliCommand::Version:
        break;
    }
    return Finish(out, err, allOk ? CliExit::Ok : CliExit::Failed);
}

} // namespace kovrant
