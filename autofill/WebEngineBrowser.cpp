#include "autofill/WebEngineBrowser.h"

#include "autofill/BrowserProfile.h"
#include "autofill/LoadEventHold.h"
#include "autofill/PageBridge.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// Opens no window by itself: a page's request for one reaches QWebEnginePage::newWindowRequested,
// whose handler opens it or not, and is dropped when nobody opened it there.
class SingleWindowPage final : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// qwebchannel.js followed by the page model, run in the isolated world of every top-level
// document as it is created, so that the channel is open by the time its DOM is parsed.
QWebEngineScript pageModelScript()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("formtide-page-model"));
    script.setSourceCode(resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + u'\n' +
                         resourceText(QStringLiteral(":/formtide/autofill/page.js")));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

const QString kSnapshotCall = QStringLiteral("formtideFill.snapshot()");
const QString kFieldsCall = QStringLiteral("formtideFill.fields()");
// True when the page model runs in the shown document: its load pass has then begun, now at the
// latest.
const QString kLoadedCall = QStringLiteral("typeof formtideFill === 'object' && formtideFill.loaded()");

} // namespace

WebEngineBrowser::WebEngineBrowser(const QString& storageFolder, QObject* parent)
    : Browser(parent), m_view(new QWebEngineView), m_bridge(new PageBridge(this))
{
    QWebEnginePage* page = nullptr;
    if (storageFolder.isEmpty()) {
        page = new SingleWindowPage(m_view);
    } else {
        QWebEngineProfile* profile = BrowserProfile::make(storageFolder);
        page = new SingleWindowPage(profile, m_view);
        // The page must go before its profile: as the page's child, the profile is deleted after it.
        profile->setParent(page);
    }
    setUpPage(page);
}

WebEngineBrowser::WebEngineBrowser(QWebEngineProfile& profile, QObject* parent)
    : Browser(parent), m_view(new QWebEngineView), m_bridge(new PageBridge(this))
{
    setUpPage(new SingleWindowPage(&profile, m_view));
}

void WebEngineBrowser::setUpPage(QWebEnginePage* page)
{
    m_view->setPage(page);
    LoadEventHold::installOn(*page->profile());
    page->scripts().insert(pageModelScript());
    auto* channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("formtideBridge"), m_bridge);
    page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);

    connect(m_bridge, &PageBridge::reported, this, &WebEngineBrowser::reported);
    connect(m_bridge, &PageBridge::offered, this, &WebEngineBrowser::offered);
    connect(m_bridge, &PageBridge::formSubmitted, this, &Browser::filledFormSubmitted);
    connect(m_view, &QWebEngineView::loadStarted, this, &WebEngineBrowser::supersedePageCalls);
    connect(m_view, &QWebEngineView::loadProgress, this,
            [this](int progress) { Q_EMIT loadProgress(progress, 100); });
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::loadFinished);
}

WebEngineBrowser::~WebEngineBrowser()
{
    *m_alive = false;
    // The window that took the view normally owns it; delete it only if nobody took it.
    if (m_view && !m_view->parent())
        delete m_view;
}

WebEngineBrowser::Target WebEngineBrowser::targetFor(const QString& address)
{
    const QFileInfo file(address);
    if (file.isAbsolute() && file.exists())
        return {QUrl::fromLocalFile(file.absoluteFilePath()), {}};
    // A whole address is taken as written; QUrl::fromUserInput() would make a broken one into
    // some other address.
    if (address.contains(u"://")) {
        const QUrl url(address, QUrl::TolerantMode);
        if (url.isValid() && (!url.host().isEmpty() || url.isLocalFile()))
            return {url, {}};
        const QString problem = url.errorString().section(u';', 0, 0);
        return {{}, problem.isEmpty() ? tr("It names no host.") : problem};
    }
    const QUrl url = QUrl::fromUserInput(address);
    if (url.isValid())
        return {url, {}};
    return {{}, tr("It is neither a web address nor the path of a file.")};
}

QString WebEngineBrowser::unusableAddressPage(const QString& address, const QString& problem)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body><h1>%1</h1><p><code>%2</code></p><p>%3</p></body></html>")
        .arg(tr("This address cannot be opened").toHtmlEscaped(), address.toHtmlEscaped(),
             problem.toHtmlEscaped());
}

void WebEngineBrowser::navigate(const QString& address)
{
    if (address.isEmpty() || !m_view)
        return;
    const Target target = targetFor(address);
    if (target.url.isValid())
        m_view->load(target.url);
    else
        m_view->setHtml(unusableAddressPage(address, target.problem));
}

QWebEngineView* WebEngineBrowser::widget()
{
    return m_view;
}

void WebEngineBrowser::callPageModel(const QString& call, std::function<void(const QVariant&)> answer)
{
    auto whileAlive = [alive = m_alive, answer = std::move(answer)](const QVariant& result) {
        if (*alive)
            answer(result);
    };
    if (m_view)
        m_view->page()->runJavaScript(call, QWebEngineScript::ApplicationWorld, std::move(whileAlive));
    else
        QTimer::singleShot(0, this, [whileAlive = std::move(whileAlive)] { whileAlive(QVariant()); });
}

void WebEngineBrowser::snapshotPage(std::function<void(const QByteArray&)> done)
{
    const quint64 id = ++m_lastSnapshot;
    m_snapshots.insert(id, std::move(done));
    callPageModel(kSnapshotCall, [this, id](const QVariant& result) {
        const auto done = m_snapshots.take(id);
        if (done) // a script that failed gives no string: empty
            done(m_historyFills.recognise(result.toString().toUtf8(), [this] { return historyEntry(); }));
    });
}

void WebEngineBrowser::applyPlan(const FillPlan::Plan& plan, std::function<void(const QJsonObject&)> done)
{
    m_applies.insert(plan.page.value(u"token").toString(), {plan, std::move(done)});
    m_bridge->deliver(plan.page.value(u"doc").toString(),
                      QString::fromUtf8(QJsonDocument(plan.page).toJson(QJsonDocument::Compact)));
}

void WebEngineBrowser::readFields(std::function<void(const std::optional<QJsonArray>&)> done)
{
    callPageModel(kFieldsCall, [done = std::move(done)](const QVariant& result) {
        const QJsonDocument rows = QJsonDocument::fromJson(result.toString().toUtf8());
        done(rows.isArray() ? std::optional(rows.array()) : std::nullopt);
    });
}

void WebEngineBrowser::reported(const QByteArray& report)
{
    const QJsonObject object = QJsonDocument::fromJson(report).object();
    const Apply apply = m_applies.take(object.value(u"token").toString());
    m_historyFills.remember(historyEntry(), FillPlan::writtenTexts(object, apply.plan));
    if (apply.done)
        apply.done(object);
}

void WebEngineBrowser::offered(const QByteArray& snapshot)
{
    Q_EMIT snapshotOffered(m_historyFills.recognise(snapshot, [this] { return historyEntry(); }));
}

QString WebEngineBrowser::historyEntry() const
{
    if (!m_view)
        return {};
    const QWebEngineHistory* history = m_view->history();
    return QString::number(history->currentItemIndex()) + u' ' + history->currentItem().url().toString();
}

void WebEngineBrowser::loadFinished()
{
    callPageModel(kLoadedCall, [this](const QVariant& modelRuns) {
        if (!modelRuns.toBool())
            Q_EMIT pageLoaded();
    });
}

void WebEngineBrowser::supersedePageCalls()
{
    m_bridge->forgetHeld();
    const auto snapshots = std::exchange(m_snapshots, {});
    const auto applies = std::exchange(m_applies, {});
    for (const auto& done : snapshots)
        done({});
    const QJsonObject superseded{{QStringLiteral("status"), QStringLiteral("superseded")}};
    for (const Apply& apply : applies)
        apply.done(superseded);
}
