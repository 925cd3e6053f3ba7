#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

// Combine each queued TTD file with the source lyrics of the same name beside it, writing the
// tagged lyrics beside them. True only when every file went through without a refusal; results
// gets one code per queued file. Each failing file is reported at once; an empty queue gives
// false.
bool BatchCombine(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                  BatchResults& results);

// Divide each queued tagged-lyrics file into the source lyrics and the TTD file beside it.
bool BatchDivide(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                 BatchResults& results);

} // namespace kovrant
