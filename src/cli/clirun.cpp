#include "cli/clirun.h"

#include "cli/cliargs.h"
#include "cli/clidialogs.h"
#include "cli/clitexts.h"
#include "cli/quoting.h"
#include "files/fileops.h"
#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobs/formatconversion.h"
#include "jobs/jobpaths.h"
#include "jobs/messages.h"
#include "jobs/retimejob.h"
#include "jobs/singlecombine.h"
#include "version.h"

#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kovrant {

namespace {

int UsageError(QTextStream& err, const QString& problem)
{
    // The problem may quote what was typed, line breaks and all.
    WriteLine(err, CliText::Program + u": "_s + OneLineText(problem));
    WriteLine(err, CliText::TryHelp);
    return CliExit::UsageError;
}

// Messages name files without their folder and outputs are formed beside the inputs, so the
// jobs get absolute paths whatever the user typed, where the kernel takes them. Nothing is
// cleaned: "link/.." is for the kernel to resolve, as every other program does. The current
// folder is asked for once.
class Absolute {
public:
    QString operator()(const QString& path)
    {
        if (!m_current)
            m_current = QDir::currentPath();
        return AbsolutePathWherePossible(path, *m_current);
    }

private:
    std::optional<QString> m_current;
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

// What the run reads and writes, as far as it can be known before anything is read. Divide and
// combine go file by file, as the window's batches do; a conversion's outputs stay off every
// input of the run, so that no output replaces a file that a later one reads.
QList<JobFiles> RunFiles(const CliOptions& options)
{
    const QString outputFolder = options.outputDir.value_or(QString());
    QList<JobFiles> run;
    switch (options.command) {
    case CliCommand::Divide:
        for (const QString& file : options.files)
            run << DivideFiles(file, SnapshotFor(options));
        break;
    case CliCommand::Combine:
        // The batch combine writes where the single combine does beside the TTD file.
        for (const QString& file : options.files)
            run << SingleCombineFiles(SingleCombineSnapshot(options, file));
        break;
    case CliCommand::Convert:
        run << ConvertFiles(options.files, options.format, outputFolder, SnapshotFor(options));
        break;
    case CliCommand::Retime:
        run << RetimeFiles(options.files[0], options.files[1], outputFolder, SnapshotFor(options));
        break;
    case CliCommand::Rename:
    case CliCommand::Help:
    case CliCommand::Version:
        break;
    }
    return run;
}

// The window's extension rules keep every output apart from its inputs; named files and free
// extensions do not, so a file that an output would replace is refused before anything runs.
bool CheckOutputsLeaveInputs(const CliOptions& options, QString& problem)
{
    for (const JobFiles& files : RunFiles(options)) {
        if (const std::optional<QString> input = InputReplacedByOutput(files)) {
            problem = CliText::OwnOutput.arg(*input);
            return false;
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
        out << CliHelpText();
        return Finish(out, err, CliExit::Ok);
    }
    if (options.command == CliCommand::Version) {
        WriteLine(out, CliText::Program + u' ' + QStringLiteral(KOVRANT_VERSION));
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
    case CliCommand::Convert:
        allOk = BatchConvert(
            options.files, {options.format, options.shiftMs, options.outputDir.value_or(QString())},
            state, context, results);
        break;
    case CliCommand::Retime:
        allOk = Retime({options.files[0], options.files[1], options.outputDir.value_or(QString()),
                        options.strict},
                       state, context);
        break;
    case CliCommand::Help:
    case CliCommand::Version:
        break;
    }
    return Finish(out, err, allOk ? CliExit::Ok : CliExit::Failed);
}

} // namespace kovrant
