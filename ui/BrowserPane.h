#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QWidget>
#include <functional>

class Browser;
class BrowserSession;
class CertificateBar;
class FindBar;
class NavigationBar;
class QAction;
class PopupNotice;
class QWebEngineNewWindowRequest;
class QWebEngineView;

// The browser as the user sees it: the page, with what a browser shows around it. A page's new
// window opens in a window of its own when the user asked for it (a click, a key), and is blocked
// otherwise, with the pop-up notice offering to open it. Certificates the engine cannot trust wait
// for the user in a CertificateBar, and sign-ins a site asks for in a SignInPrompt.
//
// Above the page, a NavigationBar; under it, a FindBar when asked for. The keys work wherever the
// focus is in the pane's window, the page included: Alt+Left and Alt+Right go back and forward, F5
// reloads, Ctrl+L goes to the address, Ctrl+F finds, Ctrl+plus, Ctrl+minus and Ctrl+0 zoom the page
// in, out and back to its size. Escape stops a load while the focus is in the pane; while nothing
// loads the page has it, and in the find bar it closes the bar.
// Everything that needs the engine works only when the browser's widget is a QWebEngineView; another
// page widget is shown as it is.
class BrowserPane final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserPane)
public:
    // Takes the browser's widget into the pane.
    BrowserPane(Browser& browser, BrowserSession& session, QWidget* parent = nullptr);

    // The site list entry the pane's page belongs to: the windows its pages open count for it.
    void setSite(const QString& site) { m_site = site; }
    const QString& site() const { return m_site; }

    // The notice of a blocked pop-up, for the owning window's status bar (which then owns it).
    PopupNotice* popupNotice() const { return m_popupNotice; }

Q_SIGNALS:
    // A sentence for the owning window's status line.
    void message(const QString& text);

private:
    // A key of the whole window: the page, the site list or a button may have the focus.
    QAction* addKey(const QString& name, const QList<QKeySequence>& keys, const std::function<void()>& act,
                    Qt::ShortcutContext context = Qt::WindowShortcut);
    // One zoom level up (step > 0), down (step < 0), or back to 100% (0).
    void zoom(int step);
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);
    void openBlocked(const QUrl& url);

    BrowserSession& m_session;
    QString m_site;
    QPointer<QWebEngineView> m_view; // null when the page widget is another kind
    PopupNotice* m_popupNotice = nullptr;
    CertificateBar* m_certificateBar = nullptr;
    NavigationBar* m_navigationBar = nullptr;
    FindBar* m_findBar = nullptr; // only with a QWebEngineView
};
