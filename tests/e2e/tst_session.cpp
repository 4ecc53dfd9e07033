// One author's session through the real program: the main window with the real browser walking
// submission pages served from 127.0.0.1 with "Next", each page filled, and "Fill Again".

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "sites/SiteAddressCipher.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"
#include "tools/Scramble.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Every named form field of the page shown: name -> value, or for lists the selected positions.
QJsonObject pageFields(QWebEnginePage* page)
{
    std::optional<QString> json;
    page->runJavaScript(R"(JSON.stringify(Object.fromEntries(
        Array.from(document.querySelectorAll('input[name], textarea[name], select[name]')).map(e =>
            [e.name, e.tagName === 'SELECT'
                ? Array.from(e.options).filter(o => o.selected).map(o => o.index) : e.value]))))",
                        [&json](const QVariant& result) { json = result.toString(); });
    return QTest::qWaitFor([&] { return json.has_value(); }, 5000)
               ? QJsonDocument::fromJson(json->toUtf8()).object()
               : QJsonObject();
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walkAndFill();
};

void TestSession::walkAndFill()
{
    LocalHttpServer server(FORMTIDE_TEST_DATA_DIR "/e2e");
    QVERIFY(server.start());
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.serverPort());
    QTemporaryDir app;
    writeFile(app.filePath("formtidehelp.html"), readAll(FORMTIDE_APP_DIR "/formtidehelp.html"));
    writeFile(app.filePath("padok.txt"),
              scramble(QByteArray(host + "/1000files/submit.html"), SiteAddressCipher::fileDepth) + "\r\n" +
                  scramble(QByteArray(host + "/2archive/submit.html"), SiteAddressCipher::fileDepth) +
                  "\r\n");
    writeFile(app.filePath("addedlinks.txt"), "http://" + host + "/mysite/submit.html\r\n");

    auto browser = std::make_unique<WebEngineBrowser>();
    QWebEngineView* view = browser->view();
    MainWindow window(app.path(), std::move(browser));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl::fromLocalFile(app.filePath("formtidehelp.html")), 20000);
    window.session().activeProduct = {"Zipper", "COMPRESSION", "http://zipper.example/pad.xml", "1234",
                                      "1234-5"};
    const QString pad = "http://zipper.example/pad.xml";

    // "Next": the first site's submission page, filled; then the second, with its Regnow fields.
    QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), "/1000files/submit.html", 15000);
    QJsonObject expected{
        {"q", ""},      {"site", "1000files"}, {"submit_xml", pad},         {"pad_url", pad},
        {"notes", pad}, {"upload_file", ""},   {"category", QJsonArray{2}}, {"email", "author@example.com"}};
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);
    QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), "/2archive/submit.html", 15000);
    expected = {{"search_text", "archive"}, {"form_token", "a81f"},        {"PadURL", pad},
                {"RegnowVenderID", "1234"}, {"regnowproductid", "1234-5"}, {"regnow_affiliate", "1234-5"},
                {"section", QJsonArray{0}}, {"cat_id", QJsonArray{3}},     {"iconfile", ""},
                {"send", "Add program"}};
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);

    // On past the sites without an address (the page stays) to the added link, filled.
    for (int press = 3; press <= 10; ++press)
        QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QCOMPARE(window.selectedSiteRow(), 10);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), "/mysite/submit.html", 15000);
    expected = {{"xml_location", pad}, {"application_types", QJsonArray{0, 2}}, {"q", ""}};
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);

    // The page resets its form; Ctrl+Shift+F with the page holding the keyboard fills it again.
    view->page()->runJavaScript("document.forms[0].reset(); document.title = 'reset'");
    QTRY_COMPARE(view->title(), "reset");
    QCOMPARE(pageFields(view->page())["xml_location"], "");
    view->focusProxy()->setFocus();
    QTest::keyClick(view->focusProxy(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);
    QCOMPARE(window.findChild<QAction*>("fillAgainAction")->text(), "Fill Again");
    QCOMPARE(server.requests().count("mysite/submit.html"), 1);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
