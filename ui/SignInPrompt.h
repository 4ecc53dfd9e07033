#pragma once

#include "core/SignInStore.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QUrl>

class BrowserSession;
class QAuthenticator;
class QWebEnginePage;
class SignInDialog;

// Answers a page's requests for HTTP authentication with what the user gives in a SignInDialog
// that names the site. Qt WebEngine 6.4 takes the answer only while its authenticationRequired
// signal is being handled, so that asking there would need a nested event loop; instead the first
// request is left unanswered (the page shows the site's refusal), the dialog asks without blocking,
// and the page is loaded again: the request that comes then takes the answer. A sign-in the site
// refuses is asked for again. Nothing is kept beyond that unless the user ticks "Remember": then
// it is kept in the session's SignInStore and offered the next time; unticked, it is forgotten.
class SignInPrompt final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignInPrompt)
public:
    // The dialog is a child of `dialogParent`.
    SignInPrompt(QWebEnginePage& page, BrowserSession& session, QWidget* dialogParent);

Q_SIGNALS:
    // A sentence for the status line: a sign-in could not be remembered.
    void message(const QString& text);

private:
    void onAuthenticationRequired(const QUrl& url, QAuthenticator* authenticator);
    void onAnswered();

    QWebEnginePage& m_page;
    BrowserSession& m_session;
    QWidget* m_dialogParent;
    SignInDialog* m_dialog = nullptr;
    QString m_site;                                // what the dialog asks for: the site's origin
    QString m_realm;                               // and the realm it named
    QHash<QString, SignInStore::SignIn> m_answers; // by site and realm, for the next request
    QSet<QString> m_given;                         // answered last; asked again: refused
};
