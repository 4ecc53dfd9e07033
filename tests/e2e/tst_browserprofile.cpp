// Site logins survive a restart: cookies live in the application folder's browser storage, and the
// browser writes nothing else anywhere.
#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "tests/LocalHttpServer.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    // Each browser lives and dies as one run of the program does: the first finds no cookie, the
    // second finds the first one's.
    for (const QString& expected : {QStringLiteral("seen/"), seen}) {
        WebEngineBrowser browser(storage);
        QSignalSpy loaded(browser.view(), &QWebEngineView::loadFinished);
        browser.navigate(server.url("login.html"));
        // Events are handled as they come: QTest's waits sleep between rounds, which the engine's
        // posted events turn into seconds.
        const auto done = [&] { return server.requests().contains(expected) && !loaded.isEmpty(); };
        QTimer wake;
        wake.start(2);
        const QDeadlineTimer deadline(20000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QVERIFY(done());
    }
    QCOMPARE(server.requests().count(seen), 1);
    // The browser wrote nothing in the user's home folder, and only its cookies in the application
    // folder.
    const auto entries = [](const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    QCOMPARE(entries(qEnvironmentVariable("HOME")), QStringList());
    QCOMPARE(entries(appFolder.path()), QStringList{"Browser"});
    QCOMPARE(entries(storage), QStringList{"cookies.txt"});
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
