#pragma once

#include "files/textfiles.h"
#include "jobs/jobstate.h"
#include "jobs/outputs.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kovrant {

// How one file of a job ended. A declined overwrite is no failure with a code, but the file has
// not gone through either.
struct FileOutcome {
    bool wentThrough = false;
    ResultCode code = ResultCode::Ok;
    QString namedFile;     // the file the message names when there is a code
    bool reported = false; // the user has been told of the failure already
    FileErrorDetails details{};
};

FileOutcome Failure(ResultCode code, const QString& namedFile,
                    const FileErrorDetails& details = {});
// Outputs that did not all go through: declined, or a failure that names an output.
FileOutcome NotWritten(const OutputsOutcome& written);
FileOutcome WentThrough();

// Tells the user of a failure that has not been told yet.
void ReportOutcome(const FileOutcome& outcome, JobContext& context);

// True when outputFolder is "" (outputs beside their inputs) or names a folder; otherwise the
// user is told and the job writes nothing.
bool CheckOutputFolder(const QString& outputFolder, JobContext& context);

using FileJob = std::function<FileOutcome(const QString& file)>;

// Runs job on each queued file in turn, reporting each failure at once: results gets one code
// per file. A file too large for the memory there is fails alone. True only when every file
// went through; an empty queue gives false.
bool RunQueue(const QStringList& queue, JobContext& context, BatchResults& results,
              const FileJob& job);

} // namespace kovrant
