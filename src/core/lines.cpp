#include "core/lines.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovrant {

qsizetype NextLineBreak(QStringView text, qsizetype from)
{
    const char16_t* const p = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
#ifdef __SSE2__
    // Eight characters at a time: lines are long next to the work of a compare.
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; size - i >= 8; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int found =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chunk, cr), _mm_cmpeq_epi16(chunk, lf)));
        if (found != 0)
            return i + std::countr_zero(unsigned(found)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (p[i] == u'\r' || p[i] == u'\n')
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
