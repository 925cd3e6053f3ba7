// Any TTD text and source text: a repair the diagnosis names gives a text that the CRC proves and
// Combine takes; without one, the shape report names at most three lines, each shorter than the
// column a record needs.
#include "core/combine.h"
#include "core/cp932.h"
#include "core/crcdiagnosis.h"
#include "core/ttdformat.h"

#include <cstdint>
#include <cstdlib>

using namespace kovrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype split = bytes.indexOf('\0');
    QString ttdText, source;
    if (split < 0 || !DecodeCp932(bytes.first(split), ttdText) ||
        !DecodeCp932(bytes.sliced(split + 1), source))
        return 0;
    const CrcDiagnosis diagnosis = DiagnoseCrcMismatch(ttdText, source);
    TtdContents ttd;
    ResultCode code = ResultCode::Ok;
    if (!ReadTtdText(ttdText, ttd, code)) {
        if (diagnosis.repairs != 0 || diagnosis.linesNeeded != 0 || !diagnosis.shortLines.empty())
            std::abort();
        return 0;
    }
    constexpr Repairs BothWidths =
        unsigned(Repair::FullWidthToHalf) | unsigned(Repair::HalfWidthToFull);
    if (diagnosis.repairs != 0) {
        QString tagged;
        if (diagnosis.repairs >= 32 || (diagnosis.repairs & BothWidths) == BothWidths ||
            !SourceMatchesCrc(ttd.crcText, diagnosis.repairedText) ||
            !CombineLyrics(ttdText, diagnosis.repairedText, {}, tagged, code))
            std::abort();
        return 0;
    }
    if (diagnosis.shortLines.size() > 3)
        std::abort();
    qint64 previous = -1;
    for (const CrcDiagnosis::ShortLine& line : diagnosis.shortLines) {
        if (line.line <= previous || line.line >= diagnosis.sourceLines ||
            line.length >= line.column || line.line >= diagnosis.linesNeeded)
            std::abort();
        previous = line.line;
    }
    return 0;
}
