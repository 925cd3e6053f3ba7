#pragma once

#include "files/textfiles.h"
#include "jobs/combinerepair.h"
#include "jobs/fileoutcome.h"
#include "jobs/jobstate.h"

#include <QString>

namespace kovrant {

// The sizes up to which a job reads its inputs, in bytes.
struct InputLimits {
    qint64 lyrics = MaxInputFileSize;
    qint64 ttd = MaxTtdFileSize;
};
// A batch's, where a drop may bring any file; and those of a file named on its own, which a
// user expects to be read whatever its size, as the single combine reads its files.
inline constexpr InputLimits BatchInputLimits{MaxInputFileSize, MaxTtdFileSize};
inline constexpr InputLimits NamedInputLimits{MaxSingleCombineInput, MaxSingleCombineInput};

// Combines a TTD file with its source lyrics by the combine's rules: both files pass their
// checks before either is read, the TTD file without a byte-order mark is code page 932, source
// lyrics that read two ways are read both ways, a CRC mismatch is offered its proven repair or
// reported with where the source differs. True with out in form; false with failure, which
// names the file at fault or says that the user has been told.
bool CombineFiles(const QString& ttdFile, const QString& sourceFile, InputLimits limits,
                  CombinedForm form, const JobSnapshot& state, JobContext& context,
                  CombinedLyrics& out, FileOutcome& failure);

// True when the regular file at path begins with the TTD identifier, in code page 932 or after
// the byte-order mark of UTF-8 or UTF-16: the format's own mark, which an extension is not.
bool IsTtdFile(const QString& path);

// The time-tagged lyrics a file gives, for the jobs that read them: a TTD file (IsTtdFile)
// combined with the source lyrics beside it (CombineSourcePath) by CombineFiles, any other file
// read as it stands in the encoding its recognition finds; both with NamedInputLimits. True with
// lyrics (the text, and the encoding of the file or of the source lyrics); false with failure.
bool ReadTaggedLyrics(const QString& file, const JobSnapshot& state, JobContext& context,
                      TextFile& lyrics, FileOutcome& failure);

// A text file of a job read as it stands, in the encoding its recognition finds, after the
// batch's checks with limit as the largest size.
bool ReadInputText(const QString& file, qint64 limit, const JobSnapshot& state, TextFile& text,
                   FileOutcome& failure);

} // namespace kovrant
