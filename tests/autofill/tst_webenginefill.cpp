// The fill pass against a real QWebEngineView: fixtures in tests/data/autofill, served over HTTP on
// 127.0.0.1 (a second server on another port is a second origin). One view serves every test.


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
    void fillPage_data();
    void fillPage();
    void popupRefused_data();
    void popupRefused();
    void planNeverLandsOnAnotherPage_data();
    void planNeverLandsOnAnotherPage();
    void navigateAndStop_data();
    void navigateAndStop();

private:
    bool load(const QString& address);
    // Runs one fill pass; `meanwhile` runs right after the pass has started.
    std::optional<FillReport> fill(const std::function<void()>& meanwhile = {});
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
    m_browser->navigate(address);
    return waitUntil([&] { return !finished.isEmpty(); }) && finished.first().first().toBool();
}

std::optional<FillReport> TestWebEngineFill::fill(const std::function<void()>& meanwhile)
{
    std::optional<FillReport> report;
    const QMetaObject::Connection c =
        connect(m_pass.get(), &FillPass::finished, this, [&report](const FillReport& r) { report = r; });
    m_pass->run();
    if (meanwhile)
        meanwhile();
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

// "frame:name=value" pairs apart by blanks, "name=value" for frame 0; PAD, VENDOR and PRODUCT stand
// for the product's values.
Fields fieldsOf(const QString& pairs, const Product& product = kProduct)
{
    Fields out;
    for (const QString& pair : pairs.split(u' ')) {
        QString value = pair.section(u'=', 1);
        value.replace(QStringLiteral("PAD"), product.padUrl)
            .replace(QStringLiteral("VENDOR"), product.regnowVendorId)
            .replace(QStringLiteral("PRODUCT"), product.regnowProductId);
        const QString key = pair.section(u'=', 0, 0);
        out.insert(key.contains(u':') ? key : QStringLiteral("0:") + key, value);
    }
    return out;
}

// One row of fillPage: `body` makes the page here (empty for a fixture); `check` is a page-script
// expression, polled until it has a value, that must then read `result`.
void fillRow(const char* tag, const QString& page, const QByteArray& body, const Fields& expected,
             const QStringList& refused = {}, const QString& check = {}, const QString& result = {},
             const Product& product = kProduct)
{
    QTest::newRow(tag) << page << body << expected << refused << check << result << product;
}

void TestWebEngineFill::fillPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Fields>("expected");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("result");
    QTest::addColumn<Product>("product");

    // The file input refuses the address but takes an empty value. The empty keyword (no product
    // yet) selects every option that has text; every matching field is emptied.
    const QString common =
        QStringLiteral("upload_file= appname=PAD pad_url=PAD homepage_url=PAD email=author@example.com "
                       "#nick=nick RegNowVenderID=VENDOR regnowvendorid=PRODUCT regnowproductid=PRODUCT "
                       "regnow=PRODUCT xml_password=PAD padfile=PAD category=4 genre=1 pad_url_list=0 "
                       "notes=PAD agree_url=PAD submit_url=PAD subcat_id=");
    const QString form = QStringLiteral("submission.html");
    fillRow("submission form", form, {}, fieldsOf(common + u"0,1"),
            {QStringLiteral("upload_file:InvalidStateError")});
    fillRow("submission form, no product yet", form, {}, fieldsOf(common + u"0,1,2", {}), {}, {}, {},
            Product{});

    const QString pad = kProduct.padUrl;
    // The page's own state saw the writes through its input and change listeners, and the events
    // bubbled to the document.
    fillRow("React-style listeners", QStringLiteral("react.html"), {},
            {{"0:pad_url", pad}, {"0:category", "1"}}, {},
            QStringLiteral("JSON.stringify([formState, document.getElementById('preview').textContent])"),
            QStringLiteral(R"([{"pad_url":"%1","category":"Screen Savers: Art"},"%1"])").arg(pad));
    fillRow(
        "clobbering page", QStringLiteral("clobber.html"), {},
        fieldsOf(QStringLiteral("length=l tagName=t value=v pad_url=PAD getAttribute=g category=1 options= "
                                "cat_options=0 name=n profile=PAD")));
    // Frame 1 is the same-origin page, frame 2 the inline document; the cross-origin frame cannot be
    // read from here, so the page asks it for its values.
    fillRow("frames", QStringLiteral("frames.html"), {},
            fieldsOf(QStringLiteral("pad_url=PAD 1:regnowvenderid=VENDOR 1:notes=PAD 2:category=1")), {},
            QStringLiteral("window.crossValue ?? void askCross()"), QStringLiteral("frame|frame notes"));

    // html, head and body, the input, the list and its options make up the rest.
    const QByteArray field = R"(<input name="pad_url"><select name="category">)";
    const QByteArray art = "<option>Screen Savers: Art</option></select>";
    const QString count = QStringLiteral("document.getElementsByTagName('*').length");
    fillRow("32,769 elements", QStringLiteral("large1.html"),
            QByteArray("<b></b>").repeated(32763) + field + art, {{"0:pad_url", pad}, {"0:category", "0"}},
            {}, count, QStringLiteral("32769"));
    fillRow("list of 32,770 options", QStringLiteral("large2.html"),
            field + QByteArray("<option>Games</option>").repeated(32769) + art,
            {{"0:pad_url", pad}, {"0:category", "32769"}}, {}, count, QStringLiteral("32775"));

    // Hostile pages: the fill goes on, and the page and the filler still answer afterwards.
    fillRow("scripts throw", QStringLiteral("throw.html"), {},
            fieldsOf(QStringLiteral("pad_url=PAD notes=PAD")));
    fillRow("input events loop", QStringLiteral("loop.html"), {},
            fieldsOf(QStringLiteral("pad_url=PAD xml_url=PAD")));
    fillRow("form rewritten by the fill", QStringLiteral("rewrite.html"), {},
            fieldsOf(QStringLiteral("pad_url=new notes=new")));
}

void TestWebEngineFill::fillPage()
{
    QFETCH(QString, page);
    QFETCH(QByteArray, body);
    QFETCH(Fields, expected);
    QFETCH(QStringList, refused);
    QFETCH(QString, check);
    QFETCH(QString, result);
    QFETCH(Product, product);

    if (!body.isEmpty())
        m_server.setPage(page, "<!DOCTYPE html><html><body>" + body + "</body></html>");
    QVERIFY(load(m_server.url(page)));
    Module1::ActiveProduct = product;
    const std::optional<FillReport> report = fill();
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    QStringList refusedFields;
    for (const FillReport::Refusal& r : report->refused)
        refusedFields.append(r.name + u':' + r.reason);
    QCOMPARE(refusedFields, refused);
    QCOMPARE(fields(), expected);
    if (!check.isEmpty()) {
        QVERIFY(waitUntil([&] { return eval(check, QWebEngineScript::MainWorld).isValid(); }));
        QCOMPARE(eval(check, QWebEngineScript::MainWorld).toString(), result);
    }
    QCOMPARE(eval(QStringLiteral("1 + 1")).toInt(), 2);
    QVERIFY(fill());
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

void TestWebEngineFill::planNeverLandsOnAnotherPage_data()
{
    QTest::addColumn<QString>("then");  // what happens between snapshot and apply
    QTest::addColumn<QString>("shown"); // the values of page A or B after the stale plan
    QTest::newRow("page B replaced A") << QStringLiteral("load") << QStringLiteral("b");
    QTest::newRow("a newer snapshot of A was taken") << QStringLiteral("snapshot") << QStringLiteral("a");
    QTest::newRow("navigation to B during the fill pass") << QStringLiteral("pass") << QStringLiteral("b");
}

void TestWebEngineFill::planNeverLandsOnAnotherPage()
{
    QFETCH(QString, then);
    QFETCH(QString, shown);
    // Pages A and B both have a field named pad_url, at different positions.
    const QString pageB = m_server.url(QStringLiteral("page_b.html"));
    QVERIFY(load(m_server.url(QStringLiteral("page_a.html"))));
    Module1::ActiveProduct = kProduct;
    if (then == u"pass") {
        QSignalSpy loaded(m_browser->view(), &QWebEngineView::loadFinished);
        QVERIFY(fill([&] { m_browser->navigate(pageB); }));
        QVERIFY(waitUntil([&] { return !loaded.isEmpty(); }));
    } else {
        QByteArray snapshot;
        m_browser->snapshotPage([&snapshot](const QByteArray& s) { snapshot = s; });
        QVERIFY(waitUntil([&] { return !snapshot.isEmpty(); }));
        if (then == u"load") {
            QVERIFY(load(pageB));
        } else {
            bool taken = false;
            m_browser->snapshotPage([&taken](const QByteArray&) { taken = true; });
            QVERIFY(waitUntil([&] { return taken; }));
        }
        const std::optional<QJsonObject> plan = FillPlan::make(snapshot, kProduct);
        QVERIFY(plan);
        std::optional<QJsonObject> report;
        m_browser->applyPlan(*plan, [&report](const QJsonObject& r) { report = r; });
        QVERIFY(waitUntil([&] { return report.has_value(); }));
        QCOMPARE(int(FillPlan::readReport(*report, plan->value(u"token").toString()).status),
                 int(FillReport::Status::Superseded));
    }
    QCOMPARE(fields(), (Fields{{"0:pad_url", shown}, {"0:email", shown}}));
}

void TestWebEngineFill::navigateAndStop_data()
{
    QTest::addColumn<QStringList>("calls"); // "Stop", or an address: "" (empty), "B"
    QTest::addColumn<bool>("loadsB");
    QTest::newRow("empty address") << QStringList{QString(), QStringLiteral("Stop"), QString()} << false;
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
            m_browser->stop();
        else
            m_browser->navigate(call == u"B" ? b : call);
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
