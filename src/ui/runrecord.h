#pragma once

#include "jobs/batchdriver.h"
#include "ui/windowdialogs.h"

#include <functional>

namespace kovrant {

// Stands between the jobs and the window's dialogs for one run, a batch or a click of 結合: it
// passes every conversation on unchanged and keeps what the window tells afterwards, the files
// that failed and the outputs written. A batch's summary gets them as its details.
class RunRecord final : public UserDialogs, public JobLog {
public:
    // results gives the per-file codes of the batch that has just run.
    RunRecord(WindowDialogs& dialogs, std::function<BatchResults()> results);

    // What the run did so far; clear() starts the next one.
    const BatchReport& report() const { return m_report; }
    void clear() { m_report = BatchReport(); }

    bool askOverwrite(const QString& path) override;
    void reportFileError(const QString& path, ResultCode code,
                         const FileErrorDetails& details) override;
    bool offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis) override;
    void reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis) override;
    void reportFileNotice(const QString& path, FileNotice notice,
                          const FileErrorDetails& details) override;
    void reportFolderNotFound(const QString& folder) override;
    void reportOutputFolderMissing() override;
    void showSummary(BatchSummary summary) override;
    void reportRetime(const QString& newPath, const RetimeResult& result) override;

    void written(const QString& path, TextEncoding encoding) override;

private:
    WindowDialogs& m_dialogs;
    std::function<BatchResults()> m_results;
    BatchReport m_report;
};

} // namespace kovrant
