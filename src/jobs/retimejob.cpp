#include "jobs/retimejob.h"

#include "core/retime.h"
#include "jobs/fileoutcome.h"
#include "jobs/jobpaths.h"
#include "jobs/outputs.h"
#include "jobs/taggedinput.h"

#include <QFileInfo>

#include <new>

namespace kovrant {

namespace {

FileOutcome RetimeOne(const RetimeRequest& request, const JobSnapshot& state, JobContext& context)
{
    // Both files pass the cheap checks before the old one is combined and a repair offered.
    for (const QString& file : {request.oldFile, request.newFile}) {
        if (const ResultCode code = CheckInputFile(file, NamedInputLimits.lyrics);
            code != ResultCode::Ok)
            return Failure(code, file);
    }
    TextFile oldLyrics;
    TextFile newLyrics;
    FileOutcome failure;
    if (!ReadTaggedLyrics(request.oldFile, state, context, oldLyrics, failure) ||
        !ReadInputText(request.newFile, NamedInputLimits.lyrics, state, newLyrics, failure))
        return failure;

    RetimeResult result;
    ResultCode code = ResultCode::Ok;
    if (!RetimeLyrics(oldLyrics.text, newLyrics.text, result, code))
        return Failure(code,
                       code == ResultCode::RetimeNoTimeTag ? request.oldFile : request.newFile);
    oldLyrics = {};

    context.dialogs.reportRetime(request.newFile, result);
    if (request.strict && !result.complete())
        return Failure(ResultCode::RetimeIncomplete, request.newFile);
    const OutputsOutcome written =
        WriteOutputs({{RetimeOutputPath(request.newFile, request.outputFolder, state),
                       std::move(result.taggedText), newLyrics.encoding}},
                     state, context);
    if (written.outcome != OutputsOutcome::Written)
        return NotWritten(written);
    return WentThrough();
}

} // namespace

bool Retime(const RetimeRequest& request, const JobSnapshot& state, JobContext& context)
{
    if (!CheckOutputFolder(request.outputFolder, context))
        return false;
    FileOutcome outcome;
    try {
        outcome = RetimeOne(request, state, context);
    } catch (const std::bad_alloc&) {
        // Nothing was written. The larger file is named.
        const bool oldLarger =
            QFileInfo(request.oldFile).size() >= QFileInfo(request.newFile).size();
        outcome = Failure(ResultCode::FileTooLarge, oldLarger ? request.oldFile : request.newFile);
    }
    ReportOutcome(outcome, context);
    return outcome.wentThrough;
}

} // namespace kovrant
