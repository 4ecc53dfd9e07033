#include "autofill/WebEngineBrowser.h"

#include <QFileInfo>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Refuses every request for a new window: the program's browser shows one page at a time.
class SingleWindowPage final : public QWebEnginePage {
public:
    SingleWindowPage(WebEngineBrowser& browser, QObject* parent) : QWebEnginePage(parent), m_browser(browser) {}

protected:
    QWebEnginePage* createWindow(WebWindowType) override
    {
        bool cancel = false;
        Q_EMIT m_browser.NewWindow2(&cancel);
        return nullptr;
    }

private:
    WebEngineBrowser& m_browser;
};

} // namespace

WebEngineBrowser::WebEngineBrowser(QObject* parent) : Browser(parent), m_view(new QWebEngineView)
{
    m_view->setPage(new SingleWindowPage(*this, m_view));
    connect(m_view, &QWebEngineView::loadProgress, this, [this](int progress) { Q_EMIT ProgressChange(progress, 100); });
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool) { Q_EMIT DocumentComplete(); });
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

void WebEngineBrowser::Navigate(const QString& address)
{
    if (address.isEmpty())
        return;
    m_pending = urlForAddress(address);
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
    if (m_view && m_pending.isValid())
        m_view->load(m_pending);
    m_pending.clear();
}

void WebEngineBrowser::Stop()
{
    if (m_view)
        m_view->stop();
}

QWidget* WebEngineBrowser::widget() { return m_view; }
