#include "autofill/WebEngineBrowser.h"
#include "ui/Form1.h"

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

    Form1 form1(QCoreApplication::applicationDirPath(), std::make_unique<WebEngineBrowser>());
    form1.show();
    return QApplication::exec();
}
