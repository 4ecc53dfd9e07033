#pragma once

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

// The program's end of the web channel to the page script (autofill/page.js), published to the
// page's isolated world only; the page's own scripts cannot reach it. Plans travel to the page as
// JSON through planReady(), reports come back through report().
class PageBridge final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageBridge)
public:
    using QObject::QObject;

    // Hands `plan` to the document `doc`: at once when that document's script is connected,
    // otherwise as the answer to its ready().
    void deliver(const QString& doc, const QJsonObject& plan);

    // Drops plans held for documents that have not connected yet (the page is being replaced).
    void forgetHeld() { m_held.clear(); }

    // Called by the page script once it listens to planReady; answers with the plan held for
    // `doc`, or an empty object.
    Q_INVOKABLE QJsonObject ready(const QString& doc);
    // Called by the page script with the outcome of a plan.
    Q_INVOKABLE void report(const QJsonObject& report);

Q_SIGNALS:
    void planReady(const QJsonObject& plan);
    void reported(const QJsonObject& report);

private:
    // Documents whose script said it is ready, latest last; a few are enough because only the
    // shown document and the one replacing it can still talk.
    QStringList m_readyDocs;
    QHash<QString, QJsonObject> m_held;
};
