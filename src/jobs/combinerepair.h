#pragma once

#include "files/textfiles.h"
#include "jobs/jobstate.h"

#include <QByteArray>
#include <QStringView>

#include <optional>

namespace kovrant {

// The tagged lyrics of a combine, as the bytes of their file.
struct CombinedLyrics {
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Cp932;
};

// The combine both combine jobs make, without a word to the user: of two readings of the source
// lyrics, the one ChooseSourceReading takes (source then holds it, and other nothing); the
// tagged lyrics in the encoding of the source, or in FallbackEncoding when it cannot hold them.
// Gives Ok with out, AmbiguousEncoding when the readings disagree, or CombineLyrics' code.
ResultCode CombineSource(QStringView ttdText, TextFile& source, std::optional<TextFile>& other,
                         const JobSnapshot& state, CombinedLyrics& out);

// Whether a failure of CombineSource lies with the source lyrics (no text, two readings) rather
// than with the TTD file, so that the message names the file at fault.
bool SourceAtFault(ResultCode code);

// After a combine of ttdText and source failed with CrcMismatch: a repair that proves a match is
// offered and, when the user takes it, the repaired text is combined (the source file itself is
// never changed); otherwise the mismatch is reported with where the source differs. True with
// out when the repaired text was combined; false when the user has been told why the file
// failed.
bool RepairCrcMismatch(const QString& ttdPath, QStringView ttdText, const TextFile& source,
                       const JobSnapshot& state, JobContext& context, CombinedLyrics& out);

} // namespace kovrant
