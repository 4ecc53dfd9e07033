// One author's session through the real program: the main window with the real browser walks with
// "Next" to a submission page served from 127.0.0.1, which is filled, and "Fill Again" fills it anew.

#include "autofill/WebEngineBrowser.h"
#include "products/ProductProfiles.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QPushButton>
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
    writeFile(app.filePath("addedlinks.txt"), server.url("mysite/submit.html").toUtf8() + "\r\n");
    // The product chosen last time is active from the start.
    QCOMPARE(ProductProfiles::save(app.path(),
                                   {"Zipper", "COMPRESSION", "http://zipper.example/pad.xml", "1", "1-5"}),
             QString());
    writeFile(app.filePath("lastproduct.txt"), "Zipper\r\n");
    const QString readFields = QString::fromUtf8(readAll(FORMTIDE_TEST_DATA_DIR "/autofill/read_fields.js"));
    auto browser = std::make_unique<WebEngineBrowser>();
    QWebEngineView* view = browser->view();
    const auto fields = [&] {
        std::optional<QString> result;
        view->page()->runJavaScript(readFields, 7, [&result](const QVariant& v) { result = v.toString(); });
        return QTest::qWaitFor([&] { return result.has_value(); }, 5000) ? *result : QString();
    };
    MainWindow window(AppFolders::portable(app.path()), std::move(browser));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl::fromLocalFile(app.filePath("formtidehelp.html")), 20000);
    QCOMPARE(window.windowTitle(), "Formtide - Zipper");

    // "Next" past the built-in sites, which have no address here (the help page stays), to the link.
    for (int press = 1; press <= 10; ++press)
        QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QCOMPARE(window.selectedSiteRow(), 10);
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
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
