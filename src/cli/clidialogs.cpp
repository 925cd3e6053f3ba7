#include "cli/clidialogs.h"

#include "cli/clitexts.h"
#include "cli/quoting.h"
#include "jobs/messages.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kovrant {

namespace {

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

} // namespace

void WriteLine(QTextStream& stream, const QString& line)
{
    stream << line << u'\n';
    stream.flush();
}

CliDialogs::CliDialogs(QTextStream& err, Terminal& terminal, bool repair)
    : m_err(err)
    , m_terminal(terminal)
    , m_repair(repair)
{}

bool CliDialogs::askOverwrite(const QString& path)
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

// What more there is to say goes on a line of its own after the first, which scripts read.
void CliDialogs::reportDetails(const QString& path, const FileErrorDetails& details)
{
    if (const QString text = DetailsText(details); !text.isEmpty())
        WriteLine(m_err, About(DisplayName(path), text));
}

void CliDialogs::reportFileError(const QString& path, ResultCode code,
                                 const FileErrorDetails& details)
{
    WriteLine(m_err, About(DisplayName(path), ErrorPrefix() + ErrorMessage(code)));
    reportDetails(path, details);
    if (code == ResultCode::AmbiguousEncoding)
        WriteLine(m_err, About(DisplayName(path), CliText::EncodingHint));
}

// With --repair the file is combined with the repaired text; without it the file fails as any
// mismatch does, and the line says what --repair would do.
bool CliDialogs::offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    if (!m_repair)
        reportFileError(ttdPath, ResultCode::CrcMismatch, {});
    QString line = About(DisplayName(ttdPath), RepairText(diagnosis.repairs));
    if (!m_repair)
        line += CliText::RepairHint;
    WriteLine(m_err, line);
    return m_repair;
}

void CliDialogs::reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    reportFileError(ttdPath, ResultCode::CrcMismatch, {});
    for (const QString& line : ShapeReport(diagnosis))
        WriteLine(m_err, About(DisplayName(ttdPath), line));
}

void CliDialogs::reportFileNotice(const QString& path, FileNotice notice,
                                  const FileErrorDetails& details)
{
    WriteLine(m_err, About(DisplayName(path), NoticeText(notice)));
    reportDetails(path, details);
}

void CliDialogs::reportFolderNotFound(const QString& folder)
{
    WriteLine(m_err, About(folder, FolderNotFoundText()));
}

void CliDialogs::reportOutputFolderMissing()
{
    WriteLine(m_err, OutputFolderMissingText());
}

void CliDialogs::reportRetime(const QString& newPath, const RetimeResult& result)
{
    // The untimed texts are the file's own and may hold what a terminal would act on.
    for (const QString& line : RetimeReportLines(result))
        WriteLine(m_err, About(DisplayName(newPath), OneLineText(line)));
    WriteLine(m_err, About(DisplayName(newPath), RetimeCountsText(result)));
}

CliLog::CliLog(QTextStream& out, bool verbose)
    : m_out(out)
    , m_verbose(verbose)
{}

// A file in code page 932, the format's own encoding, is listed by its name alone.
void CliLog::written(const QString& path, TextEncoding encoding)
{
    if (!m_verbose)
        return;
    QString line = QuotedName(path);
    if (encoding != TextEncoding::Cp932)
        line += u" ("_s + EncodingName(encoding) + u')';
    WriteLine(m_out, line);
}

void CliLog::renamed(const QString& from, const QString& to)
{
    if (m_verbose)
        WriteLine(m_out, QuotedName(from) + CliText::Arrow + QuotedName(to));
}

} // namespace kovrant
