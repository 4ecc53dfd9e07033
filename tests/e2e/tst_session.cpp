// One author's whole session through the real program: the main window with the real browser,
// the product dialogs, "Next", "Add Links", on submission pages served from 127.0.0.1.

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "sites/SiteAddressCipher.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"
#include "tools/Scramble.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Every form field of the page shown: name -> value, or for lists the indexes of the selected options.
QJsonObject pageFields(QWebEnginePage* page)
{
    static const QString script = QStringLiteral(R"(JSON.stringify(Object.fromEntries(
        Array.from(document.querySelectorAll('input[name], textarea[name], select[name]')).map(e =>
            [e.name, e.tagName === 'SELECT'
                ? Array.from(e.options).filter(o => o.selected).map(o => o.index) : e.value]))))");
    QString json;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& result) {
        json = result.toString();
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 5000))
        return {};
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSession();
};

void TestSession::wholeSession()
{
    LocalHttpServer server(QStringLiteral(FORMTIDE_TEST_DATA_DIR "/e2e"));
    QVERIFY(server.start());
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.serverPort());

    QTemporaryDir app;
    QVERIFY(QFile::copy(QStringLiteral(FORMTIDE_APP_DIR "/formtidehelp.html"),
                        app.filePath("formtidehelp.html")));
    const QByteArray padok = scramble(QByteArray(host + "/1000files/submit.html"), SiteAddressCipher::fileDepth) +
                             "\r\n" + scramble(QByteArray(host + "/2archive/submit.html"), SiteAddressCipher::fileDepth) +
                             "\r\n";
    QFile file(app.filePath("padok.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(padok) == padok.size());
    file.close();
    QVERIFY(QFile(app.filePath("addedlinks.txt")).open(QIODevice::WriteOnly));
    QVERIFY(QDir(app.path()).mkdir("Info"));
    Module1::ResetForTesting();

    auto browser = std::make_unique<WebEngineBrowser>();
    QWebEngineView* view = browser->view();
    MainWindow form(app.path(), std::move(browser));
    QSignalSpy passes(form.fillPass(), &FillPass::finished);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // Start-up: the help page, the ten built-in sites, the first one selected.
    QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl::fromLocalFile(app.filePath("formtidehelp.html")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(passes.count() >= 1, 20000);
    QCOMPARE(form.siteList()->count(), 10);
    QCOMPARE(form.selectedSiteRow(), 0);
    QCOMPARE(Module1::CurrentSiteIndex, 0);

    // "Software" > "Select...", "Add...", type the product, "OK" in the editor, "OK" in the manager.
    bool managerDriven = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* manager = QApplication::activeModalWidget();
        QVERIFY(manager);
        QTimer::singleShot(0, this, [&] {
            QWidget* editor = QApplication::activeModalWidget();
            QVERIFY(editor && editor != manager);
            QTest::keyClicks(editor->findChild<QLineEdit*>("Text1"), "Zipper");
            QComboBox* category = editor->findChild<QComboBox*>("Combo1");
            category->setCurrentIndex(category->findText(QStringLiteral("    File Compression")));
            editor->findChild<QLineEdit*>("Text2")->clear();
            QTest::keyClicks(editor->findChild<QLineEdit*>("Text2"), "http://zipper.example/pad.xml");
            QTest::keyClicks(editor->findChild<QLineEdit*>("Text3"), "1234");
            QTest::keyClicks(editor->findChild<QLineEdit*>("Text4"), "1234-5");
            QTest::mouseClick(editor->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
        QTest::mouseClick(manager->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QListWidget* list = manager->findChild<QListWidget*>("List1");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Zipper"));
        QTest::mouseClick(manager->findChild<QPushButton*>("Command4"), Qt::LeftButton);
        managerDriven = true;
    });
    form.findChild<QAction*>(QStringLiteral("mnuConDetail"))->trigger();
    QVERIFY(managerDriven);
    QCOMPARE(Module1::ActiveProduct,
             (Product{"Zipper", "COMPRESSION", "http://zipper.example/pad.xml", "1234", "1234-5"}));
    QCOMPARE(readAll(app.filePath("Info/Zipper.txt")),
             QByteArray("\"Zipper\"\r\n\"COMPRESSION\"\r\n\"http://zipper.example/"
                        "pad.xml\"\r\n\"1234\"\r\n\"1234-5\"\r\n"));

    // "Next": the first site's submission page, filled.
    const QString pad = QStringLiteral("http://zipper.example/pad.xml");
    QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QCOMPARE(Module1::CurrentSiteIndex, 1);
    QCOMPARE(form.selectedSiteRow(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), QStringLiteral("/1000files/submit.html"), 15000);
    QJsonObject expected{{"q", ""},
                         {"site", "1000files"},
                         {"submit_xml", pad},
                         {"pad_url", pad},
                         {"email", "author@example.com"},
                         {"category", QJsonArray{2}},
                         {"upload_file", ""},
                         {"notes", pad}};
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);

    // "Next" again: the second site, with its Regnow fields and its own category names.
    form.siteList()->item(1)->setCheckState(Qt::Checked);
    QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), QStringLiteral("/2archive/submit.html"), 15000);
    expected =
        QJsonObject{{"search_text", "archive"}, {"form_token", "a81f"},        {"PadURL", pad},
                    {"RegnowVenderID", "1234"}, {"regnowproductid", "1234-5"}, {"regnow_affiliate", "1234-5"},
                    {"section", QJsonArray{0}}, {"cat_id", QJsonArray{3}},     {"iconfile", ""},
                    {"send", "Add program"}};
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);
    QCOMPARE(Module1::CurrentSiteIndex, 2);

    // "Add Links": a site of the author's own joins the list at once; check marks are cleared.
    const QString link = QString::fromLatin1("http://" + host + "/mysite/submit.html");
    bool linksDriven = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QTest::keyClicks(dialog->findChild<QWidget*>("Text1"), link);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        linksDriven = true;
    });
    QTest::mouseClick(form.Command2(), Qt::LeftButton);
    QVERIFY(linksDriven);
    QCOMPARE(readAll(app.filePath("addedlinks.txt")), link.toLatin1() + "\r\n");
    QCOMPARE(form.siteList()->count(), 11);
    QCOMPARE(form.siteList()->item(10)->text(), link);
    QCOMPARE(form.siteList()->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(form.selectedSiteRow(), -1);
    QCOMPARE(Module1::CurrentSiteIndex, 2);

    // "Next" past the sites without an address (the page stays) to the added link, filled.
    for (int press = 3; press <= 9; ++press)
        QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QCOMPARE(Module1::CurrentSiteIndex, 9);
    QTest::qWait(200);
    QCOMPARE(view->url().path(), QStringLiteral("/2archive/submit.html"));
    QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QCOMPARE(Module1::CurrentSiteIndex, 10);
    QCOMPARE(form.selectedSiteRow(), 10);
    QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), QStringLiteral("/mysite/submit.html"), 15000);
    expected = QJsonObject{{"xml_location", pad}, {"application_types", QJsonArray{0, 2}}, {"q", ""}};
    QTRY_COMPARE_WITH_TIMEOUT(pageFields(view->page()), expected, 15000);
    QTRY_COMPARE(view->title(), QStringLiteral("PAD set: ") + pad);

    // Nothing else was written; the site-address file is only read.
    QCOMPARE(readAll(app.filePath("padok.txt")), padok);
    QCOMPARE(QDir(app.filePath("Info")).entryList(QDir::Files), QStringList{"Zipper.txt"});
    QVERIFY(!server.requests().contains("1000files/thanks.html"));
    QCOMPARE(server.requests().count("mysite/submit.html"), 1);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
