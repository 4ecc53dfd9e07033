// formtide [--help | --version]
//
// Starts the main window. --help and --version print the version and the folders in use and end
// at once, without a display. Every other argument is left to Qt and Qt WebEngine.

#include "app/TerminationSignals.h"
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
#include <QIcon>
#include <QLocale>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void setApplicationNames()
{
    // Lower case, as the data folder: Qt's own location for this program's data is then
    // <user data home>/formtide, the data folder of the installed layout.
    QCoreApplication::setApplicationName(QStringLiteral("formtide"));
    QCoreApplication::setApplicationVersion(QLatin1String(Version::number));
}

AppFolders locateFolders()
{
    return AppFolders::locate(QCoreApplication::applicationDirPath(), AppFolders::userDataHome());
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
int printInformation(int& argc, char* argv[], QCommandLineParser& parser, bool help)
{
    const QCoreApplication app(argc, argv);
    setApplicationNames();
    const AppFolders folders = locateFolders();
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

// Everything the browser engine needs to start anywhere, set here rather than by a start script, so
// that every way of starting the program gets it. Qt WebEngine reads these when it starts the engine.
void prepareBrowserEngine()
{
    // Chromium cannot set its sandbox up for root.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Pages are rendered in software, which works on any machine, with or without graphics drivers
    // (a container, a virtual display, a remote session); the user's own engine flags replace it.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    // Chromium's start-up report stays out of the terminal; QT_LOGGING_RULES still wins.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    // Qt's own options are written with one dash (-platform): they must not read as -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Options of Qt's and Chromium's are unknown here and go on to them.
    parser.parse(arguments);
    const bool helpAll = parser.optionNames().contains(u"help-all");
    if (parser.isSet(help) || helpAll || parser.isSet(version))
        return printInformation(argc, argv, parser, !parser.isSet(version));

    prepareBrowserEngine();
    QApplication app(argc, argv);
    setApplicationNames();
    QGuiApplication::setDesktopFileName(QStringLiteral("com.formtide.formtide"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/formtide/formtide.png")));
    keepQtSettingsInMemory();

    const AppFolders folders = locateFolders();
    Translations translations;
    translations.install(QLocale(), folders.programFolder());
    if (const auto made = folders.makeDataFolder(); !made)
        print(stderr, QCoreApplication::translate("main", "formtide: cannot create the data folder %1 (%2)\n")
                          .arg(folders.dataFolder(), made.problem().detail));
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    MainWindow window(
        folders,
        std::make_unique<WebEngineBrowser>(AppFolder::path(folders.dataFolder(), AppFolder::browserFolder())),
        QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    window.show();
    return QApplication::exec();
}
