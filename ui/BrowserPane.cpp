#include "ui/BrowserPane.h"

#include "autofill/Browser.h"
#include "ui/BrowserSession.h"
#include "ui/CertificateBar.h"
#include "ui/FindBar.h"
#include "ui/NavigationBar.h"
#include "ui/PopupNotice.h"
#include "ui/SignInPrompt.h"

#include <QAction>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <array>

namespace {

// The zoom levels that Ctrl+plus and Ctrl+minus step through, as browsers have them.
constexpr std::array kZoomLevels{0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                 1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

} // namespace

BrowserPane::BrowserPane(Browser& browser, BrowserSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_view(qobject_cast<QWebEngineView*>(browser.widget())),
      m_popupNotice(new PopupNotice(this)), m_certificateBar(new CertificateBar(session, this)),
      m_navigationBar(new NavigationBar(browser, m_view, session.opener(), this))
{
    setObjectName(QStringLiteral("browserPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_navigationBar);
    layout->addWidget(m_certificateBar);
    QWidget* page = browser.widget();
    page->setObjectName(QStringLiteral("browser"));
    layout->addWidget(page, 1);
    setFocusProxy(page);

    connect(m_popupNotice, &PopupNotice::openRequested, this, &BrowserPane::openBlocked);
    addKey(QStringLiteral("addressAction"), {QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::Key_F6)},
           [this] { m_navigationBar->focusAddress(); });
    if (!m_view)
        return;
    m_findBar = new FindBar(*m_view, this);
    layout->addWidget(m_findBar);
    addKey(QStringLiteral("backAction"), {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence::Back},
           [this] { m_view->back(); });
    addKey(QStringLiteral("forwardAction"), {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence::Forward},
           [this] { m_view->forward(); });
    addKey(QStringLiteral("reloadAction"), {QKeySequence(Qt::Key_F5), QKeySequence::Refresh},
           [this] { m_view->reload(); });
    addKey(QStringLiteral("findAction"), {QKeySequence::Find}, [this] { m_findBar->start(); });
    addKey(
        QStringLiteral("zoomInAction"),
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence::ZoomIn},
        [this] { zoom(+1); });
    addKey(QStringLiteral("zoomOutAction"), {QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence::ZoomOut},
           [this] { zoom(-1); });
    addKey(QStringLiteral("zoomResetAction"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { zoom(0); });
    // Escape is the page's own while nothing loads.
    QAction* stop = addKey(
        QStringLiteral("stopAction"), {QKeySequence(Qt::Key_Escape)}, [this] { m_view->stop(); },
        Qt::WidgetWithChildrenShortcut);
    stop->setEnabled(false);
    connect(m_view, &QWebEngineView::loadStarted, stop, [stop] { stop->setEnabled(true); });
    connect(m_view, &QWebEngineView::loadFinished, stop, [stop] { stop->setEnabled(false); });
    QWebEnginePage* shown = m_view->page();
    connect(shown, &QWebEnginePage::newWindowRequested, this, &BrowserPane::onNewWindowRequested);
    connect(shown, &QWebEnginePage::certificateError, m_certificateBar, &CertificateBar::handle);
    // A page that another address replaced takes its questions along (no loadStarted comes for an
    // address typed while one waits).
    connect(shown, &QWebEnginePage::urlChanged, m_certificateBar, &CertificateBar::dropWaiting);
    auto* signIns = new SignInPrompt(*shown, session, this);
    connect(signIns, &SignInPrompt::message, this, &BrowserPane::message);
}

void BrowserPane::onNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    // A page may open windows while the user works with it, as browsers let it; never by itself.
    if (request.isUserInitiated())
        m_session.openWindow(request, *m_view->page()->profile(), m_site);
    else
        m_popupNotice->block(request.requestedUrl());
}

QAction* BrowserPane::addKey(const QString& name, const QList<QKeySequence>& keys,
                             const std::function<void()>& act, Qt::ShortcutContext context)
{
    auto* action = new QAction(this);
    action->setObjectName(name);
    // A key given twice (a standard key that is one of the others) would be ambiguous, and do nothing.
    QList<QKeySequence> distinct;
    for (const QKeySequence& key : keys) {
        if (!key.isEmpty() && !distinct.contains(key))
            distinct.append(key);
    }
    action->setShortcuts(distinct);
    action->setShortcutContext(context);
    connect(action, &QAction::triggered, this, act);
    addAction(action);
    return action;
}

void BrowserPane::zoom(int step)
{
    const qreal now = m_view->zoomFactor();
    qreal next = 1.0;
    if (step > 0) {
        const auto* above =
            std::find_if(kZoomLevels.begin(), kZoomLevels.end(), [now](qreal z) { return z > now + 0.001; });
        next = above == kZoomLevels.end() ? kZoomLevels.back() : *above;
    } else if (step < 0) {
        const auto below = std::find_if(kZoomLevels.rbegin(), kZoomLevels.rend(),
                                        [now](qreal z) { return z < now - 0.001; });
        next = below == kZoomLevels.rend() ? kZoomLevels.front() : *below;
    }
    m_view->setZoomFactor(next);
    Q_EMIT message(tr("Zoom: %1%").arg(qRound(next * 100)));
}

void BrowserPane::openBlocked(const QUrl& url)
{
    if (m_view)
        m_session.openWindow(url, *m_view->page()->profile(), m_site);
}
