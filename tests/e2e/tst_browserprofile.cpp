// Site logins survive a restart: cookies live in the application folder's browser storage.
#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "tests/LocalHttpServer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestBrowserProfile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cookieSurvivesNewBrowser();
};

void TestBrowserProfile::cookieSurvivesNewBrowser()
{
    // A session cookie, as most sites' logins are. The page asks for a path naming the cookies it
    // found, then sets its own.
    LocalHttpServer server(QString{});
    server.setPage("login.html", "<script>const found = document.cookie;"
                                 "document.cookie = 'session=signed-in; path=/';"
                                 "location.replace('/seen/' + encodeURIComponent(found))</script>");
    QVERIFY(server.start());
    QTemporaryDir appFolder;
    const QString storage = AppFolder::path(appFolder.path(), AppFolder::browserFolder());
    const QString seen = "seen/session%3Dsigned-in";

    // Each browser lives and dies as one run of the program does; the first one finds no cookie. The
    // cookie reaches the disk shortly after its browser is gone (at exit, before the process ends).
    QElapsedTimer waited;
    waited.start();
    while (!server.requests().contains(seen) && waited.elapsed() < 10000) {
        QTest::qWait(200);
        WebEngineBrowser browser(storage);
        QSignalSpy loaded(browser.view(), &QWebEngineView::loadFinished);
        browser.navigate(server.url("login.html"));
        QVERIFY(loaded.wait(20000));
    }
    QVERIFY2(server.requests().contains(seen), qPrintable(server.requests().join(u' ')));
    // Kept on disk in the application folder, not only in the memory of this process, and nothing
    // of the browser's lands in the user's home folder.
    QVERIFY(QFileInfo::exists(storage + "/Cookies"));
    QCOMPARE(
        QDir(qEnvironmentVariable("HOME")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList());
}

// A fresh home folder, set before Qt looks it up.
int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qunsetenv(name);
    QApplication app(argc, argv);
    TestBrowserProfile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_browserprofile.moc"
