#include "ui/messagetexts.h"

#include "files/filenames.h"
#include "jobs/messages.h"

#include <QCoreApplication>

namespace kovrant {

namespace {

QString TwoLines(const QString& first, const QString& second)
{
    QString text = first;
    text.append(MessageLineBreak);
    text.append(second);
    return text;
}

// A name whose bytes are not all UTF-8 shows them as "\xNN".
QString Name(const QString& path)
{
    return PrintableFileName(DisplayName(path));
}

} // namespace

QString ApplicationTitle()
{
    return QCoreApplication::translate("FormMain", "Kovrant");
}

QString OverwriteMessage(const QString& path)
{
    return TwoLines(PrintableFileName(path), OverwriteQuestion());
}

QString FileErrorMessage(const QString& path, ResultCode code)
{
    return TwoLines(Name(path), ErrorPrefix() + ErrorMessage(code));
}

QString FileNoticeMessage(const QString& path, FileNotice notice)
{
    return TwoLines(Name(path), NoticeText(notice));
}

QString FolderNotFoundMessage(const QString& folder)
{
    return TwoLines(folder, FolderNotFoundText());
}

QString RepairMessage(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    return TwoLines(
        TwoLines(FileErrorMessage(ttdPath, ResultCode::CrcMismatch), RepairText(diagnosis.repairs)),
        RepairQuestion());
}

QString MismatchDetails(const CrcDiagnosis& diagnosis)
{
    return ShapeReport(diagnosis).join(MessageLineBreak);
}

} // namespace kovrant
