#include "ui/NavigationBar.h"

#include "autofill/Browser.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

QToolButton* toolButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

NavigationBar::NavigationBar(Browser& browser, QWebEngineView* view, const DesktopOpener& opener,
                             QWidget* parent)
    : QWidget(parent), m_browser(browser), m_opener(opener), m_view(view)
{
    setObjectName(QStringLiteral("navigationBar"));
    m_back = toolButton(this, QStringLiteral("backButton"), QStyle::SP_ArrowBack, tr("Back (Alt+Left)"));
    m_forward =
        toolButton(this, QStringLiteral("forwardButton"), QStyle::SP_ArrowForward, tr("Forward (Alt+Right)"));
    m_reloadStop =
        toolButton(this, QStringLiteral("reloadStopButton"), QStyle::SP_BrowserReload, tr("Reload (F5)"));
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("addressEdit"));
    m_address->setPlaceholderText(tr("Address"));
    m_openOutside = new QToolButton(this);
    m_openOutside->setObjectName(QStringLiteral("openInBrowserButton"));
    m_openOutside->setText(tr("Open in my browser"));
    m_openOutside->setAutoRaise(true);
    m_openOutside->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    for (QWidget* control : {static_cast<QWidget*>(m_back), static_cast<QWidget*>(m_forward),
                             static_cast<QWidget*>(m_reloadStop)})
        layout->addWidget(control);
    layout->addWidget(m_address, 1);
    layout->addWidget(m_openOutside);

    connect(m_address, &QLineEdit::returnPressed, this, [this] {
        m_browser.navigate(m_address->text().trimmed());
        m_address->setModified(false);
        // As in browsers, the page has the keys from here on.
        if (m_view)
            m_view->setFocus();
    });
    if (!m_view) {
        for (QWidget* control : {static_cast<QWidget*>(m_back), static_cast<QWidget*>(m_forward),
                                 static_cast<QWidget*>(m_reloadStop), static_cast<QWidget*>(m_openOutside)})
            control->setEnabled(false);
        return;
    }
    QAction* back = m_view->pageAction(QWebEnginePage::Back);
    QAction* forward = m_view->pageAction(QWebEnginePage::Forward);
    const auto followHistory = [this, back, forward] {
        m_back->setEnabled(back->isEnabled());
        m_forward->setEnabled(forward->isEnabled());
    };
    followHistory();
    connect(back, &QAction::changed, this, followHistory);
    connect(forward, &QAction::changed, this, followHistory);
    connect(m_back, &QToolButton::clicked, m_view, &QWebEngineView::back);
    connect(m_forward, &QToolButton::clicked, m_view, &QWebEngineView::forward);
    connect(m_reloadStop, &QToolButton::clicked, this, [this] {
        if (m_loading)
            m_view->stop();
        else
            m_view->reload();
    });
    connect(m_openOutside, &QToolButton::clicked, this, [this] { m_opener.open(m_view->url()); });
    connect(m_view, &QWebEngineView::urlChanged, this, &NavigationBar::showAddress);
    connect(m_view, &QWebEngineView::loadStarted, this, [this] { setLoading(true); });
    connect(m_view, &QWebEngineView::loadFinished, this, [this] { setLoading(false); });
}

void NavigationBar::focusAddress()
{
    m_address->setFocus(Qt::ShortcutFocusReason);
    m_address->selectAll();
}

void NavigationBar::showAddress()
{
    // What the user is typing stays until Enter.
    if (m_address->hasFocus() && m_address->isModified())
        return;
    const QUrl url = m_view->url();
    // A page the browser made itself names an address that could not be opened: what was typed stays.
    if (url.scheme() == u"data")
        return;
    m_address->setText(url.toDisplayString());
    m_address->setModified(false);
    m_address->setCursorPosition(0);
}

void NavigationBar::setLoading(bool loading)
{
    m_loading = loading;
    m_reloadStop->setIcon(style()->standardIcon(loading ? QStyle::SP_BrowserStop : QStyle::SP_BrowserReload));
    m_reloadStop->setToolTip(loading ? tr("Stop (Esc)") : tr("Reload (F5)"));
}
