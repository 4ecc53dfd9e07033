#include "app/SingleInstance.h"

#include "core/AppFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>
#include <unistd.h>

namespace {

// How long a starting copy may take to hand over, waiting for the holder of the lock to listen and
// to answer, all told.
constexpr int kStartLimitMs = 5000;
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
    const QDeadlineTimer deadline(kStartLimitMs);
    if (askRunningCopy(deadline))
        return Start::HandedOver;
    if (!m_lock.tryLock(0)) {
        // A data folder that cannot be written to is safe from two copies alike.
        if (m_lock.error() != QLockFile::LockFailedError)
            return Start::First;
        // Its holder may be starting still: give it time to listen.
        while (!deadline.hasExpired()) {
            QThread::msleep(kListenWaitMs);
            if (askRunningCopy(deadline))
                return Start::HandedOver;
        }
        return Start::Blocked;
    }
    // A socket left by a copy that crashed is in the way of listening.
    QLocalServer::removeServer(m_serverName);
    if (!m_server.listen(m_serverName))
        qWarning("Another copy started now cannot hand over to this one: %s",
                 qPrintable(m_server.errorString()));
    return Start::First;
}

bool SingleInstance::askRunningCopy(QDeadlineTimer deadline) const
{
    const auto left = [&deadline] { return int(std::max<qint64>(deadline.remainingTime(), 0)); };
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(left()))
        return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(left()))
        return false;
    while (!socket.canReadLine() && !deadline.hasExpired() && socket.waitForReadyRead(left())) {
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
