#pragma once

#include "jobs/jobstate.h"

#include <QStringView>

namespace kovrant {

// After a combine of ttdText and sourceText failed with CrcMismatch: a repair that proves a
// match is offered and, when the user takes it, the repaired text is combined (the source file
// itself is never changed); otherwise the mismatch is reported with where the source differs.
// True with taggedText when the repaired text was combined; false when the user has been told
// why the file failed.
bool RepairCrcMismatch(const QString& ttdPath, QStringView ttdText, QStringView sourceText,
                       const JobSnapshot& state, JobContext& context, QString& taggedText);

} // namespace kovrant
