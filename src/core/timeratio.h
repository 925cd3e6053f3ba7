#pragma once

#include "core/linetable.h"

#include <QStringList>

#include <optional>

namespace kovrant {

// The forced "@TimeRatio" of a combine: leave times alone, or bring them to ratio 1 or
// 0.9953125.
enum class TimeRatioChoice : qint32 { Unchanged = 0, Ratio1 = 1, Ratio0_9953125 = 2 };

// Rescales every TimeTag of table from the ratio the last usable "@TimeRatio=" attribute
// declares to the chosen one, and rewrites that attribute. Without such an attribute (a ratio
// of zero is not usable), or when it already declares the chosen ratio, nothing changes.
void ApplyTimeRatio(LineTable& table, QStringList& attributes, TimeRatioChoice choice);

// The value of plain decimal notation (sign, digits, point and digits, exponent), correctly
// rounded; nothing else is a number.
std::optional<double> ParseDecimal(QStringView text);

// The time a tag of ms milliseconds gets when brought from ratio declared to ratio target.
qint32 RescaleMs(qint32 ms, double declared, TimeRatioChoice target);

// The ratio an "@TimeRatio = value" line declares, when it is a usable one: the key in any case,
// a number other than zero. Of several usable lines, the last one counts.
std::optional<double> DeclaredRatio(QStringView attributeLine);

// x rounded to 15 significant decimal digits, as a time is written before it is rounded to a
// whole unit.
double ToFifteenDigits(double x);

} // namespace kovrant
