// One author's session through the real program, with the real browser and pages served from
// 127.0.0.1: a click on an added link loads its page, which keeps its fields while no product is
// chosen; once one is, a submission page is filled; "Fill Again" fills it anew after the page reset
// its form; a form the page sends by script leaves its entry alone, one sent by a real click ticks
// it; and the session writes in the data folder only. (The browser's profile over restarts:
// tst_browserprofile.)

#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "core/Translations.h"
#include "products/ProductProfiles.h"
#include "tests/FreshHome.h"
#include "tests/LocalHttpServer.h"
#include "tests/PageDriver.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/MainWindow.h"
#include "ui/ProductManagerDialog.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class TestSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walkAndFill();
};

void TestSession::walkAndFill()
{
    LocalHttpServer server(FORMTIDE_TEST_DATA_DIR "/e2e");
    QVERIFY(server.start());
    QDir app(freshDataFolder());
    QVERIFY(app.mkpath("."));
    QVERIFY(writeFile(app.filePath("formtidehelp.html"), readAll(FORMTIDE_APP_DIR "/formtidehelp.html")));
    QVERIFY(writeFile(
        app.filePath("addedlinks.txt"),
        (server.url("mysite/submit.html") + "\r\n" + server.url("mysite/defaults.html") + "\r\n").toUtf8()));
    server.setPage(
        "mysite/defaults.html",
        "<form><input name=xml_location value=http://><input name=pad_url value=http://mine/pad.xml>"
        "<select name=category><option>Games<option selected>Tools<option>Compression</select></form>");
    QVERIFY(ProductProfiles::save(app.path(),
                                  {"Zipper", "COMPRESSION", "http://zipper.example/pad.xml", "1", "1-5"})
                .ok());
    // As the program makes it: the browser's profile is kept in the data folder.
    const QString storage = AppFolder::path(app.path(), AppFolder::browserFolder());
    auto owned = std::make_unique<WebEngineBrowser>(storage);
    WebEngineBrowser& browser = *owned;
    QWebEngineView* view = browser.widget();
    const auto fields = [&] { return pageFields(browser); };
    // As the program starts: in English, whose plural forms are built in.
    Translations translations;
    translations.install(QLocale(QLocale::English), app.path());
    QSignalSpy helpLoaded(view, &QWebEngineView::loadFinished);
    auto window = std::make_unique<MainWindow>(AppFolders::portable(app.path()), std::move(owned));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // Loaded whole, so that its end is not taken for the next page's.
    QTRY_COMPARE_WITH_TIMEOUT(helpLoaded.size(), 1, 20000);
    QCOMPARE(view->url(), QUrl::fromLocalFile(app.filePath("formtidehelp.html")));
    auto* list = window->findChild<QListView*>("siteList");
    const auto clickEntry = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    };

    // No product yet: the page keeps what it holds, "http://" and its chosen option included. Once
    // one is chosen, what the page holds of its own is still kept, and the status bar says so.
    auto* status = window->findChild<QLabel*>("fillStatus");
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    clickEntry(11);
    QVERIFY(waitUntil([&] { return !loaded.isEmpty(); }));
    QTest::qWait(300); // time for a pass to write, were it to
    QCOMPARE(fields(), "xml_location=http:// pad_url=http://mine/pad.xml category=[1]");
    QVERIFY(status->text().startsWith("No product chosen"));

    whenShown<ProductManagerDialog>([](ProductManagerDialog& manager) { click(manager, "okButton"); });
    window->findChild<QAction*>("selectProductAction")->trigger();
    QCOMPARE(window->windowTitle(), "Formtide - Zipper");
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    clickEntry(11);
    QTRY_COMPARE_WITH_TIMEOUT(
        status->text(), "Filled 1 field and 1 list from Zipper. Kept as the page had them: pad_url.", 15000);
    QCOMPARE(fields(), "xml_location=http://zipper.example/pad.xml pad_url=http://mine/pad.xml category=[2]");
    clickEntry(10);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), "/mysite/submit.html", 15000);
    const QString filled = "xml_location=http://zipper.example/pad.xml application_types=[0,2] q= =Send";
    QTRY_COMPARE_WITH_TIMEOUT(fields(), filled, 15000);

    // The page resets its form; Ctrl+Shift+F, with the page holding the keyboard, fills it again.
    runInPage(view, "document.forms[0].reset()");
    QTRY_COMPARE(fields(), "xml_location= application_types=[] q= =Send");
    view->focusProxy()->setFocus();
    QTest::keyClick(view->focusProxy(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fields(), filled, 15000);
    QCOMPARE(server.requests().count("mysite/submit.html"), 1);

    // Sent by a real click, the form ticks its entry (sent by the page's own script, it would not:
    // tst_webenginefill's sendReported).
    const auto thanked = [&] { return server.requests().count("mysite/thanks.html"); };
    const QModelIndex link = list->model()->index(10, 0);
    QCOMPARE(link.data(Qt::CheckStateRole), Qt::Unchecked);
    QVERIFY(userInput(view, "[type=submit]", [&] { return thanked() >= 1; }));
    QTRY_COMPARE_WITH_TIMEOUT(link.data(Qt::CheckStateRole), Qt::Checked, 15000);
    QVERIFY(link.data(Qt::ToolTipRole).toString().startsWith("Done for Zipper on "));

    // The session wrote nothing in the home folder but the data folder and, there, only what the
    // program keeps.
    window.reset();
    QStringList written = tree(app.path()).keys().filter(QRegularExpression("^(?!Browser/)"));
    QCOMPARE(written.join(", "),
             "Browser, Info, Info/Zipper.txt, Progress, Progress/Zipper.txt, addedlinks.txt, "
             "formtidehelp.html, lastproduct.txt");
    QCOMPARE(
        tree(qEnvironmentVariable("HOME")).keys().filter(QRegularExpression("^(?!\\.local/share/formtide/)")),
        QStringList({".local", ".local/share", ".local/share/formtide"}));
}

int main(int argc, char* argv[])
{
    return runWithFreshHome<TestSession>(argc, argv, [] {});
}
#include "tst_session.moc"
