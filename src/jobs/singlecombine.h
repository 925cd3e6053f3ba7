#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

enum class SingleCombineOutcome {
    NothingToDo, // a path field was empty
    Failed,      // a message told why
    Declined,    // the user kept the existing output
    Written,
};

// Where the single combine writes: the TTD file's folder (ChkSameTTD) or txtOut, then the
// TTD file's base name and the time-tagged lyrics extension.
QString SingleCombineOutputPath(const JobSnapshot& state);

// The combine button: checks the fields, reads both files, combines them and writes the
// tagged lyrics into the output folder, reporting every problem through the dialogs.
SingleCombineOutcome SingleCombine(const JobSnapshot& state, JobContext& context);

} // namespace kovrant
