#pragma once

#include <QFrame>
#include <QList>
#include <QWebEngineCertificateError>

class BrowserSession;
class QLabel;
class QPushButton;

// The bar over the page that tells of a site whose certificate cannot be trusted: it names the host
// and the problem, and offers "Go on for this host (this run)" and "Stay safe". Nothing is let
// through without the user. A host the user let through is let through in every window for the
// rest of the run and asked about no more; a problem that cannot be overridden is only told, and
// the page stays safe. Hidden while nothing waits.
class CertificateBar final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CertificateBar)
public:
    explicit CertificateBar(BrowserSession& session, QWidget* parent = nullptr);

    // Takes the page's certificate error in hand (from QWebEnginePage::certificateError).
    void handle(const QWebEngineCertificateError& error);
    // The page shows another address: what still waits belonged to the page before, and stays safe.
    void dropWaiting();

private:
    void showFirst();
    // Answers every waiting error of the first one's host.
    void decide(bool goOn);

    BrowserSession& m_session;
    QList<QWebEngineCertificateError> m_waiting; // deferred, oldest first
    QLabel* m_text = nullptr;
    QPushButton* m_goOn = nullptr;
    QPushButton* m_staySafe = nullptr;
};
