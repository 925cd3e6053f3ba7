#include "jobs/batchjobs.h"

#include "core/divide.h"
#include "files/textfiles.h"
#include "jobs/combinerepair.h"
#include "jobs/jobpaths.h"
#include "jobs/outputs.h"

#include <new>

namespace kovrant {

namespace {

// How one queued file ended. A declined overwrite is no failure with a code, but the file has
// not gone through either.
struct FileOutcome {
    bool wentThrough = false;
    ResultCode code = ResultCode::Ok;
    QString namedFile;     // the file the message names when there is a code
    bool reported = false; // the user has been told of the failure already
    FileErrorDetails details{};
};

FileOutcome Failure(ResultCode code, const QString& namedFile, const FileErrorDetails& details = {})
{
    return {false, code, namedFile, false, details};
}

// Outputs that did not all go through: declined, or a failure that names an output.
FileOutcome NotWritten(const OutputsOutcome& written)
{
    return written.outcome == OutputsOutcome::Declined ? FileOutcome{}
                                                       : Failure(written.code, written.failedPath);
}

FileOutcome WentThrough()
{
    return {true, ResultCode::Ok, QString()};
}

FileOutcome CombineOne(const QString& ttdFile, const JobSnapshot& state, JobContext& context)
{
    // A TTD file may be larger than the lyrics it was divided from.
    qint64 ttdSize = 0;
    if (const ResultCode code = CheckInputFile(ttdFile, MaxTtdFileSize, &ttdSize);
        code != ResultCode::Ok)
        return Failure(code, ttdFile);
    const QString sourceFile = CombineSourcePath(ttdFile, state);
    // Both inputs pass the cheap checks before either is read.
    qint64 sourceSize = 0;
    if (const ResultCode code = CheckInputFile(sourceFile, MaxInputFileSize, &sourceSize);
        code != ResultCode::Ok)
        return Failure(code, sourceFile);

    TextFile ttd;
    FileErrorDetails details;
    if (const ResultCode code =
            LoadInputText(ttdFile, TtdRecognition(state.recognition), ttd, details, ttdSize);
        code != ResultCode::Ok)
        return Failure(code, ttdFile, details);
    TextFile source;
    std::optional<TextFile> other;
    if (const ResultCode code =
            LoadInputText(sourceFile, state.recognition, source, details, sourceSize, &other);
        code != ResultCode::Ok)
        return Failure(code, sourceFile, details);

    CombinedLyrics combined;
    const ResultCode code = CombineSource(ttd.text, source, other, state, combined);
    if (code == ResultCode::CrcMismatch) {
        if (!RepairCrcMismatch(ttdFile, ttd.text, source, state, context, combined))
            return {false, code, ttdFile, true};
    } else if (code != ResultCode::Ok) {
        return Failure(code, SourceAtFault(code) ? sourceFile : ttdFile);
    }

    // The tagged lyrics keep the encoding of the source lyrics they are made of.
    const OutputsOutcome written =
        WriteOutputs({{CombineOutputPath(ttdFile, state), {}, combined.encoding, combined.bytes}},
                     state, context);
    if (written.outcome != OutputsOutcome::Written)
        return NotWritten(written);
    return WentThrough();
}

FileOutcome DivideOne(const QString& lyricsFile, const JobSnapshot& state, JobContext& context)
{
    qint64 size = 0;
    if (const ResultCode code = CheckInputFile(lyricsFile, MaxInputFileSize, &size);
        code != ResultCode::Ok)
        return Failure(code, lyricsFile);
    TextFile lyrics;
    FileErrorDetails details;
    if (const ResultCode code = LoadInputText(lyricsFile, state.recognition, lyrics, details, size);
        code != ResultCode::Ok)
        return Failure(code, lyricsFile, details);
    QString ttdText;
    QString sourceLyrics;
    ResultCode code = ResultCode::Ok;
    if (!DivideLyrics(lyrics.text, ttdText, sourceLyrics, code))
        return Failure(code, lyricsFile);

    // The pair is written as a pair; a No to the second keeps the first. The source lyrics keep
    // the encoding of the lyrics; the TTD file is code page 932, which every reader takes.
    const DivideOutputs outputs = DivideOutputPaths(lyricsFile, state);
    const OutputsOutcome written = WriteOutputs(
        {{outputs.source, sourceLyrics, lyrics.encoding}, {outputs.ttd, ttdText}}, state, context);
    if (written.outcome != OutputsOutcome::Written)
        return NotWritten(written);
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
        FileOutcome outcome;
        try {
            outcome = job(queue[i], state, context);
        } catch (const std::bad_alloc&) {
            // A file too large for the memory there is fails alone; nothing of it was written.
            outcome = Failure(ResultCode::FileTooLarge, queue[i]);
        }
        results[i] = outcome.code;
        if (!outcome.wentThrough)
            allOk = false;
        if (outcome.code != ResultCode::Ok && !outcome.reported)
            context.dialogs.reportFileError(outcome.namedFile, outcome.code, outcome.details);
    }
    return allOk;
}

} // namespace

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
