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
#include <QWebEngineScriptCollection>

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
    void marksAndFillAgain();

private:
    std::optional<FillReport> load(const QString& address);
    FillReport fillPage();
    // The page model's count of passes over each document of the page (formtideFill.passes()).
    QString passCounts() { return eval("JSON.stringify(formtideFill.passes())", 1).toString(); }
    QVariant eval(const QString& script, quint32 world = QWebEngineScript::MainWorld)
    {
        return answer<QVariant>(
                   [&](auto done) { m_browser.view()->page()->runJavaScript(script, world, done); })
            .value_or(QVariant());
    }
    // The user clicks the page's element `selector`, then presses `keys`, again until `done` holds:
    // a page that has just loaded may drop the first input it gets.
    bool userInput(const QString& selector, const std::function<bool()>& done,
                   const QList<QKeyCombination>& keys = {})
    {
        QWidget* input = m_browser.view()->focusProxy();
        for (int tries = 0; tries < 5 && !done(); ++tries) {
            const QVariantList xy =
                eval(QStringLiteral("(r => [r.x + r.width / 2, r.y + r.height / 2])("
                                    "document.querySelector('%1').getBoundingClientRect())")
                         .arg(selector))
                    .toList();
            QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(xy.value(0).toInt(), xy.value(1).toInt()));
            for (const QKeyCombination key : keys)
                QTest::keyClick(input, key.key(), key.keyboardModifiers());
            waitUntil(done, 1000);
        }
        return waitUntil(done);
    }
    // Read in a world of their own, untouched by the page's scripts and by the filler's.
    QString fields() { return eval(m_readFields, 7).toString(); }

    WebEngineBrowser m_browser;
    FillPass m_pass{m_browser};
    const QString m_readFields = QString::fromUtf8(readAll(kDataDir + "/read_fields.js"));
    LocalHttpServer m_server{kDataDir};
    LocalHttpServer m_otherOrigin{kDataDir};
};

// Loads `address` and answers, once the load has finished, with the first pass over the whole page
// that ran for it: the page's own, or the one that pageLoaded asked for.
std::optional<FillReport> TestWebEngineFill::load(const QString& address)
{
    QSignalSpy finished(m_browser.view(), &QWebEngineView::loadFinished);
    std::optional<FillReport> pass;
    QObject listening; // the connection ends with this call
    connect(&m_pass, &FillPass::finished, &listening, [&pass](const FillReport& r) {
        if (!pass && r.scope == FillReport::Scope::Page && r.status != FillReport::Status::Superseded)
            pass = r;
    });
    m_browser.navigate(address);
    waitUntil([&] { return !finished.isEmpty() && pass; });
    return pass;
}

// Runs one pass over the whole page, as "Fill Again" does.
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
    connect(&m_browser, &Browser::pageLoaded, &m_pass, &FillPass::run); // as the main window does
    QVERIFY(m_server.start() && m_otherOrigin.start());
    m_server.setPage("plain.html",
                     "<form action=sent.html><input name=email><button id=send>Send</button></form>");
    m_server.setPage("sent.html", "sent");
    m_server.setPage(
        "script_prefill.html",
        "<form><input name=pad_url><textarea name=notes></textarea><input name=regnow></form><script>"
        "addEventListener('DOMContentLoaded', () => { document.forms[0].pad_url.value = 'ready'; });"
        "addEventListener('load', () => { document.forms[0].notes.value = 'loaded'; });</script>");
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
    QTest::addColumn<QString>("passes");  // the passes over each document, as the page counts them

    // Only the fields that hold nothing of the page's own are written: not a hidden upload limit or
    // flag, nor an address or a description that the site filled in.
    QTest::newRow("pre-filled fields")
        << "prefilled.html"
        << "PageValue: MAX_FILE_SIZE pad_hidden download_url filedesc" << QString() << 0 << QString()
        << "MAX_FILE_SIZE=262144 pad_hidden=Y pad_url=PAD homepage_url=PAD "
           "download_url=http://files.example.org/zipper.zip logo_url=PAD xml_file=PAD "
           "filedesc=Zipper packs files. notes=PAD regnowvenderid=VENDOR email= category=1"
        << "[1]";

    // What the page's own scripts put into fields before its load completes is the page's too.
    QTest::newRow("filled by the page's scripts") << "script_prefill.html"
                                                  << "PageValue: pad_url notes" << QString() << 0 << QString()
                                                  << "pad_url=ready notes=loaded regnow=PRODUCT"
                                                  << "[1]";
    // Buttons, check boxes, radios and files are never written, the other types only when they keep
    // the value, and a range or colour always holds one of the page's; the page saw events only from the
    // fields written. A static page costs no more passes.
    QTest::newRow("every input type, static")
        << "types.html"
        << "NotTextField: agree_url lic_url lic_url submit_pad reset_pad button_pad image_pad upload_file "
           "ValueNotKept: file_count regnow_count PageValue: range_url color_url "
           "ValueNotKept: date_url month_url week_url time_url when_url"
        << QString() << 0 << "events.join()"
        << "plain_url,text_url,search_url,url,tel_regnow,email_url,password_url,hidden_url,odd_url"
        << "[1]";
    // The page's own state saw the writes through its input and change listeners, and the events
    // bubbled to the document.
    QTest::newRow("React-style listeners")
        << "react.html" << QString() << QString() << -1
        << "JSON.stringify([formState, document.getElementById('preview').textContent])"
        << QStringLiteral(R"([{"pad_url":"%1","category":"Screen Savers: Art"},"%1"])").arg(kProduct.padUrl)
        << "[1]";
    // The cross-origin frame cannot be read from here, so the page asks it for its values. The load
    // pass covers the page and its two same-origin frames, each once.
    QTest::newRow("cross-origin frame untouched")
        << "frames.html" << QString() << QString() << 0 << "window.crossValue ?? void askCross()"
        << "Vendor ID|Notes"
        << "[1,1,1]";
    // After the load's pass: new documents in frames and fields added later are filled, what the
    // user changed meanwhile is kept.
    const QString edit = "document.querySelector('[name=pad_url]').value = 'mine';";
    QTest::newRow("frame reloads while the user edits")
        << "frames.html" << QString()
        << edit + "document.getElementById('same').contentWindow.location.reload()" << 1 << QString()
        << "pad_url=mine 1:regnowvenderid=VENDOR 1:notes=PAD 2:category=1"
        << "[1,1,1]";
    QTest::newRow("form added after the load")
        << "late.html" << QString() << edit << 1 << QString() << "pad_url=mine notes=PAD email= category=1"
        << "[1]";
}

void TestWebEngineFill::fill()
{
    QFETCH(QString, page);
    QFETCH(QString, refused);
    QFETCH(QString, then);
    QFETCH(int, parts);
    QFETCH(QString, check);
    QFETCH(QString, result);
    QFETCH(QString, passes);

    const std::optional<FillReport> report = load(m_server.url(page));
    QVERIFY(report);
    QCOMPARE(int(report->status), int(FillReport::Status::Applied));
    QString refusals, reason;
    for (const FillReport::Refusal& r : report->refused)
        refusals += (std::exchange(reason, r.reason) == r.reason ? QString() : u' ' + r.reason + u':') +
                    u' ' + r.name;
    QCOMPARE(refusals.trimmed(), refused);

    QSignalSpy later(&m_pass, &FillPass::finished); // from here on: the page's own frames are filled
    eval(then);
    if (parts == 0)
        QVERIFY(!later.wait(700));
    result.replace("PAD", kProduct.padUrl)
        .replace("VENDOR", kProduct.regnowVendorId)
        .replace("PRODUCT", kProduct.regnowProductId);
    const auto probe = [&] { return check.isEmpty() ? fields() : eval(check).toString(); };
    waitUntil([&] { return later.size() >= parts && probe() == result; });
    QCOMPARE(probe(), result);
    if (parts >= 0)
        QCOMPARE(later.size(), parts);
    QCOMPARE(passCounts(), passes);
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
    QVERIFY(plan && (then.isEmpty() ? !snapshot().isEmpty() : load(m_server.url(then)).has_value()));
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
    QTest::addColumn<QString>("shown"); // "A" (nothing loads), "B", or what an error page says
    QTest::newRow("empty address") << QStringList{"", "Stop", ""} << "A";
    QTest::newRow("B among empty and unusable addresses")
        << QStringList{"%", "B", "Stop", "", "Stop", "%"} << "B";
    QTest::newRow("only unusable addresses")
        << QStringList{"Stop", "%", "Stop", "http://<b>x</b>"} << "http://<b>x</b>\nInvalid hostname";
    QTest::newRow("an unusable address without a scheme") << QStringList{"%"} << "%\nneither a web address";
    QTest::newRow("new windows from a link and a script") << QStringList{"click link", "click button"} << "A";
    // A document that the page model cannot run in gets its pass when the browser says it loaded.
    QTest::newRow("B without the page model") << QStringList{"no page model", "B"} << "B";
    QTest::newRow("unreachable") << QStringList{"http://127.0.0.1:9/x"} << "127.0.0.1";
}

void TestWebEngineFill::navigateAndStop()
{
    QFETCH(QStringList, calls);
    QFETCH(QString, shown);
    const QString b = kDataDir + "/page_b.html";
    QVERIFY(load(m_server.url("popup.html")));
    QSignalSpy started(m_browser.view(), &QWebEngineView::loadStarted);
    QSignalSpy loaded(m_browser.view(), &QWebEngineView::loadFinished);
    QSignalSpy passes(&m_pass, &FillPass::finished);
    const auto pagePasses = [&] {
        return std::count_if(passes.cbegin(), passes.cend(), [](const QVariantList& args) {
            return args.first().value<FillReport>().scope == FillReport::Scope::Page;
        });
    };
    QWebEngineScriptCollection& scripts = m_browser.view()->page()->scripts();
    const QList<QWebEngineScript> model = scripts.find("formtide-page-model");
    const auto restoreModel = qScopeGuard([&] {
        for (const QWebEngineScript& script : model) {
            if (!scripts.contains(script))
                scripts.insert(script);
        }
    });
    for (const QString& call : calls) {
        if (call == u"no page model") {
            for (const QWebEngineScript& script : model)
                scripts.remove(script);
        } else if (call == u"Stop")
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
    // One load, and one pass over it as over every loaded page.
    QVERIFY(waitUntil([&] { return !loaded.isEmpty() && pagePasses() > 0; }));
    QVERIFY(!loaded.wait(300));
    QCOMPARE(pagePasses(), 1);
    if (shown == u"B") {
        QCOMPARE(m_browser.view()->url(), QUrl::fromLocalFile(b));
        return;
    }
    const QString text = eval("document.body.innerText").toString();
    for (const QString& part : shown.split(u'\n'))
        QVERIFY2(text.contains(part), qPrintable(text));
}

void TestWebEngineFill::submitReported_data()
{
    // A form is sent by a real click or key press, or by the page's own script.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("send");
    QTest::addColumn<bool>("reported");
    const auto row = [](const char* tag, const char* send, bool reported,
                        const char* page = "prefilled.html") {
        QTest::newRow(tag) << page << send << reported;
    };
    row("click on Send", "click", true);
    row("Enter in a field", "Enter", true);
    row("click, nothing filled", "click", false, "plain.html");
    row("script: requestSubmit()", "requestSubmit()", false);
    row("script: a dispatched event, then submit()",
        "dispatchEvent(new Event('submit')); document.forms[0].submit()", false);
    row("script: the button's click()", "click()", false);
}

void TestWebEngineFill::submitReported()
{
    QFETCH(QString, page);
    QFETCH(QString, send);
    QFETCH(bool, reported);
    QVERIFY(load(m_server.url(page)));
    QSignalSpy submitted(&m_browser, &Browser::filledFormSubmitted);
    const qsizetype sent = m_server.requests().count("sent.html");
    const auto hasSent = [&] { return m_server.requests().count("sent.html") > sent; };
    if (send == u"click")
        QVERIFY(userInput("#send", hasSent));
    else if (send == u"Enter")
        QVERIFY(userInput("[name=email]", hasSent, {Qt::Key_Return}));
    else if (send == u"click()")
        eval("document.getElementById('send').click()");
    else
        eval("document.forms[0]." + send);
    QVERIFY(waitUntil(hasSent));
    if (reported)
        QVERIFY(waitUntil([&] { return !submitted.isEmpty(); }));
    else
        QVERIFY(!submitted.wait(300));
    QCOMPARE(submitted.size(), int(reported));
}

// What the author sees of the passes on pre-filled fields: a mark on each field that a pass wrote,
// one that the page's own !important rules do not hide; the user's edit takes it away; "Fill Again"
// with another product rewrites what the passes wrote and marks it again; and the form sends what
// its fields hold.
void TestWebEngineFill::marksAndFillAgain()
{
    QVERIFY(load(m_server.url("prefilled.html")));
    const auto look = [this](const QString& name) {
        return eval(QStringLiteral("getComputedStyle(document.querySelector('[name=%1]')).backgroundColor")
                        .arg(name))
            .toString();
    };
    const QString plain = look("email");
    QCOMPARE(look("download_url"), plain);
    QVERIFY(look("pad_url") != plain);
    QVERIFY(look("category") != plain);

    // The user empties pad_url.
    QVERIFY(userInput("[name=pad_url]",
                      [&] { return eval("document.forms[0].pad_url.value").toString().isEmpty(); },
                      {Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete}));
    QVERIFY(waitUntil([&] { return look("pad_url") == plain; }, 5000));

    const auto restoreProduct = qScopeGuard([this] { m_pass.setProduct(kProduct); });
    m_pass.setProduct(Product{"Other", "GAMES", "http://other.example/pad.xml", "V2", "P2"});
    QCOMPARE(int(fillPage().status), int(FillReport::Status::Applied));
    QCOMPARE(fields(),
             "MAX_FILE_SIZE=262144 pad_hidden=Y pad_url=http://other.example/pad.xml "
             "homepage_url=http://other.example/pad.xml download_url=http://files.example.org/zipper.zip "
             "logo_url=http://other.example/pad.xml xml_file=http://other.example/pad.xml "
             "filedesc=Zipper packs files. notes=http://other.example/pad.xml regnowvenderid=V2 email= "
             "category=0");
    QVERIFY(look("pad_url") != plain);
    QVERIFY(look("regnowvenderid") != plain);

    const QString data = eval("new URLSearchParams(new FormData(document.forms[0])) + '&send=1'").toString();
    const qsizetype sent = m_server.requests().count("sent.html");
    QVERIFY(userInput("#send", [&] { return m_server.requests().count("sent.html") > sent; }));
    QCOMPARE(m_server.query("sent.html"), data);
}

QTEST_MAIN(TestWebEngineFill)
#include "tst_webenginefill.moc"
