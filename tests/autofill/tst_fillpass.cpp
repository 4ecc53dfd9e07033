// FillPass through a fake browser whose page answers when the test says, or never.
#include "autofill/FillPass.h"
#include "tests/FakeBrowser.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Status = FillReport::Status;
using Refusals = QList<FillReport::Refusal>;

namespace {

const Product kProduct{"Zipper", "ART", "http://x/pad.xml", "VENDOR-7", "PRODUCT-9"};

// A snapshot of `scope`, a field and a category list after html and head, under a token of its own.
QByteArray snapshot(const QByteArray& scope = "page")
{
    static int taken = 0;
    return R"({"token":"T)" + QByteArray::number(++taken) + R"(","doc":"D","scope":")" + scope +
           R"(","docs":[[2,{"tag":"INPUT","name":"pad_url","type":"text"},)"
           R"({"tag":"SELECT","name":"category","options":["Art"]}]]})";
}

} // namespace

class TestFillPass : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_finished.reset();
        m_pass.reset();
        m_browser.emplace();
        m_pass.emplace(*m_browser, 50ms);
        m_pass->setProduct(kProduct);
        m_finished.emplace(&*m_pass, &FillPass::finished);
    }
    void newPassSupersedesRunningOne();
    void watchdog();
    void passesOverParts_data();
    void passesOverParts();
    void refusalsInDocumentOrder();

private:
    void answerSnapshot() { m_browser->snapshots.takeFirst()(snapshot()); }
    // Answers the oldest plan held: applied, with one field written and one list selected in.
    void answerPlan()
    {
        const QJsonObject& plan = m_browser->plans.at(m_browser->plans.size() - m_browser->applies.size());
        m_browser->applies.takeFirst()(
            {{"token", plan.value("token")}, {"status", "applied"}, {"written", 1}, {"lists", 1}});
    }
    FillReport report(qsizetype i) const { return m_finished->at(i).first().value<FillReport>(); }
    QList<Status> statuses() const
    {
        QList<Status> all;
        for (qsizetype i = 0; i < m_finished->size(); ++i)
            all.append(report(i).status);
        return all;
    }

    std::optional<FakeBrowser> m_browser;
    std::optional<FillPass> m_pass; // its watchdog: 50 ms
    std::optional<QSignalSpy> m_finished;
};

// A pass ends as superseded the moment a newer one starts, whether it waits for its snapshot or
// for the page's report; what the page answers it later is dropped.
void TestFillPass::newPassSupersedesRunningOne()
{
    m_pass->run();
    answerSnapshot();
    m_pass->run();
    m_pass->run();
    QCOMPARE(statuses(), (QList{Status::Superseded, Status::Superseded}));
    answerSnapshot(); // the second pass's
    answerPlan();     // the first pass's
    QCOMPARE(m_browser->plans.size(), 1);
    QCOMPARE(statuses().size(), 2);
    answerSnapshot();
    answerPlan();
    QCOMPARE(statuses(), (QList{Status::Superseded, Status::Superseded, Status::Applied}));
}

// A pass that the page leaves waiting for its snapshot, or for its report, ends as timed out once,
// and what the page answers it later is dropped; a pass that ended in time is not ended again.
void TestFillPass::watchdog()
{
    m_pass->run();
    QVERIFY(QTest::qWaitFor([&] { return m_finished->size() == 1; }));
    m_pass->run();
    answerSnapshot(); // the first pass's
    answerSnapshot();
    QVERIFY(QTest::qWaitFor([&] { return m_finished->size() == 2; }));
    answerPlan();
    m_pass->run();
    answerSnapshot();
    answerPlan();
    QTest::qWait(150);
    QCOMPARE(m_browser->plans.size(), 2);
    QCOMPARE(statuses(), (QList{Status::TimedOut, Status::TimedOut, Status::Applied}));
}

void TestFillPass::passesOverParts_data()
{
    QTest::addColumn<QByteArray>("scope");
    QTest::addColumn<bool>("product");
    QTest::addColumn<int>("reported");
    QTest::newRow("a frame's new document") << QByteArray("frame") << true << int(FillReport::Scope::Frame);
    QTest::newRow("fields added later") << QByteArray("added") << true << int(FillReport::Scope::AddedFields);
    QTest::newRow("no product: nothing goes to the page")
        << QByteArray("frame") << false << int(FillReport::Scope::Frame);
}

// Every snapshot the page offers is filled in a pass of its own, reported once with its scope and
// the page's counts, while a pass over the whole page goes on; one that cannot be read is not.
void TestFillPass::passesOverParts()
{
    QFETCH(QByteArray, scope);
    QFETCH(bool, product);
    const int status = int(product ? Status::Applied : Status::NoProduct); // of every pass
    m_pass->setProduct(product ? std::optional(kProduct) : std::nullopt);
    m_pass->run();
    for (const QByteArray& offered : {snapshot(scope), QByteArray("{"), snapshot(scope)})
        Q_EMIT m_browser->snapshotOffered(offered);
    while (!m_browser->applies.isEmpty())
        answerPlan();
    QCOMPARE(m_finished->size(), 2);
    for (qsizetype i = 0; i < 2; ++i) {
        QCOMPARE(int(report(i).status), status);
        QTEST(int(report(i).scope), "reported");
        QCOMPARE(report(i).written, qsizetype(product));
        QCOMPARE(report(i).lists, qsizetype(product));
    }
    answerSnapshot();
    while (!m_browser->applies.isEmpty())
        answerPlan();
    QCOMPARE(m_finished->size(), 3);
    QCOMPARE(int(report(2).status), status);
    QCOMPARE(int(report(2).scope), int(FillReport::Scope::Page));
}

// The page's refusals and the fields that the plan skipped come out merged in document order; a
// report on another plan counts as superseded. The texts left in the fields are the plan's, less
// the refused ones, as the page altered them.
void TestFillPass::refusalsInDocumentOrder()
{
    FillPlan::Plan plan;
    plan.page = {{"token", "T"}};
    using Reason = FillReport::Reason;
    plan.skipped = {{2, {0, "a", Reason::TakesNoText, {}}}, {6, {1, "c", Reason::HeldByPage, {}}}};
    plan.texts = {{1, "z", "1"}, {3, "#i", "3"}, {4, "b", "4"}, {5, {}, "5"}, {7, "e", "two\nlines"}};
    const QByteArray report = R"({"token":"T","status":"applied","altered":[[7,"twolines"]],)"
                              R"("refused":[[1,0,"z","X"],[4,0,"b","ValueNotKept"],[8,1,"d","Z"]]})";
    const FillReport result = FillPlan::readReport(QJsonDocument::fromJson(report).object(), plan);
    QCOMPARE(int(result.status), int(Status::Applied));
    QCOMPARE(result.refused, (Refusals{{0, "z", Reason::Refused, "X"},
                                       {0, "a", Reason::TakesNoText, {}},
                                       {0, "b", Reason::NotKept, {}},
                                       {1, "c", Reason::HeldByPage, {}},
                                       {1, "d", Reason::Refused, "Z"}}));
    QCOMPARE(int(FillPlan::readReport({{"token", "T2"}, {"status", "applied"}}, plan).status),
             int(Status::Superseded));
    using Texts = QList<std::pair<QString, QString>>;
    QCOMPARE(FillPlan::writtenTexts(QJsonDocument::fromJson(report).object(), plan),
             (Texts{{"#i", "3"}, {"e", "twolines"}}));
    QCOMPARE(FillPlan::writtenTexts({{"token", "T2"}, {"status", "applied"}}, plan), Texts{});
}

QTEST_GUILESS_MAIN(TestFillPass)
#include "tst_fillpass.moc"
