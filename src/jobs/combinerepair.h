#pragma once

#include "files/textfiles.h"
#include "jobs/jobstate.h"

#include <QByteArray>
#include <QStringView>

#include <optional>

namespace kovrant {

// The tagged lyrics of a combine: the bytes of their file, to be written as they are, or the
// text, for a job that works on it further.
enum class CombinedForm { Bytes, Text };
struct CombinedLyrics {
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Cp932; // of the bytes; of the source for a text
    QString text;
};

// The combine both combine jobs make, without a word to the user: of two readings of the source
// lyrics, the one ChooseSourceReading takes (source then holds it, and other nothing); the
// tagged lyrics in form: bytes in the encoding of the source, or in FallbackEncoding when it
// cannot hold them; or the text. Gives Ok with out, AmbiguousEncoding when the readings
// disagree, or CombineLyrics' code.
ResultCode CombineSource(QStringView ttdText, TextFile& source, std::optional<TextFile>& other,
                         const JobSnapshot& state, CombinedLyrics& out,
                         CombinedForm form = CombinedForm::Bytes);

// Whether a failure of CombineSource lies with the source lyrics (no text, two readings) rather
// than with the TTD file, so that the message names the file at fault.
bool SourceAtFault(ResultCode code);

// After a combine of ttdText and source failed with CrcMismatch: a repair that proves a match is
// offered and, when the user takes it, the repaired text is combined (the source file itself is
// never changed); otherwise the mismatch is reported with where the source differs. True with
// out, in form, when the repaired text was combined; false when the user has been told why the
// file failed.
bool RepairCrcMismatch(const QString& ttdPath, QStringView ttdText, const TextFile& source,
                       const JobSnapshot& state, JobContext& context, CombinedLyrics& out,
                       CombinedForm form = CombinedForm::Bytes);

} // namespace kovrant
