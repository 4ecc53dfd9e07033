// Site logins survive a restart: cookies live in the application folder's browser storage.
#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "tests/LocalHttpServer.h"

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
    LocalHttpServer server(QString{});
    // A session cookie, as most sites' logins are; the page that reads it asks for a path naming it.
    server.setPage(QStringLiteral("login.html"), "<script>document.cookie = 'session=signed-in; path=/'</script>");
    server.setPage(QStringLiteral("account.html"),
                   "<script>location.replace('/seen/' + encodeURIComponent(document.cookie))</script>");
    QVERIFY(server.start());
    QTemporaryDir appFolder;
    const QString storage = AppFolder::path(appFolder.path(), AppFolder::browserFolder());
    const QString seen = QStringLiteral("seen/session%3Dsigned-in");

    // Each browser lives and dies as one run of the program does.
    auto visit = [&](const QString& page) {
        WebEngineBrowser browser(storage);
        QSignalSpy loaded(&browser, &Browser::pageLoaded);
        browser.navigate(server.url(page));
        return loaded.wait(20000);
    };
    QVERIFY(visit(QStringLiteral("login.html")));
    // The cookie reaches the disk shortly after its browser is gone (at exit, before the process ends).
    QElapsedTimer waited;
    waited.start();
    while (!server.requests().contains(seen) && waited.elapsed() < 10000) {
        QVERIFY(visit(QStringLiteral("account.html")));
        QTest::qWait(200);
    }
    QVERIFY2(server.requests().contains(seen), qPrintable(server.requests().join(u' ')));
    // Kept on disk in the application folder, not only in the memory of this process.
    QVERIFY(QFileInfo::exists(storage + QStringLiteral("/Cookies")));
}

QTEST_MAIN(TestBrowserProfile)
#include "tst_browserprofile.moc"
