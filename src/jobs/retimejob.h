#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

struct RetimeRequest {
    QString oldFile;      // time-tagged lyrics, or a TTD file combined with its source lyrics
    QString newFile;      // the edited lyrics as plain text
    QString outputFolder; // "" writes beside newFile
    bool strict = false;  // write nothing unless every group is carried and every text timed
};

// Carries the timing of the old file's lyrics (ReadTaggedLyrics) to the new file's text
// (RetimeLyrics) and writes the result to RetimeOutputPath in the new file's encoding, or in
// FallbackEncoding when that cannot hold it. The report of what was dropped, left untimed and
// taken out of the new text goes to the user before anything is written; with strict, an
// incomplete result then fails with RetimeIncomplete. True when the output was written.
bool Retime(const RetimeRequest& request, const JobSnapshot& state, JobContext& context);

} // namespace kovrant
