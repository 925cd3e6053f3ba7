#include "jobs/batchjobs.h"

#include "core/combine.h"
#include "core/divide.h"
#include "files/textfiles.h"
#include "jobs/jobpaths.h"
#include "jobs/messages.h"

namespace kovrant {

namespace {

// How one queued file ended. A declined overwrite is no failure with a code, but the file has
// not gone through either.
struct FileOutcome {
    bool wentThrough = false;
    ResultCode code = Result::Ok;
    QString namedFile; // the file the message names when code > 0
};

FileOutcome Failure(ResultCode code, const QString& namedFile)
{
    return {false, code, namedFile};
}

FileOutcome Declined()
{
    return {};
}

FileOutcome WentThrough()
{
    return {true, Result::Ok, QString()};
}

// True when path may be written: it does not exist, the option says replace, or the user said Yes.
bool MayWrite(const QString& path, const JobSnapshot& state, JobContext& context)
{
    if (state.mnOverwrite || !FileExists(path))
        return true;
    return context.dialogs.askYesNo(OverwriteQuestion(path));
}

bool WriteOutput(const QString& path, const QString& text, JobContext& context)
{
    if (!WriteTextFile(path, text))
        return false;
    context.log.written(path);
    return true;
}

FileOutcome CombineOne(const QString& ttdFile, const JobSnapshot& state, JobContext& context)
{
    if (const ResultCode code = CheckInputFile(ttdFile))
        return Failure(code, ttdFile);
    const QString sourceFile = SiblingPath(ttdFile, state.sourceExtension);
    const QString outputFile = SiblingPath(ttdFile, state.timeTaggedExtension);
    // Both inputs pass the cheap checks before either is read.
    if (const ResultCode code = CheckInputFile(sourceFile))
        return Failure(code, sourceFile);

    QString ttdText;
    if (const ResultCode code = LoadInputText(ttdFile, ttdText))
        return Failure(code, ttdFile);
    QString sourceText;
    if (const ResultCode code = LoadInputText(sourceFile, sourceText))
        return Failure(code, sourceFile);

    QString taggedText;
    ResultCode code = Result::Ok;
    const CombineOptions options{state.mnNoCRCCheck, state.timeRatioChoice};
    if (!CombineLyrics(context.crc, ttdText, sourceText, options, taggedText, code))
        return Failure(code, code == Result::EmptySourceLyrics ? sourceFile : ttdFile);

    if (!MayWrite(outputFile, state, context))
        return Declined();
    if (!WriteOutput(outputFile, taggedText, context))
        return Failure(Result::SaveFailed, outputFile);
    return WentThrough();
}

FileOutcome DivideOne(const QString& lyricsFile, const JobSnapshot& state, JobContext& context)
{
    if (const ResultCode code = CheckInputFile(lyricsFile))
        return Failure(code, lyricsFile);
    const QString sourceFile = SiblingPath(lyricsFile, state.sourceExtension);
    const QString ttdFile = SiblingPath(lyricsFile, state.ttdExtension);

    QString text;
    if (const ResultCode code = LoadInputText(lyricsFile, text))
        return Failure(code, lyricsFile);
    QString ttdText;
    QString sourceLyrics;
    ResultCode code = Result::Ok;
    if (!DivideLyrics(context.crc, text, ttdText, sourceLyrics, code))
        return Failure(code, lyricsFile);

    // Each output is complete on disk before the next question; a No to the second keeps the
    // first.
    if (!MayWrite(sourceFile, state, context))
        return Declined();
    if (!WriteOutput(sourceFile, sourceLyrics, context))
        return Failure(Result::SaveFailed, sourceFile);
    if (!MayWrite(ttdFile, state, context))
        return Declined();
    if (!WriteOutput(ttdFile, ttdText, context))
        return Failure(Result::SaveFailed, ttdFile);
    return WentThrough();
}

using FileJob = FileOutcome (*)(const QString&, const JobSnapshot&, JobContext&);

bool RunQueue(const QStringList& queue, const JobSnapshot& state, JobContext& context,
              BatchResults& results, FileJob job)
{
    results = BatchResults(queue.size(), Result::Ok);
    if (queue.isEmpty())
        return false;
    bool allOk = true;
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const FileOutcome outcome = job(queue[i], state, context);
        results[i] = outcome.code;
        if (!outcome.wentThrough)
            allOk = false;
        if (outcome.code > 0)
            context.dialogs.showInfo(FileErrorText(outcome.namedFile, outcome.code));
    }
    return allOk;
}

} // namespace

QString FileErrorText(const QString& namedFile, ResultCode code)
{
    return FileMessage(namedFile, JobText::ErrorPrefix.toString() + ErrorMessage(code));
}

QString OverwriteQuestion(const QString& path)
{
    QString question = path;
    question.append(JobText::LineBreak);
    question.append(JobText::Overwrite);
    return question;
}

bool BatchCombine(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                  BatchResults& results)
{
    return RunQueue(queue, state, context, results, CombineOne);
}

bool BatchDivide(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                 BatchResults& results)
{
    return RunQueue(queue, state, context, results, DivideOne);
}

} // namespace kovrant
