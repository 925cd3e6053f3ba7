#pragma once

#include "core/cp932.h"
#include "core/crcservice.h"

#include <QString>

// The CrcText that a TTD stores for source, worked out from the codec and the plain CRC-32.
inline QString CrcOf(const QString& source)
{
    QByteArray bytes;
    if (!kovrant::EncodeCp932(source, bytes))
        return QStringLiteral("?");
    return QStringLiteral("%1").arg(kovrant::Crc32(bytes), 8, 16, QLatin1Char('0')).toUpper();
}
