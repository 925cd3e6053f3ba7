#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

enum class SingleCombineOutcome {
    NothingToDo, // a path field was empty
    Failed,      // a message told why
    Declined,    // the user kept the existing output
    Written,
};

// The combine button: checks the fields, reads both files, combines them and writes the
// tagged lyrics into the output folder, reporting every problem through the dialogs.
SingleCombineOutcome SingleCombine(const JobSnapshot& state, JobContext& context);

} // namespace kovrant
