// Any bytes: whatever code page 932 decodes encodes back to the same bytes, except for codes that
// Windows writes with another code of the same character, and those come back as that code.
// Any UTF-16 text that encodes decodes back to itself.
#include "core/cp932.h"

#include <cstdint>
#include <cstdlib>

using namespace kovrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    QString text;
    qsizetype errorOffset = -1;
    if (DecodeCp932(bytes, text, &errorOffset)) {
        QByteArray back;
        if (!EncodeCp932(text, back))
            std::abort();
        if (back != bytes) {
            QString again;
            QByteArray third;
            if (!DecodeCp932(back, again) || again != text || !EncodeCp932(again, third) ||
                third != back)
                std::abort();
        }
    } else if (errorOffset < 0 || errorOffset >= bytes.size()) {
        std::abort();
    }

    const QStringView units(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    QByteArray encoded;
    qsizetype badCharacter = -1;
    if (EncodeCp932(units, encoded, &badCharacter)) {
        QString decoded;
        if (!DecodeCp932(encoded, decoded) || decoded != units)
            std::abort();
    } else if (badCharacter < 0 || badCharacter >= units.size()) {
        std::abort();
    }
    return 0;
}
