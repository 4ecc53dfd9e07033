// formtide-fill [--product FILE] [--settle MS] PAGE
//
// Loads PAGE headless in the program's browser setup, makes FILE the active product (without
// --product no product is chosen, as at start-up, and every field stays as the page has it): a
// product profile file, or a PAD file, which gives the profile the product information editor
// would save from it. Waits for the load and for the fill pass that the program runs on a
// completed page, then prints one JSON object per
// line for every INPUT, TEXTAREA and SELECT element, the top-level document's first and then each
// filled frame's, each in document order:
//   {"frame":0,"tag":"input","type":"text","name":"pad_url","value":"http://..."}
//   {"frame":1,"tag":"select","type":"","name":"category","selected":[2]}
// With --settle MS it prints only once no pass (a frame's new document, fields added later) has
// run for MS milliseconds, or kSettleLimitMs after the first pass at the latest.
// Exit status 0; a bad argument, an unreadable profile or a page that cannot be loaded or filled
// gives 2 and one line on standard error.

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <cstdio>
#include <unistd.h>

namespace {

// A profile file starts with a quote; a PAD file is XML: after an optional byte-order mark and
// white space comes '<' (in UTF-16, next to a zero byte).
bool looksLikeXml(QByteArrayView content)
{
    if (content.startsWith("\xEF\xBB\xBF"))
        content = content.sliced(3);
    qsizetype i = 0;
    while (i < content.size() && QByteArrayView(" \t\r\n").contains(content[i]))
        ++i;
    content = content.sliced(i);
    return content.startsWith("<") || content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF") ||
           content.startsWith(QByteArrayView("\0<", 2));
}

constexpr int kFailure = 2;
constexpr int kLoadLimitMs = 60000;
constexpr int kSettleLimitMs = 30000;

void printError(const QString& message)
{
    std::fprintf(stderr, "formtide-fill: %s\n", message.toLocal8Bit().constData());
}

QByteArray jsonText(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// One output line from a row of Browser::readFields(); keys in a fixed order.
QByteArray outputLine(const QJsonArray& row)
{
    const bool isList = row.at(4).isArray();
    return "{\"frame\":" + jsonText(row.at(0)) + ",\"tag\":" + jsonText(row.at(1)) +
           ",\"type\":" + jsonText(row.at(2)) + ",\"name\":" + jsonText(row.at(3)) +
           (isList ? ",\"selected\":" : ",\"value\":") + jsonText(row.at(4)) + "}\n";
}

// A local path, or an http, https or file URL; anything else is refused.
std::optional<QUrl> pageUrl(const QString& page)
{
    const QUrl url(page, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"file"))
        return url;
    if (scheme.size() > 1 || page.isEmpty())
        return std::nullopt; // another scheme (a one-letter one is a drive letter)
    return QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath());
}

// Chromium refuses to start its sandbox as root and aborts with a page of its own log; say what
// to set instead.
bool sandboxCannotStart()
{
    const bool sandboxOff = qEnvironmentVariable("QTWEBENGINE_DISABLE_SANDBOX") == u"1" ||
                            qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(u"--no-sandbox");
    return ::geteuid() == 0 && !sandboxOff;
}

} // namespace

int main(int argc, char* argv[])
{
    if (sandboxCannotStart()) {
        printError(QStringLiteral(
            "running as root needs Chromium's sandbox off: set QTWEBENGINE_DISABLE_SANDBOX=1"));
        return kFailure;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Standard error carries this tool's own failure line, not Qt's or the page's messages.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("formtide-fill"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Loads PAGE headless, fills it from a product profile the way Formtide fills every page that\n"
        "finishes loading, and prints each form field (input, textarea, select) as one JSON object per\n"
        "line: frame, tag, type, name, then value or selected. It prints right after the pass that runs\n"
        "on the loaded page, or with --settle once the page has settled. Exit status 0; 2 on a bad\n"
        "argument, an unreadable profile or a page that cannot be loaded."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption product(
        QStringLiteral("product"),
        QStringLiteral("Profile file (five quoted lines), or the product's PAD file, to fill from; "
                       "without it no product is chosen, as at start-up, and every field stays as "
                       "the page has it."),
        QStringLiteral("FILE"));
    parser.addOption(product);
    const QCommandLineOption settle(
        QStringLiteral("settle"),
        QStringLiteral("After the first pass, keep the page open until no pass (over a frame's new "
                       "document, or over fields the page added later) has run for MS milliseconds, "
                       "at most %1 s, then print.")
            .arg(kSettleLimitMs / 1000),
        QStringLiteral("MS"));
    parser.addOption(settle);
    parser.addPositionalArgument(QStringLiteral("PAGE"),
                                 QStringLiteral("Local file path, or http, https or file URL."));

    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        return kFailure;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    const QStringList pages = parser.positionalArguments();
    if (pages.size() != 1) {
        printError(QStringLiteral("expected exactly one PAGE (see --help)"));
        return kFailure;
    }
    bool settleValid = true;
    const int settleMs = parser.isSet(settle) ? parser.value(settle).toInt(&settleValid) : -1;
    if (!settleValid || (parser.isSet(settle) && settleMs < 0)) {
        printError(QStringLiteral("--settle takes a number of milliseconds: %1").arg(parser.value(settle)));
        return kFailure;
    }
    const std::optional<QUrl> url = pageUrl(pages.first());
    if (!url) {
        printError(QStringLiteral("not a file path or an http, https or file URL: %1").arg(pages.first()));
        return kFailure;
    }
    std::optional<Product> activeProduct;
    if (parser.isSet(product)) {
        QFile file(parser.value(product));
        if (!file.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("cannot read profile %1: %2").arg(file.fileName(), file.errorString()));
            return kFailure;
        }
        const QByteArray content = file.read(PadFile::maxSize + 1);
        if (looksLikeXml(content)) {
            const PadFile::Result pad = PadFile::read(content, QFileInfo(file.fileName()).fileName());
            if (!pad.ok()) {
                printError(pad.problem);
                return kFailure;
            }
            activeProduct = PadFile::newProfile(pad.values);
        } else {
            activeProduct = ProductProfiles::parse(content);
        }
    }

    WebEngineBrowser browser;
    FillPass pass(browser);
    pass.setProduct(activeProduct);
    QWebEngineView* view = browser.view();
    view->resize(1024, 768);
    view->show();

    auto fail = [](const QString& message) {
        printError(message);
        QCoreApplication::exit(kFailure);
    };
    // The first pass over the whole page (its own load pass, or one run here for a page that did
    // not begin one) and the end of the load may come in either order; both are awaited.
    bool loaded = false;
    std::optional<FillReport> firstPass;
    QTimer loadLimit;
    loadLimit.setSingleShot(true);
    QObject::connect(&loadLimit, &QTimer::timeout, &app, [&] {
        fail(loaded ? QStringLiteral("the page did not answer the fill pass")
                    : QStringLiteral("the page did not finish loading"));
    });
    QObject::connect(&browser, &Browser::pageLoaded, &pass, &FillPass::run);

    QTimer quiet;
    QTimer settleLimit;
    auto printFields = [&] {
        quiet.stop();
        settleLimit.stop();
        browser.readFields([&](const std::optional<QJsonArray>& rows) {
            if (!rows) {
                fail(QStringLiteral("the page's fields could not be read"));
                return;
            }
            QByteArray out;
            for (const QJsonValue& row : *rows)
                out += outputLine(row.toArray());
            std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    };
    // Settling: restarted by every pass that ends; when it runs out while a pass is under way,
    // that pass's end restarts it.
    quiet.setSingleShot(true);
    settleLimit.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &app, [&] {
        if (!pass.isRunning())
            printFields();
    });
    QObject::connect(&settleLimit, &QTimer::timeout, &app, printFields);

    auto loadedAndFilled = [&] {
        if (!loaded || !firstPass)
            return;
        loadLimit.stop();
        if (firstPass->status != FillReport::Status::Applied &&
            firstPass->status != FillReport::Status::NoProduct) {
            fail(firstPass->status == FillReport::Status::TimedOut
                     ? QStringLiteral("the page did not answer the fill pass")
                     : QStringLiteral("the page could not be filled"));
            return;
        }
        if (settleMs < 0) {
            printFields();
            return;
        }
        quiet.start(settleMs);
        settleLimit.start(kSettleLimitMs);
    };
    QObject::connect(view, &QWebEngineView::loadFinished, &app, [&](bool ok) {
        if (loaded)
            return;
        loaded = true;
        if (!ok) {
            loadLimit.stop();
            fail(QStringLiteral("cannot load %1").arg(url->toDisplayString()));
            return;
        }
        loadedAndFilled();
    });
    QObject::connect(&pass, &FillPass::finished, &app, [&](const FillReport& report) {
        if (firstPass) {
            if (settleLimit.isActive())
                quiet.start(settleMs);
            return;
        }
        // A part of the page filled before the page itself, or a pass that a newer one replaced (the
        // page changed before it completed, or went on to another page).
        if (report.scope != FillReport::Scope::Page || report.status == FillReport::Status::Superseded)
            return;
        firstPass = report;
        loadedAndFilled();
    });

    loadLimit.start(kLoadLimitMs);
    browser.navigate(url->toString());
    return QApplication::exec();
}
