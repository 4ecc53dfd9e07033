#include "ui/BrowserPane.h"

#include "autofill/Browser.h"
#include "ui/BrowserSession.h"
#include "ui/CertificateBar.h"
#include "ui/PopupNotice.h"
#include "ui/SignInPrompt.h"

#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

BrowserPane::BrowserPane(Browser& browser, BrowserSession& session, QWidget* parent)
    : QWidget(parent), m_browser(browser), m_session(session),
      m_view(qobject_cast<QWebEngineView*>(browser.widget())), m_popupNotice(new PopupNotice(this)),
      m_certificateBar(new CertificateBar(session, this))
{
    setObjectName(QStringLiteral("browserPane"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_certificateBar);
    QWidget* page = browser.widget();
    page->setObjectName(QStringLiteral("browser"));
    m_layout->addWidget(page, 1);
    setFocusProxy(page);

    connect(m_popupNotice, &PopupNotice::openRequested, this, &BrowserPane::openBlocked);
    if (!m_view)
        return;
    QWebEnginePage* shown = m_view->page();
    connect(shown, &QWebEnginePage::newWindowRequested, this, &BrowserPane::onNewWindowRequested);
    connect(shown, &QWebEnginePage::certificateError, m_certificateBar, &CertificateBar::handle);
    auto* signIns = new SignInPrompt(*shown, session, this);
    connect(signIns, &SignInPrompt::message, this, &BrowserPane::message);
}

void BrowserPane::onNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    // A page may open windows while the user works with it, as browsers let it; never by itself.
    if (request.isUserInitiated())
        m_session.openWindow(request, *m_view->page()->profile());
    else
        m_popupNotice->block(request.requestedUrl());
}

void BrowserPane::openBlocked(const QUrl& url)
{
    if (m_view)
        m_session.openWindow(url, *m_view->page()->profile());
}
