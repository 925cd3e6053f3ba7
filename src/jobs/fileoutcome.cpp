#include "jobs/fileoutcome.h"

#include "files/fileops.h"

#include <new>

namespace kovrant {

FileOutcome Failure(ResultCode code, const QString& namedFile, const FileErrorDetails& details)
{
    return {false, code, namedFile, false, details};
}

FileOutcome NotWritten(const OutputsOutcome& written)
{
    return written.outcome == OutputsOutcome::Declined ? FileOutcome{}
                                                       : Failure(written.code, written.failedPath);
}

FileOutcome WentThrough()
{
    return {true, ResultCode::Ok, QString()};
}

void ReportOutcome(const FileOutcome& outcome, JobContext& context)
{
    if (outcome.code != ResultCode::Ok && !outcome.reported)
        context.dialogs.reportFileError(outcome.namedFile, outcome.code, outcome.details);
}

bool CheckOutputFolder(const QString& outputFolder, JobContext& context)
{
    if (outputFolder.isEmpty())
        return true;
    const ResultCode found = LookUpFolder(outputFolder);
    if (found == ResultCode::NameTooLong)
        context.dialogs.reportFileError(outputFolder, found, {});
    else if (found != ResultCode::Ok)
        context.dialogs.reportFolderNotFound(outputFolder);
    return found == ResultCode::Ok;
}

bool RunQueue(const QStringList& queue, JobContext& context, BatchResults& results,
              const FileJob& job)
{
    results = BatchResults(queue.size(), ResultCode::Ok);
    if (queue.isEmpty())
        return false;
    bool allOk = true;
    for (qsizetype i = 0; i < queue.size(); ++i) {
        FileOutcome outcome;
        try {
            outcome = job(queue[i]);
        } catch (const std::bad_alloc&) {
            // Nothing of the file was written.
            outcome = Failure(ResultCode::FileTooLarge, queue[i]);
        }
        results[i] = outcome.code;
        if (!outcome.wentThrough)
            allOk = false;
        ReportOutcome(outcome, context);
    }
    return allOk;
}

} // namespace kovrant
