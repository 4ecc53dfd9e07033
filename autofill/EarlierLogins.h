#pragma once

#include <QString>

class QWebEngineCookieStore;

// The site logins that earlier versions kept in the data folder's "Browser" folder, carried over
// into the browser profile (autofill/BrowserProfile.h) when that is made for the first time. The
// earlier files are read only and stay as they are.
//
// Two kinds came before:
// - an earlier disk profile kept its cookies in the Chromium database "Cookies" directly inside
//   "Browser";
// - an earlier version kept them in "Browser/cookies.txt", one cookie a line, UTF-8, each line
//   "ORIGIN SET-COOKIE": the address the cookie belongs to (http or https, the host, "/"), one
//   blank, then the cookie as a Set-Cookie header value (QNetworkCookie::toRawForm()). A cookie
//   whose domain starts with a dot is sent to the domain's subdomains too; any other is sent to
//   its host only. Lines that cannot be read and cookies that have expired are left out.
namespace EarlierLogins {

// Copies the earlier profile's cookie database from `browserFolder` into `profileFolder`, which the
// engine has not opened yet, making that folder owner-only. Nothing happens without a database.
void copyProfileCookies(const QString& browserFolder, const QString& profileFolder);

// Puts the cookies of `browserFolder`'s "cookies.txt", if any, into `store`.
void importCookieFile(const QString& browserFolder, QWebEngineCookieStore& store);

} // namespace EarlierLogins
