// One author's session through the real program, with the real browser and pages served from
// 127.0.0.1: with no product chosen, a page keeps its fields as they are; once a product is chosen,
// a click on an added link loads its submission page, which is filled; "Fill Again" fills it anew
// after the page reset its form; and a form sent by a real click, not one the page sends itself,
// ticks the entry.

#include "autofill/WebEngineBrowser.h"
#include "products/ProductProfiles.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/MainWindow.h"
#include "ui/ProductManagerDialog.h"

#include <QAction>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>

class TestSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walkAndFill();
};

void TestSession::walkAndFill()
{
    LocalHttpServer server(FORMTIDE_TEST_DATA_DIR "/e2e");
    QVERIFY(server.start());
    QTemporaryDir app;
    writeFile(app.filePath("formtidehelp.html"), readAll(FORMTIDE_APP_DIR "/formtidehelp.html"));
    server.setPage("mysite/defaults.html",
                   "<form><input name=xml_location value=http://>"
                   "<select name=cat_id><option>Compression<option selected>Other</select>");
    writeFile(
        app.filePath("addedlinks.txt"),
        (server.url("mysite/submit.html") + "\r\n" + server.url("mysite/defaults.html") + "\r\n").toUtf8());
    QVERIFY(ProductProfiles::save(app.path(),
                                  {"Zipper", "COMPRESSION", "http://zipper.example/pad.xml", "1", "1-5"})
                .ok());
    const QString readFields = QString::fromUtf8(readAll(FORMTIDE_TEST_DATA_DIR "/autofill/read_fields.js"));
    auto browser = std::make_unique<WebEngineBrowser>();
    QWebEngineView* view = browser->view();
    const auto eval = [&](const QString& script, quint32 world) {
        std::optional<QVariant> result;
        view->page()->runJavaScript(script, world, [&result](const QVariant& v) { result = v; });
        return QTest::qWaitFor([&] { return result.has_value(); }, 5000) ? *result : QVariant();
    };
    const auto fields = [&] { return eval(readFields, 7).toString(); };
    MainWindow window(AppFolders::portable(app.path()), std::move(browser));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl::fromLocalFile(app.filePath("formtidehelp.html")), 20000);
    QListWidget* list = window.siteList();
    const auto clickEntry = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };

    clickEntry(11);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), "/mysite/defaults.html", 15000);
    QTest::qWait(1000); // time for a pass to write, if one did
    QCOMPARE(fields(), "xml_location=http:// cat_id=1");

    whenShown<ProductManagerDialog>([](ProductManagerDialog& manager) { click(manager, "okButton"); });
    window.findChild<QAction*>("selectProductAction")->trigger();
    QCOMPARE(window.windowTitle(), "Formtide - Zipper");
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    clickEntry(10);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), "/mysite/submit.html", 15000);
    const QString filled = "xml_location=http://zipper.example/pad.xml application_types=0,2 q= #=Send";
    QTRY_COMPARE_WITH_TIMEOUT(fields(), filled, 15000);

    // The page resets its form; Ctrl+Shift+F, with the page holding the keyboard, fills it again.
    view->page()->runJavaScript("document.forms[0].reset()");
    QTRY_COMPARE(fields(), "xml_location= application_types= q= #=Send");
    view->focusProxy()->setFocus();
    QTest::keyClick(view->focusProxy(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(fields(), filled, 15000);
    QCOMPARE(window.findChild<QAction*>("fillAgainAction")->text(), "Fill Again");
    QCOMPARE(server.requests().count("mysite/submit.html"), 1);

    // Sent by the page's own script, the form ticks nothing; sent by a real click, it ticks its entry.
    const auto sent = [&] { return server.requests().count("mysite/thanks.html"); };
    eval("document.forms[0].requestSubmit()", 0);
    QTRY_COMPARE_WITH_TIMEOUT(sent(), 1, 15000);
    QTest::qWait(300);
    QCOMPARE(list->item(10)->checkState(), Qt::Unchecked);
    clickEntry(10);
    QTRY_COMPARE_WITH_TIMEOUT(fields(), filled, 15000);
    const QVariantList send = eval("(r => [r.x + r.width / 2, r.y + r.height / 2])("
                                   "document.querySelector('[type=submit]').getBoundingClientRect())",
                                   0)
                                  .toList();
    // A page just loaded may drop the first real input it gets.
    for (int tries = 0; tries < 5 && sent() < 2; ++tries) {
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {},
                          QPoint(send.value(0).toInt(), send.value(1).toInt()));
        if (QTest::qWaitFor([&] { return sent() >= 2; }, 1000))
            break;
    }
    QTRY_COMPARE_WITH_TIMEOUT(list->item(10)->checkState(), Qt::Checked, 15000);
    QVERIFY(list->item(10)->toolTip().startsWith("Done for Zipper on "));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
