// formtide [--help | --version]
//
// Starts the main window. --help and --version print the version and the folders in use and end
// at once, without a display. Every other argument is left to Qt and Qt WebEngine.

#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "autofill/BrowserEngine.h"
#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "core/AppFolders.h"
#include "core/Translations.h"
#include "core/Version.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

namespace {

void setApplicationNames()
{
    // The browser's profile is kept below <data folder>/Browser/formtide (autofill/BrowserProfile.h).
    QCoreApplication::setApplicationName(QStringLiteral("formtide"));
    QCoreApplication::setApplicationVersion(QLatin1String(Version::number));
}

// Decided before the application object exists, as the browser engine needs the data folder then:
// the folder of the running executable, symbolic links resolved, as Qt's applicationDirPath().
AppFolders locateFolders()
{
    return AppFolders::locate(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath(),
                              AppFolders::userDataHome());
}

QString folderLines(const AppFolders& folders)
{
    return QCoreApplication::translate("main", "Data folder: %1\nProgram files: %2\n")
        .arg(folders.dataFolder(), folders.programFolder());
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// What --help and --version print. Needs only a core application, so it works without a display.
int printInformation(int& argc, char* argv[], QCommandLineParser& parser, const AppFolders& folders,
                     bool help)
{
    const QCoreApplication app(argc, argv);
    setApplicationNames();
    Translations translations;
    translations.install(QLocale(), folders.programFolder());
    const QString version =
        QCoreApplication::translate("main", "Formtide %1\n").arg(QCoreApplication::applicationVersion());
    if (!help) {
        print(stdout, version + folderLines(folders));
        return 0;
    }
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Fills software download sites' submission forms from your "
                                            "product profiles.\n\n") +
        version + folderLines(folders) +
        QCoreApplication::translate("main", "\nOther arguments are left to Qt and Qt WebEngine."));
    print(stdout, parser.helpText());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const AppFolders folders = locateFolders();
    const QString browserFolder = AppFolder::path(folders.dataFolder(), AppFolder::browserFolder());
    BrowserEngine engine(argc, argv, browserFolder);
    QCommandLineParser parser;
    // Qt's own options are written with one dash (-platform): they must not read as -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Options of Qt's and Chromium's are unknown here and go on to them.
    parser.parse(engine.programArguments());
    const bool helpAll = parser.optionNames().contains(u"help-all");
    if (parser.isSet(help) || helpAll || parser.isSet(version))
        return printInformation(argc, argv, parser, folders, !parser.isSet(version));

    QApplication app(engine.argc(), engine.argv());
    setApplicationNames();
    QGuiApplication::setDesktopFileName(QStringLiteral("com.formtide.formtide"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/formtide/formtide.png")));
    keepQtSettingsInMemory();

    Translations translations;
    translations.install(QLocale(), folders.programFolder());
    if (const auto made = folders.makeDataFolder(); !made)
        print(stderr, QCoreApplication::translate("main", "formtide: cannot create the data folder %1 (%2)\n")
                          .arg(folders.dataFolder(), made.problem().detail));
    SingleInstance instance(folders.dataFolder());
    switch (instance.start()) {
    case SingleInstance::Start::First:
        break;
    case SingleInstance::Start::HandedOver:
        print(stdout,
              QCoreApplication::translate("main", "formtide: already running on %1; its window is shown.\n")
                  .arg(folders.dataFolder()));
        return 0;
    case SingleInstance::Start::Blocked:
        print(stderr,
              QCoreApplication::translate("main", "formtide: another copy is using the data folder %1\n")
                  .arg(folders.dataFolder()));
        return 1;
    }
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    MainWindow window(folders, std::make_unique<WebEngineBrowser>(browserFolder),
                      QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
                      engine.authorEnvironment());
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return QApplication::exec();
}
