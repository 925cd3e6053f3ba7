#include "core/timeratio.h"

#include "core/lines.h"
#include "core/timetag.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kovrant {

namespace {

constexpr QStringView RatioKey = u"@timeratio";
constexpr double Ratio0_9953125 = 0.9953125;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<double> DeclaredRatio(QStringView line)
{
    if (line.size() < RatioKey.size())
        return std::nullopt;
    for (qsizetype i = 0; i < RatioKey.size(); ++i) {
        if (line[i].toLower() != RatioKey[i])
            return std::nullopt;
    }
    QStringView value = TrimSpaces(line.sliced(RatioKey.size()));
    if (!value.startsWith(u'='))
        return std::nullopt;
    // A ratio of zero would send every time to the largest tag: it declares nothing usable.
    const std::optional<double> ratio = ParseDecimal(TrimSpaces(value.sliced(1)));
    if (ratio && *ratio == 0.0)
        return std::nullopt;
    return ratio;
}

double ToFifteenDigits(double x)
{
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    double rounded = x;
    std::from_chars(buffer, written.ptr, rounded);
    return rounded;
}

std::optional<double> ParseDecimal(QStringView text)
{
    // sign? (digits (. digits?)? | . digits) (e sign? digits)?
    std::string ascii;
    ascii.reserve(std::size_t(text.size()));
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return std::nullopt;
        ascii.push_back(char(c.unicode()));
    }
    std::size_t i = 0;
    const bool negative = i < ascii.size() && ascii[i] == '-';
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
        ++i;
    const std::size_t numberStart = i;
    std::size_t mantissaDigits = 0;
    std::size_t leadingIntegerDigits = 0; // significant digits before the point
    std::size_t leadingFractionZeros = 0; // zeros after the point before the first other digit
    bool seenSignificant = false;
    while (i < ascii.size() && IsDigit(ascii[i])) {
        seenSignificant |= ascii[i] != '0';
        if (seenSignificant)
            ++leadingIntegerDigits;
        ++mantissaDigits;
        ++i;
    }
    if (i < ascii.size() && ascii[i] == '.') {
        ++i;
        while (i < ascii.size() && IsDigit(ascii[i])) {
            if (!seenSignificant && ascii[i] == '0')
                ++leadingFractionZeros;
            seenSignificant |= ascii[i] != '0';
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    long long exponent = 0;
    if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < ascii.size() && ascii[i] == '-';
        if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
            ++i;
        if (i == ascii.size() || !IsDigit(ascii[i]))
            return std::nullopt;
        while (i < ascii.size() && IsDigit(ascii[i])) {
            exponent = std::min(exponent * 10 + (ascii[i] - '0'), 1000000000LL);
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != ascii.size())
        return std::nullopt;

    double value = 0;
    const auto parsed =
        std::from_chars(ascii.data() + numberStart, ascii.data() + ascii.size(), value);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Beyond what a double holds: the magnitude is infinite or zero, by where the first
        // significant digit stands.
        const long long magnitude =
            leadingIntegerDigits > 0 ? exponent + static_cast<long long>(leadingIntegerDigits) - 1
                                     : exponent - static_cast<long long>(leadingFractionZeros) - 1;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (parsed.ec != std::errc() || parsed.ptr != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

qint32 RescaleMs(qint32 ms, double declared, TimeRatioChoice target)
{
    double x = double(ms) / declared;
    if (target != TimeRatioChoice::Ratio1)
        x *= Ratio0_9953125;
    if (std::isnan(x))
        return 0;
    const double n = std::nearbyint(ToFifteenDigits(x)); // halves to the even neighbour
    if (n <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    if (n >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return qint32(n);
}

void ApplyTimeRatio(LineTable& table, QStringList& attributes, TimeRatioChoice choice)
{
    if (attributes.isEmpty() || choice == TimeRatioChoice::Unchanged)
        return;
    std::optional<double> declared;
    qsizetype declaredAt = -1;
    for (qsizetype i = 0; i < attributes.size(); ++i) {
        if (const auto ratio = DeclaredRatio(attributes[i])) {
            declared = ratio;
            declaredAt = i;
        }
    }
    if (!declared)
        return;
    const double ratio = *declared;
    if (choice == TimeRatioChoice::Ratio1 && ratio == 1.0)
        return;
    if (choice == TimeRatioChoice::Ratio0_9953125 && ratio == Ratio0_9953125)
        return;

    // Every written tag is ten characters, so each group keeps its length; a remainder
    // shorter than a tag stays as it is. The new groups share one text of the table's own.
    qsizetype total = 0;
    for (const TagCell& cell : table.tags)
        total += cell.group.size();
    table.groupStore.append(QString(total, Qt::Uninitialized));
    QChar* out = table.groupStore.last().data();
    for (TagCell& cell : table.tags) {
        QChar* const group = out;
        std::copy(cell.group.begin(), cell.group.end(), out);
        for (qsizetype left = cell.group.size(); left >= TimeTagLength; left -= TimeTagLength) {
            WriteTimeTag(RescaleMs(TimeTagToMs(QStringView(out, TimeTagLength)), ratio, choice),
                         out);
            out += TimeTagLength;
        }
        out = group + cell.group.size();
        cell.group = QStringView(group, cell.group.size());
    }
    attributes[declaredAt] = choice == TimeRatioChoice::Ratio1
                                 ? QStringLiteral("@TimeRatio=1")
                                 : QStringLiteral("@TimeRatio=0.9953125");
}

} // namespace kovrant
