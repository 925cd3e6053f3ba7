#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kovrant {

// The check value stored in TTD texts: CRC-32 (the polynomial and bit order of zlib's crc32)
// written as 8 upper-case hexadecimal digits. One instance lives as long as its owner; each
// Compute is read back with ResultText right after it.
class CrcService {
public:
    // Must be set to 1 once before the first Compute.
    void Initialise(qint16 value);

    // Computes the check over the first count bytes of data. count must equal the size of data.
    // continuePrevious continues the register of the last successful Compute instead of
    // starting anew; initialRegister is the register a fresh computation starts from (-1 for
    // the standard CRC-32).
    void Compute(const QByteArray& data, qint32& count, bool continuePrevious,
                 qint32 initialRegister);

    // The text for the last Compute: 8 hexadecimal digits, or "0" when it could not be computed.
    QString ResultText() const;

private:
    bool m_initialised = false;
    bool m_valid = false;
    quint32 m_register = 0;
};

// CRC-32 of bytes as zlib's crc32(crc, bytes, size) computes it.
quint32 Crc32(QByteArrayView bytes, quint32 crc = 0);

} // namespace kovrant
