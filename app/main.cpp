#include "autofill/WebEngineBrowser.h"
#include "ui/Form1.h"

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

    Form1 form1(QCoreApplication::applicationDirPath(), std::make_unique<WebEngineBrowser>());
    form1.show();
    return QApplication::exec();
}
