#include "ui/helpdocument.h"

#include "files/textfiles.h"
#include "i18n/translations.h"

#include <QCoreApplication>
#include <QDir>

namespace kovrant {

QStringList HelpFolders()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return {programFolder.path(),
            QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/kovrant"))),
            QStringLiteral(KOVRANT_DATA_DIR)};
}

QString FindHelpDocument(const QStringList& folders, const QLocale& locale)
{
    QStringList names{QStringLiteral("kovrant-help.ja.html"),
                      QStringLiteral("kovrant-help.en.html")};
    if (UsesEnglish(locale))
        names.swapItemsAt(0, 1);
    for (const QString& name : names) {
        for (const QString& folder : folders) {
            const QString path = QDir(folder).filePath(name);
            if (FileExists(path))
                return path;
        }
    }
    return QString();
}

} // namespace kovrant
