#include "jobs/combinerepair.h"

#include "core/combine.h"
#include "core/crcdiagnosis.h"

namespace kovrant {

namespace {

ResultCode CombineText(QStringView ttdText, QStringView sourceText, TextEncoding encoding,
                       const JobSnapshot& state, CombinedForm form, CombinedLyrics& out)
{
    CombinedLyrics combined{{}, encoding, {}};
    ResultCode code = ResultCode::Ok;
    const CombineOptions options{state.skipCrcCheck, state.timeRatio};
    if (form == CombinedForm::Text
            ? !CombineLyrics(ttdText, sourceText, options, combined.text, code)
            : !CombineLyricsToBytes(ttdText, sourceText, options, combined.encoding, combined.bytes,
                                    code))
        return code;
    out = std::move(combined);
    return ResultCode::Ok;
}

} // namespace

ResultCode CombineSource(QStringView ttdText, TextFile& source, std::optional<TextFile>& other,
                         const JobSnapshot& state, CombinedLyrics& out, CombinedForm form)
{
    if (other) {
        switch (ChooseSourceReading(ttdText, source.text, source.encoding, other->text,
                                    other->encoding, state.skipCrcCheck)) {
        case SourceReading::Ambiguous:
            return ResultCode::AmbiguousEncoding;
        case SourceReading::Second:
            std::swap(source, *other);
            break;
        case SourceReading::First:
            break;
        }
        other.reset(); // the reading not taken is no longer needed: a large one costs memory
    }
    return CombineText(ttdText, source.text, source.encoding, state, form, out);
}

bool SourceAtFault(ResultCode code)
{
    return code == ResultCode::EmptySourceLyrics || code == ResultCode::AmbiguousEncoding;
}

bool RepairCrcMismatch(const QString& ttdPath, QStringView ttdText, const TextFile& source,
                       const JobSnapshot& state, JobContext& context, CombinedLyrics& out,
                       CombinedForm form)
{
    // No repair is ever applied without the CRC's proof.
    const CrcDiagnosis diagnosis = DiagnoseCrcMismatch(ttdText, source.text);
    if (diagnosis.repairs == 0) {
        context.dialogs.reportCrcMismatch(ttdPath, diagnosis);
        return false;
    }
    if (!context.dialogs.offerRepair(ttdPath, diagnosis))
        return false;
    return CombineText(ttdText, diagnosis.repairedText, source.encoding, state, form, out) ==
           ResultCode::Ok;
}

} // namespace kovrant
