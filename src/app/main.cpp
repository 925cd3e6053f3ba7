#include "i18n/translations.h"
#include "ui/formmain.h"
#include "ui/programicon.h"
#include "ui/runtimefolder.h"
#include "ui/singleinstance.h"
#include "ui/windowdialogs.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[])
{
    // Qt's start looks for a runtime folder and would make one in the shared temporary folder.
    const QString privateFolder = kovrant::PrivateRuntimeFolder();
    kovrant::RuntimeFolderForStart runtimeForQt(privateFolder);
    QApplication app(argc, argv);
    runtimeForQt.restore();
    QCoreApplication::setOrganizationName(QStringLiteral("Kovrant"));
    QCoreApplication::setApplicationName(QStringLiteral("Kovrant"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KOVRANT_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Opens the window; the files are taken as a drop on the mode it shows."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to take."),
                                 QStringLiteral("[FILE...]"));
    parser.process(app);
    const QByteArrayList files = kovrant::LaunchFiles(argc, argv);

    // A second start hands its files to the running window, which comes to the front, and ends
    // before anything is loaded or could be saved.
    kovrant::SingleInstance instance(privateFolder);
    if (instance.handOver(files))
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
    QObject::connect(&instance, &kovrant::SingleInstance::requested, &window,
                     [&window](const QStringList& later) {
                         window.bringToFront();
                         window.takeFiles(later);
                     });
    window.show();
    if (!files.isEmpty())
        window.takeFiles(kovrant::DecodedFiles(files));
    // Decoding the icon's sizes need not delay the window's first appearance.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(kovrant::ProgramIcon()); });
    return QApplication::exec();
}
