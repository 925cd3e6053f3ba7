#include "jobs/batchjobs.h"

#include "core/combine.h"
#include "core/divide.h"
#include "files/textfiles.h"
#include "jobs/jobpaths.h"

namespace kovrant {

namespace {

// How one queued file ended. A declined overwrite is no failure with a code, but the file has
// not gone through either.
struct FileOutcome {
    bool wentThrough = false;
    ResultCode code = ResultCode::Ok;
    QString namedFile; // the file the message names when there is a code
};

FileOutcome Failure(ResultCode code, const QString& namedFile)
{
    return {false, code, namedFile};
}

// A write that did not go through: declined, or a failure that names the output.
FileOutcome NotWritten(WriteOutcome outcome, const QString& path)
{
    return outcome == WriteOutcome::Declined ? FileOutcome{}
                                             : Failure(ResultCode::SaveFailed, path);
}

FileOutcome WentThrough()
{
    return {true, ResultCode::Ok, QString()};
}

FileOutcome CombineOne(const QString& ttdFile, const JobSnapshot& state, JobContext& context)
{
    if (const ResultCode code = CheckInputFile(ttdFile); code != ResultCode::Ok)
        return Failure(code, ttdFile);
    const QString sourceFile = CombineSourcePath(ttdFile, state);
    // Both inputs pass the cheap checks before either is read.
    if (const ResultCode code = CheckInputFile(sourceFile); code != ResultCode::Ok)
        return Failure(code, sourceFile);

    QString ttdText;
    if (const ResultCode code = LoadInputText(ttdFile, ttdText); code != ResultCode::Ok)
        return Failure(code, ttdFile);
    QString sourceText;
    if (const ResultCode code = LoadInputText(sourceFile, sourceText); code != ResultCode::Ok)
        return Failure(code, sourceFile);

    QString taggedText;
    ResultCode code = ResultCode::Ok;
    if (!CombineLyrics(ttdText, sourceText, {state.skipCrcCheck, state.timeRatio}, taggedText,
                       code))
        return Failure(code, code == ResultCode::EmptySourceLyrics ? sourceFile : ttdFile);

    const QString outputFile = CombineOutputPath(ttdFile, state);
    const WriteOutcome written = WriteOutput(outputFile, taggedText, state, context);
    if (written != WriteOutcome::Written)
        return NotWritten(written, outputFile);
    return WentThrough();
}

FileOutcome DivideOne(const QString& lyricsFile, const JobSnapshot& state, JobContext& context)
{
    if (const ResultCode code = CheckInputFile(lyricsFile); code != ResultCode::Ok)
        return Failure(code, lyricsFile);
    QString text;
    if (const ResultCode code = LoadInputText(lyricsFile, text); code != ResultCode::Ok)
        return Failure(code, lyricsFile);
    QString ttdText;
    QString sourceLyrics;
    ResultCode code = ResultCode::Ok;
    if (!DivideLyrics(text, ttdText, sourceLyrics, code))
        return Failure(code, lyricsFile);

    // Each output is complete on disk before the next question; a No to the second keeps the
    // first.
    const DivideOutputs outputs = DivideOutputPaths(lyricsFile, state);
    WriteOutcome written = WriteOutput(outputs.source, sourceLyrics, state, context);
    if (written != WriteOutcome::Written)
        return NotWritten(written, outputs.source);
    written = WriteOutput(outputs.ttd, ttdText, state, context);
    if (written != WriteOutcome::Written)
        return NotWritten(written, outputs.ttd);
    return WentThrough();
}

using FileJob = FileOutcome (*)(const QString&, const JobSnapshot&, JobContext&);

bool RunQueue(const QStringList& queue, const JobSnapshot& state, JobContext& context,
              BatchResults& results, FileJob job)
{
    results = BatchResults(queue.size(), ResultCode::Ok);
    if (queue.isEmpty())
        return false;
    bool allOk = true;
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const FileOutcome outcome = job(queue[i], state, context);
        results[i] = outcome.code;
        if (!outcome.wentThrough)
            allOk = false;
        if (outcome.code != ResultCode::Ok)
            context.dialogs.reportFileError(outcome.namedFile, outcome.code);
    }
    return allOk;
}

} // namespace

WriteOutcome WriteOutput(const QString& path, const QString& text, const JobSnapshot& state,
                         JobContext& context)
{
    if (!state.overwriteWithoutAsking && FileExists(path) && !context.dialogs.askOverwrite(path))
        return WriteOutcome::Declined;
    context.hooks.letPendingEventsRun();
    if (!WriteTextFile(path, text))
        return WriteOutcome::Failed;
    context.log.written(path);
    return WriteOutcome::Written;
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
