#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <memory>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Formtide"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/formtide/formtide.png")));
    keepQtSettingsInMemory();

    // The application folder holds the program's files and the user's: site logins travel with it.
    const QString appFolder = QCoreApplication::applicationDirPath();
    MainWindow window(AppFolders::portable(appFolder), std::make_unique<WebEngineBrowser>(AppFolder::path(
                                                           appFolder, AppFolder::browserFolder())));
    window.show();
    return QApplication::exec();
}
