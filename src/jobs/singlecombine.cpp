#include "jobs/singlecombine.h"

#include "core/combine.h"
#include "files/fileops.h"
#include "files/paths.h"
#include "files/textfiles.h"
#include "jobs/batchjobs.h"
#include "jobs/jobpaths.h"
#include "jobs/messages.h"

namespace kovrant {

namespace {

SingleCombineOutcome Fail(JobContext& context, const QString& text)
{
    context.dialogs.showInfo(text);
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

QString SingleCombineOutputPath(const JobSnapshot& state)
{
    const QString folder = state.ChkSameTTD ? FolderOf(state.txtTTD) : AddBackslash(state.txtOut);
    return folder + BaseNamePart(state.txtTTD) + state.timeTaggedExtension;
}

SingleCombineOutcome SingleCombine(const JobSnapshot& state, JobContext& context)
{
    if (state.txtTTD.isEmpty() || state.txtSozai.isEmpty())
        return SingleCombineOutcome::NothingToDo;
    if (state.txtOut.isEmpty() && !state.ChkSameTTD)
        return Fail(context, JobText::OutputFolderMissing.toString());
    // Checks are made in field order, so a missing TTD file hides a missing source file.
    if (!FileExists(state.txtTTD))
        return Fail(context, FileMessage(state.txtTTD, JobText::FileNotFound));
    if (!FileExists(state.txtSozai))
        return Fail(context, FileMessage(state.txtSozai, JobText::FileNotFound));
    if (!state.ChkSameTTD && !OutputFolderExists(state.txtOut)) {
        QString text = state.txtOut;
        text.append(JobText::LineBreak);
        text.append(JobText::FolderNotFound);
        return Fail(context, text);
    }

    QString ttdText;
    if (!ReadTextFile(state.txtTTD, ttdText))
        return Fail(context, FileMessage(state.txtTTD, JobText::CannotRead));
    QString sourceText;
    if (!ReadTextFile(state.txtSozai, sourceText))
        return Fail(context, FileMessage(state.txtSozai, JobText::CannotRead));

    context.hooks.setWindowEnabled(false);
    context.hooks.setHourglass(true);
    QString taggedText;
    ResultCode code = Result::Ok;
    const CombineOptions options{state.mnNoCRCCheck, state.timeRatioChoice};
    const bool combined =
        CombineLyrics(context.crc, ttdText, sourceText, options, taggedText, code);
    // The window is usable again before any message below is shown.
    context.hooks.setHourglass(false);
    context.hooks.setWindowEnabled(true);
    if (!combined) {
        const QString& named = code == Result::EmptySourceLyrics ? state.txtSozai : state.txtTTD;
        return Fail(context, FileErrorText(named, code));
    }

    const QString outputFile = SingleCombineOutputPath(state);
    if (FileExists(outputFile) && !state.mnOverwrite &&
        !context.dialogs.askYesNo(OverwriteQuestion(outputFile)))
        return SingleCombineOutcome::Declined;
    if (!WriteTextFile(outputFile, taggedText))
        return Fail(context, FileMessage(outputFile, JobText::SaveFailed));
    context.log.written(outputFile);
    return SingleCombineOutcome::Written;
}

} // namespace kovrant
