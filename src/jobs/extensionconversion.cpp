#include "jobs/extensionconversion.h"

#include "files/filenames.h"
#include "files/fileops.h"
#include "files/textfiles.h"
#include "jobs/jobpaths.h"

namespace kovrant {

namespace {

constexpr qsizetype RecentListLimit = 10;

} // namespace

QString StripLeadingDots(const QString& text)
{
    qsizetype dots = 0;
    while (dots < text.size() && text[dots] == u'.')
        ++dots;
    return text.mid(dots);
}

bool BatchRename(const QStringList& queue, const QString& newExtension, JobContext& context,
                 BatchResults& results)
{
    results = BatchResults(queue.size(), ResultCode::Ok);
    if (queue.isEmpty())
        return false;
    // An extension that cannot end a name makes every rename fail, as the file system would
    // refuse such a name, instead of moving files into another folder.
    const bool usable = IsExtensionText(newExtension);
    const QString suffix = u'.' + newExtension;
    bool allOk = true;
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const QString& file = queue[i];
        const QString newPath = SiblingPath(file, suffix);
        ResultCode code = ResultCode::Ok;
        if (!usable)
            code = ResultCode::RenameFailed;
        else if (!IsValidFileName(file))
            code = ResultCode::InvalidFileName;
        else if (const ResultCode found = LookUpFile(newPath); found != ResultCode::FileNotFound)
            code = found == ResultCode::Ok ? ResultCode::TargetExists : found;
        // A plain rename would silently replace what appeared under the new name since the
        // test above, or a folder or link the test does not count as a file.
        else if (!RenameNoReplace(file, newPath))
            code = ResultCode::RenameFailed;
        else
            context.log.renamed(file, newPath);
        results[i] = code;
        if (code != ResultCode::Ok) {
            allOk = false;
            context.dialogs.reportFileError(newPath, code, {});
        }
    }
    return allOk;
}

QStringList RememberNewExtension(const QString& current, const QStringList& items)
{
    // Work positions 0 (current) to 9 are looked at; older copies of current leave a gap that
    // is not filled from further down the list.
    QStringList work;
    work.reserve(items.size() + 1);
    work.append(current);
    for (const QString& item : items)
        work.append(item == current ? QString() : item);

    QStringList list;
    for (qsizetype k = 0; k < work.size() && k < RecentListLimit; ++k) {
        if (!work[k].isEmpty())
            list.append(work[k]);
    }
    return list;
}

} // namespace kovrant
