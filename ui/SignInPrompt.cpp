#include "ui/SignInPrompt.h"

#include "ui/BrowserSession.h"
#include "ui/SignInDialog.h"

#include <QAuthenticator>
#include <QWebEnginePage>

namespace {

QString keyOf(const QString& site, const QString& realm)
{
    return site + u'\n' + realm;
}

} // namespace

SignInPrompt::SignInPrompt(QWebEnginePage& page, BrowserSession& session, QWidget* dialogParent)
    : QObject(dialogParent), m_page(page), m_session(session), m_dialogParent(dialogParent)
{
    connect(&page, &QWebEnginePage::authenticationRequired, this, &SignInPrompt::onAuthenticationRequired);
}

void SignInPrompt::onAuthenticationRequired(const QUrl& url, QAuthenticator* authenticator)
{
    const QString site =
        url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
            .toString();
    const QString realm = authenticator->realm();
    const QString key = keyOf(site, realm);
    if (m_answers.contains(key)) {
        const SignInStore::SignIn answer = m_answers.take(key);
        authenticator->setUser(answer.user);
        authenticator->setPassword(answer.password);
        m_given.insert(key);
        return;
    }
    const bool refused = m_given.remove(key);
    if (m_dialog && m_dialog->isVisible())
        return;
    if (!m_dialog) {
        m_dialog = new SignInDialog(m_dialogParent);
        connect(m_dialog, &QDialog::accepted, this, &SignInPrompt::onAnswered);
    }
    m_site = site;
    m_realm = realm;
    const std::optional<SignInStore::SignIn> kept = m_session.signIns().find(site, realm);
    m_dialog->ask(site, realm, refused);
    m_dialog->setSignIn(kept ? kept->user : QString(), kept && !refused ? kept->password : QString(),
                        kept.has_value());
    m_dialog->open();
}

void SignInPrompt::onAnswered()
{
    const SignInStore::SignIn answer{m_dialog->user(), m_dialog->password()};
    SignInStore& store = m_session.signIns();
    const auto kept =
        m_dialog->remember() ? store.remember(m_site, m_realm, answer) : store.forget(m_site, m_realm);
    if (!kept)
        Q_EMIT message(
            tr("The sign-in for %1 could not be remembered (%2).").arg(m_site, kept.problem().detail));
    m_answers.insert(keyOf(m_site, m_realm), answer);
    m_page.triggerAction(QWebEnginePage::Reload);
}
