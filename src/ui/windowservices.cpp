#include "ui/windowservices.h"

#include "files/textfiles.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QWindow>

namespace kovrant {

void SetTopmost(QWindow* window, bool on)
{
    // QWindow::setFlags hands the new flags to the platform window in place; unlike
    // QWidget::setWindowFlags it neither hides nor re-creates the window.
    if (!window || window->flags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    window->setFlag(Qt::WindowStaysOnTopHint, on);
}

std::optional<QUrl> DocumentUrl(const QString& target)
{
    // Web addresses are told apart by their first four characters alone, case-sensitively;
    // anything else has to be an existing file.
    if (target.startsWith(u"http", Qt::CaseSensitive)) {
        QUrl url(target);
        if (url.isValid())
            return url;
        return std::nullopt;
    }
    if (FileExists(target))
        return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    return std::nullopt;
}

void OpenDocument(const QString& target)
{
    if (const auto url = DocumentUrl(target))
        QDesktopServices::openUrl(*url);
}

} // namespace kovrant
