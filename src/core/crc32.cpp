#include "core/crc32.h"

#include <array>

namespace kovrant {

namespace {

constexpr quint32 Polynomial = 0xEDB88320u; // CRC-32, reflected

// Slice-by-8 tables: Tables[k][b] is the register change of byte b followed by k zero bytes.
constexpr auto MakeTables()
{
    std::array<std::array<quint32, 256>, 8> tables{};
    for (quint32 b = 0; b < 256; ++b) {
        quint32 c = b;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) ? (c >> 1) ^ Polynomial : c >> 1;
        tables[0][b] = c;
    }
    for (std::size_t k = 1; k < 8; ++k) {
        for (std::size_t b = 0; b < 256; ++b)
            tables[k][b] = (tables[k - 1][b] >> 8) ^ tables[0][tables[k - 1][b] & 0xFFu];
    }
    return tables;
}

constexpr auto Tables = MakeTables();

quint32 UpdateRegister(quint32 reg, const unsigned char* p, qsizetype n)
{
    while (n >= 8) {
        const quint32 lo =
            reg ^ (quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
        const quint32 hi =
            quint32(p[4]) | quint32(p[5]) << 8 | quint32(p[6]) << 16 | quint32(p[7]) << 24;
        reg = Tables[7][lo & 0xFFu] ^ Tables[6][(lo >> 8) & 0xFFu] ^ Tables[5][(lo >> 16) & 0xFFu] ^
              Tables[4][lo >> 24] ^ Tables[3][hi & 0xFFu] ^ Tables[2][(hi >> 8) & 0xFFu] ^
              Tables[1][(hi >> 16) & 0xFFu] ^ Tables[0][hi >> 24];
        p += 8;
        n -= 8;
    }
    while (n-- > 0)
        reg = Tables[0][(reg ^ *p++) & 0xFFu] ^ (reg >> 8);
    return reg;
}

} // namespace

quint32 Crc32(QByteArrayView bytes, quint32 crc)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return ~UpdateRegister(~crc, data, bytes.size());
}

QString CrcText(quint32 crc)
{
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace kovrant
