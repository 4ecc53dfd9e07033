// Shows one of the product dialogs or the About box on screen, for looking at it (not a test):
//   formtide-products-preview manager|editor|about
//   formtide-products-preview import PADFILE   (the editor opened by "Add...", PADFILE imported)
// The dialogs work on a temporary data folder holding a few sample profiles; the first keeps the
// PAD file PADFILE when one is given.
#include "products/PadDownload.h"
#include "products/ProductStore.h"
#include "ui/AboutDialog.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QApplication>
#include <QNetworkAccessManager>
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
    ProductStore store(folder.path());
    const QString padFile = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    for (const Product& product : samples) {
        if (!store.save({product}))
            return 1;
    }
    if (!padFile.isEmpty() && which == QLatin1String("editor")) {
        const auto pad = PadCopy::readFile(padFile, QDateTime::currentDateTime());
        if (!pad || !store.save({samples[0], samples[0].programName, true, *pad}))
            return 1;
    }
    if (which == QLatin1String("editor") && !store.choose(samples[0].programName))
        return 1;

    if (which == QLatin1String("about")) {
        AboutDialog about;
        about.exec();
        return 0;
    }
    QNetworkAccessManager network;
    PadDownload download(network);
    ProductManagerDialog manager(store, download);
    if (which == QLatin1String("editor")) {
        // Open "Edit..." on the selected product, the active one, once the manager is up.
        QTimer::singleShot(300, &manager, [&manager] { manager.editProduct(); });
    } else if (which == QLatin1String("import")) {
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
