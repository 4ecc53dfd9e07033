#include "autofill/PersistentCookies.h"

#include "core/FileRules.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWebEngineCookieStore>

namespace {

QByteArray identity(const QNetworkCookie& cookie)
{
    return cookie.name() + '\n' + cookie.domain().toUtf8() + '\n' + cookie.path().toUtf8();
}

QUrl originOf(const QNetworkCookie& cookie)
{
    QString host = cookie.domain();
    if (host.startsWith(u'.'))
        host.remove(0, 1);
    QUrl origin;
    origin.setScheme(cookie.isSecure() ? QStringLiteral("https") : QStringLiteral("http"));
    origin.setHost(host);
    origin.setPath(QStringLiteral("/"));
    return origin;
}

} // namespace

PersistentCookies::PersistentCookies(QWebEngineCookieStore& store, QString file, QObject* parent)
    : QObject(parent), m_file(std::move(file))
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &PersistentCookies::save);

    QFile saved(m_file);
    if (saved.open(QIODevice::ReadOnly)) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const QByteArray& line : saved.readAll().split('\n')) {
            const qsizetype blank = line.indexOf(' ');
            const QUrl origin = QUrl::fromEncoded(line.left(blank), QUrl::StrictMode);
            const QList<QNetworkCookie> cookies = QNetworkCookie::parseCookies(line.mid(blank + 1));
            if (blank < 0 || origin.host().isEmpty() || cookies.size() != 1)
                continue;
            QNetworkCookie cookie = cookies.first();
            if (!cookie.isSessionCookie() && cookie.expirationDate() <= now)
                continue;
            // A host-only cookie is set without a domain, from its host; the store then gives it the
            // host as its domain.
            const bool hostOnly = !cookie.domain().startsWith(u'.');
            if (hostOnly)
                cookie.setDomain(QString());
            store.setCookie(cookie, origin);
            if (hostOnly)
                cookie.setDomain(origin.host());
            m_cookies.insert(identity(cookie), cookie);
        }
    }
    connect(&store, &QWebEngineCookieStore::cookieAdded, this, [this](const QNetworkCookie& cookie) {
        m_cookies.insert(identity(cookie), cookie);
        m_saveTimer.start();
    });
    connect(&store, &QWebEngineCookieStore::cookieRemoved, this, [this](const QNetworkCookie& cookie) {
        m_cookies.remove(identity(cookie));
        m_saveTimer.start();
    });
}

PersistentCookies::~PersistentCookies()
{
    if (m_saveTimer.isActive())
        save();
}

void PersistentCookies::save()
{
    m_saveTimer.stop();
    QByteArray content;
    for (const QNetworkCookie& cookie : std::as_const(m_cookies))
        content += originOf(cookie).toEncoded() + ' ' + cookie.toRawForm() + '\n';
    // The cookies are the author's site logins: only the author may read them, whatever folder
    // they are kept in.
    constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    // A save that fails is tried again with the next change of a cookie, and at the end.
    if (FileRules::ensureFolder(QFileInfo(m_file).absolutePath(), ownerOnly | QFile::ExeOwner))
        (void)FileRules::writeWhole(m_file, content, ownerOnly);
}
