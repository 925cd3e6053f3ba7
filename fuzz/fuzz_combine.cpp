// Any TTD text and source text: Combine must give one of its codes, never crash, never grow its
// output beyond what the inputs and the three-digit line range allow, and never hold more memory
// than a small multiple of the input.
#include "allocations.h"
#include "core/combine.h"
#include "core/cp932.h"

#include <cstdint>
#include <cstdlib>

using namespace kovrant;
using kovrant::fuzzing::Allocations;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Allocations::install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype split = bytes.indexOf('\0');
    QString ttd, source;
    if (!DecodeCp932(split < 0 ? bytes : bytes.first(split), ttd))
        return 0;
    if (split >= 0 && !DecodeCp932(bytes.sliced(split + 1), source))
        return 0;
    // Lines and records of the inputs, the lines of the three-digit range past the source's end,
    // and the output: each a few words per character of input.
    const std::size_t memoryLimit = 64 * size + 64 * 1024;
    for (const bool skip : {false, true}) {
        for (const auto choice : {TimeRatioChoice::Unchanged, TimeRatioChoice::Ratio1,
                                  TimeRatioChoice::Ratio0_9953125}) {
            QString tagged;
            ResultCode code = ResultCode::Ok;
            bool ok = false;
            const std::size_t held = Allocations::peakOf([&] {
                ok = CombineLyrics(ttd, source, {skip, choice}, tagged, code);
            });
            if (ok != (code == ResultCode::Ok) ||
                (code != ResultCode::Ok && code != ResultCode::InvalidTtd &&
                 code != ResultCode::EmptySourceLyrics && code != ResultCode::CrcMismatch))
                std::abort();
            if (tagged.size() > 2 * (ttd.size() + source.size()) + 2 * 1000 + 16)
                std::abort();
            if (held > memoryLimit)
                std::abort();
        }
    }
    return 0;
}
