#include "autofill/WebEngineBrowser.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QSettings>
#include <memory>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Formtide"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/formtide/formtide.png")));
    // Qt keeps the file dialog's last folder in its settings; keep them in the application folder,
    // the only place the program writes to.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QCoreApplication::applicationDirPath());

    MainWindow window(QCoreApplication::applicationDirPath(), std::make_unique<WebEngineBrowser>());
    window.show();
    return QApplication::exec();
}
