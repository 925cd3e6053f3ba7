#pragma once

#include "jobs/jobstate.h"

#include <QString>

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

// True for a text that can end a file name as its extension: not empty, and without a
// separator (which would lead into another folder), a NUL (which would cut the name short) or
// bytes that are not UTF-8.
bool IsExtensionText(const QString& text);

} // namespace kovrant
