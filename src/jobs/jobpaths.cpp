#include "jobs/jobpaths.h"

#include "files/filenames.h"
#include "files/paths.h"

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
