// The fill pass against a real QWebEngineView: fixtures in tests/data/autofill, served over HTTP on
// 127.0.0.1. One view serves every test. The values each fixture ends with are tst_formtidefill's;
// these tests look at what only the program sees: the page's own view of the writes, passes after
// the load's, plans that come late, the pages a navigation shows, forms the user sends, "Fill Again".

#include "autofill/BrowserEngine.h"
#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "tests/LocalHttpServer.h"
#include "tests/PageDriver.h"

#include <QSignalSpy>

namespace {

const QString kDataDir = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill");
const Product kProduct{"Zipper", "ART", "http://example.com/pad.xml", "VENDOR-7", "PRODUCT-9"};

// The scopes of the passes that `passes` saw applied, in order.
QList<int> applied(const QSignalSpy& passes)
{
    QList<int> scopes;
    for (const QVariantList& args : passes) {
        if (args.first().value<FillReport>().status == FillReport::Status::Applied)
            scopes.append(int(args.first().value<FillReport>().scope));
    }
    return scopes;
}

} // namespace

class TestWebEngineFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pageStateSeesTheWrites();
    void filledByTheLoadEvent_data();
    void filledByTheLoadEvent();
    void snapshotDescribesFields_data();
    void snapshotDescribesFields();
    void passesOverParts_data();
    void passesOverParts();
    void stalePlans();
    void navigate_data();
    void navigate();
    void sendReported_data();
    void sendReported();
    void marksAndFillAgain();
    void backAndForward_data();
    void backAndForward();

private:
    std::optional<FillReport> load(const QString& address);
    QByteArray snapshot()
    {
        QByteArray taken;
        m_browser.snapshotPage([&taken](const QByteArray& s) { taken = s; });
        waitUntil([&] { return !taken.isEmpty(); });
        return taken;
    }
    QWebEngineView* view() { return m_browser.widget(); }
    QVariant eval(const QString& script) { return runInPage(view(), script); }
    qsizetype sent() const { return m_server.requests().count("sent.html"); }

    WebEngineBrowser m_browser;
    FillPass m_pass{m_browser};
    LocalHttpServer m_server{kDataDir};
};

// Loads `address` and answers, once the load has finished, with the first pass over the whole page
// that ran for it: the page's own, or the one that pageLoaded asked for.
std::optional<FillReport> TestWebEngineFill::load(const QString& address)
{
    QSignalSpy finished(view(), &QWebEngineView::loadFinished);
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

void TestWebEngineFill::initTestCase()
{
    m_pass.setProduct(kProduct);
    connect(&m_browser, &Browser::pageLoaded, &m_pass, &FillPass::run); // as the main window does
    QVERIFY(m_server.start());
    m_server.setPage("plain.html",
                     "<form action=sent.html><input name=email><button id=send>Send</button></form>");
    m_server.setPage("sent.html", "sent");
    view()->resize(800, 600);
    view()->show();
    QVERIFY(QTest::qWaitForWindowExposed(view()));
}

// The page heard of the writes: input and change events, which bubble to the document and reach
// the state of a page that keeps its own.
void TestWebEngineFill::pageStateSeesTheWrites()
{
    QVERIFY(load(m_server.url("react.html")));
    QCOMPARE(
        eval("JSON.stringify([formState, document.getElementById('preview').textContent])").toString(),
        QStringLiteral(R"([{"pad_url":"%1","category":"Screen Savers: Art"},"%1"])").arg(kProduct.padUrl));
}

void TestWebEngineFill::filledByTheLoadEvent_data()
{
    QTest::addColumn<QString>("page"); // a page of its own: loading the page shown is a reload
    QTest::addColumn<QByteArray>("head");
    QTest::newRow("nothing to load") << "onload.html" << QByteArray();
    QTest::newRow("no images allowed")
        << "onload_csp.html"
        << QByteArray("<meta http-equiv=Content-Security-Policy content=\"img-src 'none'\">");
    // An image finishing while the plan is on its way: its load event comes as the DOM completes.
    QTest::newRow("an image loads meanwhile")
        << "onload_image.html"
        << QByteArray("<script>document.addEventListener('DOMContentLoaded', () => "
                      "document.images[0].dispatchEvent(new Event('load')));</script><img alt=\"\">");
}

// A page with nothing to load fires its load event right after its DOM is complete, before the plan
// could come back; its own load handlers find the field filled all the same, images or not.
void TestWebEngineFill::filledByTheLoadEvent()
{
    QFETCH(QString, page);
    QFETCH(QByteArray, head);
    m_server.setPage(page, "<!DOCTYPE html><head>" + head +
                               "</head><input name=pad_url><script>addEventListener('load', "
                               "() => { window.atLoad = document.querySelector('input').value; "
                               "});</script>");
    QVERIFY(load(m_server.url(page)));
    QCOMPARE(eval("window.atLoad").toString(), kProduct.padUrl);
}

void TestWebEngineFill::snapshotDescribesFields_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("fields"); // the snapshot's entries that are objects
    QTest::newRow("label[for], maxlength, an unnamed field")
        << QByteArray("<label for=a>E-mail\n  address</label><input id=a name=email maxlength=40 "
                      "placeholder=you@ autocomplete=email><input type=CHECKBOX title=Agree>")
        << QByteArray(R"([{"tag":"INPUT","name":"email","id":"a","type":"text","label":"E-mail address",)"
                      R"("placeholder":"you@","autocomplete":"email","maxlength":40},)"
                      R"({"tag":"INPUT","type":"checkbox","title":"Agree","held":{"value":"on"}}])");
    QTest::newRow("enclosing label, aria-labelledby, aria-label")
        << QByteArray(
               "<label>Category <select name=c><option>Art<option selected> Big  Games</select></label>"
               "<span id=x>Home</span><span id=y>page</span><input aria-labelledby='x y' type=url>"
               "<select multiple aria-label=Kinds><option>A</select>")
        << QByteArray(
               R"([{"tag":"SELECT","name":"c","label":"Category","options":["Art","Big Games"],"selected":[0]},)"
               R"({"tag":"INPUT","type":"url","label":"Home page"},)"
               R"({"tag":"SELECT","label":"Kinds","options":["A"],"multiple":true}])");
    QTest::newRow("hints: table cell, sibling, up a level; a field ends the search")
        << QByteArray("<table><tr><td>Program <b>name</b>:</td><td><input name=n></td></tr></table>"
                      "<div><p>Notes</p><div><textarea name=notes>old</textarea></div></div>"
                      "<p>Phone <input name=a><input type=hidden name=h> <input name=b></p>"
                      "<div>Fax <input name=f></div><div><i></i><input name=g></div>")
        << QByteArray(
               R"([{"tag":"INPUT","name":"n","type":"text","hint":"Program name:","held":true},)"
               R"({"tag":"TEXTAREA","name":"notes","hint":"Notes","held":{"value":"old"}},)"
               R"({"tag":"INPUT","name":"a","type":"text","hint":"Phone"},)"
               R"({"tag":"INPUT","name":"h","type":"hidden"},)"
               R"({"tag":"INPUT","name":"b","type":"text"},)"
               R"({"tag":"INPUT","name":"f","type":"text","hint":"Fax"},{"tag":"INPUT","name":"g","type":"text"}])");
}

// What the snapshot tells of each form field, after the load pass (which fills the program name
// and the category); the fill rules rely on it (format: autofill/FillPlan.h).
void TestWebEngineFill::snapshotDescribesFields()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, fields);
    m_server.setPage("described.html", "<!DOCTYPE html><body>" + body);
    QVERIFY(load(m_server.url("described.html")));
    QJsonArray listed;
    for (const QJsonValue& doc : QJsonDocument::fromJson(snapshot()).object().value(u"docs").toArray()) {
        for (const QJsonValue& entry : doc.toArray()) {
            if (entry.isObject())
                listed.append(entry);
        }
    }
    QCOMPARE(QJsonDocument(listed).toJson(QJsonDocument::Compact),
             QJsonDocument::fromJson(fields).toJson(QJsonDocument::Compact));
}

void TestWebEngineFill::passesOverParts_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("part"); // the scope of the pass after the load's
    const QString pad = kProduct.padUrl;
    QTest::newRow("a frame's new document")
        << "frame_steps.html"
        << "pad_url=" + pad + " 1:xml_url=" + pad + " 1:email=" << int(FillReport::Scope::Frame);
    QTest::newRow("fields added after the load")
        << "late.html"
        << "pad_url=" + pad + " notes=" + pad + " email= category=[1]" << int(FillReport::Scope::AddedFields);
}

// What a page shows after its load is filled in passes over that part; the page is not filled
// again, and a static page has no passes after the load's (pageStateSeesTheWrites').
void TestWebEngineFill::passesOverParts()
{
    QFETCH(QString, page);
    QFETCH(QString, shown);
    QFETCH(int, part);
    QSignalSpy passes(&m_pass, &FillPass::finished);
    QVERIFY(load(m_server.url(page)));
    QVERIFY(waitUntil([&] { return applied(passes).size() > 1 && pageFields(m_browser) == shown; }));
    QVERIFY(!passes.wait(500));
    // A frame's document that comes after the load pass landed, even before the page's load
    // event, has a pass of its own.
    const QList<int> scopes = applied(passes);
    QCOMPARE(scopes.first(), int(FillReport::Scope::Page));
    QCOMPARE(QSet<int>(scopes.begin() + 1, scopes.end()), QSet<int>{part});
}

// Pages A and B both have a field named pad_url, at different positions. A plan for A is answered as
// superseded, and writes nothing, when a newer snapshot of A was taken or B replaced A meanwhile.
void TestWebEngineFill::stalePlans()
{
    QVERIFY(load(m_server.url("page_a.html")));
    const std::pair<std::function<bool()>, QString> cases[] = {
        {[this] { return !snapshot().isEmpty(); }, "email=a pad_url=a"},
        {[this] { return load(m_server.url("page_b.html")).has_value(); }, "pad_url=b email=b"},
    };
    for (const auto& [meanwhile, shown] : cases) {
        const std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot(), kProduct);
        QVERIFY(plan && meanwhile());
        std::optional<QJsonObject> report;
        m_browser.applyPlan(*plan, [&report](const QJsonObject& r) { report = r; });
        QVERIFY(waitUntil([&] { return report.has_value(); }));
        QCOMPARE(int(FillPlan::readReport(*report, *plan).status), int(FillReport::Status::Superseded));
        QCOMPARE(pageFields(m_browser), shown);
    }
}

void TestWebEngineFill::navigate_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("clicked"); // by the page's own script
    QTest::addColumn<int>("loads");
    QTest::addColumn<QStringList>("says"); // the page shown then
    const QStringList popup{"open by script"};
    QTest::newRow("empty address") << QString() << QString() << 0 << popup;
    QTest::newRow("a new window") << QString() << "link" << 0 << popup;
    QTest::newRow("an unusable address")
        << "http://<b>x</b>" << QString() << 1 << QStringList{"http://<b>x</b>", "Invalid hostname"};
    // The engine's own error page: the page script runs there too (Qt 6.4), and gives it its pass.
    QTest::newRow("an unreachable host")
        << "http://127.0.0.1:1/" << QString() << 1 << QStringList{"127.0.0.1"};
}

// From a page that asks for new windows: what loads, and the one pass over each page loaded.
void TestWebEngineFill::navigate()
{
    QFETCH(QString, address);
    QFETCH(QString, clicked);
    QFETCH(int, loads);
    QFETCH(QStringList, says);
    QVERIFY(load(m_server.url("popup.html")));
    QSignalSpy loaded(view(), &QWebEngineView::loadFinished);
    QSignalSpy passes(&m_pass, &FillPass::finished);
    const auto ended = [&passes] { // whatever they found to fill
        return std::count_if(passes.begin(), passes.end(), [](const QVariantList& args) {
            return args.first().value<FillReport>().status != FillReport::Status::Superseded;
        });
    };
    m_browser.navigate(address);
    eval(QStringLiteral("document.getElementById('%1')?.click()").arg(clicked));
    waitUntil([&] { return loaded.size() >= loads && ended() >= loads; });
    QVERIFY(!loaded.wait(300));
    QCOMPARE(loaded.size(), loads);
    QCOMPARE(ended(), loads);
    const QString text = eval("document.body.innerText").toString();
    for (const QString& part : says)
        QVERIFY2(text.contains(part), qPrintable(text));
}

void TestWebEngineFill::sendReported_data()
{
    // A form sent by a key press, or by the page's own script (which gives trusted events too);
    // tst_session sends one by a click.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("script"); // the page's; a form it sent leaves no field to press Enter in
    QTest::addColumn<int>("reported");
    QTest::newRow("Enter in a field") << "prefilled.html" << QString() << 1;
    QTest::newRow("Enter, nothing filled") << "plain.html" << QString() << 0;
    QTest::newRow("script: the button's click()") << "prefilled.html"
                                                  << "document.getElementById('send').click()" << 0;
}

// A form is reported sent only when the user sent it, and a pass wrote into it.
void TestWebEngineFill::sendReported()
{
    QFETCH(QString, page);
    QFETCH(QString, script);
    QVERIFY(load(m_server.url(page)));
    QSignalSpy submitted(&m_browser, &Browser::filledFormSubmitted);
    const qsizetype before = sent();
    eval(script);
    waitUntil([&] { return sent() > before; }, 1000);
    QVERIFY(userInput(view(), "[name=email]", [&] { return sent() > before; }, {Qt::Key_Return}));
    waitUntil([&] { return !submitted.isEmpty(); }, 1000);
    QTEST(int(submitted.size()), "reported");
}

// What the author sees of the passes on pre-filled fields: a mark on each field that a pass wrote,
// one that the page's own !important rules do not hide; the user's edit takes it away; "Fill Again"
// with another product rewrites what the passes wrote and marks it again. None of the writes, input
// and change events and marks sends the form.
void TestWebEngineFill::marksAndFillAgain()
{
    const qsizetype before = sent();
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
    QVERIFY(userInput(view(), "[name=pad_url]",
                      [&] { return eval("document.forms[0].pad_url.value").toString().isEmpty(); },
                      {Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete}));
    QVERIFY(waitUntil([&] { return look("pad_url") == plain; }, 5000));

    const auto restoreProduct = qScopeGuard([this] { m_pass.setProduct(kProduct); });
    m_pass.setProduct(Product{"Other", "GAMES", "http://other.example/pad.xml", "V2", "P2"});
    QSignalSpy passes(&m_pass, &FillPass::finished);
    m_pass.run();
    QVERIFY(waitUntil([&] { return applied(passes) == QList<int>{int(FillReport::Scope::Page)}; }));
    QCOMPARE(pageFields(m_browser),
             "MAX_FILE_SIZE=262144 pad_hidden=Y pad_url=http://other.example/pad.xml "
             "homepage_url= https://www.  download_url=http://files.example.org/zipper.zip "
             "logo_url=Logo address xml_file=http://other.example/pad.xml "
             "filedesc=Zipper packs files. notes=http://other.example/pad.xml regnowvenderid=V2 email= "
             "category=[0]");
    QVERIFY(look("pad_url") != plain);
    QVERIFY(look("regnowvenderid") != plain);
    QTest::qWait(500); // time for a form sent meanwhile to reach the server
    QCOMPARE(sent(), before);
    QCOMPARE(view()->url().path(), "/prefilled.html");
}

void TestWebEngineFill::backAndForward_data()
{
    QTest::addColumn<bool>("fillAgain"); // with a second product, before the page is left
    QTest::newRow("filled as it loaded") << false;
    QTest::newRow("after Fill Again with another product") << true;
}

// A page shown again by Back or Forward holds what the engine restores into its fields: what a pass
// wrote there for an earlier product gives way to the active product's; what the user typed stays.
void TestWebEngineFill::backAndForward()
{
    QFETCH(bool, fillAgain);
    const auto restoreProduct = qScopeGuard([this] { m_pass.setProduct(kProduct); });
    m_server.setPage("restored.html", "<form><input name=pad_url><textarea name=notes></textarea>"
                                      "<input name=regnowvenderid><input name=email></form>");
    QVERIFY(load(m_server.url("restored.html")));
    QSignalSpy passes(&m_pass, &FillPass::finished);
    if (fillAgain) {
        m_pass.setProduct(Product{"Second", "GAMES", "http://second.example/pad.xml", "V2", "P2"});
        m_pass.run();
        QVERIFY(waitUntil([&] { return applied(passes).size() == 1; }));
    }
    QVERIFY(userInput(view(), "[name=regnowvenderid]",
                      [&] { return eval("document.forms[0].regnowvenderid.value").toString() == "m"; },
                      {Qt::ControlModifier | Qt::Key_A, Qt::Key_M}));
    QVERIFY(load(m_server.url("plain.html")));
    m_pass.setProduct(Product{"Third", "GAMES", "http://third.example/pad.xml", "V3", "P3"});
    const QString third = "pad_url=http://third.example/pad.xml notes=http://third.example/pad.xml "
                          "regnowvenderid=m email=";
    for (const auto& [move, address] : {std::pair{&QWebEngineView::back, "restored.html"},
                                        std::pair{&QWebEngineView::forward, "plain.html"},
                                        std::pair{&QWebEngineView::back, "restored.html"}}) {
        passes.clear();
        (view()->*move)();
        const QUrl expected(m_server.url(QString::fromLatin1(address)));
        QVERIFY(waitUntil([&] { return view()->url() == expected && !passes.isEmpty(); }));
    }
    QVERIFY2(waitUntil([&] { return pageFields(m_browser) == third; }, 5000),
             qPrintable(pageFields(m_browser)));
}

int main(int argc, char* argv[])
{
    BrowserEngine engine(argc, argv);
    QApplication app(engine.argc(), engine.argv());
    TestWebEngineFill test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_webenginefill.moc"
