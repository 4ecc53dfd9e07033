// formtide-fillbench [ROUNDS]
//
// First times what the author waits for: from a page's own load event to its fields being written,
// read in the page itself (0 when they were written before the load event). The program's browser (its pass
// starts by itself as the document completes) is compared with a bare QWebEngineView that writes one field
// with one script once Qt says loadFinished, page by page, alternating, on ROUNDS submission pages, each on a
// site of its own (served from 127.0.0.1). On the first set each page shows a banner that the server sends
// after kBannerMs, as download sites' pages hold banners, counters and advertisements: the page's
// load event waits for it, its DOM is complete before. Prints both medians and "ratio_load=R.RR"
// (program median / bare median), then the same for pages that load nothing but themselves,
// "ratio_load_plain=R.RR".
//
// Then times the program's fill pass (snapshot, plan and apply, until the page's report is back)
// against a single in-page script that does the same reads and writes (baseline.js), on a
// 100-field form and on a page of 32,769 elements. Both run in the page's isolated world on the
// same loaded page, alternating, after a warm-up round (100 rounds unless ROUNDS says otherwise:
// fewer give medians that move with the machine's load). Build it with CMAKE_BUILD_TYPE=Release for
// figures of the program as it ships; a Debug build's C++ is slower, the page's scripts are not.
// Prints the medians in milliseconds and "ratio_100=X.XX ratio_32k=Y.YY" (pass median / script
// median). A third contender, timed in the same rounds, is the pass's fixed part alone: its four
// crossings between program and page (a call into the page, its answer, a plan that names no
// snapshot, the page's report on it) with no reading, planning or writing; it prints as
// "crossings_100=A.AA crossings_32k=B.BB" (its median / script median). The machine's load moves
// those medians from one run to the next; the pass and the script of one round see the same load,
// so the spread of the rounds' own ratios (pass / script, first to third quartile) prints as
// "spread_100=L.LL-H.HH spread_32k=L.LL-H.HH". Then loads a page that
// replaces its form field every 0 ms for 10 s and prints, last, "busy_passes_per_second=Z.Z": the
// passes over parts of it that the page's changes caused in the 10 s after its load.

#include "autofill/BrowserEngine.h"
#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "bench/Median.h"
#include "tests/LocalHttpServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QByteArray hundredFieldForm()
{
    QByteArray html = "<!DOCTYPE html><html><head><title>Submit</title></head><body><form>";
    for (int i = 0; i < 100; ++i) {
        const QByteArray n = QByteArray::number(i);
        html += "<p><label>Field " + n + "</label>";
        switch (i % 5) {
        case 0:
            html += "<select name=\"category_" + n + "\">";
            for (int k = 0; k < 20; ++k)
                html += k == 13 ? QByteArray("<option>Screen Savers: Art</option>")
                                : QByteArray("<option>Other " + QByteArray::number(k) + "</option>");
            html += "</select>";
            break;
        case 1:
            html += "<input name=\"pad_url_" + n + "\">";
            break;
        case 2:
            html += "<input name=\"regnowvenderid_" + n + "\">";
            break;
        case 3:
            html += "<textarea name=\"notes_" + n + "\"></textarea>";
            break;
        default:
            html += "<input name=\"email_" + n + "\">";
            break;
        }
        html += "</p>";
    }
    return html + "</form></body></html>";
}

constexpr int kBannerMs = 120;

// A submission page numbered `n` that notes, in its own world, when its load event fired and when a
// field was first written (the first input event); with `banner`, it shows an image that the
// server sends late.
QByteArray submissionPage(int n, bool banner)
{
    QByteArray html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Submit #" +
                      QByteArray::number(n) +
                      "</title><style>label{display:block;margin:4px}</style><script>"
                      "addEventListener('load', () => { window.loadAt = performance.now(); });"
                      "document.addEventListener('input', () => {"
                      "  if (window.writtenAt === undefined) window.writtenAt = performance.now(); }, true);"
                      "</script></head><body>" +
                      (banner ? QByteArray("<img src=\"/banner.gif\" alt=\"\">") : QByteArray()) +
                      "<h1>Submit your software</h1><form method=\"post\">";
    for (const char* name : {"program_name", "pad_url", "homepage_url", "email", "notes", "regnowvenderid"})
        html += "<label>" + QByteArray(name) + " <input name=\"" + name + "\"></label>";
    html += "<select name=\"category\"><option>Games</option><option>Screen Savers: Art</option>"
            "<option>Utilities</option></select><textarea name=\"description\"></textarea>"
            "<input type=\"submit\" value=\"Send\"></form>";
    for (int p = 0; p < 20; ++p)
        html += "<p>Paragraph " + QByteArray::number(p) + " of the site's rules for authors.</p>";
    return html + "</body></html>";
}

// Times, page by page, from the page's load event to its first written field: the program's
// browser, then the bare view, each on the same page.
class LoadBench final : public QObject {
public:
    // The first `warmUp` pages are loaded but not counted.
    LoadBench(WebEngineBrowser& browser, FillPass& pass, QWebEngineView& bare, QStringList pages, int warmUp)
        : m_browser(browser), m_pass(pass), m_bare(bare), m_pages(std::move(pages)), m_warmUp(warmUp)
    {
        connect(&m_pass, &FillPass::finished, this, [this](const FillReport& report) {
            if (m_waitingForPass && report.scope == FillReport::Scope::Page) {
                m_waitingForPass = false;
                m_ok = m_ok && report.status == FillReport::Status::Applied;
                programFilled();
            }
        });
        connect(m_browser.widget(), &QWebEngineView::loadFinished, this, [this](bool) {
            m_waitingForLoad = false;
            programFilled();
        });
        connect(&m_bare, &QWebEngineView::loadFinished, this, [this](bool) {
            if (!m_bareLoading)
                return;
            m_bareLoading = false;
            // One field, one script, as soon as Qt says the page has loaded.
            m_bare.page()->runJavaScript(
                QStringLiteral("(() => { const f = document.querySelector('[name=pad_url]');"
                               "f.value = 'http://example.com/pad.xml';"
                               "f.dispatchEvent(new Event('input', {bubbles: true})); })()"),
                QWebEngineScript::ApplicationWorld,
                [this](const QVariant&) { readDelay(m_bare, m_bareTimes, [this] { nextPage(); }); });
        });
    }

    void start(std::function<void()> done)
    {
        m_done = std::move(done);
        nextPage();
    }
    double programMedian() const { return median(m_programTimes.mid(m_warmUp)); }
    double bareMedian() const { return median(m_bareTimes.mid(m_warmUp)); }
    qsizetype pages() const { return m_programTimes.size() - m_warmUp; }
    bool ok() const { return m_ok && m_programTimes.size() == m_bareTimes.size(); }

private:
    void nextPage()
    {
        if (m_next >= m_pages.size()) {
            m_done();
            return;
        }
        m_programLoading = true;
        m_waitingForPass = true;
        m_waitingForLoad = true;
        m_browser.navigate(m_pages.at(m_next));
    }

    void programFilled()
    {
        if (!m_programLoading || m_waitingForPass || m_waitingForLoad)
            return;
        m_programLoading = false;
        readDelay(*m_browser.widget(), m_programTimes, [this] {
            m_bareLoading = true;
            m_bare.load(QUrl(m_pages.at(m_next++)));
        });
    }

    void readDelay(QWebEngineView& view, QList<double>& into, std::function<void()> then)
    {
        view.page()->runJavaScript(QStringLiteral("Math.max(0, window.writtenAt - window.loadAt)"),
                                   QWebEngineScript::MainWorld,
                                   [&into, then = std::move(then), this](const QVariant& ms) {
                                       bool isNumber = false;
                                       const double value = ms.toDouble(&isNumber);
                                       if (isNumber)
                                           into.append(value);
                                       else
                                           m_ok = false;
                                       then();
                                   });
    }

    WebEngineBrowser& m_browser;
    FillPass& m_pass;
    QWebEngineView& m_bare;
    QStringList m_pages;
    int m_warmUp;
    qsizetype m_next = 0;
    bool m_programLoading = false;
    bool m_waitingForPass = false;
    bool m_waitingForLoad = false;
    bool m_bareLoading = false;
    bool m_ok = true;
    QList<double> m_programTimes;
    QList<double> m_bareTimes;
    std::function<void()> m_done;
};

// A page that puts a new field in place of its form's field every 0 ms, for kBusyMs.
constexpr int kBusyMs = 10000;
QByteArray busyPage()
{
    return "<!DOCTYPE html><html><body><form><input name=\"pad_url\"></form><script>"
           "let n = 0; const end = performance.now() + " +
           QByteArray::number(kBusyMs) +
           ";(function change() {"
           "  document.forms[0].innerHTML = '<input name=\"pad_url_' + (++n) + '\">';"
           "  if (performance.now() < end) setTimeout(change, 0);"
           "})();</script></body></html>";
}

// html, head, body and 10,922 rows of three elements: 32,769 elements.
QByteArray largePage()
{
    static const char* const names[] = {"pad_url_", "email_", "regnow_", "comment_"};
    QByteArray html = "<!DOCTYPE html><html><head></head><body>";
    for (int i = 0; i < 10922; ++i)
        html += "<div><label></label><input name=\"" + QByteArray(names[i % 4]) + QByteArray::number(i) +
                "\"></div>";
    return html + "</body></html>";
}

// Runs the rounds on one page, one step at a time from the event loop.
class PageBench final : public QObject {
public:
    static constexpr int kSettleMs = 1000;

    PageBench(WebEngineBrowser& browser, FillPass& pass, QString baseline, int rounds)
        : m_browser(browser), m_pass(pass), m_baseline(std::move(baseline)), m_rounds(rounds)
    {
        connect(&m_pass, &FillPass::finished, this, [this](const FillReport& report) {
            if (!m_passStarted)
                return;
            m_passStarted = false;
            m_ok = m_ok && report.status == FillReport::Status::Applied;
            record(m_passTimes);
        });
    }

    void start(const QString& file, std::function<void()> done)
    {
        m_done = std::move(done);
        m_passTimes.clear();
        m_scriptTimes.clear();
        m_crossingTimes.clear();
        m_step = 0;
        // The page's own load pass runs first; the rounds start once it is surely over, and once
        // the page's document is known, for the plans that name no snapshot.
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(m_browser.widget(), &QWebEngineView::loadFinished, this, [this, once](bool) {
            disconnect(*once);
            QTimer::singleShot(kSettleMs, this, [this] {
                m_browser.snapshotPage([this](const QByteArray& snapshot) {
                    m_doc = QJsonDocument::fromJson(snapshot).object().value(u"doc").toString();
                    m_ok = m_ok && !m_doc.isEmpty();
                    next();
                });
            });
        });
        m_browser.navigate(file);
    }

    double passMedian() const { return median(m_passTimes); }
    double scriptMedian() const { return median(m_scriptTimes); }
    double crossingsMedian() const { return median(m_crossingTimes); }
    // The first and third quartiles of the rounds' own ratios, pass time / script time.
    std::pair<double, double> roundSpread() const
    {
        QList<double> ratios;
        for (qsizetype i = 0; i < std::min(m_passTimes.size(), m_scriptTimes.size()); ++i)
            ratios.append(m_passTimes.at(i) / m_scriptTimes.at(i));
        return {quantile(ratios, 0.25), quantile(ratios, 0.75)};
    }
    bool ok() const { return m_ok; }

private:
    void record(QList<double>& into)
    {
        const double ms = double(m_clock.nsecsElapsed()) / 1e6;
        if (m_step > kContenders) // the first round of each is a warm-up
            into.append(ms);
        QMetaObject::invokeMethod(
            this, [this] { next(); }, Qt::QueuedConnection);
    }

    static constexpr int kContenders = 3;

    void next()
    {
        if (m_step >= kContenders * (m_rounds + 1)) {
            m_done();
            return;
        }
        const int turn = m_step++ % kContenders;
        m_clock.start();
        if (turn == 0) {
            m_passStarted = true;
            m_pass.run();
        } else if (turn == 1) {
            m_browser.widget()->page()->runJavaScript(m_baseline, QWebEngineScript::ApplicationWorld,
                                                      [this](const QVariant&) { record(m_scriptTimes); });
        } else {
            m_browser.widget()->page()->runJavaScript(
                QStringLiteral("0"), QWebEngineScript::ApplicationWorld, [this](const QVariant&) {
                    // The page answers a plan for no snapshot of its own as stale.
                    FillPlan::Plan plan;
                    plan.page = QJsonObject{{QStringLiteral("token"), QStringLiteral("none")},
                                            {QStringLiteral("doc"), m_doc},
                                            {QStringLiteral("writes"), QJsonArray()}};
                    m_browser.applyPlan(plan, [this](const QJsonObject& report) {
                        m_ok = m_ok && report.value(u"status").toString() == u"stale";
                        record(m_crossingTimes);
                    });
                });
        }
    }

    WebEngineBrowser& m_browser;
    FillPass& m_pass;
    QString m_baseline;
    int m_rounds;
    int m_step = 0;
    bool m_passStarted = false;
    bool m_ok = true;
    QElapsedTimer m_clock;
    QList<double> m_passTimes;
    QList<double> m_scriptTimes;
    QList<double> m_crossingTimes;
    QString m_doc;
    std::function<void()> m_done;
};

// Loads `page` and answers with the number of passes over parts of the page that ran in the
// kBusyMs after the load.
void countBusyPasses(WebEngineBrowser& browser, FillPass& pass, const QString& page,
                     std::function<void(int)> done)
{
    auto passes = std::make_shared<int>(0);
    auto counting = std::make_shared<QMetaObject::Connection>();
    *counting = QObject::connect(&pass, &FillPass::finished, &pass, [passes](const FillReport& report) {
        if (report.scope != FillReport::Scope::Page)
            ++*passes;
    });
    auto loaded = std::make_shared<QMetaObject::Connection>();
    *loaded = QObject::connect(browser.widget(), &QWebEngineView::loadFinished, &pass, [=, &pass](bool) {
        QObject::disconnect(*loaded);
        QTimer::singleShot(kBusyMs, &pass, [=] {
            QObject::disconnect(*counting);
            done(*passes);
        });
    });
    browser.navigate(page);
}

} // namespace

int main(int argc, char* argv[])
{
    // Every name below formtide.test is this machine, so that each page can be a site of its own.
    BrowserEngine engine(argc, argv, {},
                         {QStringLiteral("--host-resolver-rules=MAP *.formtide.test 127.0.0.1")});
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100;
    QApplication app(engine.argc(), engine.argv());

    QTemporaryDir dir;
    const QString form = dir.filePath(QStringLiteral("form100.html"));
    const QString large = dir.filePath(QStringLiteral("large.html"));
    const QString busy = dir.filePath(QStringLiteral("busy.html"));
    for (const auto& [path, content] :
         {std::pair{form, hundredFieldForm()}, std::pair{large, largePage()}, std::pair{busy, busyPage()}}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            std::fprintf(stderr, "formtide-fillbench: cannot write %s\n", qPrintable(path));
            return 2;
        }
    }
    QFile script(QStringLiteral(":/formtide/bench/baseline.js"));
    if (!script.open(QIODevice::ReadOnly))
        return 2;

    const Product product{QStringLiteral("Bench"), QStringLiteral("ART"),
                          QStringLiteral("http://example.com/pad.xml"), QStringLiteral("VENDOR-7"),
                          QStringLiteral("PRODUCT-9")};
    WebEngineBrowser browser;
    FillPass pass(browser);
    pass.setProduct(product);
    // As the main window does: a page that began no pass of its own gets one.
    QObject::connect(&browser, &Browser::pageLoaded, &pass, &FillPass::run);
    browser.widget()->resize(1024, 768);
    browser.widget()->show();
    QWebEngineView bare;
    bare.resize(1024, 768);
    bare.show();

    LocalHttpServer server{QString()};
    if (!server.start())
        return 2;
    server.setDelay(QStringLiteral("banner.gif"), kBannerMs);
    // Both views first load a few pages that are not timed, so that neither pays for starting up.
    constexpr int warmUp = 3;
    const auto pagesOf = [&](const QString& kind, bool banner) {
        QStringList pages;
        for (int n = -warmUp; n < rounds; ++n) {
            const QString path = QStringLiteral("%1%2.html").arg(kind).arg(n);
            server.setPage(path, submissionPage(n, banner));
            pages.append(QStringLiteral("http://%1%2.formtide.test:%3/%4")
                             .arg(kind)
                             .arg(n + warmUp)
                             .arg(server.serverPort())
                             .arg(path));
        }
        return pages;
    };
    LoadBench bannerLoad(browser, pass, bare, pagesOf(QStringLiteral("banner"), true), warmUp);
    LoadBench plainLoad(browser, pass, bare, pagesOf(QStringLiteral("plain"), false), warmUp);
    PageBench bench(browser, pass, QString::fromUtf8(script.readAll()), rounds);

    double ratio100 = 0;
    double ratio32k = 0;
    double crossings100 = 0;
    double crossings32k = 0;
    std::pair<double, double> spread100;
    std::pair<double, double> spread32k;
    auto report = [&](const char* label, double& ratio, double& crossings,
                      std::pair<double, double>& spread) {
        ratio = bench.passMedian() / bench.scriptMedian();
        crossings = bench.crossingsMedian() / bench.scriptMedian();
        spread = bench.roundSpread();
        std::printf("%-14s fill pass median %8.2f ms   in-page script median %8.2f ms   four crossings "
                    "alone median %6.2f ms   (%d rounds)\n",
                    label, bench.passMedian(), bench.scriptMedian(), bench.crossingsMedian(), rounds);
    };
    const auto timeLoads = [&](LoadBench& load, const char* label, const char* ratio,
                               std::function<void()> then) {
        load.start([&load, label, ratio, then] {
            std::printf("%-14s load -> filled: program median %7.2f ms   bare view, script on loadFinished "
                        "median %7.2f ms   (%lld pages)\n",
                        label, load.programMedian(), load.bareMedian(), static_cast<long long>(load.pages()));
            std::printf("%s=%.2f\n", ratio, load.programMedian() / load.bareMedian());
            std::fflush(stdout);
            then();
        });
    };
    timeLoads(bannerLoad, "with a banner", "ratio_load", [&] {
        timeLoads(plainLoad, "plain pages", "ratio_load_plain", [&] {
            bench.start(form, [&] {
                report("100 fields", ratio100, crossings100, spread100);
                bench.start(large, [&] {
                    report("32,769 elems", ratio32k, crossings32k, spread32k);
                    std::printf("ratio_100=%.2f ratio_32k=%.2f\n", ratio100, ratio32k);
                    std::printf("crossings_100=%.2f crossings_32k=%.2f\n", crossings100, crossings32k);
                    std::printf("spread_100=%.2f-%.2f spread_32k=%.2f-%.2f\n", spread100.first,
                                spread100.second, spread32k.first, spread32k.second);
                    std::fflush(stdout);
                    countBusyPasses(browser, pass, busy, [&](int passes) {
                        std::printf("busy_passes_per_second=%.1f\n", passes * 1000.0 / kBusyMs);
                        QCoreApplication::exit(bench.ok() && bannerLoad.ok() && plainLoad.ok() ? 0 : 1);
                    });
                });
            });
        });
    });
    return QApplication::exec();
}
