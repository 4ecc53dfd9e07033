// Shows the main window as an author sees it mid-session: a product active from the last run, which
// keeps its PAD file, with the first site ticked the day before, "Next" pressed once, and the second
// site's submission page (a real download module's form, served from 127.0.0.1) filled.

#include "autofill/BrowserEngine.h"
#include "autofill/WebEngineBrowser.h"
#include "core/Translations.h"
#include "products/ProductStore.h"
#include "sites/ProgressStore.h"
#include "sites/SiteAddressCipher.h"
#include "tests/LocalHttpServer.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    BrowserEngine engine(argc, argv);
    QApplication app(engine.argc(), engine.argv());
    Translations translations;
    translations.install(QLocale(), QStringLiteral(FORMTIDE_APP_DIR));
    LocalHttpServer server(QStringLiteral(FORMTIDE_TEST_DATA_DIR "/e2e"));
    if (!server.start())
        return 1;
    QTemporaryDir folder;
    QFile::copy(QStringLiteral(FORMTIDE_APP_DIR "/formtidehelp.html"),
                folder.filePath(QStringLiteral("formtidehelp.html")));
    QFile padok(folder.filePath(QStringLiteral("padok.txt")));
    if (!padok.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.serverPort());
    for (const char* path : {"/1000files/submit.html", "/2archive/submit.html"})
        padok.write(SiteAddressCipher::encode(QByteArray(host + path)) + "\r\n");
    padok.close();

    QFile form(QStringLiteral(FORMTIDE_TEST_DATA_DIR "/forms/geeklog_downloads.html"));
    if (!form.open(QIODevice::ReadOnly))
        return 1;
    server.setPage(QStringLiteral("1000files/submit.html"), form.readAll());

    const Product product{QStringLiteral("Harbor Sync"), QStringLiteral("BACKUP"),
                          QStringLiteral("https://lanternfish.example/pad/harborsync.xml"),
                          QStringLiteral("41203"), QStringLiteral("41203-2")};
    const auto pad = PadCopy::readFile(QStringLiteral(FORMTIDE_TEST_DATA_DIR "/forms/product.xml"),
                                       QDateTime::currentDateTime().addDays(-4));
    ProgressStore progress(folder.path());
    progress.setProduct(product.programName);
    ProductStore products(folder.path());
    if (!pad || !products.save({product, {}, true, pad.value()}) || !products.choose(product.programName) ||
        !progress.setMark(QStringLiteral("1000apps"), QDate::currentDate().addDays(-1)).ok())
        return 1;

    MainWindow window(AppFolders::portable(folder.path()), std::make_unique<WebEngineBrowser>());
    window.show();
    const int presses = app.arguments().contains(QStringLiteral("second")) ? 2 : 1;
    auto* next = window.findChild<QPushButton*>(QStringLiteral("nextButton"));
    for (int press = 0; press < presses; ++press)
        QTimer::singleShot(1500 + 1000 * press, next, &QPushButton::click);
    return QApplication::exec();
}
