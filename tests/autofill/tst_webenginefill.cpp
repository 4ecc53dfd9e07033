// The fill pass against a real QWebEngineView: fixtures in tests/data/autofill, served over HTTP on
// 127.0.0.1 (a second server on another port is a second origin). One view serves every test.

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

const QString kDataDir = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill");
const Product kProduct{"Zipper", "ART", "http://example.com/pad.xml", "VENDOR-7", "PRODUCT-9"};

// Handles events until `ready` holds: Qt WebEngine works in posted events, and QTRY's
// process-and-sleep steps make every page load take seconds.
bool waitUntil(const std::function<bool()>& ready, int timeoutMs = 20000)
{
    QTimer wake; // ends each wait for events within a few milliseconds
    wake.start(2);
    const QDeadlineTimer deadline(timeoutMs);
    while (!ready() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return ready();
}

// Makes a call that answers through the callback it is given, and waits for the answer.
template <typename T, typename Call> std::optional<T> answer(Call call)
{
    std::optional<T> result;
    call([&result](const T& r) { result = r; });
    waitUntil([&] { return result.has_value(); });
    return result;
}

} // namespace

class TestWebEngineFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fill_data();
    void fill();
    void stalePlan_data();
    void stalePlan();
    void navigateAndStop_data();
    void navigateAndStop();
    void submitReported_data();
    void submitReported();

private:
    bool load(const QString& address);
    FillReport fillPage();
    QVariant eval(const QString& script, quint32 world = QWebEngineScript::MainWorld)
    {
        return answer<QVariant>(
                   [&](auto done) { m_browser.view()->page()->runJavaScript(script, world, done); })
            .value_or(QVariant());
    }
    // The centre of the page's element `selector`, in the view's coordinates.
    QPoint centreOf(const QString& selector)
    {
        const QVariantList xy = eval(QStringLiteral("(r => [r.x + r.width / 2, r.y + r.height / 2])("
                                                    "document.querySelector('%1').getBoundingClientRect())")
                                         .arg(selector))
                                    .toList();
        return QPoint(xy.value(0).toInt(), xy.value(1).toInt());
    }
    // Read in a world of their own, untouched by the page's scripts and by the filler's.
    QString fields() { return eval(m_readFields, 7).toString(); }

    WebEngineBrowser m_browser;
    FillPass m_pass{m_browser};
    const QString m_readFields = QString::fromUtf8(readAll(kDataDir + "/read_fields.js"));
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
FillReport TestWebEngineFill::fillPage()
{
    QObject listening; // the connection ends with this call
    return answer<FillReport>([&](auto done) {
               connect(&m_pass, &FillPass::finished, &listening, [done](const FillReport& r) {
                   if (r.scope == FillReport::Scope::Page)
                       done(r);
               });
               m_pass.run();
           })
        .value_or(FillReport{}); // NoDocument when none came
}

void TestWebEngineFill::initTestCase()
{
    m_pass.setProduct(kProduct);
    QVERIFY(m_server.start() && m_otherOrigin.start());
    m_server.setPage("plain.html",
                     "<form action=sent.html><input name=email><button id=send>Send</button></form>");
    m_server.setPage("sent.html", "sent");
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
    QTest::addColumn<QString>("refused"); // by the load's pass, in document order: "Reason: name ..."
    QTest::addColumn<QString>("then");    // a page script run after the load's pass
    QTest::addColumn<int>("parts");       // passes over parts that must follow; -1: not counted
    QTest::addColumn<QString>("check");   // a page expression; empty: the fields, as read_fields.js
    QTest::addColumn<QString>("result");  // lists them; polled until it reads this

    // Buttons, check boxes, radios and files are never written, the other types only when they keep
    // the value; the page saw events only from the fields written. A static page costs no more passes.
    QTest::newRow("every input type, static")
        << "types.html"
        << "NotTextField: agree_url lic_url lic_url submit_pad reset_pad button_pad image_pad upload_file "
           "ValueNotKept: file_count regnow_count range_url color_url date_url month_url week_url time_url "
           "when_url"
        << QString() << 0 << "events.join()"
        << "plain_url,text_url,search_url,url,tel_regnow,email_url,password_url,hidden_url,odd_url";
    // The page's own state saw the writes through its input and change listeners, and the events
    // bubbled to the document.
    QTest::newRow("React-style listeners")
        << "react.html" << QString() << QString() << -1
        << "JSON.stringify([formState, document.getElementById('preview').textContent])"
        << QStringLiteral(R"([{"pad_url":"%1","category":"Screen Savers: Art"},"%1"])").arg(kProduct.padUrl);
    // The cross-origin frame cannot be read from here, so the page asks it for its values.
    QTest::newRow("cross-origin frame untouched")
        << "frames.html" << QString() << QString() << -1 << "window.crossValue ?? void askCross()"
        << "frame|frame notes";
    // After the load's pass: new documents in frames and fields added later are filled, what the
    // user changed meanwhile is kept.
    const QString edit = "document.querySelector('[name=pad_url]').value = 'mine';";
    QTest::newRow("frame reloads while the user edits")
        << "frames.html" << QString()
        << edit + "document.getElementById('same').contentWindow.location.reload()" << 1 << QString()
        << "pad_url=mine 1:regnowvenderid=VENDOR 1:notes=PAD 2:category=1";
    QTest::newRow("form added after the load")
        << "late.html" << QString() << edit << 1 << QString() << "pad_url=mine notes=PAD email= category=1";
}

void TestWebEngineFill::fill()
{
    QFETCH(QString, page);
    QFETCH(QString, refused);
    QFETCH(QString, then);
    QFETCH(int, parts);
    QFETCH(QString, check);
    QFETCH(QString, result);

    QVERIFY(load(m_server.url(page)));
    const FillReport report = fillPage();
    QCOMPARE(int(report.status), int(FillReport::Status::Applied));
    QString refusals, reason;
    for (const FillReport::Refusal& r : report.refused)
        refusals += (std::exchange(reason, r.reason) == r.reason ? QString() : u' ' + r.reason + u':') +
                    u' ' + r.name;
    QCOMPARE(refusals.trimmed(), refused);

    QSignalSpy passes(&m_pass, &FillPass::finished); // from here on: the page's own frames are filled
    eval(then);
    if (parts == 0)
        QVERIFY(!passes.wait(700));
    result.replace("PAD", kProduct.padUrl).replace("VENDOR", kProduct.regnowVendorId);
    const auto probe = [&] { return check.isEmpty() ? fields() : eval(check).toString(); };
    waitUntil([&] { return passes.size() >= parts && probe() == result; });
    QCOMPARE(probe(), result);
    if (parts >= 0)
        QCOMPARE(passes.size(), parts);
}

void TestWebEngineFill::stalePlan_data()
{
    // Pages A and B both have a field named pad_url, at different positions. Between the snapshot of
    // A and the plan's arrival, B replaces A, or a newer snapshot of A is taken.
    QTest::addColumn<QString>("then");  // the page loaded meanwhile, if any
    QTest::addColumn<QString>("shown"); // the fields after the stale plan
    QTest::newRow("page B replaced A") << QStringLiteral("page_b.html") << "pad_url=b email=b";
    QTest::newRow("a newer snapshot of A was taken") << QString() << "email=a pad_url=a";
}

void TestWebEngineFill::stalePlan()
{
    QFETCH(QString, then);
    QFETCH(QString, shown);
    QVERIFY(load(m_server.url("page_a.html")));
    const auto snapshot = [this] {
        return answer<QByteArray>([this](auto done) { m_browser.snapshotPage(done); }).value_or("");
    };
    const std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot(), kProduct);
    QVERIFY(plan && (then.isEmpty() ? !snapshot().isEmpty() : load(m_server.url(then))));
    const auto report = answer<QJsonObject>([&](auto done) { m_browser.applyPlan(plan->page, done); });
    QVERIFY(report);
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
    QTest::newRow("B among empty and unusable addresses")
        << QStringList{"%", "B", "Stop", "", "Stop", "%"} << "B";
    QTest::newRow("only unusable addresses")
        << QStringList{"Stop", "%", "Stop", "ht!tp://x"} << "ERR_UNSAFE_PORT";
    QTest::newRow("new windows from a link and a script") << QStringList{"click link", "click button"} << "A";
}

void TestWebEngineFill::navigateAndStop()
{
    QFETCH(QStringList, calls);
    QFETCH(QString, shown);
    const QString b = kDataDir + "/page_b.html";
    QVERIFY(load(m_server.url("popup.html")));
    QSignalSpy started(m_browser.view(), &QWebEngineView::loadStarted);
    QSignalSpy loaded(&m_browser, &Browser::pageLoaded);
    for (const QString& call : calls) {
        if (call == u"Stop")
            m_browser.stop();
        else if (call.startsWith(u"click "))
            eval(QStringLiteral("document.getElementById('%1').click()").arg(call.mid(6)));
        else
            m_browser.navigate(call == u"B" ? b : call);
    }
    if (shown == u"A") {
        QVERIFY(!started.wait(300));
        return;
    }
    QVERIFY(loaded.wait(20000));
    QVERIFY(!loaded.wait(100));
    if (shown == u"B")
        QCOMPARE(m_browser.view()->url(), QUrl::fromLocalFile(b));
    else
        QVERIFY(eval("document.body.innerText").toString().contains(shown));
    QCOMPARE(int(fillPage().status), int(FillReport::Status::Applied)); // as on every loaded page
}

void TestWebEngineFill::submitReported_data()
{
    // A form is sent by a real click or key press, or by the page's own script.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("send");
    QTest::addColumn<bool>("reported");
    QTest::newRow("click on Send") << "prefilled.html"
                                   << "click" << true;
    QTest::newRow("Enter in a field") << "prefilled.html"
                                      << "Enter" << true;
    QTest::newRow("click, nothing filled") << "plain.html"
                                           << "click" << false;
    QTest::newRow("script: requestSubmit()") << "prefilled.html"
                                             << "requestSubmit()" << false;
    QTest::newRow("script: a dispatched event, then submit()")
        << "prefilled.html"
        << "dispatchEvent(new Event('submit')); document.forms[0].submit()" << false;
    QTest::newRow("script: the button's click()") << "prefilled.html"
                                                  << "click()" << false;
}

void TestWebEngineFill::submitReported()
{
    QFETCH(QString, page);
    QFETCH(QString, send);
    QFETCH(bool, reported);
    QVERIFY(load(m_server.url(page)));
    QCOMPARE(int(fillPage().status), int(FillReport::Status::Applied));
    QSignalSpy submitted(&m_browser, &Browser::filledFormSubmitted);
    const qsizetype sent = m_server.requests().count("sent.html");
    const auto hasSent = [&] { return m_server.requests().count("sent.html") > sent; };
    QWidget* input = m_browser.view()->focusProxy();
    if (send == u"click()") {
        eval("document.getElementById('send').click()");
    } else if (send != u"click" && send != u"Enter") {
        eval("document.forms[0]." + send);
    }
    // A page just loaded may drop the first real input it gets; such input is sent again.
    for (int tries = 0; (send == u"click" || send == u"Enter") && tries < 5 && !hasSent(); ++tries) {
        if (send == u"click") {
            QTest::mouseClick(input, Qt::LeftButton, {}, centreOf("#send"));
        } else {
            QTest::mouseClick(input, Qt::LeftButton, {}, centreOf("[name=email]"));
            QTest::keyClick(input, Qt::Key_Return);
        }
        waitUntil(hasSent, 1000);
    }
    QVERIFY(waitUntil(hasSent));
    if (reported)
        QVERIFY(waitUntil([&] { return !submitted.isEmpty(); }));
    else
        QVERIFY(!submitted.wait(300));
    QCOMPARE(submitted.size(), int(reported));
}

QTEST_MAIN(TestWebEngineFill)
#include "tst_webenginefill.moc"
