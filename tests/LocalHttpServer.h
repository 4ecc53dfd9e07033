#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP/1.0 file server on 127.0.0.1 for tests: GET serves files below a folder, anything
// else is 404. Every request path is recorded.
class LocalHttpServer final : public QObject {
    Q_OBJECT
public:
    explicit LocalHttpServer(QString root, QObject* parent = nullptr) : QObject(parent), m_root(std::move(root))
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_server.serverPort(); }
    QString origin() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }
    const QStringList& requests() const { return m_requests; }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void serve(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        m_buffers.remove(socket);
        QByteArray path = requestLine.value(1);
        path = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
        m_requests.append(QString::fromUtf8(path));

        QFile file(QDir(m_root).filePath(QString::fromUtf8(path).mid(1)));
        const bool found = requestLine.value(0) == "GET" && !path.contains("..") && file.open(QIODevice::ReadOnly);
        const QByteArray body = found ? file.readAll() : QByteArray("not found");
        QByteArray type = "text/plain";
        if (path.endsWith(".html"))
            type = "text/html; charset=utf-8";
        socket->write((found ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n") + QByteArray("Content-Type: ") +
                      type + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QString m_root;
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QStringList m_requests;
};
