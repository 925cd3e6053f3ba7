// Any bytes, read as the first byte picks among the recognitions: whatever decodes
// encodes back in the encoding found to the same bytes, byte-order mark included, except for code
// page 932 codes that Windows writes with another code of the same character.
#include "core/cp932.h"
#include "core/textencoding.h"

#include <cstdint>
#include <cstdlib>

using namespace kovrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    constexpr Recognition Recognitions[] = {Recognition::Automatic, Recognition::Cp932,
                                            Recognition::Utf8, Recognition::MarkElseCp932};
    const Recognition recognition = Recognitions[data[0] % 4];
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    QString text;
    TextEncoding encoding = TextEncoding::Cp932;
    if (!DecodeText(bytes, recognition, text, encoding))
        return 0;
    QByteArray back;
    if (!EncodeText(text, encoding, back))
        std::abort();
    if (back != bytes) {
        QString again;
        if (encoding != TextEncoding::Cp932 || !DecodeCp932(back, again) || again != text)
            std::abort();
    }
    return 0;
}
