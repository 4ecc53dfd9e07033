// formtide-sitecheckbench [LIMIT_MS]
//
// Times "Check Sites" over a list the size of a real one: 300 sites served from 127.0.0.1, of
// which 100 accept the connection and never answer (each on a server of its own, as dead sites
// are) and 200 answer at once; the silent ones are spread through the list. Each address has
// LIMIT_MS (5000 unless given) as its time limit, the limits being otherwise the program's. Prints
// the time the whole check took and "ratio=R.RR", that time over the time limit, and how many
// sites ended each way.

#include "sites/SiteChecker.h"
#include "tests/LocalHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdio>
#include <list>

namespace {

constexpr int kSites = 300;
constexpr int kSilentEvery = 3; // one site in three never answers

// Takes every connection and says nothing.
class SilentServer final : public QTcpServer {
public:
    SilentServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                socket->setParent(this);
        });
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int limitMs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5000;
    if (limitMs <= 0) {
        std::fprintf(stderr, "usage: formtide-sitecheckbench [LIMIT_MS]\n");
        return 2;
    }
    LocalHttpServer answering{QString()};
    if (!answering.start())
        return 1;
    std::list<SilentServer> silent;
    QStringList addresses;
    for (int site = 0; site < kSites; ++site) {
        const QString path = QStringLiteral("site%1/submit.html").arg(site);
        if (site % kSilentEvery == 1) {
            SilentServer& server = silent.emplace_back();
            if (!server.listen(QHostAddress::LocalHost))
                return 1;
            addresses.append(QStringLiteral("http://127.0.0.1:%1/%2").arg(server.serverPort()).arg(path));
        } else {
            answering.setPage(path, "<form><input name=pad_url></form>");
            addresses.append(answering.url(path));
        }
    }

    QNetworkAccessManager network;
    SiteCheckLimits limits;
    limits.timeLimit = std::chrono::milliseconds(limitMs);
    SiteChecker checker(network, limits);
    QHash<SiteCheck::Outcome, int> outcomes;
    QObject::connect(&checker, &SiteChecker::checked, &app,
                     [&outcomes](const QString&, const SiteCheck& check) { ++outcomes[check.outcome]; });
    QElapsedTimer clock;
    QObject::connect(&checker, &SiteChecker::finished, &app, [&] {
        const qint64 elapsed = clock.elapsed();
        std::printf("sites=%d silent=%zu at_once=%d limit_ms=%d\n", kSites, silent.size(), limits.atOnce,
                    limitMs);
        std::printf("reachable=%d timed_out=%d other=%d\n", outcomes.value(SiteCheck::Outcome::Reachable),
                    outcomes.value(SiteCheck::Outcome::TimedOut),
                    kSites - outcomes.value(SiteCheck::Outcome::Reachable) -
                        outcomes.value(SiteCheck::Outcome::TimedOut));
        std::printf("elapsed_ms=%lld\nratio=%.2f\n", static_cast<long long>(elapsed),
                    static_cast<double>(elapsed) / limitMs);
        QCoreApplication::quit();
    });
    clock.start();
    checker.start(addresses);
    return QCoreApplication::exec();
}
