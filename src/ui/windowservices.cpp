#include "ui/windowservices.h"

#include "files/textfiles.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QWindow>

// The icons are resources of a static library, which the linker keeps only when asked.
static void InitIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace kovrant {

namespace {

// QWindow::setFlags hands the new flags to the platform window in place; unlike
// QWidget::setWindowFlags it neither hides nor re-creates the window.
void SetStaysOnTop(QWindow* window, bool onTop)
{
    if (!window || window->flags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    window->setFlag(Qt::WindowStaysOnTopHint, onTop);
}

} // namespace

void SetTopmost(QWindow* window)
{
    SetStaysOnTop(window, true);
}

void ClearTopmost(QWindow* window)
{
    SetStaysOnTop(window, false);
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

void OpenDocument(QWindow* window, const QString& target)
{
    // The desktop opens the document on its own; there is no owner window to pass on.
    Q_UNUSED(window);
    if (const auto url = DocumentUrl(target))
        QDesktopServices::openUrl(*url);
}

QIcon ProgramIcon()
{
    InitIconResources();
    QIcon icon;
    for (const char* size : {"16", "32", "48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/icons/kovrant-%1.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace kovrant
