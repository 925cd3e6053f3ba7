#include "jobs/combinerepair.h"

#include "core/combine.h"
#include "core/crcdiagnosis.h"

namespace kovrant {

bool RepairCrcMismatch(const QString& ttdPath, QStringView ttdText, QStringView sourceText,
                       const JobSnapshot& state, JobContext& context, QString& taggedText)
{
    // No repair is ever applied without the CRC's proof.
    const CrcDiagnosis diagnosis = DiagnoseCrcMismatch(ttdText, sourceText);
    if (diagnosis.repairs == 0) {
        context.dialogs.reportCrcMismatch(ttdPath, diagnosis);
        return false;
    }
    if (!context.dialogs.offerRepair(ttdPath, diagnosis))
        return false;
    ResultCode code = ResultCode::Ok;
    return CombineLyrics(ttdText, diagnosis.repairedText, {state.skipCrcCheck, state.timeRatio},
                         taggedText, code);
}

} // namespace kovrant
