// formtide-fillbench [ROUNDS]
//
// Times the program's fill pass (snapshot, plan and apply, until the page's report is back)
// against a single in-page script that does the same reads and writes (baseline.js), on a
// 100-field form and on a page of 32,769 elements. Both run in the page's isolated world on the
// same loaded page, alternating, after a warm-up round (100 rounds unless ROUNDS says otherwise:
// fewer give medians that move with the machine's load). Build it with CMAKE_BUILD_TYPE=Release for
// figures of the program as it ships; a Debug build's C++ is slower, the page's scripts are not.
// Prints the medians in milliseconds and "ratio_100=X.XX ratio_32k=Y.YY" (pass median / script
// median). Then loads a page that replaces its form field every 0 ms for 10 s, runs the pass the
// program runs on a loaded page, and prints, last, "busy_passes_per_second=Z.Z": the passes that
// the page's changes caused in those 10 s.

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs the rounds on one page, one step at a time from the event loop.
class PageBench final : public QObject {
public:
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
        m_step = 0;
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(m_browser.view(), &QWebEngineView::loadFinished, this, [this, once](bool) {
            disconnect(*once);
            next();
        });
        m_browser.navigate(file);
    }

    double passMedian() const { return median(m_passTimes); }
    double scriptMedian() const { return median(m_scriptTimes); }
    bool ok() const { return m_ok; }

private:
    void record(QList<double>& into)
    {
        const double ms = double(m_clock.nsecsElapsed()) / 1e6;
        if (m_step > 2) // the first round of each is a warm-up
            into.append(ms);
        QMetaObject::invokeMethod(
            this, [this] { next(); }, Qt::QueuedConnection);
    }

    void next()
    {
        if (m_step >= 2 * (m_rounds + 1)) {
            m_done();
            return;
        }
        const bool passTurn = m_step++ % 2 == 0;
        m_clock.start();
        if (passTurn) {
            m_passStarted = true;
            m_pass.run();
        } else {
            m_browser.view()->page()->runJavaScript(m_baseline, QWebEngineScript::ApplicationWorld,
                                                    [this](const QVariant&) { record(m_scriptTimes); });
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
    std::function<void()> m_done;
};

// Loads `page`, runs the pass the program runs on a loaded page, and answers with the number of
// passes over parts of the page that ran in the kBusyMs after the load.
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
    *loaded = QObject::connect(browser.view(), &QWebEngineView::loadFinished, &pass, [=, &pass](bool) {
        QObject::disconnect(*loaded);
        pass.run();
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100;

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
    browser.view()->resize(1024, 768);
    browser.view()->show();
    PageBench bench(browser, pass, QString::fromUtf8(script.readAll()), rounds);

    double ratio100 = 0;
    double ratio32k = 0;
    auto report = [&](const char* label, double& ratio) {
        ratio = bench.passMedian() / bench.scriptMedian();
        std::printf("%-14s fill pass median %8.2f ms   in-page script median %8.2f ms   (%d rounds)\n", label,
                    bench.passMedian(), bench.scriptMedian(), rounds);
    };
    bench.start(form, [&] {
        report("100 fields", ratio100);
        bench.start(large, [&] {
            report("32,769 elems", ratio32k);
            std::printf("ratio_100=%.2f ratio_32k=%.2f\n", ratio100, ratio32k);
            std::fflush(stdout);
            countBusyPasses(browser, pass, busy, [&](int passes) {
                std::printf("busy_passes_per_second=%.1f\n", passes * 1000.0 / kBusyMs);
                QCoreApplication::exit(bench.ok() ? 0 : 1);
            });
        });
    });
    return QApplication::exec();
}
