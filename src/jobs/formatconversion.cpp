#include "jobs/formatconversion.h"

#include "jobs/fileoutcome.h"
#include "jobs/jobpaths.h"
#include "jobs/outputs.h"
#include "jobs/taggedinput.h"

namespace kovrant {

namespace {

FileOutcome ConvertOne(const QString& file, const ConvertRequest& request, const JobSnapshot& state,
                       JobContext& context)
{
    const bool toTags = request.to == LyricsFormat::Tags;
    TextFile input;
    FileOutcome failure;
    if (toTags) {
        // A TTD file holds tags already; read as any text, it might not even decode.
        if (IsTtdFile(file))
            return Failure(ResultCode::AlreadyTimeTagged, file);
        if (!ReadInputText(file, NamedInputLimits.lyrics, state, input, failure))
            return failure;
    } else if (!ReadTaggedLyrics(file, state, context, input, failure)) {
        return failure;
    }
    QString output;
    ResultCode code = ResultCode::Ok;
    if (!ConvertLyrics(input.text, request.to, {request.shiftMs}, output, code))
        return Failure(code, file);
    input = {};

    // Players read their formats as UTF-8 without a byte-order mark, which WebVTT requires;
    // time-tagged lyrics are code page 932 wherever it holds them, as every reader of them takes.
    const TextEncoding encoding = toTags ? TextEncoding::Cp932 : TextEncoding::Utf8;
    const OutputsOutcome written = WriteOutputs(
        {{ConvertOutputPath(file, request.to, request.outputFolder, state), output, encoding}},
        state, context);
    if (written.outcome != OutputsOutcome::Written)
        return NotWritten(written);
    return WentThrough();
}

} // namespace

bool BatchConvert(const QStringList& queue, const ConvertRequest& request, const JobSnapshot& state,
                  JobContext& context, BatchResults& results)
{
    if (!CheckOutputFolder(request.outputFolder, context)) {
        results = BatchResults(queue.size(), ResultCode::FileNotFound);
        return false;
    }
    return RunQueue(queue, context, results,
                    [&](const QString& file) { return ConvertOne(file, request, state, context); });
}

} // namespace kovrant
