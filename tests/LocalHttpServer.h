#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// Serves files of one folder over HTTP/1.0 on 127.0.0.1, so that tests get real origins: two
// servers (two ports) are two origins. Pages added with setPage() are served from memory.
// startHttps() serves the same over TLS with the self-signed certificate of tests/data/tls (made
// for 127.0.0.1 and localhost), which no browser trusts.
class LocalHttpServer final : public QTcpServer {
public:
    explicit LocalHttpServer(QString folder) : m_folder(std::move(folder))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }

    bool start() { return listen(QHostAddress::LocalHost); }
#ifdef FORMTIDE_TEST_DATA_DIR
    bool startHttps()
    {
        return startHttps(QStringLiteral(FORMTIDE_TEST_DATA_DIR "/tls"));
    }
#endif
    // `tlsFolder` holds cert.pem and key.pem.
    bool startHttps(const QString& tlsFolder)
    {
        QFile cert(tlsFolder + QStringLiteral("/cert.pem"));
        QFile key(tlsFolder + QStringLiteral("/key.pem"));
        if (!QSslSocket::supportsSsl() || !cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
            return false;
        m_certificate = QSslCertificate(&cert, QSsl::Pem);
        m_key = QSslKey(&key, QSsl::Rsa, QSsl::Pem);
        m_tls = !m_certificate.isNull() && !m_key.isNull();
        return m_tls && start();
    }
    QString url(const QString& path) const
    {
        return QStringLiteral("%1://127.0.0.1:%2/%3")
            .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
            .arg(serverPort())
            .arg(path);
    }
    void setPage(const QString& path, const QByteArray& content)
    {
        m_pages.insert(path, content);
    }
    // Answers every request for `path` only after `ms` milliseconds, as a slow server would.
    void setDelay(const QString& path, int ms)
    {
        m_delays.insert(path, ms);
    }
    // Answers `path` with the status line `status` ("301 Moved Permanently") and the header lines
    // `headers` (each ended by CR LF), the page or file as its body when there is one; only the
    // requests made with `method` ("HEAD") when one is given. An empty `status` closes the
    // connection unanswered.
    void setStatus(const QString& path, const QByteArray& status, const QByteArray& headers = {},
                   const QByteArray& method = {})
    {
        m_statuses.insert(QString::fromLatin1(method) + u' ' + path, {status, headers});
    }
    // Answers `path` with "401 Unauthorized" for realm `realm` unless the request signs in with
    // HTTP Basic authentication as `user` and `password`.
    void setSignIn(const QString& path, const QByteArray& realm, const QByteArray& user,
                   const QByteArray& password)
    {
        m_signIns.insert(
            path, {realm, "Authorization: Basic " + QByteArray(user + ':' + password).toBase64() + "\r\n"});
    }
    // Sends `path` without its Content-Length: the body ends when the connection does.
    void setUnannounced(const QString& path)
    {
        m_unannounced.insert(path);
    }
    // Every path asked for, in order, without its leading "/".
    const QStringList& requests() const
    {
        return m_asked;
    }
    // The Cookie header of the last request for `path`, empty without one.
    QByteArray cookiesSent(const QString& path) const
    {
        return m_cookiesSent.value(path);
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        if (!m_tls) {
            QTcpServer::incomingConnection(descriptor);
            return;
        }
        auto* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
        // A browser that refuses the certificate ends the handshake: the socket goes with it.
        connect(socket, &QSslSocket::errorOccurred, socket, &QObject::deleteLater);
        socket->startServerEncryption();
        addPendingConnection(socket);
    }

private:
    // Answers once the request's head has come whole; until then it waits in the socket.
    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->peek(socket->bytesAvailable());
        if (!request.contains("\r\n\r\n"))
            return;
        disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        const QString target = QString::fromUtf8(request.split(' ').value(1)).mid(1);
        const QString path = target.section(u'?', 0, 0);
        m_asked.append(path);
        m_cookiesSent.remove(path);
        for (const QByteArray& line : request.left(request.indexOf("\r\n\r\n")).split('\n')) {
            if (line.toLower().startsWith("cookie:"))
                m_cookiesSent.insert(path, line.mid(7).trimmed());
        }
        QFile file(QDir(m_folder).filePath(path));
        const bool found = m_pages.contains(path) || file.open(QIODevice::ReadOnly);
        const QByteArray body = m_pages.contains(path) ? m_pages.value(path)
                                : found                ? file.readAll()
                                                       : QByteArray();
        const QString method = QString::fromLatin1(request.split(' ').value(0));
        auto [status, headers] = m_statuses.value(
            method + u' ' + path,
            m_statuses.value(u' ' + path, {found ? "200 OK" : "404 Not Found", QByteArray()}));
        if (const auto signIn = m_signIns.value(path);
            !signIn.first.isEmpty() && !request.contains(signIn.second)) {
            status = "401 Unauthorized";
            headers = "WWW-Authenticate: Basic realm=\"" + signIn.first + "\"\r\n";
        }
        const QByteArray length = m_unannounced.contains(path)
                                      ? QByteArray()
                                      : "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        const QByteArray response =
            status.isEmpty() ? QByteArray()
                             : "HTTP/1.0 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n" +
                                   headers + length + "Connection: close\r\n\r\n" + body;
        QTimer::singleShot(m_delays.value(path), socket, [socket, response] {
            socket->write(response);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QString m_folder;
    QHash<QString, QByteArray> m_pages;
    QHash<QString, int> m_delays;
    QHash<QString, std::pair<QByteArray, QByteArray>> m_statuses;
    QHash<QString, std::pair<QByteArray, QByteArray>> m_signIns; // realm, the request's header line
    QSet<QString> m_unannounced;
    QStringList m_asked;
    QHash<QString, QByteArray> m_cookiesSent;
    bool m_tls = false;
    QSslCertificate m_certificate;
    QSslKey m_key;
};
