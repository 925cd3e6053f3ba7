#pragma once

#include <QByteArrayView>
#include <QString>

namespace kovrant {

// The check value stored in TTD texts is CRC-32 with the polynomial and bit order of zlib's
// crc32, written as 8 upper-case hexadecimal digits ("CBF43926" for the bytes "123456789").

// CRC-32 of bytes as zlib's crc32(crc, bytes, size) computes it: pass the result of one piece
// as crc to continue with the next.
quint32 Crc32(QByteArrayView bytes, quint32 crc = 0);

// The 8 upper-case hexadecimal digits of a CRC-32 value.
QString CrcText(quint32 crc);

// The 8 upper-case hexadecimal digits of the CRC-32 of bytes.
inline QString CrcText(QByteArrayView bytes)
{
    return CrcText(Crc32(bytes));
}

} // namespace kovrant
