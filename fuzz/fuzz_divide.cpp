// Any decodable text: Divide either refuses it with its codes or writes a pair that Combine
// takes back to the same body.
#include "core/combine.h"
#include "core/cp932.h"
#include "core/divide.h"

#include <cstdint>
#include <cstdlib>

using namespace kovrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString input;
    if (!DecodeCp932(QByteArrayView(data, qsizetype(size)), input))
        return 0;
    QString ttd, source;
    ResultCode code = ResultCode::Ok;
    if (!DivideLyrics(input, ttd, source, code)) {
        if (code != ResultCode::InvalidTaggedLyrics && code != ResultCode::NoValidTimeTag)
            std::abort();
        return 0;
    }
    QString tagged;
    if (!CombineLyrics(ttd, source, {}, tagged, code)) {
        // Only a source without any character besides line breaks may be refused.
        if (code != ResultCode::EmptySourceLyrics ||
            !QString(source).remove(u'\r').remove(u'\n').isEmpty())
            std::abort();
        return 0;
    }
    QString again, againSource;
    if (!DivideLyrics(tagged, again, againSource, code) || againSource != source)
        std::abort();
    return 0;
}
