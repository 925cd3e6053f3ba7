#include "cli/clirun.h"

#include "cli/cliargs.h"
#include "cli/clitexts.h"
#include "core/crcservice.h"
#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobs/jobpaths.h"
#include "jobs/messages.h"
#include "jobs/singlecombine.h"

#include <QFileInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kovrant {

namespace {

void WriteLine(QTextStream& stream, const QString& line)
{
    stream << line << u'\n';
    stream.flush();
}

// A job's message on one line: the file's name, ": " and the text that followed it.
QString OneLine(const QString& text)
{
    QString line = text;
    line.replace(JobText::LineBreak.toString(), u": "_s);
    return line;
}

bool IsYes(const QString& answer)
{
    const QString word = answer.trimmed();
    return word.compare(u"y", Qt::CaseInsensitive) == 0 ||
           word.compare(u"yes", Qt::CaseInsensitive) == 0;
}

class CliDialogs final : public UserDialogs {
public:
    CliDialogs(QTextStream& err, Terminal& terminal)
        : m_err(err)
        , m_terminal(terminal)
    {}

    void showInfo(const QString& text) override { WriteLine(m_err, OneLine(text)); }
    void showWarning(const QString& text) override { WriteLine(m_err, OneLine(text)); }

    bool askYesNo(const QString& text) override
    {
        if (!m_terminal.isInteractive()) {
            // Nobody can answer: keep the file and say why the run does not end with 0.
            const QString path = text.section(JobText::LineBreak.toString(), 0, 0);
            WriteLine(m_err, DisplayName(path) + u": "_s + CliText::NotReplaced.toString());
            return false;
        }
        m_err << OneLine(text) << CliText::OverwritePrompt;
        m_err.flush();
        const std::optional<QString> answer = m_terminal.readLine();
        if (!answer) {
            WriteLine(m_err, QString());
            return false;
        }
        return IsYes(*answer);
    }

private:
    QTextStream& m_err;
    Terminal& m_terminal;
};

class CliLog final : public JobLog {
public:
    CliLog(QTextStream& out, bool verbose)
        : m_out(out)
        , m_verbose(verbose)
    {}

    void written(const QString& path) override
    {
        if (m_verbose)
            WriteLine(m_out, path);
    }

    void renamed(const QString& from, const QString& to) override
    {
        if (m_verbose)
            WriteLine(m_out, from + CliText::Arrow.toString() + to);
    }

private:
    QTextStream& m_out;
    bool m_verbose;
};

int UsageError(QTextStream& err, const QString& problem)
{
    WriteLine(err, CliText::Program.toString() + u": "_s + problem);
    WriteLine(err, CliText::TryHelp.toString());
    return CliExit::UsageError;
}

// Messages name files without their folder and outputs are formed beside the inputs, so the
// jobs get absolute paths whatever the user typed.
QString Absolute(const QString& path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

JobSnapshot SnapshotFor(const CliOptions& options)
{
    JobSnapshot state;
    state.mnAlways = false;
    state.mnOverwrite = options.overwrite;
    state.mnNoCRCCheck = options.noCrcCheck;
    state.timeRatioChoice = options.timeRatio;
    state.timeTaggedExtension = options.lyricsExtension;
    state.sourceExtension = options.sourceExtension;
    state.ttdExtension = options.ttdExtension;
    return state;
}

// The window's state for a single combine of file: the source named or the one beside it, the
// output into --output-dir or beside the TTD file.
JobSnapshot SingleCombineSnapshot(const CliOptions& options, const QString& file)
{
    JobSnapshot state = SnapshotFor(options);
    state.txtTTD = file;
    state.txtSozai =
        options.source.isNull() ? SiblingPath(file, options.sourceExtension) : options.source;
    state.txtOut = options.outputDir;
    state.ChkSameTTD = options.outputDir.isNull();
    return state;
}

bool SamePath(const QString& a, const QString& b)
{
    // Without case, as some file systems see names; and through links where both exist.
    return a.compare(b, Qt::CaseInsensitive) == 0 ||
           (QFileInfo::exists(a) && QFileInfo::exists(b) && QFileInfo(a) == QFileInfo(b));
}

// The window's extension rules keep every output apart from its inputs; named files and free
// extensions do not, so a file that its own output would replace is refused before anything
// runs.
bool CheckOutputsLeaveInputs(const CliOptions& options, QString& problem)
{
    const auto check = [&](const QString& input, const QString& output) {
        if (!SamePath(input, output))
            return true;
        problem = CliText::OwnOutput.toString().arg(input);
        return false;
    };
    for (const QString& file : options.files) {
        switch (options.command) {
        case CliCommand::Divide:
            if (!check(file, SiblingPath(file, options.sourceExtension)) ||
                !check(file, SiblingPath(file, options.ttdExtension)))
                return false;
            break;
        case CliCommand::Combine: {
            // The batch combine writes where the single combine does with ChkSameTTD.
            const JobSnapshot state = SingleCombineSnapshot(options, file);
            const QString output = SingleCombineOutputPath(state);
            if (!check(file, output) || !check(state.txtSozai, output))
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
        out.flush();
        return CliExit::Ok;
    }
    if (options.command == CliCommand::Version) {
        WriteLine(out, CliText::Version.toString());
        return CliExit::Ok;
    }

    for (QString& file : options.files)
        file = Absolute(file);
    options.source = Absolute(options.source);
    options.outputDir = Absolute(options.outputDir);
    if (!CheckOutputsLeaveInputs(options, problem))
        return UsageError(err, problem);

    CrcService crc;
    crc.Initialise(1);
    CliDialogs dialogs(err, terminal);
    NoWindowHooks hooks;
    CliLog log(out, options.verbose);
    JobContext context{crc, dialogs, hooks, log};
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
    out.flush();
    err.flush();
    return allOk ? CliExit::Ok : CliExit::Failed;
}

} // namespace kovrant
