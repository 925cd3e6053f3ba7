#include "ui/runrecord.h"

#include <utility>

namespace kovrant {

RunRecord::RunRecord(WindowDialogs& dialogs, std::function<BatchResults()> results)
    : m_dialogs(dialogs)
    , m_results(std::move(results))
{}

bool RunRecord::askOverwrite(const QString& path)
{
    const bool replace = m_dialogs.askOverwrite(path);
    if (!replace)
        m_report.failures.append({path, std::nullopt});
    return replace;
}

void RunRecord::reportFileError(const QString& path, ResultCode code,
                                const FileErrorDetails& details)
{
    m_report.failures.append({path, code});
    m_dialogs.reportFileError(path, code, details);
}

bool RunRecord::offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    const bool repair = m_dialogs.offerRepair(ttdPath, diagnosis);
    if (!repair)
        m_report.failures.append({ttdPath, ResultCode::CrcMismatch});
    return repair;
}

void RunRecord::reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    m_report.failures.append({ttdPath, ResultCode::CrcMismatch});
    m_dialogs.reportCrcMismatch(ttdPath, diagnosis);
}

void RunRecord::reportFileNotice(const QString& path, FileNotice notice,
                                 const FileErrorDetails& details)
{
    m_dialogs.reportFileNotice(path, notice, details);
}

void RunRecord::reportFolderNotFound(const QString& folder)
{
    m_dialogs.reportFolderNotFound(folder);
}

void RunRecord::reportOutputFolderMissing()
{
    m_dialogs.reportOutputFolderMissing();
}

void RunRecord::showSummary(BatchSummary summary)
{
    // A batch without files to take, or without a new extension, processed none.
    if (summary == BatchSummary::AllOk || summary == BatchSummary::SomeErrors) {
        const BatchResults results = m_results();
        m_report.files = results.size();
        m_report.errors = results.size() - results.count(ResultCode::Ok);
    }
    m_dialogs.showBatchSummary(summary, m_report);
}

void RunRecord::reportRetime(const QString& newPath, const RetimeResult& result)
{
    m_dialogs.reportRetime(newPath, result);
}

void RunRecord::written(const QString& path, TextEncoding encoding)
{
    m_report.written.append({path, encoding});
}

} // namespace kovrant
