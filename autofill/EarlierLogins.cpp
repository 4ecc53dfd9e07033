#include "autofill/EarlierLogins.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QNetworkCookie>
#include <QUrl>
#include <QWebEngineCookieStore>

namespace {

// The cookie database of a Chromium profile and its journal, by their names in the profile's folder.
const QStringList kCookieDatabase = {QStringLiteral("Cookies"), QStringLiteral("Cookies-journal")};

} // namespace

namespace EarlierLogins {

void copyProfileCookies(const QString& browserFolder, const QString& profileFolder)
{
    if (!QFileInfo(QDir(browserFolder).filePath(kCookieDatabase.first())).isFile())
        return;
    constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    if (!QDir().mkpath(profileFolder) || !QFile::setPermissions(profileFolder, ownerOnly | QFile::ExeOwner))
        return;
    for (const QString& name : kCookieDatabase) {
        const auto content = FileRules::readWhole(QDir(browserFolder).filePath(name));
        if (content)
            (void)FileRules::writeWhole(QDir(profileFolder).filePath(name), *content, ownerOnly);
    }
}

void importCookieFile(const QString& browserFolder, QWebEngineCookieStore& store)
{
    const auto saved = FileRules::readWhole(AppFolder::path(browserFolder, AppFolder::cookiesFile()));
    if (!saved)
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QByteArray& line : FileRules::splitLines(*saved)) {
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
        if (!cookie.domain().startsWith(u'.'))
            cookie.setDomain(QString());
        store.setCookie(cookie, origin);
    }
}

} // namespace EarlierLogins
