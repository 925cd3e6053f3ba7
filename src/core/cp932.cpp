// TEMPORARY ASCII-only stand-in so that the tree builds until the real codec lands.
#include "core/cp932.h"

namespace kovrant {

bool DecodeCp932(QByteArrayView bytes, QString& text, qsizetype* errorOffset)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            if (errorOffset)
                *errorOffset = i;
            return false;
        }
    }
    text = QString::fromLatin1(bytes);
    return true;
}

bool EncodeCp932(QStringView text, QByteArray& bytes, qsizetype* errorOffset)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() >= 0x80) {
            if (errorOffset)
                *errorOffset = i;
            return false;
        }
    }
    bytes = text.toLatin1();
    return true;
}

} // namespace kovrant
