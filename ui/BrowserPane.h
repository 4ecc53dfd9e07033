#pragma once

#include <QPointer>
#include <QWidget>

class Browser;
class BrowserSession;
class CertificateBar;
class PopupNotice;
class QVBoxLayout;
class QWebEngineNewWindowRequest;
class QWebEngineView;

// The browser as the user sees it: the page, with what a browser shows around it. A page's new
// window opens in a window of its own when the user asked for it (a click, a key), and is blocked
// otherwise, with the pop-up notice offering to open it. Certificates the engine cannot trust wait
// for the user in a CertificateBar, and sign-ins a site asks for in a SignInPrompt. Everything that needs the
// engine works only when the browser's widget is a QWebEngineView; another page widget is shown as it is.
class BrowserPane final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserPane)
public:
    // Takes the browser's widget into the pane.
    BrowserPane(Browser& browser, BrowserSession& session, QWidget* parent = nullptr);

    // The notice of a blocked pop-up, for the owning window's status bar (which then owns it).
    PopupNotice* popupNotice() const { return m_popupNotice; }

Q_SIGNALS:
    // A sentence for the owning window's status line.
    void message(const QString& text);

private:
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);
    void openBlocked(const QUrl& url);

    Browser& m_browser;
    BrowserSession& m_session;
    QPointer<QWebEngineView> m_view; // null when the page widget is another kind
    QVBoxLayout* m_layout = nullptr;
    PopupNotice* m_popupNotice = nullptr;
    CertificateBar* m_certificateBar = nullptr;
};
