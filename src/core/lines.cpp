#include "core/lines.h"

namespace kovrant {

std::vector<QStringView> SplitLines(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.push_back(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.sliced(start));
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
