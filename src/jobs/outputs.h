#pragma once

#include "jobs/jobstate.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace kovrant {

// One file a job writes, in the encoding it is to have.
struct OutputText {
    QString path;
    QString text;
    TextEncoding encoding = TextEncoding::Cp932;
    // The text already encoded in encoding, for a text too large to be held twice; text is
    // then not used.
    std::optional<QByteArray> bytes = std::nullopt;
};

struct OutputsOutcome {
    enum { Written, Declined, Failed } outcome = Written;
    ResultCode code = ResultCode::Ok; // when Failed
    QString failedPath;               // the output the failure names
};

// Writes the outputs of one input, in order, as a group. An output name at which anything
// stands is asked about unless the snapshot says to replace without asking; a No there leaves
// that output and the ones after it unwritten. Every output agreed on is prepared completely
// before the first replaces anything, so that a failure leaves all old files as they were. An
// output that was not to replace anything refuses, at the last step, a file that has appeared
// meanwhile until the user agrees; and nothing replaces a file this run has written already. A
// text that code page 932 cannot hold is written in FallbackEncoding instead.
OutputsOutcome WriteOutputs(const QList<OutputText>& outputs, const JobSnapshot& state,
                            JobContext& context);

} // namespace kovrant
