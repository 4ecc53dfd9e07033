// The browser's profile over restarts of the program, each browser in a process of its own on the
// same data folder, as the program starts: cookies keep their SameSite attribute, localStorage
// lasts, the logins of an earlier version's cookies.txt are carried over once, and nothing is
// written in the home folder outside the data folder but the shared certificate store.

#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "tests/FreshHome.h"
#include "tests/LocalHttpServer.h"
#include "tests/PageDriver.h"
#include "tests/TestFiles.h"

#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

const QString kBrowseOption = QStringLiteral("--browse");

// The cookies of a Cookie header, sorted.
QString cookieNames(const QByteArray& header)
{
    QStringList cookies = QString::fromUtf8(header).split(QStringLiteral("; "), Qt::SkipEmptyParts);
    cookies.sort();
    return cookies.join(u' ');
}

} // namespace

class TestBrowserProfile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keptOverRestarts();
    void olderProfileCarriedOver();

private:
    // Runs a browser on the fresh data folder in a process of its own, as the program does, until
    // it has loaded a page at /done or failed to load one, while this process serves the pages.
    // Its exit status, -1 when it did not end.
    static int browse(const QString& url)
    {
        QProcess browser;
        browser.setProcessChannelMode(QProcess::ForwardedChannels);
        browser.start(QCoreApplication::applicationFilePath(), {kBrowseOption, url});
        if (!waitUntil([&] { return browser.state() == QProcess::NotRunning; }, 60000))
            browser.kill();
        return browser.state() == QProcess::NotRunning ? browser.exitCode() : -1;
    }
};

void TestBrowserProfile::keptOverRestarts()
{
    LocalHttpServer server(FORMTIDE_TEST_DATA_DIR "/e2e");
    QVERIFY(server.start());
    const QString browserFolder = AppFolder::path(freshDataFolder(), AppFolder::browserFolder());
    const QString cookiesFile = AppFolder::path(browserFolder, AppFolder::cookiesFile());
    QVERIFY(QDir().mkpath(browserFolder));
    const QByteArray earlier = "http://127.0.0.1/ earlier=login\n";
    QVERIFY(writeFile(cookiesFile, earlier));

    server.setPage("set.html", "<script>document.cookie = 'strict=1; SameSite=Strict; max-age=86400';"
                               "document.cookie = 'lax=1; SameSite=Lax; max-age=86400';"
                               "localStorage.setItem('draft', 'kept'); location.replace('/done')</script>");
    QCOMPARE(browse(server.url("set.html")), 0);
    // Carried over once: what cookies.txt holds later stays there.
    QVERIFY(writeFile(cookiesFile, earlier + "http://127.0.0.1/ again=login\n"));

    // Read back after the restart: the Strict cookie goes with a request from its own site and
    // not with a navigation from another ("localhost" is not 127.0.0.1's site).
    const QString port = QString::number(server.serverPort());
    server.setPage("read.html", ("<script>fetch('/stored/' + localStorage.getItem('draft')).then(() => "
                                 "location.replace('http://localhost:" +
                                 port + "/cross.html'))</script>")
                                    .toUtf8());
    server.setPage(
        "cross.html",
        ("<script>location.href = 'http://127.0.0.1:" + port + "/strict-check.html'</script>").toUtf8());
    server.setPage("strict-check.html", "<script>location.replace('/done')</script>");
    QCOMPARE(browse(server.url("read.html")), 0);
    QVERIFY2(server.requests().contains("stored/kept"), qPrintable(server.requests().join(u' ')));
    QCOMPARE(cookieNames(server.cookiesSent("read.html")), "earlier=login lax=1 strict=1");
    QCOMPARE(cookieNames(server.cookiesSent("strict-check.html")), "earlier=login lax=1");
    QCOMPARE(readAll(cookiesFile), earlier + "http://127.0.0.1/ again=login\n");

    // HTTPS too writes nothing in the home folder outside the data folder but the certificate store
    // that every Chromium program there shares.
    LocalHttpServer secure(FORMTIDE_TEST_DATA_DIR "/e2e");
    QVERIFY(secure.startHttps());
    QCOMPARE(browse(secure.url("page.html")), 0);
    QVERIFY(secure.requests().isEmpty() || secure.requests() == QStringList{"page.html"});
    QStringList outside;
    for (const QString& path : tree(QDir::homePath()).keys()) {
        if (!QStringList{".local", ".local/share", ".pki"}.contains(path) &&
            !path.startsWith(".local/share/formtide/Browser/") && !path.startsWith(".pki/nssdb") &&
            path != ".local/share/formtide" && path != ".local/share/formtide/Browser")
            outside.append(path);
    }
    QCOMPARE(outside, QStringList());
}

// An earlier version kept its profile directly in "Browser": its logins come over once.
void TestBrowserProfile::olderProfileCarriedOver()
{
    LocalHttpServer server(FORMTIDE_TEST_DATA_DIR "/e2e");
    QVERIFY(server.start());
    const QString browserFolder = AppFolder::path(freshDataFolder(), AppFolder::browserFolder());
    QVERIFY(QFile::remove(AppFolder::path(browserFolder, AppFolder::cookiesFile())));
    server.setPage(
        "set.html",
        "<script>document.cookie = 'older=login; max-age=86400'; location.replace('/done')</script>");
    QCOMPARE(browse(server.url("set.html")), 0);
    // That profile's cookies, where the earlier version kept them, and no profile of this version.
    const QString profile =
        browserFolder + "/" + QCoreApplication::applicationName() + "/QtWebEngine/Profile";
    QVERIFY(QFile::rename(profile + "/Cookies", browserFolder + "/Cookies"));
    QVERIFY(QDir(browserFolder + "/" + QCoreApplication::applicationName()).removeRecursively());
    const QByteArray older = readAll(browserFolder + "/Cookies");

    server.setPage("read.html", "<script>location.replace('/done')</script>");
    QCOMPARE(browse(server.url("read.html")), 0);
    QVERIFY2(cookieNames(server.cookiesSent("read.html")).contains("older=login"),
             server.cookiesSent("read.html").constData());
    QCOMPARE(readAll(browserFolder + "/Cookies"), older);
}

// With --browse URL: one run of the program's browser on the data folder of the fresh home folder
// it was given, until a page at /done has loaded or a page has failed to load.
int browseOnce(int argc, char* argv[])
{
    BrowserEngine engine(argc, argv, AppFolder::path(freshDataFolder(), AppFolder::browserFolder()));
    QApplication app(engine.argc(), engine.argv());
    WebEngineBrowser browser(AppFolder::path(freshDataFolder(), AppFolder::browserFolder()));
    QObject::connect(browser.widget(), &QWebEngineView::loadFinished, &app, [&browser, &app](bool ok) {
        if (!ok || browser.widget()->url().path().startsWith(u"/done"))
            app.quit();
    });
    QTimer::singleShot(30000, &app, [&app] { app.exit(1); });
    browser.navigate(QString::fromLocal8Bit(argv[2]));
    return QApplication::exec();
}

int main(int argc, char* argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == kBrowseOption.toLatin1())
        return browseOnce(argc, argv);
    return runWithFreshHome<TestBrowserProfile>(argc, argv, [] {});
}
#include "tst_browserprofile.moc"
