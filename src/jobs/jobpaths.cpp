#include "jobs/jobpaths.h"

#include "files/fileid.h"
#include "files/filenames.h"
#include "files/paths.h"
#include "jobs/taggedinput.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <sys/stat.h>

namespace kovrant {

QString FolderOf(const QString& path)
{
    const QString folder = FolderPart(path);
    return folder.isEmpty() ? folder : AddBackslash(folder);
}

QString SiblingPath(const QString& path, const QString& extension)
{
    return FolderOf(path) + BaseNamePart(path) + extension;
}

DivideOutputs DivideOutputPaths(const QString& lyricsFile, const JobSnapshot& state)
{
    return {SiblingPath(lyricsFile, state.sourceExtension),
            SiblingPath(lyricsFile, state.ttdExtension)};
}

QString CombineSourcePath(const QString& ttdFile, const JobSnapshot& state)
{
    return SiblingPath(ttdFile, state.sourceExtension);
}

QString CombineOutputPath(const QString& ttdFile, const JobSnapshot& state)
{
    return SiblingPath(ttdFile, state.lyricsExtension);
}

QString SingleCombineOutputPath(const JobSnapshot& state)
{
    if (state.outputBesideTtd)
        return CombineOutputPath(state.ttdPath, state);
    return AddBackslash(state.outputFolder) + BaseNamePart(state.ttdPath) + state.lyricsExtension;
}

QString FormatExtension(LyricsFormat format, const JobSnapshot& state)
{
    switch (format) {
    case LyricsFormat::Tags:
        return state.lyricsExtension;
    case LyricsFormat::Lrc:
    case LyricsFormat::EnhancedLrc:
        return QStringLiteral(".lrc");
    case LyricsFormat::Ass:
        return QStringLiteral(".ass");
    case LyricsFormat::WebVtt:
        return QStringLiteral(".vtt");
    }
    return QString();
}

namespace {

// outputFolder + the base name of file + extension; beside file when outputFolder is "".
QString OutputInto(const QString& outputFolder, const QString& file, const QString& extension)
{
    if (outputFolder.isEmpty())
        return SiblingPath(file, extension);
    return AddBackslash(outputFolder) + BaseNamePart(file) + extension;
}

} // namespace

QString ConvertOutputPath(const QString& file, LyricsFormat to, const QString& outputFolder,
                          const JobSnapshot& state)
{
    return OutputInto(outputFolder, file, FormatExtension(to, state));
}

QString RetimeOutputPath(const QString& newFile, const QString& outputFolder,
                         const JobSnapshot& state)
{
    return OutputInto(outputFolder, newFile, state.lyricsExtension);
}

JobFiles DivideFiles(const QString& lyricsFile, const JobSnapshot& state)
{
    const DivideOutputs outputs = DivideOutputPaths(lyricsFile, state);
    return {{lyricsFile}, {outputs.source, outputs.ttd}};
}

JobFiles SingleCombineFiles(const JobSnapshot& state)
{
    return {{state.ttdPath, state.sourcePath}, {SingleCombineOutputPath(state)}};
}

JobFiles ConvertFiles(const QStringList& files, LyricsFormat to, const QString& outputFolder,
                      const JobSnapshot& state)
{
    JobFiles all;
    for (const QString& file : files) {
        all.inputs << file;
        if (to != LyricsFormat::Tags && IsTtdFile(file))
            all.inputs << CombineSourcePath(file, state);
        all.outputs << ConvertOutputPath(file, to, outputFolder, state);
    }
    return all;
}

JobFiles RetimeFiles(const QString& oldFile, const QString& newFile, const QString& outputFolder,
                     const JobSnapshot& state)
{
    JobFiles files{{oldFile, newFile}, {RetimeOutputPath(newFile, outputFolder, state)}};
    if (IsTtdFile(oldFile))
        files.inputs << CombineSourcePath(oldFile, state);
    return files;
}

namespace {

// Whether two names that differ only in case may be taken for two files: their folder shows
// that it tells case apart, as the output's name finds nothing or the listing holds both names.
// A folder that ignores case finds the input under the output's name and lists it once.
bool CaseNamesApart(const QString& input, const QString& output)
{
    if (FolderPart(input) != FolderPart(output))
        return false;
    struct stat status {};
    if (::lstat(QFile::encodeName(output).constData(), &status) != 0)
        return errno == ENOENT;
    const QStringList names =
        QDir(FolderOf(input)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    return names.contains(QFileInfo(input).fileName()) &&
           names.contains(QFileInfo(output).fileName());
}

} // namespace

std::optional<QString> InputReplacedByOutput(const JobFiles& files)
{
    QHash<QString, std::optional<FileId>> known;
    const auto identity = [&known](const QString& path) {
        const auto found = known.constFind(path);
        if (found != known.cend())
            return *found;
        return *known.insert(path, IdentityOf(path));
    };
    // Names of two different files need no more than their identities; names of one file are
    // compared as their canonical paths, which links lead to and hard links do not.
    const auto same = [&identity](const QString& input, const QString& output) {
        if (input.compare(output, Qt::CaseInsensitive) == 0)
            return input == output || !CaseNamesApart(input, output);
        const std::optional<FileId> second = identity(output);
        if (!second)
            return false;
        const std::optional<FileId> first = identity(input);
        return first && *first == *second && QFileInfo(input) == QFileInfo(output);
    };
    for (const QString& input : files.inputs) {
        for (const QString& output : files.outputs) {
            if (same(input, output))
                return input;
        }
    }
    return std::nullopt;
}

bool IsExtensionText(const QString& text)
{
    if (text.isEmpty() || text.contains(PlatformSeparator) || text.contains(QChar(u'\0')) ||
        !IsValidFileName(text))
        return false;
#ifdef Q_OS_WIN
    // Windows takes either slash as a separator.
    if (text.contains(u'/'))
        return false;
#endif
    return true;
}

} // namespace kovrant
