// formtide-fill [--product FILE] [--settle MS] PAGE
//
// Loads PAGE headless in the program's browser setup, makes FILE the active product (without
// --product no product is chosen, as at start-up, and every field stays as the page has it): a
// product profile file, with the PAD file kept beside it when there is one ("Zipper.xml" beside
// "Zipper.txt"), or a PAD file, which gives the profile the product information editor would save
// from it and every other fact it holds. Waits for the load and for the fill pass that the program runs on a
// completed page, then prints one JSON object per line for every INPUT, TEXTAREA and SELECT
// element, the top-level document's first and then each same-origin frame's, each in document order:
//   {"frame":0,"tag":"input","type":"text","name":"pad_url","value":"http://..."}
//   {"frame":1,"tag":"select","type":"","name":"category","selected":[2]}
// With --settle MS it prints only once no pass (a frame's new document, fields added later) has
// begun or ended for MS milliseconds, or kSettleLimitMs after the first pass at the latest.
// Exit status 0; a bad argument, an unreadable profile or a page that cannot be loaded or filled
// gives 2 and one line on standard error.

#include "autofill/BrowserEngine.h"
#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "core/Result.h"
#include "products/PadCopy.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"
#include "ui/ProductText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int kFailure = 2;
constexpr int kLoadLimitMs = 60000;
constexpr int kSettleLimitMs = 30000;

void printError(const QString& message)
{
    std::fprintf(stderr, "formtide-fill: %s\n", message.toLocal8Bit().constData());
}

// What the command line asks for.
struct Options {
    QUrl page;
    std::optional<ProductFacts> product;
    int settleMs = -1; // -1: print right after the first pass over the whole page
};

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

// The product in the profile or PAD file at `path`, or the line that says why there is none.
Result<ProductFacts, QString> readProduct(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read profile %1: %2").arg(file.fileName(), file.errorString());
    const QByteArray content = file.read(PadFile::maxSize + 1);
    const QFileInfo info(file);
    if (!looksLikeXml(content)) {
        Result<Product, QString> profile = ProductProfiles::parse(content);
        if (!profile)
            return profile.problem();
        const QFileInfo kept(info.dir(), info.completeBaseName() + AppFolder::padCopySuffix());
        if (!kept.isFile())
            return ProductFacts{std::move(profile).value()};
        const Result<PadCopy, PadFile::Problem> copy =
            PadCopy::readFile(kept.filePath(), kept.lastModified());
        if (!copy)
            return ProductText::describe(copy.problem(), kept.fileName());
        return ProductFacts{std::move(profile).value(), copy->values, copy->taken};
    }
    const Result<PadCopy, PadFile::Problem> copy = PadCopy::take(content, info.lastModified());
    if (!copy)
        return ProductText::describe(copy.problem(), info.fileName());
    // A copy that PadCopy took holds values a profile can store.
    const PadFile::Values values = PadFile::profileValues(copy->values).valueOr({});
    return ProductFacts{PadFile::newProfile(values), copy->values, copy->taken};
}

// The options that `arguments` give, or the line that says why they cannot be used; the first
// problem found, in the order the arguments are checked. Shows the help and ends the program
// for --help.
Result<Options, QString> parseOptions(const QStringList& arguments)
{
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
        QStringLiteral("Profile file (five quoted lines; the PAD file kept beside it, NAME.xml, is "
                       "used too), or the product's PAD file, to fill from; without it no product is "
                       "chosen, as at start-up, and every field stays as the page has it."),
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

    if (!parser.parse(arguments))
        return parser.errorText();
    if (parser.isSet(help))
        parser.showHelp(0);
    const QStringList pages = parser.positionalArguments();
    if (pages.size() != 1)
        return QStringLiteral("expected exactly one PAGE (see --help)");
    Options options;
    bool settleValid = true;
    if (parser.isSet(settle))
        options.settleMs = parser.value(settle).toInt(&settleValid);
    if (!settleValid || (parser.isSet(settle) && options.settleMs < 0))
        return QStringLiteral("--settle takes a number of milliseconds: %1").arg(parser.value(settle));
    const std::optional<QUrl> url = pageUrl(pages.first());
    if (!url)
        return QStringLiteral("not a file path or an http, https or file URL: %1").arg(pages.first());
    options.page = *url;
    if (parser.isSet(product)) {
        Result<ProductFacts, QString> read = readProduct(parser.value(product));
        if (!read)
            return read.problem();
        options.product = std::move(read).value();
    }
    return options;
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

// Loads the page, waits for the first pass over the whole page (its own load pass, or one run
// here for a page that did not begin one) and for the end of the load, which may come in either
// order, then, with a settle time, for the passes over parts to stop; prints the fields and ends
// the event loop with the exit status.
class FillRunner final : public QObject {
public:
    explicit FillRunner(Options options) : m_options(std::move(options))
    {
        m_pass.setProduct(m_options.product);
        m_browser.widget()->resize(1024, 768);
        m_browser.widget()->show();
        for (QTimer* timer : {&m_loadLimit, &m_quiet, &m_settleLimit})
            timer->setSingleShot(true);
        connect(&m_loadLimit, &QTimer::timeout, this, [this] {
            fail(m_loaded ? QStringLiteral("the page did not answer the fill pass")
                          : QStringLiteral("the page did not finish loading"));
        });
        connect(&m_quiet, &QTimer::timeout, this, &FillRunner::printFields);
        connect(&m_settleLimit, &QTimer::timeout, this, &FillRunner::printFields);
        connect(&m_browser, &Browser::pageLoaded, this, [this] {
            putPrintOff();
            m_pass.run();
        });
        connect(&m_browser, &Browser::snapshotOffered, this, &FillRunner::putPrintOff);
        connect(m_browser.widget(), &QWebEngineView::loadFinished, this, &FillRunner::loadFinished);
        connect(&m_pass, &FillPass::finished, this, &FillRunner::passFinished);
    }

    void start()
    {
        m_loadLimit.start(kLoadLimitMs);
        m_browser.navigate(m_options.page.toString());
    }

private:
    void loadFinished(bool ok)
    {
        if (m_loaded)
            return;
        m_loaded = true;
        if (!ok) {
            m_loadLimit.stop();
            fail(QStringLiteral("cannot load %1").arg(m_options.page.toDisplayString()));
            return;
        }
        loadedAndFilled();
    }

    void passFinished(const FillReport& report)
    {
        if (m_firstPass) {
            putPrintOff();
            return;
        }
        // A part of the page filled before the page itself, or a pass that a newer one replaced (the
        // page changed before it completed, or went on to another page).
        if (report.scope != FillReport::Scope::Page || report.status == FillReport::Status::Superseded)
            return;
        m_firstPass = report;
        loadedAndFilled();
    }

    void loadedAndFilled()
    {
        if (!m_loaded || !m_firstPass)
            return;
        m_loadLimit.stop();
        if (m_firstPass->status != FillReport::Status::Applied &&
            m_firstPass->status != FillReport::Status::NoProduct) {
            fail(m_firstPass->status == FillReport::Status::TimedOut
                     ? QStringLiteral("the page did not answer the fill pass")
                     : QStringLiteral("the page could not be filled"));
            return;
        }
        if (m_options.settleMs < 0) {
            printFields();
            return;
        }
        m_quiet.start(m_options.settleMs);
        m_settleLimit.start(kSettleLimitMs);
    }

    // While the page settles, a pass that begins or ends puts the print off by the settle time.
    void putPrintOff()
    {
        if (m_settleLimit.isActive())
            m_quiet.start(m_options.settleMs);
    }

    void printFields()
    {
        m_quiet.stop();
        m_settleLimit.stop();
        m_browser.readFields([](const std::optional<QJsonArray>& rows) {
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
    }

    static void fail(const QString& message)
    {
        printError(message);
        QCoreApplication::exit(kFailure);
    }

    Options m_options;
    WebEngineBrowser m_browser;
    FillPass m_pass{m_browser};
    bool m_loaded = false;
    std::optional<FillReport> m_firstPass;
    QTimer m_loadLimit;
    QTimer m_quiet;
    QTimer m_settleLimit;
};

} // namespace

int main(int argc, char* argv[])
{
    BrowserEngine engine(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries this tool's own failure line, not Qt's or the page's messages.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(engine.argc(), engine.argv());
    QApplication::setApplicationName(QStringLiteral("formtide-fill"));

    Result<Options, QString> parsed = parseOptions(engine.programArguments());
    if (!parsed) {
        printError(parsed.problem());
        return kFailure;
    }
    FillRunner runner(std::move(parsed).value());
    runner.start();
    return QApplication::exec();
}
