#include "app/SingleInstance.h"

#include "core/AppFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace {

constexpr int kAnswerLimitMs = 5000;
// How long a copy that finds the lock taken waits for its holder to listen.
constexpr int kListenWaits = 15;
constexpr int kListenWaitMs = 200;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
const QByteArray kActivated = QByteArrayLiteral("activated\n");

QString serverNameFor(const QString& dataFolder)
{
    const QString folder = QDir(dataFolder).canonicalPath();
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray(QByteArray::number(::getuid()) + '\n' +
                                            QFile::encodeName(folder.isEmpty() ? dataFolder : folder)),
                                 QCryptographicHash::Sha256);
    return QStringLiteral("formtide-") + QString::fromLatin1(hash.toHex().left(24));
}

} // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), m_serverName(serverNameFor(dataFolder)),
      m_lock(AppFolder::path(dataFolder, AppFolder::instanceLockFile()))
{
    // Never stale by age: a copy may run for weeks. A lock whose process is gone is stale at once.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

SingleInstance::Start SingleInstance::start()
{
    if (askRunningCopy())
        return Start::HandedOver;
    if (!m_lock.tryLock(0)) {
        // A data folder that cannot be written to is safe from two copies alike.
        if (m_lock.error() != QLockFile::LockFailedError)
            return Start::First;
        // Its holder may be starting still: give it time to listen.
        for (int wait = 0; wait < kListenWaits; ++wait) {
            QThread::msleep(kListenWaitMs);
            if (askRunningCopy())
                return Start::HandedOver;
        }
        return Start::Blocked;
    }
    // A socket left by a copy that crashed is in the way of listening.
    QLocalServer::removeServer(m_serverName);
    m_server.listen(m_serverName);
    return Start::First;
}

bool SingleInstance::askRunningCopy() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kAnswerLimitMs))
        return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(kAnswerLimitMs))
        return false;
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerLimitMs)) {
    }
    return socket.readLine() == kActivated;
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kActivate) {
                Q_EMIT activationRequested();
                socket->write(kActivated);
            }
            socket->disconnectFromServer();
        });
    }
}
