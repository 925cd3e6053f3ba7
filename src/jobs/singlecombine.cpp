#include "jobs/singlecombine.h"

#include "core/combine.h"
#include "files/fileops.h"
#include "files/paths.h"
#include "files/textfiles.h"
#include "jobs/batchjobs.h"
#include "jobs/jobpaths.h"

namespace kovrant {

namespace {

SingleCombineOutcome Notice(JobContext& context, const QString& path, FileNotice notice)
{
    context.dialogs.reportFileNotice(path, notice);
    return SingleCombineOutcome::Failed;
}

// The folder test takes the text less its trailing separator so that "/out/" and "/out" pass
// alike; the root, which is nothing but a separator, is taken as it stands.
bool OutputFolderExists(const QString& folder)
{
    const QString stripped = StripBackslash(folder);
    return FolderExists(stripped.isEmpty() ? folder : stripped);
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
    if (!FileExists(state.ttdPath))
        return Notice(context, state.ttdPath, FileNotice::NotFound);
    if (!FileExists(state.sourcePath))
        return Notice(context, state.sourcePath, FileNotice::NotFound);
    if (!state.outputBesideTtd && !OutputFolderExists(state.outputFolder)) {
        context.dialogs.reportFolderNotFound(state.outputFolder);
        return SingleCombineOutcome::Failed;
    }

    QString ttdText;
    if (!ReadTextFile(state.ttdPath, ttdText))
        return Notice(context, state.ttdPath, FileNotice::CannotRead);
    QString sourceText;
    if (!ReadTextFile(state.sourcePath, sourceText))
        return Notice(context, state.sourcePath, FileNotice::CannotRead);

    context.hooks.setWindowEnabled(false);
    context.hooks.setHourglass(true);
    QString taggedText;
    ResultCode code = ResultCode::Ok;
    const bool combined =
        CombineLyrics(ttdText, sourceText, {state.skipCrcCheck, state.timeRatio}, taggedText, code);
    // The window is usable again before any message below is shown.
    context.hooks.setHourglass(false);
    context.hooks.setWindowEnabled(true);
    if (!combined) {
        const bool sourceAtFault = code == ResultCode::EmptySourceLyrics;
        context.dialogs.reportFileError(sourceAtFault ? state.sourcePath : state.ttdPath, code);
        return SingleCombineOutcome::Failed;
    }

    const QString outputFile = SingleCombineOutputPath(state);
    switch (WriteOutput(outputFile, taggedText, state, context)) {
    case WriteOutcome::Declined:
        return SingleCombineOutcome::Declined;
    case WriteOutcome::Failed:
        return Notice(context, outputFile, FileNotice::SaveFailed);
    case WriteOutcome::Written:
        break;
    }
    return SingleCombineOutcome::Written;
}

} // namespace kovrant
