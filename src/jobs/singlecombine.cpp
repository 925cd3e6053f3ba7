#include "jobs/singlecombine.h"

#include "core/combine.h"
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
    context.dialogs.reportFileNotice(path, notice);
    return SingleCombineOutcome::Failed;
}

SingleCombineOutcome Error(JobContext& context, const QString& path, ResultCode code)
{
    context.dialogs.reportFileError(path, code);
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
bool ReadInput(const QString& path, Recognition recognition, TextFile& file, JobContext& context)
{
    if (QFileInfo(path).size() > MaxSingleCombineInput) {
        context.dialogs.reportFileNotice(path, FileNotice::TooLarge);
        return false;
    }
    if (!ReadTextFile(path, recognition, file)) {
        context.dialogs.reportFileNotice(path, FileNotice::CannotRead);
        return false;
    }
    return true;
}

SingleCombineOutcome Combine(const JobSnapshot& state, JobContext& context)
{
    TextFile ttd;
    TextFile source;
    if (!ReadInput(state.ttdPath, state.recognition, ttd, context) ||
        !ReadInput(state.sourcePath, state.recognition, source, context))
        return SingleCombineOutcome::Failed;

    QString taggedText;
    ResultCode code = ResultCode::Ok;
    bool combined = false;
    {
        // The window is usable again before any message below is shown.
        const WindowBusy busy(context.hooks);
        combined = CombineLyrics(ttd.text, source.text, {state.skipCrcCheck, state.timeRatio},
                                 taggedText, code);
    }
    if (!combined && code != ResultCode::CrcMismatch) {
        const bool sourceAtFault = code == ResultCode::EmptySourceLyrics;
        return Error(context, sourceAtFault ? state.sourcePath : state.ttdPath, code);
    }
    if (!combined &&
        !RepairCrcMismatch(state.ttdPath, ttd.text, source.text, state, context, taggedText))
        return SingleCombineOutcome::Failed;

    const OutputsOutcome written = WriteOutputs(
        {{SingleCombineOutputPath(state), taggedText, source.encoding}}, state, context);
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
