#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

// The program's end of the web channel to the page script (autofill/page.js), published to the
// page's isolated world only; the page's own scripts cannot reach it. Everything crosses as JSON
// text (formats: autofill/FillPlan.h): plans go to the page through planReady(), reports and the
// snapshots that the page offers by itself come back through report() and offer(); submitted()
// carries no data.
class PageBridge final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageBridge)
public:
    using QObject::QObject;

    // Hands `plan` to the document `doc`: as the answer to the offer being handled, when it is
    // made for that offer; at once when that document's script is connected; otherwise as the
    // answer to its ready().
    void deliver(const QString& doc, const QString& plan);

    // Drops plans held for documents that have not connected yet (the page is being replaced).
    void forgetHeld() { m_held.clear(); }

    // Called by the page script once it listens to planReady; answers with the plan held for
    // `doc`, or an empty string.
    Q_INVOKABLE QString ready(const QString& doc);
    // Called by the page script with the outcome of a plan.
    Q_INVOKABLE void report(const QString& report);
    // Called by the page script with a snapshot of a part of the page that no pass has covered;
    // answers with the plan when the program made it at once, otherwise with an empty string (the
    // plan then comes through planReady).
    Q_INVOKABLE QString offer(const QString& snapshot);
    // Called by the page script when the user sent a form of a document that a pass wrote into.
    Q_INVOKABLE void submitted() { Q_EMIT formSubmitted(); }

Q_SIGNALS:
    void planReady(const QString& doc, const QString& plan);
    void reported(const QByteArray& report);
    void offered(const QByteArray& snapshot);
    void formSubmitted();

private:
    // Documents whose script said it is ready, latest last; a few are enough because only the
    // shown document and the one replacing it can still talk.
    QStringList m_readyDocs;
    QHash<QString, QString> m_held;
    bool m_offering = false;
    QString m_answer; // the plan made while an offer is being handled
};
