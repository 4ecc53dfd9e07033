// Shows one of the product dialogs or the About box on screen, for looking at it (not a test):
//   formtide-products-preview manager|editor|about
//   formtide-products-preview import PADFILE   (the editor opened by "Add...", PADFILE imported)
// The dialogs work on a temporary data folder holding a few sample profiles.
#include "products/ProductProfiles.h"
#include "ui/AboutDialog.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("manager");
    QTemporaryDir folder;
    const Product samples[] = {
        {QStringLiteral("Zipper"), QStringLiteral("COMPRESSION"),
         QStringLiteral("http://example.com/zipper.xml"), QStringLiteral("1234"), QStringLiteral("1234-1")},
        {QStringLiteral("Photo Sorter"),
         QStringLiteral("GALLERY"),
         QStringLiteral("http://example.com/ps.xml"),
         {},
         {}},
        {QStringLiteral("alarm clock"), QStringLiteral("TIME"), QStringLiteral("http://"), {}, {}},
    };
    for (const Product& product : samples) {
        if (!ProductProfiles::save(folder.path(), product))
            return 1;
    }

    if (which == QLatin1String("about")) {
        AboutDialog about;
        about.exec();
        return 0;
    }
    ProductManagerDialog manager(folder.path());
    if (which == QLatin1String("editor")) {
        // Open "Edit..." on the selected product once the manager is up.
        QTimer::singleShot(300, &manager, [&manager] { manager.editProduct(); });
    } else if (which == QLatin1String("import")) {
        const QString padFile = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
        QTimer::singleShot(300, &manager, [&manager] { manager.addProduct(); });
        QTimer::singleShot(600, &manager, [&manager, padFile] {
            if (ProductEditorDialog* editor = manager.editor()) {
                editor->setFileChooser([padFile](QWidget*) { return padFile; });
                editor->importPad();
            }
        });
    }
    manager.exec();
    return 0;
}
