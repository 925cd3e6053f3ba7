#include "jobs/messages.h"

#include "files/paths.h"

namespace kovrant {

QString DisplayName(const QString& path)
{
    // A path without a folder would otherwise be named by the empty text.
    if (!path.contains(PlatformSeparator))
        return path;
    return FileNamePart(path);
}

QString FileMessage(const QString& path, QStringView text)
{
    QString message = DisplayName(path);
    message.append(JobText::LineBreak);
    message.append(text);
    return message;
}

QString BatchSummary(bool allOk)
{
    return (allOk ? JobText::AllOk : JobText::SomeErrors).toString();
}

} // namespace kovrant
