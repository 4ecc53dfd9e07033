// The fill pass against a real QWebEngineView: fixtures in tests/data/autofill, served over HTTP on
// 127.0.0.1 (a second server on another port is a second origin). One view serves every test.

#include "app/Module1.h"
#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "tests/LocalHttpServer.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>
#include <QTestEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <memory>

namespace {

const QString kDataDir = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill");
// Test scripts run in a world of their own, untouched by the page's scripts and by the filler's.
constexpr quint32 kTestWorld = 7;

const Product kProduct{QStringLiteral("Zipper"), QStringLiteral("ART"),
                       QStringLiteral("http://example.com/pad.xml"), QStringLiteral("VENDOR-7"),
                       QStringLiteral("PRODUCT-9")};

// Reads every field of the page (see the script's header).
QString readFieldsScript()
{
    QFile file(kDataDir + QStringLiteral("/read_fields.js"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

using Fields = QMap<QString, QString>;

// Runs the event loop until `ready` holds or the time is up. Qt WebEngine does its work in posted
// events, so this spins a real event loop (the way QSignalSpy::wait does) rather than QTRY's
// process-and-sleep steps, which make every page load take seconds.
bool waitUntil(const std::function<bool()>& ready, int timeoutMs = 20000)
{
    if (ready())
        return true;
    QTestEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (ready())
            loop.exitLoop();
    });
    poll.start(2);
    loop.enterLoopMSecs(timeoutMs);
    return ready();
}

// Lets `ms` pass with the event loop running, for checks that something did not happen.
void settle(int ms)
{
    waitUntil([] { return false; }, ms);
}

} // namespace

class TestWebEngineFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void submissionForm_data();
    void submissionForm();
    void reactStyleField();
    void clobberingPage();
    void frames();
    void popupRefused_data();
    void popupRefused();
    void largePage_data();
    void largePage();
    void stalePlanNeverLands_data();
    void stalePlanNeverLands();
    void navigationDuringFill();
    void hostilePage_data();
    void hostilePage();
    void navigateAndStop_data();
    void navigateAndStop();

private:
    bool load(const QString& address);
    std::optional<FillReport> fill();
    QVariant eval(const QString& script, quint32 world = kTestWorld);
    Fields fields();
    QString url() const { return m_browser->view()->url().toString(); }

    std::unique_ptr<WebEngineBrowser> m_browser;
    std::unique_ptr<FillPass> m_pass;
    LocalHttpServer m_server{kDataDir};
    LocalHttpServer m_otherOrigin{kDataDir};
};

bool TestWebEngineFill::load(const QString& address)
{
    QSignalSpy finished(m_browser->view(), &QWebEngineView::loadFinished);
    m_browser->Navigate(address);
    return waitUntil([&] { return !finished.isEmpty(); }) && finished.first().first().toBool();
}

std::optional<FillReport> TestWebEngineFill::fill()
{
    std::optional<FillReport> report;
    const QMetaObject::Connection c =
        connect(m_pass.get(), &FillPass::finished, this, [&report](const FillReport& r) { report = r; });
    m_pass->run();
    waitUntil([&] { return report.has_value(); });
    disconnect(c);
    return report;
}

QVariant TestWebEngineFill::eval(const QString& script, quint32 world)
{
    std::optional<QVariant> result;
    m_browser->view()->page()->runJavaScript(script, world, [&result](const QVariant& v) { result = v; });
    waitUntil([&] { return result.has_value(); });
    return result.value_or(QVariant());
}

Fields TestWebEngineFill::fields()
{
    Fields out;
    const QJsonObject object = QJsonDocument::fromJson(eval(readFieldsScript()).toString().toUtf8()).object();
    for (auto it = object.begin(); it != object.end(); ++it)
        out.insert(it.key(), it.value().toString());
    return out;
}

void TestWebEngineFill::initTestCase()
{
    QVERIFY(m_server.start());
    QVERIFY(m_otherOrigin.start());
    QFile frames(kDataDir + QStringLiteral("/frames.html"));
    QVERIFY(frames.open(QIODevice::ReadOnly));
    m_server.setPage(
        QStringLiteral("frames.html"),
        frames.readAll().replace("CROSS_ORIGIN_FRAME",
                                 m_otherOrigin.url(QStringLiteral("frame_fields.html")).toUtf8()));

    m_browser = std::make_unique<WebEngineBrowser>();
    m_pass = std::make_unique<FillPass>(*m_browser);
    connect(
        m_browser.get(), &Browser::NewWindow2, this, [](bool* cancel) { *cancel = true; },
        Qt::DirectConnection);
    m_browser->view()->resize(800, 600);
    m_browser->view()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_browser->view()));
}

void TestWebEngineFill::cleanupTestCase()
{
    m_pass.reset();
    m_browser.reset();
}

void TestWebEngineFill::init()
{
    Module1::ResetForTesting();
}

// "name=value" pairs of frame 0; PAD, VENDOR and PRODUCT stand for the product's values.
Fields frame0(const QStringList& pairs, const Product& product)
{
    Fields out;
    for (const QString& pair : pairs) {
        QString value = pair.section(u'=', 1);
        value.replace(QStringLiteral("PAD"), product.PadUrl)
            .replace(QStringLiteral("VENDOR"), product.RegnowVendorId)
            .replace(QStringLiteral("PRODUCT"), product.RegnowProductId);
        out.insert(QStringLiteral("0:") + pair.section(u'=', 0, 0), value);
    }
    return out;
}

void TestWebEngineFill::submissionForm_data()
{
    QTest::addColumn<Product>("product");
    QTest::addColumn<Fields>("expected");
    QTest::addColumn<QStringList>("refused");

    // The file input refuses the address but takes an empty value. The empty keyword (no product
    // yet) selects every option that has text; every matching field is emptied.
    const QStringList common =
        QStringLiteral("upload_file= appname=PAD pad_url=PAD homepage_url=PAD email=author@example.com "
                       "#nick=nick RegNowVenderID=VENDOR regnowvendorid=PRODUCT regnowproductid=PRODUCT "
                       "regnow=PRODUCT xml_password=PAD padfile=PAD category=4 genre=1 pad_url_list=0 "
                       "notes=PAD agree_url=PAD submit_url=PAD")
            .split(u' ');
    QTest::newRow("a product") << kProduct << frame0(common + QStringList{"subcat_id=0,1"}, kProduct)
                               << QStringList{QStringLiteral("upload_file:InvalidStateError")};
    QTest::newRow("no product yet") << Product{} << frame0(common + QStringList{"subcat_id=0,1,2"}, Product{})
                                    << QStringList{};
}

void TestWebEngineFill::submissionForm()
{
    QFETCH(Product, product);
    QFETCH(Fields, expected);
    QFETCH(QStringList, refused);

    QVERIFY(load(m_server.url(QStringLiteral("submission.html"))));
    Module1::ActiveProduct = product;
    const std::optional<FillReport> report = fill();
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    QStringList refusedFields;
    for (const FillReport::Refusal& r : report->refused)
        refusedFields.append(r.name + u':' + r.reason);
    QCOMPARE(refusedFields, refused);
    QCOMPARE(fields(), expected);
}

void TestWebEngineFill::reactStyleField()
{
    QVERIFY(load(m_server.url(QStringLiteral("react.html"))));
    Module1::ActiveProduct = kProduct;
    QVERIFY(fill());
    // The page's own state saw the writes through its input and change listeners, and the events
    // bubbled to the document.
    QCOMPARE(
        eval(QStringLiteral("JSON.stringify([formState, document.getElementById('preview').textContent])"),
             QWebEngineScript::MainWorld),
        QVariant(QStringLiteral(
            "[{\"pad_url\":\"http://example.com/pad.xml\",\"category\":\"Screen Savers: Art\"},"
            "\"http://example.com/pad.xml\"]")));
}

void TestWebEngineFill::clobberingPage()
{
    QVERIFY(load(m_server.url(QStringLiteral("clobber.html"))));
    Module1::ActiveProduct = kProduct;
    const std::optional<FillReport> report = fill();
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    const Fields expected{{"0:length", "l"},       {"0:tagName", "t"},
                          {"0:value", "v"},        {"0:pad_url", kProduct.PadUrl},
                          {"0:getAttribute", "g"}, {"0:category", "1"},
                          {"0:options", ""},       {"0:cat_options", "0"},
                          {"0:name", "n"},         {"0:profile", kProduct.PadUrl}};
    QCOMPARE(fields(), expected);
}

void TestWebEngineFill::frames()
{
    QVERIFY(load(m_server.url(QStringLiteral("frames.html"))));
    Module1::ActiveProduct = kProduct;
    QVERIFY(fill());
    // Frame 1 is the same-origin page, frame 2 the inline document; the cross-origin frame is not
    // reachable and keeps its values.
    const Fields expected{{"0:pad_url", kProduct.PadUrl},
                          {"1:regnowvenderid", kProduct.RegnowVendorId},
                          {"1:notes", kProduct.PadUrl},
                          {"2:category", "1"}};
    QCOMPARE(fields(), expected);
    eval(QStringLiteral("askCross()"), QWebEngineScript::MainWorld);
    QVERIFY(waitUntil(
        [this] { return eval(QStringLiteral("window.crossValue"), QWebEngineScript::MainWorld).isValid(); }));
    QCOMPARE(eval(QStringLiteral("window.crossValue"), QWebEngineScript::MainWorld),
             QVariant(QStringLiteral("frame|frame notes")));
}

void TestWebEngineFill::popupRefused_data()
{
    // Clicked from the page's own script: a click through the view's input can be dropped before
    // the first frame is drawn.
    QTest::addColumn<QString>("click");
    QTest::newRow("link with a new-window target")
        << QStringLiteral("document.getElementById('link').click()");
    QTest::newRow("script that opens a window")
        << QStringLiteral("document.getElementById('button').click()");
}

void TestWebEngineFill::popupRefused()
{
    QFETCH(QString, click);
    const QString page = m_server.url(QStringLiteral("popup.html"));
    QVERIFY(load(page));
    QSignalSpy newWindow(m_browser.get(), &Browser::NewWindow2);
    QSignalSpy loadStarted(m_browser->view(), &QWebEngineView::loadStarted);
    eval(click, QWebEngineScript::MainWorld);
    QVERIFY(waitUntil([&] { return newWindow.count() > 0; }));
    QCOMPARE(newWindow.count(), 1);
    settle(300); // a load would have started by now
    QCOMPARE(loadStarted.count(), 0);
    QCOMPARE(url(), page);
    QCOMPARE(fields().value(QStringLiteral("0:pad_url")), QStringLiteral("kept"));
}

void TestWebEngineFill::largePage_data()
{
    QTest::addColumn<int>("fillers");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("elements");
    // html, head, body, the input, the select and its options make up the rest.
    QTest::newRow("32,769 elements") << 32763 << 1 << 32769;
    QTest::newRow("list of 32,770 options") << 0 << 32770 << 32775;
}

void TestWebEngineFill::largePage()
{
    QFETCH(int, fillers);
    QFETCH(int, options);
    QFETCH(int, elements);

    QByteArray html = "<!DOCTYPE html><html><head></head><body>";
    for (int i = 0; i < fillers; ++i)
        html += "<b></b>";
    html += "<input name=\"pad_url\"><select name=\"category\">";
    for (int k = 1; k < options; ++k)
        html += "<option>Games</option>";
    html += "<option>Screen Savers: Art</option></select></body></html>";
    const QString name = QStringLiteral("large%1.html").arg(elements);
    m_server.setPage(name, html);

    QVERIFY(load(m_server.url(name)));
    QCOMPARE(eval(QStringLiteral("document.getElementsByTagName('*').length")).toInt(), elements);
    Module1::ActiveProduct = kProduct;
    const std::optional<FillReport> report = fill();
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    const Fields expected{{"0:pad_url", kProduct.PadUrl}, {"0:category", QString::number(options - 1)}};
    QCOMPARE(fields(), expected);
}

void TestWebEngineFill::stalePlanNeverLands_data()
{
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("padUrl"); // after the stale plan
    QTest::newRow("the page was replaced") << QStringLiteral("page_b.html") << QStringLiteral("b");
    QTest::newRow("a newer snapshot was taken") << QString() << QStringLiteral("a");
}

void TestWebEngineFill::stalePlanNeverLands()
{
    QFETCH(QString, then);
    QFETCH(QString, padUrl);
    // Pages A and B both have a field named pad_url, at different positions.
    QVERIFY(load(m_server.url(QStringLiteral("page_a.html"))));
    QByteArray snapshot;
    m_browser->snapshotPage([&snapshot](const QByteArray& s) { snapshot = s; });
    QVERIFY(waitUntil([&] { return !snapshot.isEmpty(); }));
    if (then.isEmpty()) {
        bool taken = false;
        m_browser->snapshotPage([&taken](const QByteArray&) { taken = true; });
        QVERIFY(waitUntil([&] { return taken; }));
    } else {
        QVERIFY(load(m_server.url(then)));
    }
    const std::optional<QJsonObject> plan = FillPlan::make(snapshot, kProduct);
    QVERIFY(plan);
    std::optional<QJsonObject> report;
    m_browser->applyPlan(*plan, [&report](const QJsonObject& r) { report = r; });
    QVERIFY(waitUntil([&] { return report.has_value(); }));
    QCOMPARE(int(FillPlan::readReport(*report, plan->value(u"token").toString()).status),
             int(FillReport::Status::Superseded));
    QCOMPARE(fields().value(QStringLiteral("0:pad_url")), padUrl);
    QCOMPARE(fields().value(QStringLiteral("0:email")), padUrl);
}

void TestWebEngineFill::navigationDuringFill()
{
    QVERIFY(load(m_server.url(QStringLiteral("page_a.html"))));
    Module1::ActiveProduct = kProduct;
    std::optional<FillReport> report;
    connect(
        m_pass.get(), &FillPass::finished, this, [&report](const FillReport& r) { report = r; },
        Qt::SingleShotConnection);
    QSignalSpy loaded(m_browser->view(), &QWebEngineView::loadFinished);
    m_pass->run();
    m_browser->Navigate(m_server.url(QStringLiteral("page_b.html")));
    QVERIFY(waitUntil([&] { return bool(report && !loaded.isEmpty()); }));
    QCOMPARE(url(), m_server.url(QStringLiteral("page_b.html")));
    const Fields expected{{"0:pad_url", "b"}, {"0:email", "b"}};
    QCOMPARE(fields(), expected);
}

void TestWebEngineFill::hostilePage_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<Fields>("expected"); // empty: the page changes too fast to say; it must still answer

    const QString pad = kProduct.PadUrl;
    QTest::newRow("scripts throw") << QByteArray(R"(<script>throw new Error('page script fails');</script>
        <form><input name="pad_url"><input name="notes"></form>
        <script>document.querySelector('[name=pad_url]').addEventListener('input', () => {
            throw new Error('listener fails'); });</script>)")
                                   << Fields{{"0:pad_url", pad}, {"0:notes", pad}};
    QTest::newRow("input events loop")
        << QByteArray(R"(<form><input name="pad_url"><input name="xml_url"></form>
        <script>const a = document.querySelector('[name=pad_url]'), b = document.querySelector('[name=xml_url]');
        a.addEventListener('input', () => b.dispatchEvent(new Event('input', {bubbles: true})));
        b.addEventListener('input', () => a.dispatchEvent(new Event('input', {bubbles: true})));</script>)")
        << Fields{{"0:pad_url", pad}, {"0:xml_url", pad}};
    // The first write makes the page rebuild its form: later writes land on the old, detached
    // fields and never on the new ones.
    QTest::newRow("form rewritten by the fill")
        << QByteArray(R"(<form id="f"><input name="pad_url"><input name="notes"></form>
        <script>document.querySelector('[name=pad_url]').addEventListener('input', () => {
            document.getElementById('f').innerHTML = '<input name="pad_url" value="new"><input name="notes" value="new">';
        });</script>)")
        << Fields{{"0:pad_url", "new"}, {"0:notes", "new"}};
    QTest::newRow("form rewritten all the time") << QByteArray(R"(<form id="f"><input name="pad_url"></form>
        <script>setInterval(() => { document.getElementById('f').innerHTML =
            '<input name="pad_url"><select name="category"><option>Art</option></select>'; }, 0);</script>)")
                                                 << Fields{};
}

void TestWebEngineFill::hostilePage()
{
    QFETCH(QByteArray, html);
    QFETCH(Fields, expected);
    const QString name =
        QStringLiteral("hostile%1.html").arg(QString::fromLatin1(QTest::currentDataTag())).remove(u' ');
    m_server.setPage(name, "<!DOCTYPE html><html><body>" + html + "</body></html>");
    QVERIFY(load(m_server.url(name)));
    Module1::ActiveProduct = kProduct;
    const std::optional<FillReport> report = fill();
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    if (!expected.isEmpty())
        QCOMPARE(fields(), expected);
    // The page and the filler both still answer.
    QCOMPARE(eval(QStringLiteral("1 + 1")).toInt(), 2);
    QVERIFY(fill());
}

void TestWebEngineFill::navigateAndStop_data()
{
    QTest::addColumn<QStringList>("calls"); // "Stop", or an address: "" (empty), "B"
    QTest::addColumn<bool>("loadsB");
    QTest::newRow("empty address") << QStringList{QString(), QStringLiteral("Stop"), QString()} << false;
    QTest::newRow("B, then Stop") << QStringList{QStringLiteral("Stop"), QStringLiteral("B"),
                                                 QStringLiteral("Stop")}
                                  << true;
    QTest::newRow("B, then Stop and an empty address")
        << QStringList{QStringLiteral("Stop"), QStringLiteral("B"), QStringLiteral("Stop"), QString()}
        << true;
}

void TestWebEngineFill::navigateAndStop()
{
    QFETCH(QStringList, calls);
    QFETCH(bool, loadsB);
    const QString a = kDataDir + QStringLiteral("/page_a.html");
    const QString b = kDataDir + QStringLiteral("/page_b.html");
    QVERIFY(load(a));
    const QString shownA = url();

    QSignalSpy started(m_browser->view(), &QWebEngineView::loadStarted);
    QSignalSpy finished(m_browser->view(), &QWebEngineView::loadFinished);
    for (const QString& call : calls) { // one chain of handlers, as the site walk makes it
        if (call == u"Stop")
            m_browser->Stop();
        else
            m_browser->Navigate(call == u"B" ? b : call);
    }
    if (loadsB) {
        QVERIFY(waitUntil([&] { return !finished.isEmpty(); }));
        settle(100);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(url(), QUrl::fromLocalFile(b).toString());
    } else {
        settle(300); // a load would have started by now
        QCOMPARE(started.count(), 0);
        QCOMPARE(url(), shownA);
    }
}

QTEST_MAIN(TestWebEngineFill)
#include "tst_webenginefill.moc"
