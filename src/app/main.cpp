#include "i18n/translations.h"
#include "version.h"
#include "ui/formmain.h"
#include "ui/instancelock.h"
#include "ui/windowdialogs.h"
#include "ui/programicon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kovrant"));
    QCoreApplication::setApplicationName(QStringLiteral("Kovrant"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KOVRANT_VERSION));

    // A second start ends here, silently and before anything is loaded or could be saved.
    kovrant::InstanceLock lock;
    if (lock.anotherInstanceRuns())
        return 0;

    // Qt's own texts (standard buttons, file dialogs) follow the user's language; the program's
    // texts are Japanese, or English for a user whose language is English.
    kovrant::InstallTranslations();
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    kovrant::DesktopDialogs dialogs;
    const kovrant::SettingsStore store(kovrant::SettingsStore::defaultPath());
    kovrant::FormMain window(dialogs, store);
    dialogs.setOwner(&window);
    window.show();
    // Decoding the icon's sizes need not delay the window's first appearance.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(kovrant::ProgramIcon()); });
    return QApplication::exec();
}
