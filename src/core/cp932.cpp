#include "core/cp932.h"

#include "core/cp932_table.h"

#include <array>
#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovrant {

namespace {

// A character with several codes is written with the code of the earliest group: JIS X 0208,
// then NEC row 13 (lead 0x87), then the IBM extensions (0xFA-0xFC), then the NEC-selected
// copies of the IBM extensions (0xED-0xEE). So a read and a write move 0xED/0xEE codes to
// 0xFA-0xFC, as Windows does.
constexpr int EncodePreferenceCount = 4;

constexpr int EncodePreference(unsigned lead)
{
    if (lead == 0x87)
        return 1;
    if (lead >= 0xFA)
        return 2;
    if (lead == 0xED || lead == 0xEE)
        return 3;
    return 0;
}

constexpr bool IsLeadByte(unsigned b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The code of each UTF-16 unit from U+0080 up: the byte for a single-byte code, lead << 8 |
// trail for a pair, 0 for none. Built in place once, from the decoding tables, so that the
// two directions cannot disagree.
struct EncodeTable {
    std::array<quint16, 0x10000> code{};

    EncodeTable()
    {
        for (unsigned b = 0x80; b < 0x100; ++b) {
            if (const char16_t c = cp932::SingleByte[b])
                code[c] = quint16(b);
        }
        for (int preference = 0; preference < EncodePreferenceCount; ++preference) {
            for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
                if (!IsLeadByte(lead) || EncodePreference(lead) != preference)
                    continue;
                const char16_t* row = cp932::Pairs[cp932::LeadRow(lead)];
                for (unsigned t = 0; t < cp932::TrailCount; ++t) {
                    const char16_t c = row[t];
                    if (c != 0 && code[c] == 0)
                        code[c] = quint16(lead << 8 | (cp932::FirstTrail + t));
                }
            }
        }
    }
};

const EncodeTable& Encoding()
{
    static const EncodeTable table;
    return table;
}

} // namespace

bool DecodeCp932(QByteArrayView bytes, QString& text, qsizetype* errorOffset)
{
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = begin + bytes.size();
    // Never more characters than bytes.
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* const first = result.data();
    QChar* out = first;

    for (const unsigned char* p = begin; p != end;) {
        const unsigned b = *p;
        if (b < 0x80) {
#ifdef __SSE2__
            // A run of ASCII, such as the tags and records that most of a TTD is, goes 16 bytes
            // at a time: all 16 are widened and those after the run are written over.
            if (end - p >= 16) {
                const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const __m128i zero = _mm_setzero_si128();
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8),
                                 _mm_unpackhi_epi8(chunk, zero));
                const int ascii = std::countr_zero(unsigned(_mm_movemask_epi8(chunk)) | 0x10000u);
                p += ascii;
                out += ascii;
                continue;
            }
#endif
            *out++ = QChar(char16_t(b));
            ++p;
            continue;
        }
        if (const char16_t c = cp932::SingleByte[b]) {
            *out++ = QChar(c);
            ++p;
            continue;
        }
        char16_t c = 0; // a lead byte: 0 stays when the pair is cut off or invalid
        if (end - p > 1) {
            const unsigned t = p[1] - cp932::FirstTrail; // wraps for trail bytes below 0x40
            if (t < cp932::TrailCount)
                c = cp932::Pairs[cp932::LeadRow(b)][t];
        }
        if (c == 0) {
            if (errorOffset)
                *errorOffset = p - begin;
            return false;
        }
        *out++ = QChar(c);
        p += 2;
    }

    // Keeps the capacity: the slack is at most the input's size, and releasing it costs a copy.
    result.resize(out - first);
    text = std::move(result);
    return true;
}

char16_t Cp932LookAlike(char16_t c)
{
    // What JIS-based converters write, and the character of the same code here.
    switch (c) {
    case u'\u301C': // WAVE DASH: FULLWIDTH TILDE, 0x8160
        return u'\uFF5E';
    case u'\u2016': // DOUBLE VERTICAL LINE: PARALLEL TO, 0x8161
        return u'\u2225';
    case u'\u2212': // MINUS SIGN: FULLWIDTH HYPHEN-MINUS, 0x817C
        return u'\uFF0D';
    case u'\u00A2': // CENT SIGN: FULLWIDTH CENT SIGN, 0x8191
        return u'\uFFE0';
    case u'\u00A3': // POUND SIGN: FULLWIDTH POUND SIGN, 0x8192
        return u'\uFFE1';
    case u'\u00AC': // NOT SIGN: FULLWIDTH NOT SIGN, 0x81CA
        return u'\uFFE2';
    case u'\u2014': // EM DASH: HORIZONTAL BAR, 0x815C
        return u'\u2015';
    default:
        return c;
    }
}

qsizetype Cp932Size(QStringView text)
{
    const EncodeTable& table = Encoding();
    qsizetype size = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            ++size;
            continue;
        }
        unsigned code = table.code[u];
        if (code == 0)
            code = table.code[Cp932LookAlike(u)];
        if (code == 0)
            return -1;
        size += code > 0xFF ? 2 : 1;
    }
    return size;
}

bool EncodeCp932(QStringView text, QByteArray& bytes, qsizetype* errorOffset, bool lookAlikes)
{
    const EncodeTable& table = Encoding();
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    // Never more than two bytes per UTF-16 unit.
    QByteArray result(text.size() * 2, Qt::Uninitialized);
    char* const first = result.data();
    char* out = first;

    // Surrogates have no code, so a character outside the BMP fails at its first unit.
    for (const char16_t* p = begin; p != end; ++p) {
        const char16_t c = *p;
        if (c < 0x80) {
#ifdef __SSE2__
            // A run of ASCII 16 characters at a time, as in decoding.
            if (end - p >= 16) {
                const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
                const __m128i zero = _mm_setzero_si128();
                const __m128i above = _mm_set1_epi16(short(0xFF80));
                const __m128i isAscii =
                    _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(low, above), zero),
                                    _mm_cmpeq_epi16(_mm_and_si128(high, above), zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
                const int ascii = std::countr_one(unsigned(_mm_movemask_epi8(isAscii)));
                out += ascii;
                p += ascii - 1;
                continue;
            }
#endif
            *out++ = char(c);
            continue;
        }
        unsigned code = table.code[c];
        if (code == 0 && lookAlikes)
            code = table.code[Cp932LookAlike(c)];
        if (code == 0) {
            if (errorOffset)
                *errorOffset = p - begin;
            return false;
        }
        if (code > 0xFF)
            *out++ = char(code >> 8);
        *out++ = char(code & 0xFF);
    }

    result.resize(out - first);
    bytes = std::move(result);
    return true;
}

} // namespace kovrant
