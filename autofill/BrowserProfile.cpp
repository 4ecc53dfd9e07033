#include "autofill/BrowserProfile.h"

#include "autofill/EarlierLogins.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWebEngineProfile>

namespace {

const QString kStorageName = QStringLiteral("Profile");

} // namespace

namespace BrowserProfile {

QString folderFor(const QString& browserFolder)
{
    // Where Qt WebEngine sets a named profile up, before it could be moved anywhere else.
    const QString folder = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                           QStringLiteral("/QtWebEngine/") + kStorageName);
    const QString home = QDir::cleanPath(QDir(browserFolder).absolutePath()) + u'/';
    return folder.startsWith(home) ? folder : QString();
}

QWebEngineProfile* make(const QString& browserFolder)
{
    const QString folder = folderFor(browserFolder);
    if (folder.isEmpty()) {
        qWarning("The browser engine was not prepared to keep its profile in %s: it keeps nothing.",
                 qPrintable(QDir::toNativeSeparators(browserFolder)));
        return new QWebEngineProfile;
    }
    const bool first = !QFileInfo::exists(folder);
    if (first)
        EarlierLogins::copyProfileCookies(browserFolder, folder);
    auto* profile = new QWebEngineProfile(kStorageName);
    profile->setPersistentStoragePath(folder);
    profile->setCachePath(folder);
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile->setHttpCacheMaximumSize(kHttpCacheBytes);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    if (first)
        EarlierLogins::importCookieFile(browserFolder, *profile->cookieStore());
    return profile;
}

} // namespace BrowserProfile
