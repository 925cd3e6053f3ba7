#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

// The texts of a batch's per-file messages.
QString FileErrorText(const QString& namedFile, ResultCode code); // name CRLF "Error:" message
QString OverwriteQuestion(const QString& path);                   // path CRLF "上書きしますか?"

// Combine each queued TTD file with the source lyrics of the same name beside it, writing the
// tagged lyrics beside them. True only when every file went through without a refusal.
bool BatchCombine(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                  BatchResults& results);

// Divide each queued tagged-lyrics file into the source lyrics and the TTD file beside it.
bool BatchDivide(const QStringList& queue, const JobSnapshot& state, JobContext& context,
                 BatchResults& results);

} // namespace kovrant
