#include "core/lines.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovrant {

qsizetype IndexOfAny(QStringView text, qsizetype from, char16_t a, char16_t b, char16_t c)
{
    const char16_t* const p = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
#ifdef __SSE2__
    // Eight characters at a time.
    const __m128i first = _mm_set1_epi16(short(a));
    const __m128i second = _mm_set1_epi16(short(b));
    const __m128i third = _mm_set1_epi16(short(c));
    for (; size - i >= 8; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(chunk, first), _mm_cmpeq_epi16(chunk, second)),
            _mm_cmpeq_epi16(chunk, third));
        if (const int found = _mm_movemask_epi8(hits))
            return i + std::countr_zero(unsigned(found)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (p[i] == a || p[i] == b || p[i] == c)
            return i;
    }
    return size;
}

std::vector<QStringView> SplitLines(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = NextLineBreak(text, start);
        lines.push_back(text.sliced(start, end - start));
        if (end == text.size())
            return lines;
        start = AfterLineBreak(text, end);
    }
}

std::span<const QStringView> WithoutEmptyEnds(std::span<const QStringView> lines)
{
    while (!lines.empty() && lines.front().isEmpty())
        lines = lines.subspan(1);
    while (!lines.empty() && lines.back().isEmpty())
        lines = lines.first(lines.size() - 1);
    return lines;
}

QString NormaliseToCrlf(QStringView text)
{
    const std::vector<QStringView> lines = SplitLines(text);
    QString out;
    out.reserve(text.size() + qsizetype(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out.append(Crlf);
        out.append(lines[i]);
    }
    return out;
}

QStringView TrimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace kovrant
