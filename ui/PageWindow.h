#pragma once

#include <QMainWindow>
#include <memory>

class BrowserPane;
class BrowserSession;
class FillPass;
class QWebEnginePage;
class QWebEngineProfile;
class WebEngineBrowser;

// A window of its own for a page that another page opened (a link with a target, window.open()).
// It is filled like any page, from the session's product, and tells in its own status line what
// the fill did; a filled form sent from it counts for the site whose page opened it. It goes when
// the user or the page closes it. "Next" and the site list never drive it: they drive the main
// window's page.
class PageWindow final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageWindow)
public:
    // Its page lives in `profile`, which must outlive the window; it belongs to the site list entry
    // `site`.
    PageWindow(BrowserSession& session, QWebEngineProfile& profile, const QString& site);
    ~PageWindow() override;

    WebEngineBrowser& browser() { return *m_browser; }
    QWebEnginePage* page() const;

private:
    BrowserSession& m_session;
    std::unique_ptr<WebEngineBrowser> m_browser;
    std::unique_ptr<FillPass> m_fillPass;
    BrowserPane* m_pane = nullptr;
};
