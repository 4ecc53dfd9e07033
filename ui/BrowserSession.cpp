#include "ui/BrowserSession.h"

#include "autofill/WebEngineBrowser.h"
#include "core/AppFolder.h"
#include "ui/PageWindow.h"

#include <QWebEngineNewWindowRequest>

BrowserSession::BrowserSession(const QString& dataFolder, DesktopOpener opener, QObject* parent)
    : QObject(parent), m_signIns(AppFolder::path(dataFolder, AppFolder::signInsFile())),
      m_opener(std::move(opener))
{
}

BrowserSession::~BrowserSession()
{
    for (const QPointer<PageWindow>& window : std::as_const(m_windows))
        delete window.data();
}

void BrowserSession::setProduct(const QString& name, std::optional<ProductFacts> facts)
{
    m_productName = name;
    m_product = std::move(facts);
    Q_EMIT productChanged();
}

void BrowserSession::openWindow(QWebEngineNewWindowRequest& request, QWebEngineProfile& profile,
                                const QString& site)
{
    PageWindow* window = newWindow(profile, site);
    request.openIn(window->page());
}

void BrowserSession::openWindow(const QUrl& url, QWebEngineProfile& profile, const QString& site)
{
    newWindow(profile, site)->browser().navigate(url.toString(QUrl::FullyEncoded));
}

QList<PageWindow*> BrowserSession::windows() const
{
    QList<PageWindow*> open;
    for (const QPointer<PageWindow>& window : m_windows) {
        if (window)
            open.append(window);
    }
    return open;
}

PageWindow* BrowserSession::newWindow(QWebEngineProfile& profile, const QString& site)
{
    m_windows.removeAll(nullptr);
    auto* window = new PageWindow(*this, profile, site);
    m_windows.append(window);
    window->show();
    return window;
}
