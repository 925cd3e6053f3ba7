#include "ui/messagetexts.h"

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

} // namespace

QString ApplicationTitle()
{
    return QCoreApplication::translate("FormMain", "Kovrant");
}

QString OverwriteMessage(const QString& path)
{
    return TwoLines(path, OverwriteQuestion());
}

QString FileErrorMessage(const QString& path, ResultCode code)
{
    return TwoLines(DisplayName(path), ErrorPrefix() + ErrorMessage(code));
}

QString FileNoticeMessage(const QString& path, FileNotice notice)
{
    return TwoLines(DisplayName(path), NoticeText(notice));
}

QString FolderNotFoundMessage(const QString& folder)
{
    return TwoLines(folder, FolderNotFoundText());
}

} // namespace kovrant
