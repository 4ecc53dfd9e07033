#pragma once

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One running copy of the program per data folder. The copy that starts first holds the lock file
// in the data folder (QLockFile; a lock left by a copy that crashed is taken over) and listens on a
// local socket named after the user and the data folder. A later copy on the same folder asks it
// over that socket to bring its window to the front, and ends: two copies never write the same
// files.
//
// The socket's protocol: the later copy sends "activate\n"; the first emits activationRequested()
// and answers "activated\n".
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)
public:
    enum class Start {
        First,      // this copy holds the data folder
        HandedOver, // the running copy was asked to show itself; this one ends
        Blocked     // another copy holds the data folder and does not answer
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

    // Takes the data folder, or hands over to the copy that holds it. A data folder where no lock
    // can be written is taken without one. Needs the application object; waits five seconds at
    // most in all, without an event loop.
    Start start();

Q_SIGNALS:
    void activationRequested();

private:
    bool askRunningCopy(QDeadlineTimer deadline) const;
    void answer();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};
