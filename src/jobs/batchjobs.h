#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

// The texts of a batch's per-file messages: the file's name without its folder, CRLF, "Error:"
// and the message of the code; and the question before replacing path: the full path, CRLF,
// "上書きしますか?".
QString FileErrorText(const QString& namedFile, ResultCode code);
QString OverwriteQuestion(const QString& path);

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
