// Shows the Add Links dialog with two links typed, for a screenshot. With the argument "error"
// it then presses "OK" against a folder that does not exist, so the save-error line shows.

#include "ui/AddLinksDialog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool showError = app.arguments().contains(QStringLiteral("error"));
    QTemporaryDir dir;
    AddLinksDialog dialog(showError ? dir.path() + QStringLiteral("/missing") : dir.path());
    QTimer::singleShot(0, &dialog, [&dialog, showError] {
        auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("linksEdit"));
        text->setPlainText(QStringLiteral("http://www.example.com/submit.html\nhttp://downloads.example.org/"
                                          "add-software.php?lang=en&ref=formtide"));
        if (showError)
            dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    dialog.exec();
    return 0;
}
