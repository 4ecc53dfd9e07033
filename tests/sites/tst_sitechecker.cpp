#include "sites/SiteCheckResults.h"
#include "sites/SiteChecker.h"
#include "tests/LocalHttpServer.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Outcome = SiteCheck::Outcome;

Q_DECLARE_METATYPE(SiteCheck)

class TestSiteChecker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void outcomes_data();
    void outcomes();
    void limitsAndCancel();
    void resultsFile();

private:
    // What checking `addresses` reported, address -> check; fails the row when it does not end in
    // time. The caller goes on only when !QTest::currentTestFailed().
    QHash<QString, SiteCheck> check(SiteChecker& checker, const QStringList& addresses)
    {
        QHash<QString, SiteCheck> found;
        connect(&checker, &SiteChecker::checked, this,
                [&found](const QString& address, const SiteCheck& check) { found.insert(address, check); });
        QSignalSpy finished(&checker, &SiteChecker::finished);
        checker.start(addresses);
        [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000); }();
        disconnect(&checker, &SiteChecker::checked, this, nullptr);
        return found;
    }

    LocalHttpServer m_server{QString()};
    QNetworkAccessManager m_network;
    QString m_closedPort;
};

void TestSiteChecker::initTestCase()
{
    QVERIFY(m_server.start());
    m_server.setPage(u"ok"_s, "<p>here");
    m_server.setStatus(u"old"_s, "301 Moved Permanently", "Location: /ok\r\n");
    m_server.setStatus(u"older"_s, "302 Found", "Location: old\r\n");
    m_server.setStatus(u"loop"_s, "302 Found", "Location: /loop\r\n");
    m_server.setStatus(u"broken"_s, "500 Internal Server Error");
    for (const QString& path : {u"nohead"_s, u"closer"_s})
        m_server.setPage(path, "<p>here");
    m_server.setStatus(u"nohead"_s, "405 Method Not Allowed", {}, "HEAD");
    m_server.setStatus(u"closer"_s, {}, {}, "HEAD");
    m_server.setPage(u"silent"_s, "<p>late");
    m_server.setDelay(u"silent"_s, 60000);
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    m_closedPort = QString::number(closed.serverPort());
}

// Each way an address can end: reachable, moved (through any number of redirects, relative ones
// too, to where it ends), or failed with its reason; HEAD that a server refuses or does not
// answer is asked again with GET.
void TestSiteChecker::outcomes_data()
{
    QTest::addColumn<QString>("address"); // "PATH" on the test server, or a whole address
    QTest::addColumn<SiteCheck::Outcome>("outcome");
    QTest::addColumn<QString>("detail"); // "PATH" for the test server's
    QTest::newRow("reachable") << "ok" << Outcome::Reachable << "";
    QTest::newRow("301") << "old" << Outcome::Moved << "ok";
    QTest::newRow("302 to a 301, relative") << "older" << Outcome::Moved << "ok";
    QTest::newRow("404") << "missing" << Outcome::HttpError << "404 Not Found";
    QTest::newRow("500 to HEAD and GET") << "broken" << Outcome::HttpError << "500 Internal Server Error";
    QTest::newRow("HEAD refused") << "nohead" << Outcome::Reachable << "";
    QTest::newRow("closed on HEAD") << "closer" << Outcome::Reachable << "";
    QTest::newRow("redirect loop") << "loop" << Outcome::TooManyRedirects << "";
    QTest::newRow("refused") << "http://127.0.0.1:CLOSED/" << Outcome::Refused << "";
    QTest::newRow("no answer") << "silent" << Outcome::TimedOut << "";
    QTest::newRow("no such host") << "http://nosuchhost.invalid/" << Outcome::NoSuchHost << "";
    QTest::newRow("not a web address") << "ftp://files.example/" << Outcome::NotWeb << "";
}

void TestSiteChecker::outcomes()
{
    QFETCH(QString, address);
    QFETCH(QString, detail);
    if (!address.contains(u':'))
        address = m_server.url(address);
    address.replace(u"CLOSED"_s, m_closedPort);
    if (!detail.isEmpty() && !detail.contains(u' '))
        detail = m_server.url(detail);
    SiteChecker checker(m_network, {.timeLimit = 1000ms});
    QElapsedTimer clock;
    clock.start();
    const QHash<QString, SiteCheck> found = check(checker, {address});
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(found.keys(), QStringList{address});
    QTEST(found[address].outcome, "outcome");
    QCOMPARE(found[address].detail, detail);
    QCOMPARE(found[address].checkedOn, QDate::currentDate());
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

// At most `perServer` requests reach one server at once, and the others still get through;
// cancelling stops every check at once and reports nothing more. An empty list ends at once.
void TestSiteChecker::limitsAndCancel()
{
    SiteChecker checker(m_network, {.atOnce = 3, .perServer = 2, .timeLimit = 500ms});
    QStringList addresses;
    for (int i = 0; i < 4; ++i)
        addresses.append(m_server.url(u"silent?"_s + QString::number(i)));
    addresses.append(m_server.url(u"ok"_s));
    const qsizetype before = m_server.requests().size();
    QSignalSpy checked(&checker, &SiteChecker::checked);
    QSignalSpy finished(&checker, &SiteChecker::finished);
    checker.start(addresses);
    QTRY_COMPARE(m_server.requests().size() - before, 2);
    QTest::qWait(100);
    QCOMPARE(m_server.requests().size() - before, 2);
    checker.cancel();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].toBool(), true);
    QTest::qWait(600);
    QCOMPARE(checked.size(), 0);

    checker.start(addresses);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 5000);
    QCOMPARE(m_server.requests().size() - before, 7);
    QStringList reachable;
    for (const QList<QVariant>& each : std::as_const(checked)) {
        if (each[1].value<SiteCheck>().outcome == Outcome::Reachable)
            reachable.append(each[0].toString());
    }
    QCOMPARE(reachable, QStringList{m_server.url(u"ok"_s)});
    QCOMPARE(checked.size(), 5);
    checker.start({}); // nothing to check ends too
    QTRY_COMPARE(finished.size(), 3);
}

// The results file reads as the results it still holds: damaged lines are skipped, an address is
// the rest of its line, tabs and all; what is read is written back the same.
void TestSiteChecker::resultsFile()
{
    const SiteCheckResults::Checks checks = SiteCheckResults::parse(
        "2026-12-06\tfine\t\thttp://a/\n2026-13-06\trefused\t\thttp://b/\n2026-12-06\trefused\thttp://c/\n"
        "2026-12-06\trefused\t\t\nno tabs\n2026-12-06\thttp-error\t404 Not Found\thttp://d/\ta");
    const SiteCheckResults::Checks expected{
        {u"http://d/\ta"_s, {Outcome::HttpError, u"404 Not Found"_s, QDate(2026, 12, 6)}}};
    QCOMPARE(checks, expected);
    QCOMPARE(SiteCheckResults::parse(SiteCheckResults::serialize(checks)), checks);
}

QTEST_GUILESS_MAIN(TestSiteChecker)
#include "tst_sitechecker.moc"
