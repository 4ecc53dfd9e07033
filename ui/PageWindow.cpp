#include "ui/PageWindow.h"

#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "ui/BrowserPane.h"
#include "ui/BrowserSession.h"
#include "ui/FillStatusLabel.h"
#include "ui/PopupNotice.h"

#include <QStatusBar>
#include <QWebEnginePage>

PageWindow::PageWindow(BrowserSession& session, QWebEngineProfile& profile, const QString& site)
    : m_session(session), m_browser(std::make_unique<WebEngineBrowser>(profile))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The program ends with its main window, which closes the page windows left.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("pageWindow"));
    m_pane = new BrowserPane(*m_browser, session, this);
    m_pane->setSite(site);
    setCentralWidget(m_pane);

    m_fillPass = std::make_unique<FillPass>(*m_browser);
    statusBar()->addWidget(new FillStatusLabel(*m_fillPass, session, statusBar()), 1);
    statusBar()->addWidget(m_pane->popupNotice());
    connect(m_pane, &BrowserPane::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });

    m_fillPass->setProduct(session.product());
    connect(&session, &BrowserSession::productChanged, this,
            [this] { m_fillPass->setProduct(m_session.product()); });
    connect(m_browser.get(), &Browser::pageLoaded, m_fillPass.get(), &FillPass::run);
    connect(m_browser.get(), &Browser::filledFormSubmitted, this,
            [this] { Q_EMIT m_session.filledFormSubmitted(m_pane->site()); });
    QWebEnginePage* shown = page();
    connect(shown, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(shown, &QWebEnginePage::titleChanged, this, &QWidget::setWindowTitle);
    resize(900, 700);
}

PageWindow::~PageWindow()
{
    // The pass talks to the page until here.
    m_fillPass.reset();
}

QWebEnginePage* PageWindow::page() const
{
    return m_browser->widget()->page();
}
