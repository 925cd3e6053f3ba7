#pragma once

#include "core/lyricsconversion.h"
#include "jobs/jobstate.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kovrant {

// Every path a job forms from another, in one place, so that the command line asks here
// instead of forming them again.

// The folder of path with its separator, where the jobs put what belongs beside path. A path
// without a folder gives "" so that what is formed from it stays beside it instead of in the
// root.
QString FolderOf(const QString& path);

// FolderOf(path) + BaseNamePart(path) + extension: the file of the same base name beside path
// ("/k/song.TTD" with ".TXT" gives "/k/song.TXT"). extension is appended as it stands.
QString SiblingPath(const QString& path, const QString& extension);

// The two outputs of a divide of lyricsFile, in the order they are written.
struct DivideOutputs {
    QString source;
    QString ttd;
};
DivideOutputs DivideOutputPaths(const QString& lyricsFile, const JobSnapshot& state);

// The source lyrics a batch combine of ttdFile reads, and the tagged lyrics it writes.
QString CombineSourcePath(const QString& ttdFile, const JobSnapshot& state);
QString CombineOutputPath(const QString& ttdFile, const JobSnapshot& state);

// Where the single combine writes: the TTD file's folder (outputBesideTtd) or the output
// folder, then the TTD file's base name and the time-tagged lyrics extension.
QString SingleCombineOutputPath(const JobSnapshot& state);

// The extension of a format's files: ".lrc" for LRC and enhanced LRC, ".ass", ".vtt", and the
// lyrics extension for time-tagged lyrics.
QString FormatExtension(LyricsFormat format, const JobSnapshot& state);

// Where a conversion of file to the format writes: outputFolder, or file's folder when that is
// "", then file's base name and FormatExtension.
QString ConvertOutputPath(const QString& file, LyricsFormat to, const QString& outputFolder,
                          const JobSnapshot& state);

// Where a retime whose edited lyrics are newFile writes: outputFolder, or newFile's folder when
// that is "", then newFile's base name and the lyrics extension.
QString RetimeOutputPath(const QString& newFile, const QString& outputFolder,
                         const JobSnapshot& state);

// The files a job reads for one of its inputs and the files it writes for it.
struct JobFiles {
    QStringList inputs;
    QStringList outputs;
};

// What a divide of lyricsFile reads and writes.
JobFiles DivideFiles(const QString& lyricsFile, const JobSnapshot& state);
// What the single combine of the snapshot's fields reads and writes; a batch combine of a TTD
// file is the single combine of that file, its source lyrics beside it and the output beside it.
JobFiles SingleCombineFiles(const JobSnapshot& state);

// What a conversion of the files reads and writes, as one set, so that no file's output falls on
// another's input either. A TTD file (IsTtdFile) converted to a players' format is combined
// first, so its source lyrics are read as well.
JobFiles ConvertFiles(const QStringList& files, LyricsFormat to, const QString& outputFolder,
                      const JobSnapshot& state);
// What a retime of oldFile to newFile reads and writes; likewise for a TTD file as oldFile.
JobFiles RetimeFiles(const QString& oldFile, const QString& newFile, const QString& outputFolder,
                     const JobSnapshot& state);

// The first input that one of the outputs would replace, so that a run can refuse it before it
// reads anything: a name that differs only in case, as some file systems see names, unless the
// folder shows that it tells case apart (a.lrc beside a.LRC), or a name that leads to the same
// file through links. Another name of the same file (a hard link) is
// apart, as writing an output replaces the name and leaves the other name's file alone.
std::optional<QString> InputReplacedByOutput(const JobFiles& files);

// True for a text that can end a file name as its extension: not empty, and without a
// separator (which would lead into another folder), a NUL (which would cut the name short) or
// bytes that are not UTF-8.
bool IsExtensionText(const QString& text);

} // namespace kovrant
