#pragma once

#include <QHash>
#include <QNetworkCookie>
#include <QObject>
#include <QString>
#include <QTimer>

class QWebEngineCookieStore;

// Keeps the cookies of a browser profile in one file, so that site logins survive a restart while
// the profile itself stays off the record: Qt WebEngine 6.4 sets a disk profile up below the
// user's home folder before it can be moved, and this way the engine writes nothing anywhere.
//
// The file holds one cookie a line, UTF-8, each line "ORIGIN SET-COOKIE": the address that the
// cookie belongs to (http or https, the host, "/"), one blank, then the cookie as a Set-Cookie
// header value (QNetworkCookie::toRawForm()). A cookie whose domain starts with a dot is sent to
// the domain's subdomains too; any other is sent to its host only. Session cookies are kept too,
// because sites keep their logins in them. Lines that cannot be read and cookies that have
// expired are left out when the file is read.
class PersistentCookies final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PersistentCookies)
public:
    // How long after a change the file is written; the last changes are written on destruction.
    static constexpr int kSaveDelayMs = 500;

    // Puts the cookies of `file` into `store` and from then on keeps `file` up to date with the
    // store's cookies. `store` must outlive this object.
    PersistentCookies(QWebEngineCookieStore& store, QString file, QObject* parent = nullptr);
    ~PersistentCookies() override;

private:
    void save();

    QString m_file;
    QHash<QByteArray, QNetworkCookie> m_cookies; // by name, domain and path
    QTimer m_saveTimer;
};
