#pragma once

#include "sites/SiteCheck.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <chrono>
#include <deque>
#include <list>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

// How much SiteChecker does at once, and how long it waits.
struct SiteCheckLimits {
    int atOnce = 64;                            // addresses checked at the same time
    int perServer = 4;                          // of those, on one server (scheme, host and port)
    std::chrono::milliseconds timeLimit{15000}; // for each address, its redirects included
    int redirects = 10;                         // followed for one address
};

// Tries addresses in the background, to tell a site that answers from one that moved or is gone.
//
// Each address is asked for with HEAD, and again with GET where the server refuses HEAD or does not
// answer it (an error status, or the connection closed), reading no more than the answer's head.
// Redirects are followed by hand, up to a limit, so that a site that moved is reported with the
// address it ends at. Each address has one time limit for all of that; several are checked at once,
// with at most a few to any one server, so that one that never answers holds up only its own
// check. An address that is not an http or https address with a host is not asked for.
//
// Everything runs on the thread of the event loop; nothing blocks. checked() comes once for every
// address, in the order the checks end, then finished(); a cancelled check reports nothing more.
class SiteChecker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteChecker)
public:
    using Limits = SiteCheckLimits;

    // Asks through `network`, which must outlive the checker and keep its default settings (no
    // cache).
    SiteChecker(QNetworkAccessManager& network, Limits limits, QObject* parent = nullptr);
    ~SiteChecker() override;

    // Checks each of `addresses` (given once each); a check that is running is cancelled first.
    // The first results come from the event loop, after this returns.
    void start(const QStringList& addresses);
    // Stops every check at once; finished(true) follows before this returns.
    void cancel();
    bool isRunning() const { return m_total > 0; }
    // How many addresses the running check has, and how many of them are done.
    int total() const { return m_total; }
    int done() const { return m_done; }

Q_SIGNALS:
    void checked(const QString& address, const SiteCheck& check);
    void finished(bool cancelled);

private:
    struct Probe;

    // Starts as many waiting checks as the limits allow.
    void startWaiting();
    void ask(Probe& probe);
    // What one answer, or the failure to get one, means for `probe`.
    void onAnswer(Probe& probe, QNetworkReply* reply);
    void conclude(Probe& probe, SiteCheck::Outcome outcome, const QString& detail = {});
    void stop(Probe& probe);

    QNetworkAccessManager& m_network;
    Limits m_limits;
    std::deque<QString> m_waiting;
    std::list<std::unique_ptr<Probe>> m_running;
    QHash<QString, int> m_perServer;
    int m_total = 0;
    int m_done = 0;
    // Counts the checks started and cancelled, so that work queued for one that ended is dropped.
    quint64 m_run = 0;
};
