#pragma once

#include <QString>

class QWebEngineProfile;

// The browser's profile on disk, as a browser keeps one: cookies with all their attributes
// (SameSite too), session cookies included since sites keep their logins in them, localStorage,
// IndexedDB and an HTTP cache of at most kHttpCacheBytes, all in one folder below the data
// folder's "Browser" folder, and nothing anywhere else. The engine must have been prepared for it
// (autofill/BrowserEngine.h, with `browserFolder` as the profile home).
namespace BrowserProfile {

constexpr qint64 kHttpCacheBytes = 64 * 1024 * 1024;

// The folder Qt WebEngine keeps the profile in for `browserFolder`:
// <browserFolder>/<application name>/QtWebEngine/Profile, or empty when the engine was not prepared
// to keep it there.
QString folderFor(const QString& browserFolder);

// A new profile kept in folderFor(browserFolder); the first time, with the logins of earlier
// versions carried over (autofill/EarlierLogins.h). When the engine was not prepared for
// `browserFolder`, an off-the-record profile that keeps nothing. The caller owns it; only one
// profile may use the folder at a time.
QWebEngineProfile* make(const QString& browserFolder);

} // namespace BrowserProfile
