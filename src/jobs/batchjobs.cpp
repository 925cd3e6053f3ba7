#include "jobs/batchjobs.h"

#include "core/divide.h"
#include "files/textfiles.h"
#include "jobs/fileoutcome.h"
#include "jobs/jobpaths.h"
#include "jobs/outputs.h"
#include "jobs/taggedinput.h"

namespace kovrant {

namespace {

FileOutcome CombineOne(const QString& ttdFile, const JobSnapshot& state, JobContext& context)
{
    CombinedLyrics combined;
    FileOutcome failure;
    if (!CombineFiles(ttdFile, CombineSourcePath(ttdFile, state), BatchInputLimits,
                      CombinedForm::Bytes, state, context, combined, failure))
        return failure;
    // The tagged lyrics keep the encoding of the source lyrics they are made of.
    const OutputsOutcome written = WriteOutputs(
        {{CombineOutputPath(ttdFile, state), {}, combined.encoding, std::move(combined.bytes)}},
        state, context);
    if (written.outcome != OutputsOutcome::Written)
        return NotWritten(written);
    return WentThrough();
}

FileOutcome DivideOne(const QString& lyricsFile, const JobSnapshot& state, JobContext& context)
{
    TextFile lyrics;
    FileOutcome failure;
    if (!ReadInputText(lyricsFile, BatchInputLimits.lyrics, state, lyrics, failure))
        return failure;
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

} // namespace

bool BatchCombine(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                  BatchResults& results)
{
    return RunQueue(queue, context, results,
                    [&](const QString& file) { return CombineOne(file, state, context); });
}

bool BatchDivide(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                 BatchResults& results)
{
    return RunQueue(queue, context, results,
                    [&](const QString& file) { return DivideOne(file, state, context); });
}

} // namespace kovrant
