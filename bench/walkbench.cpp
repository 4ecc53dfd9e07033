// formtide-walkbench [PAGES]
//
// Times what the author waits for in the real program: the main window, shown, walks local
// submission pages with "Next", each on a site of its own (served from 127.0.0.1), filling them
// from a product. Every page times its pad_url field from its own load event: it looks at the
// field then and every 20 ms after, and notes when it first holds text. A bare QWebEngineView walks
// the same pages in the same run, page by page, alternating, writing that one field with one script
// once Qt says loadFinished. Two kinds of page: small ones (a few fields, nothing to load) and
// ones with 1,500 inputs; PAGES of each (20 unless told), after 3 that are not counted.
// Prints, for each kind, both medians in milliseconds and "ratio_walk_small=R.RR" or
// "ratio_walk_large=R.RR" (program median / bare median).
//
// Run it where the window can be shown for real, e.g. `xvfb-run -a formtide-walkbench`; without a
// display it uses the offscreen platform.

#include "autofill/BrowserEngine.h"
#include "autofill/WebEngineBrowser.h"
#include "bench/Median.h"
#include "core/AppFolders.h"
#include "products/ProductProfiles.h"
#include "sites/SiteDirectory.h"
#include "tests/LocalHttpServer.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kWarmUp = 3;
constexpr int kGiveUpMs = 10000;

// A submission page with `inputs` more inputs after the timed one. Its own script notes in
// window.filledAfter the milliseconds from its load event to the first look that finds pad_url
// holding text.
QByteArray submissionPage(int n, int inputs)
{
    QByteArray html =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Submit #" + QByteArray::number(n) +
        "</title><script>"
        "addEventListener('load', () => {"
        "  const loadAt = performance.now();"
        "  const look = () => {"
        "    if (document.forms[0].pad_url.value === '') return false;"
        "    window.filledAfter = performance.now() - loadAt; return true; };"
        "  if (!look()) { const timer = setInterval(() => { if (look()) clearInterval(timer); }, 20); }"
        "});"
        "</script></head><body><h1>Submit your software</h1><form method=\"post\">"
        "<p><label>PAD file <input name=\"pad_url\"></label></p>";
    for (const char* name : {"program_name", "homepage_url", "email"})
        html += "<p><label>" + QByteArray(name) + " <input name=\"" + name + "\"></label></p>";
    for (int i = 0; i < inputs; ++i) {
        const QByteArray k = QByteArray::number(i);
        html += "<p><label>Field " + k + " <input name=\"field_" + k + "\"></label></p>";
    }
    html += "<select name=\"category\"><option>Games</option><option>Screen Savers: Art</option></select>"
            "<textarea name=\"description\"></textarea><input type=\"submit\" value=\"Send\"></form>";
    return html + "</body></html>";
}

// Walks `pages` in the window with "Next", and each one in the bare view after it, noting the
// page's own times.
class WalkBench final : public QObject {
public:
    WalkBench(QPushButton& next, QWebEngineView& program, QWebEngineView& bare, QStringList pages)
        : m_next(next), m_program(program), m_bare(bare), m_pages(std::move(pages))
    {
        connect(&m_program, &QWebEngineView::loadFinished, this, [this](bool) {
            // Another load finishing (the help page shown at start) is not the page walked to.
            if (m_programLoading && m_program.url() == QUrl(m_pages.at(m_at))) {
                m_programLoading = false;
                readTime(m_program, m_programTimes, [this] { bareTurn(); });
            }
        });
        connect(&m_bare, &QWebEngineView::loadFinished, this, [this](bool) {
            if (!std::exchange(m_bareLoading, false))
                return;
            m_bare.page()->runJavaScript(
                QStringLiteral("(() => { const f = document.querySelector('[name=pad_url]');"
                               "f.value = 'http://example.com/pad.xml';"
                               "f.dispatchEvent(new Event('input', {bubbles: true})); })()"),
                QWebEngineScript::MainWorld, [this](const QVariant&) {
                    readTime(m_bare, m_bareTimes, [this] {
                        ++m_at;
                        programTurn();
                    });
                });
        });
    }

    void start(std::function<void()> done)
    {
        m_done = std::move(done);
        programTurn();
    }
    double programMedian() const { return median(m_programTimes.mid(kWarmUp)); }
    double bareMedian() const { return median(m_bareTimes.mid(kWarmUp)); }
    qsizetype counted() const { return std::max<qsizetype>(0, m_programTimes.size() - kWarmUp); }
    bool ok() const { return m_ok; }

private:
    void programTurn()
    {
        if (m_at >= m_pages.size()) {
            m_done();
            return;
        }
        m_programLoading = true;
        m_next.click();
    }

    void bareTurn()
    {
        m_bareLoading = true;
        m_bare.load(QUrl(m_pages.at(m_at)));
    }

    // Asks the page for its time until it has one, or gives up after kGiveUpMs.
    void readTime(QWebEngineView& view, QList<double>& into, std::function<void()> then)
    {
        QElapsedTimer waiting;
        waiting.start();
        auto ask = std::make_shared<std::function<void()>>();
        *ask = [this, &view, &into, then = std::move(then), waiting, ask = std::weak_ptr(ask)] {
            view.page()->runJavaScript(QStringLiteral("window.filledAfter"), QWebEngineScript::MainWorld,
                                       [this, &into, then, waiting, again = ask.lock()](const QVariant& ms) {
                                           bool isNumber = false;
                                           const double value = ms.toDouble(&isNumber);
                                           if (ms.isValid() && isNumber) {
                                               into.append(value);
                                               then();
                                           } else if (waiting.hasExpired(kGiveUpMs)) {
                                               m_ok = false;
                                               then();
                                           } else {
                                               QTimer::singleShot(5, this, [again] { (*again)(); });
                                           }
                                       });
        };
        (*ask)();
    }

    QPushButton& m_next;
    QWebEngineView& m_program;
    QWebEngineView& m_bare;
    QStringList m_pages;
    qsizetype m_at = 0;
    bool m_programLoading = false;
    bool m_bareLoading = false;
    bool m_ok = true;
    QList<double> m_programTimes;
    QList<double> m_bareTimes;
    std::function<void()> m_done;
};

// Marks for every built-in site, so that "Next" with "Skip done sites" goes to the local pages.
QByteArray builtInSitesDone()
{
    QByteArray marks;
    for (const QString& name : SiteDirectory::builtInSiteNames())
        marks += "2026-01-01 " + name.toUtf8() + "\r\n";
    return marks;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

int main(int argc, char* argv[])
{
    // Every name below formtide.test is this machine, so that each page can be a site of its own.
    BrowserEngine engine(argc, argv, {},
                         {QStringLiteral("--host-resolver-rules=MAP *.formtide.test 127.0.0.1")});
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int count = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 20;
    QApplication app(engine.argc(), engine.argv());

    LocalHttpServer server{QString()};
    QTemporaryDir data;
    if (!server.start() || !data.isValid())
        return 2;
    QStringList small;
    QStringList large;
    QByteArray links;
    for (const auto& [kind, inputs, pages] :
         {std::tuple{"small", 0, &small}, std::tuple{"large", 1500, &large}}) {
        for (int n = 0; n < count + kWarmUp; ++n) {
            const QString path = QStringLiteral("%1%2.html").arg(QLatin1String(kind)).arg(n);
            server.setPage(path, submissionPage(n, inputs));
            pages->append(QStringLiteral("http://%1%2.formtide.test:%3/%4")
                              .arg(QLatin1String(kind))
                              .arg(n)
                              .arg(server.serverPort())
                              .arg(path));
            links += pages->last().toUtf8() + "\r\n";
        }
    }
    const Product product{QStringLiteral("Bench"), QStringLiteral("ART"),
                          QStringLiteral("http://example.com/pad.xml"), QStringLiteral("VENDOR-7"),
                          QStringLiteral("PRODUCT-9")};
    if (!writeFile(data.filePath(QStringLiteral("formtidehelp.html")),
                   "<!DOCTYPE html><title>Help</title>") ||
        !writeFile(data.filePath(QStringLiteral("addedlinks.txt")), links) ||
        !writeFile(data.filePath(QStringLiteral("lastproduct.txt")), "Bench\r\n") ||
        !QDir(data.path()).mkpath(QStringLiteral("Progress")) ||
        !writeFile(data.filePath(QStringLiteral("Progress/Bench.txt")), builtInSitesDone()) ||
        !ProductProfiles::save(data.path(), product).ok()) {
        std::fprintf(stderr, "formtide-walkbench: cannot write the data folder\n");
        return 2;
    }

    auto browser = std::make_unique<WebEngineBrowser>();
    QWebEngineView& view = *browser->widget();
    MainWindow window(AppFolders::portable(data.path()), std::move(browser));
    window.show();
    QWebEngineView bare;
    bare.resize(800, 600);
    bare.show();
    auto* skipDone = window.findChild<QAction*>(QStringLiteral("skipDoneAction"));
    QPushButton* next = nullptr;
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == QCoreApplication::translate("MainWindow", "Next"))
            next = button;
    }
    if (skipDone == nullptr || next == nullptr) {
        std::fprintf(stderr, "formtide-walkbench: the window has no \"Next\" or no \"Skip done sites\"\n");
        return 2;
    }
    skipDone->setChecked(true);
    WalkBench smallWalk(*next, view, bare, small);
    WalkBench largeWalk(*next, view, bare, large);
    const auto report = [](const WalkBench& walk, const char* label, const char* ratio) {
        std::printf("%-14s load -> filled, looked at every 20 ms: program median %7.2f ms   bare view, "
                    "script on loadFinished median %7.2f ms   (%lld pages)\n",
                    label, walk.programMedian(), walk.bareMedian(), static_cast<long long>(walk.counted()));
        std::printf("%s=%.2f\n", ratio,
                    walk.bareMedian() > 0 ? walk.programMedian() / walk.bareMedian() : 0.0);
        std::fflush(stdout);
    };
    // The help page the window opens with is left to load whole first.
    QTimer::singleShot(1500, &window, [&] {
        smallWalk.start([&] {
            report(smallWalk, "small pages", "ratio_walk_small");
            largeWalk.start([&] {
                report(largeWalk, "1,500 inputs", "ratio_walk_large");
                QCoreApplication::exit(smallWalk.ok() && largeWalk.ok() ? 0 : 1);
            });
        });
    });
    return QApplication::exec();
}
