#include "jobs/singlecombine.h"

#include "files/filenames.h"
#include "files/fileops.h"
#include "files/paths.h"
#include "files/textfiles.h"
#include "jobs/combinerepair.h"
#include "jobs/jobpaths.h"
#include "jobs/outputs.h"

#include <QFileInfo>

#include <new>

namespace kovrant {

namespace {

SingleCombineOutcome Notice(JobContext& context, const QString& path, FileNotice notice)
{
    context.dialogs.reportFileNotice(path, notice, {});
    return SingleCombineOutcome::Failed;
}

SingleCombineOutcome Error(JobContext& context, const QString& path, ResultCode code)
{
    context.dialogs.reportFileError(path, code, {});
    return SingleCombineOutcome::Failed;
}

// The folder test takes the text less its trailing separator so that "/out/" and "/out" pass
// alike; the root, which is nothing but a separator, is taken as it stands.
QString FolderWithoutSeparator(const QString& folder)
{
    const QString stripped = StripBackslash(folder);
    return stripped.isEmpty() ? folder : stripped;
}

// Reads one input; a file beyond what memory holds is refused before it is read.
bool ReadInput(const QString& path, Recognition recognition, TextFile& file, JobContext& context,
               std::optional<TextFile>* otherReading = nullptr)
{
    if (QFileInfo(path).size() > MaxSingleCombineInput) {
        context.dialogs.reportFileNotice(path, FileNotice::TooLarge, {});
        return false;
    }
    ReadFailure failure;
    if (!ReadTextFile(path, recognition, file, failure, -1, otherReading)) {
        const FileNotice notice = failure.code == ResultCode::InvalidEncoding
                                      ? FileNotice::InvalidEncoding
                                      : FileNotice::CannotRead;
        context.dialogs.reportFileNotice(path, notice, failure.details);
        return false;
    }
    return true;
}

SingleCombineOutcome Combine(const JobSnapshot& state, JobContext& context)
{
    TextFile ttd;
    TextFile source;
    std::optional<TextFile> other;
    if (!ReadInput(state.ttdPath, TtdRecognition(state.recognition), ttd, context) ||
        !ReadInput(state.sourcePath, state.recognition, source, context, &other))
        return SingleCombineOutcome::Failed;

    CombinedLyrics combined;
    ResultCode code = ResultCode::Ok;
    {
        // The window is usable again before any message below is shown.
        const WindowBusy busy(context.hooks);
        code = CombineSource(ttd.text, source, other, state, combined);
    }
    if (code == ResultCode::CrcMismatch) {
        if (!RepairCrcMismatch(state.ttdPath, ttd.text, source, state, context, combined))
            return SingleCombineOutcome::Failed;
    } else if (code != ResultCode::Ok) {
        return Error(context, SourceAtFault(code) ? state.sourcePath : state.ttdPath, code);
    }
    // The inputs are done with: a large combine holds only its output while writing it.
    ttd = {};
    source = {};

    const OutputsOutcome written = WriteOutputs(
        {{SingleCombineOutputPath(state), {}, combined.encoding, std::move(combined.bytes)}}, state,
        context);
    switch (written.outcome) {
    case OutputsOutcome::Declined:
        return SingleCombineOutcome::Declined;
    case OutputsOutcome::Failed:
        if (written.code == ResultCode::SaveFailed)
            return Notice(context, written.failedPath, FileNotice::SaveFailed);
        return Error(context, written.failedPath, written.code);
    case OutputsOutcome::Written:
        break;
    }
    return SingleCombineOutcome::Written;
}

} // namespace

SingleCombineOutcome SingleCombine(const JobSnapshot& state, JobContext& context)
{
    if (state.ttdPath.isEmpty() || state.sourcePath.isEmpty())
        return SingleCombineOutcome::NothingToDo;
    if (state.outputFolder.isEmpty() && !state.outputBesideTtd) {
        context.dialogs.reportOutputFolderMissing();
        return SingleCombineOutcome::Failed;
    }
    // Checks are made in field order, so a missing TTD file hides a missing source file.
    for (const QString& path : {state.ttdPath, state.sourcePath, state.outputFolder}) {
        if (!IsValidFileName(path))
            return Error(context, path, ResultCode::InvalidFileName);
    }
    for (const QString& path : {state.ttdPath, state.sourcePath}) {
        if (const ResultCode found = LookUpFile(path); found == ResultCode::NameTooLong)
            return Error(context, path, found);
        else if (found != ResultCode::Ok)
            return Notice(context, path, FileNotice::NotFound);
    }
    if (!state.outputBesideTtd) {
        const QString folder = FolderWithoutSeparator(state.outputFolder);
        if (const ResultCode found = LookUpFolder(folder); found == ResultCode::NameTooLong)
            return Error(context, folder, found);
        else if (found != ResultCode::Ok) {
            context.dialogs.reportFolderNotFound(state.outputFolder);
            return SingleCombineOutcome::Failed;
        }
    }
    try {
        return Combine(state, context);
    } catch (const std::bad_alloc&) {
        // Inputs too large for the memory there is: nothing was written. The larger is named.
        const bool ttdLarger =
            QFileInfo(state.ttdPath).size() >= QFileInfo(state.sourcePath).size();
        return Notice(context, ttdLarger ? state.ttdPath : state.sourcePath, FileNotice::TooLarge);
    }
}

} // namespace kovrant
