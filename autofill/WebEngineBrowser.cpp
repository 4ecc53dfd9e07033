#include "autofill/WebEngineBrowser.h"

#include "autofill/PageBridge.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <optional>

namespace {

// Refuses every request for a new window: the program's browser shows one page at a time.
class SingleWindowPage final : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

// A profile that keeps cookies and site storage in `storageFolder` and nowhere else.
QWebEngineProfile* persistentProfile(const QString& storageFolder)
{
    // Qt WebEngine first sets a disk profile up below the user's data folder, and leaves a settings
    // file there, before it can be moved. While it is made, that folder points into the profile's
    // own; the engine is started before, so that its helper processes see the user's environment.
    QWebEngineProfile::defaultProfile();
    const char* const dataHome = "XDG_DATA_HOME";
    const std::optional<QByteArray> userDataHome =
        qEnvironmentVariableIsSet(dataHome) ? std::optional(qgetenv(dataHome)) : std::nullopt;
    qputenv(dataHome, QFile::encodeName(storageFolder + QStringLiteral("/Setup")));
    auto* profile = new QWebEngineProfile(QStringLiteral("Formtide"));
    profile->setPersistentStoragePath(storageFolder);
    profile->setCachePath(storageFolder + QStringLiteral("/Cache"));
    if (userDataHome)
        qputenv(dataHome, *userDataHome);
    else
        qunsetenv(dataHome);
    // Pages are fetched afresh each run; only what a site keeps about the user is worth keeping.
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    // Logins usually live in session cookies, which the user expects back after a restart.
    profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    return profile;
}

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// qwebchannel.js followed by the page model, run in the isolated world of every top-level
// document once its DOM is parsed (before its load completes).
QWebEngineScript pageModelScript()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("formtide-page-model"));
    script.setSourceCode(resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + u'\n' +
                         resourceText(QStringLiteral(":/formtide/autofill/page.js")));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

const QString kSnapshotCall = QStringLiteral("formtideFill.snapshot()");

// What a chain of only unusable addresses loads: the engine refuses port 1 itself, before any
// name lookup, and shows its error page for it.
const QUrl kUnusableAddressPage(QStringLiteral("http://unusable.invalid:1/"));

} // namespace

WebEngineBrowser::WebEngineBrowser(const QString& storageFolder, QObject* parent)
    : Browser(parent), m_view(new QWebEngineView), m_bridge(new PageBridge(this))
{
    QWebEnginePage* page = nullptr;
    if (storageFolder.isEmpty()) {
        page = new SingleWindowPage(m_view);
    } else {
        QWebEngineProfile* profile = persistentProfile(storageFolder);
        page = new SingleWindowPage(profile, m_view);
        // The page must go before its profile: as the page's child, the profile is deleted after it.
        profile->setParent(page);
    }
    m_view->setPage(page);
    page->scripts().insert(pageModelScript());
    auto* channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("formtideBridge"), m_bridge);
    page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);

    connect(m_bridge, &PageBridge::reported, this, &WebEngineBrowser::reported);
    connect(m_bridge, &PageBridge::offered, this, &Browser::partSnapshotTaken);
    connect(m_bridge, &PageBridge::formSubmitted, this, &Browser::filledFormSubmitted);
    connect(m_view, &QWebEngineView::loadStarted, this, &WebEngineBrowser::supersedePageCalls);
    connect(m_view, &QWebEngineView::loadProgress, this,
            [this](int progress) { Q_EMIT loadProgress(progress, 100); });
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool) { Q_EMIT pageLoaded(); });
}

WebEngineBrowser::~WebEngineBrowser()
{
    // The window that took the view normally owns it; delete it only if nobody took it.
    if (m_view && !m_view->parent())
        delete m_view;
}

QUrl WebEngineBrowser::urlForAddress(const QString& address)
{
    const QFileInfo file(address);
    if (file.isAbsolute() && file.exists())
        return QUrl::fromLocalFile(file.absoluteFilePath());
    return QUrl::fromUserInput(address);
}

void WebEngineBrowser::navigate(const QString& address)
{
    if (address.isEmpty())
        return;
    const QUrl url = urlForAddress(address);
    if (url.isValid())
        m_pending = url;
    else if (m_pending.isEmpty())
        m_pending = kUnusableAddressPage;
    if (m_loadQueued)
        return;
    m_loadQueued = true;
    // A QWebEngineView::stop() after load() in the same handler would cancel the load, so the
    // load starts only once the handlers that asked for it have returned.
    QTimer::singleShot(0, this, &WebEngineBrowser::startPendingLoad);
}

void WebEngineBrowser::startPendingLoad()
{
    m_loadQueued = false;
    if (m_view && !m_pending.isEmpty())
        m_view->load(m_pending);
    m_pending.clear();
}

void WebEngineBrowser::stop()
{
    if (m_view)
        m_view->stop();
}

QWidget* WebEngineBrowser::widget()
{
    return m_view;
}

void WebEngineBrowser::snapshotPage(std::function<void(const QByteArray&)> done)
{
    const quint64 id = ++m_lastSnapshot;
    m_snapshots.insert(id, std::move(done));
    auto answer = [self = QPointer(this), id](const QVariant& result) {
        if (!self)
            return;
        const auto done = self->m_snapshots.take(id);
        if (done)
            done(result.toString().toUtf8()); // a script that failed gives no string: empty
    };
    if (m_view)
        m_view->page()->runJavaScript(kSnapshotCall, QWebEngineScript::ApplicationWorld, answer);
    else
        QTimer::singleShot(0, this, [answer] { answer(QVariant()); });
}

void WebEngineBrowser::applyPlan(const QJsonObject& plan, std::function<void(const QJsonObject&)> done)
{
    m_applies.insert(plan.value(u"token").toString(), std::move(done));
    m_bridge->deliver(plan.value(u"doc").toString(),
                      QString::fromUtf8(QJsonDocument(plan).toJson(QJsonDocument::Compact)));
}

void WebEngineBrowser::reported(const QByteArray& report)
{
    const QJsonObject object = QJsonDocument::fromJson(report).object();
    const auto done = m_applies.take(object.value(u"token").toString());
    if (done)
        done(object);
}

void WebEngineBrowser::supersedePageCalls()
{
    m_bridge->forgetHeld();
    const auto snapshots = std::exchange(m_snapshots, {});
    const auto applies = std::exchange(m_applies, {});
    for (const auto& done : snapshots)
        done({});
    const QJsonObject superseded{{QStringLiteral("status"), QStringLiteral("superseded")}};
    for (const auto& done : applies)
        done(superseded);
}
