// Shows the main window as an author sees it mid-session: a product active from the last run, with
// the first site ticked the day before, "Next" pressed once, and the second site's submission page
// (served from 127.0.0.1) filled.

#include "autofill/BrowserEngine.h"
#include "autofill/WebEngineBrowser.h"
#include "products/ProductStore.h"
#include "sites/ProgressStore.h"
#include "sites/SiteAddressCipher.h"
#include "tests/LocalHttpServer.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    BrowserEngine engine(argc, argv);
    QApplication app(engine.argc(), engine.argv());
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

    const Product zipper{QStringLiteral("Zipper"), QStringLiteral("COMPRESSION"),
                         QStringLiteral("http://www.zipper.example/pad/zipper.xml"), QStringLiteral("28417"),
                         QStringLiteral("28417-3")};
    ProgressStore progress(folder.path());
    progress.setProduct(zipper.programName);
    ProductStore products(folder.path());
    if (!products.save({zipper}) || !products.choose(zipper.programName) ||
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
