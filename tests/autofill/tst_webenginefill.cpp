// The fill pass against a real QWebEngineView: fixtures in tests/data/autofill, served over HTTP on
// 127.0.0.1 (a second server on another port is a second origin). One view serves every test.

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"

#include <QJsonDocument>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTestEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

const QString kDataDir = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill");
// Test scripts run in a world of their own, untouched by the page's scripts and by the filler's.
constexpr quint32 kTestWorld = 7;
const Product kProduct{"Zipper", "ART", "http://example.com/pad.xml", "VENDOR-7", "PRODUCT-9"};

// Runs a real event loop until `ready` holds: Qt WebEngine works in posted events, and QTRY's
// process-and-sleep steps make every page load take seconds.
bool waitUntil(const std::function<bool()>& ready, int timeoutMs = 20000)
{
    QTestEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (ready())
            loop.exitLoop();
    });
    poll.start(2);
    if (!ready())
        loop.enterLoopMSecs(timeoutMs);
    return ready();
}

} // namespace

class TestWebEngineFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fill_data();
    void fill();
    void planNeverLandsOnAnotherPage_data();
    void planNeverLandsOnAnotherPage();
    void navigateAndStop_data();
    void navigateAndStop();

private:
    bool load(const QString& address);
    std::optional<FillReport> fillPage();
    QVariant eval(const QString& script, quint32 world = kTestWorld);
    QString fields() { return eval(m_readFields).toString(); }

    WebEngineBrowser m_browser;
    FillPass m_pass{m_browser, kProduct};
    QString m_readFields;
    LocalHttpServer m_server{kDataDir};
    LocalHttpServer m_otherOrigin{kDataDir};
};

bool TestWebEngineFill::load(const QString& address)
{
    QSignalSpy finished(m_browser.view(), &QWebEngineView::loadFinished);
    m_browser.navigate(address);
    return waitUntil([&] { return !finished.isEmpty(); }) && finished.first().first().toBool();
}

// Runs one pass over the whole page, as the program does when a page has loaded.
std::optional<FillReport> TestWebEngineFill::fillPage()
{
    std::optional<FillReport> report;
    const auto c = connect(&m_pass, &FillPass::finished, this, [&report](const FillReport& r) {
        if (r.scope == FillReport::Scope::Page)
            report = r;
    });
    m_pass.run();
    waitUntil([&] { return report.has_value(); });
    disconnect(c);
    return report;
}

QVariant TestWebEngineFill::eval(const QString& script, quint32 world)
{
    std::optional<QVariant> result;
    m_browser.view()->page()->runJavaScript(script, world, [&result](const QVariant& v) { result = v; });
    waitUntil([&] { return result.has_value(); });
    return result.value_or(QVariant());
}

void TestWebEngineFill::initTestCase()
{
    m_readFields = QString::fromUtf8(readAll(kDataDir + "/read_fields.js"));
    QVERIFY(m_server.start() && m_otherOrigin.start());
    m_server.setPage("frames.html",
                     readAll(kDataDir + "/frames.html")
                         .replace("CROSS_ORIGIN_FRAME", m_otherOrigin.url("frame_fields.html").toUtf8()));
    m_browser.view()->resize(800, 600);
    m_browser.view()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_browser.view()));
}

void TestWebEngineFill::fill_data()
{
    // formtide-fill's tests compare the values that every fixture ends with; these rows look at
    // what only the program sees: reports, the page's own view, passes after the load's.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("refused");  // by the load's pass: "name:reason ..." in document order
    QTest::addColumn<QString>("check");    // a page-world expression, polled until it has a value,
    QTest::addColumn<QString>("result");   // that must then read this
    QTest::addColumn<QString>("then");     // a page-world script run after the load's pass
    QTest::addColumn<int>("parts");        // passes over parts that must follow; -1: not counted
    QTest::addColumn<QString>("expected"); // the fields (as read_fields.js lists them) by then
    const auto row = [](const char* tag, const QString& page, const QString& refused,
                        const QString& check = {}, const QString& result = {}, const QString& then = {},
                        int parts = -1, const QString& expected = {}) {
        QTest::newRow(tag) << page << refused << check << result << then << parts << expected;
    };

    row("submission form", "submission.html",
        "upload_file:NotTextField agree_url:NotTextField submit_url:NotTextField");
    // Buttons, check boxes, radios and files are never written, the other types only when they keep
    // the value; the page saw events only from the fields written.
    row("every input type", "types.html",
        "agree_url:NotTextField lic_url:NotTextField lic_url:NotTextField submit_pad:NotTextField "
        "reset_pad:NotTextField button_pad:NotTextField image_pad:NotTextField upload_file:NotTextField "
        "file_count:ValueNotKept regnow_count:ValueNotKept range_url:ValueNotKept color_url:ValueNotKept "
        "date_url:ValueNotKept month_url:ValueNotKept week_url:ValueNotKept time_url:ValueNotKept "
        "when_url:ValueNotKept",
        "events.join()",
        "plain_url,text_url,search_url,url,tel_regnow,email_url,password_url,hidden_url,odd_url");
    // The page's own state saw the writes through its input and change listeners, and the events
    // bubbled to the document.
    row("React-style listeners", "react.html", {},
        "JSON.stringify([formState, document.getElementById('preview').textContent])",
        QStringLiteral(R"([{"pad_url":"%1","category":"Screen Savers: Art"},"%1"])").arg(kProduct.padUrl));
    // The cross-origin frame cannot be read from here, so the page asks it for its values.
    row("cross-origin frame untouched", "frames.html", {}, "window.crossValue ?? void askCross()",
        "frame|frame notes");
    // After the load's pass: new documents in frames and fields added later are filled, what the
    // user changed meanwhile is kept, a static page costs no more passes.
    const QString edit = "document.querySelector('[name=pad_url]').value = 'mine';";
    row("frame reloads while the user edits", "frames.html", {}, {}, {},
        edit + "document.getElementById('same').contentWindow.location.reload()", 1,
        "pad_url=mine 1:regnowvenderid=VENDOR 1:notes=PAD 2:category=1");
    row("form added after the load", "late.html", {}, {}, {}, edit, 1,
        "pad_url=mine notes=PAD email= category=1");
    row("static page", "page_a.html", {}, {}, {}, {}, 0, "email=a pad_url=PAD");
}

void TestWebEngineFill::fill()
{
    QFETCH(QString, page);
    QFETCH(QString, refused);
    QFETCH(QString, check);
    QFETCH(QString, result);
    QFETCH(QString, then);
    QFETCH(int, parts);
    QFETCH(QString, expected);

    QVERIFY(load(m_server.url(page)));
    int partsRun = 0;
    const auto c = connect(&m_pass, &FillPass::finished, this, [&partsRun](const FillReport& r) {
        partsRun += r.scope != FillReport::Scope::Page && r.status == FillReport::Status::Applied;
    });
    const auto disconnectAtEnd = qScopeGuard([c] { disconnect(c); });
    const std::optional<FillReport> report = fillPage();
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    QStringList refusals;
    for (const FillReport::Refusal& r : report->refused)
        refusals.append(r.name + u':' + r.reason);
    QCOMPARE(refusals.join(u' '), refused);

    partsRun = 0; // frames that finished with the page are filled by then anyway
    eval(then, QWebEngineScript::MainWorld);
    if (parts == 0)
        QVERIFY(!QSignalSpy(&m_pass, &FillPass::finished).wait(700));
    expected.replace("PAD", kProduct.padUrl).replace("VENDOR", kProduct.regnowVendorId);
    waitUntil([&] { return partsRun >= parts && (expected.isEmpty() || fields() == expected); });
    if (!expected.isEmpty())
        QCOMPARE(fields(), expected);
    if (parts >= 0)
        QCOMPARE(partsRun, parts);
    if (!check.isEmpty()) {
        QVERIFY(waitUntil([&] { return eval(check, QWebEngineScript::MainWorld).isValid(); }));
        QCOMPARE(eval(check, QWebEngineScript::MainWorld).toString(), result);
    }
}

void TestWebEngineFill::planNeverLandsOnAnotherPage_data()
{
    QTest::addColumn<QString>("then");  // what happens between snapshot and apply
    QTest::addColumn<QString>("shown"); // the fields of page A or B after the stale plan
    QTest::newRow("page B replaced A") << QStringLiteral("load") << QStringLiteral("pad_url=b email=b");
    QTest::newRow("a newer snapshot of A was taken")
        << QStringLiteral("snapshot") << QStringLiteral("email=a pad_url=a");
}

void TestWebEngineFill::planNeverLandsOnAnotherPage()
{
    QFETCH(QString, then);
    QFETCH(QString, shown);
    // Pages A and B both have a field named pad_url, at different positions.
    QVERIFY(load(m_server.url("page_a.html")));
    const auto takeSnapshot = [this] {
        QByteArray snapshot;
        m_browser.snapshotPage([&snapshot](const QByteArray& s) { snapshot = s; });
        waitUntil([&] { return !snapshot.isEmpty(); });
        return snapshot;
    };
    const QByteArray snapshot = takeSnapshot();
    if (then == u"load")
        QVERIFY(load(m_server.url("page_b.html")));
    else
        takeSnapshot();
    const std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot, kProduct);
    QVERIFY(plan);
    std::optional<QJsonObject> report;
    m_browser.applyPlan(plan->page, [&report](const QJsonObject& r) { report = r; });
    QVERIFY(waitUntil([&] { return report.has_value(); }));
    QCOMPARE(int(FillPlan::readReport(*report, *plan).status), int(FillReport::Status::Superseded));
    QCOMPARE(fields(), shown);
}

void TestWebEngineFill::navigateAndStop_data()
{
    // One chain of handlers, as the site walk makes it: "Stop", an address ("" empty, "B", "%"
    // unusable), or a click on the page's link or button that asks for a new window.
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("shown"); // "A" (nothing loads), "B", or the engine's error page
    QTest::newRow("empty address") << QStringList{"", "Stop", ""} << "A";
    QTest::newRow("B, then Stop and an empty address") << QStringList{"Stop", "B", "Stop", ""} << "B";
    QTest::newRow("B, then an unusable address") << QStringList{"Stop", "B", "Stop", "%"} << "B";
    QTest::newRow("unusable, then B") << QStringList{"%", "B"} << "B";
    QTest::newRow("only unusable addresses")
        << QStringList{"Stop", "%", "Stop", "ht!tp://x"} << "ERR_UNSAFE_PORT";
    QTest::newRow("link with a new-window target") << QStringList{"click link"} << "A";
    QTest::newRow("script that opens a window") << QStringList{"click button"} << "A";
}

void TestWebEngineFill::navigateAndStop()
{
    QFETCH(QStringList, calls);
    QFETCH(QString, shown);
    const QString a = m_server.url("popup.html");
    const QString b = kDataDir + "/page_b.html";
    QVERIFY(load(a));
    QSignalSpy started(m_browser.view(), &QWebEngineView::loadStarted);
    QSignalSpy loaded(&m_browser, &Browser::pageLoaded);
    for (const QString& call : calls) {
        if (call == u"Stop")
            m_browser.stop();
        else if (call.startsWith(u"click "))
            eval(QStringLiteral("document.getElementById('%1').click()").arg(call.mid(6)),
                 QWebEngineScript::MainWorld);
        else
            m_browser.navigate(call == u"B" ? b : call);
    }
    if (shown == u"A") {
        QVERIFY(!started.wait(300));
        QCOMPARE(m_browser.view()->url().toString(), a);
        return;
    }
    QVERIFY(loaded.wait(20000));
    QVERIFY(!loaded.wait(100));
    if (shown == u"B")
        QCOMPARE(m_browser.view()->url(), QUrl::fromLocalFile(b));
    else
        QVERIFY(eval("document.body.innerText").toString().contains(shown));
    QCOMPARE(int(fillPage()->status), int(FillReport::Status::Applied)); // as on every loaded page
}

QTEST_MAIN(TestWebEngineFill)
#include "tst_webenginefill.moc"
