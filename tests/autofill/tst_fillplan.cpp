#include "autofill/FillPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

namespace {

const Product kProduct{QStringLiteral("Zipper"), QStringLiteral("CAD"),
                       QStringLiteral("http://example.com/pad.xml"), QStringLiteral("VENDOR-7"),
                       QStringLiteral("PRODUCT-9")};

QJsonArray element(const QString& tag, const QString& name)
{
    return QJsonArray{tag, name};
}

QJsonArray list(const QString& name, const QStringList& options)
{
    return QJsonArray{QStringLiteral("SELECT"), name, QJsonArray::fromStringList(options)};
}

QByteArray snapshot(const QJsonArray& docs)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("token"), QStringLiteral("T1")},
                                     {QStringLiteral("doc"), QStringLiteral("D1")},
                                     {QStringLiteral("docs"), docs}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

class TestFillPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesInDocumentOrder();
    void unreadableSnapshot_data();
    void unreadableSnapshot();
    void report_data();
    void report();
};

void TestFillPlan::writesInDocumentOrder()
{
    // Two documents (the page and one same-origin frame): positions run on across them.
    const QJsonArray top{
        1, // html, without a name
        element(QStringLiteral("INPUT"), QStringLiteral("regnowvenderid")),
        QJsonValue(), // unreadable element: skipped, still counted
        list(QStringLiteral("pad_url"), {QStringLiteral("CAD")}), // lists follow the category rules only
        list(QStringLiteral("category"),
             {QStringLiteral("Arcade"), QStringLiteral("CAD"), QStringLiteral("Other")}),
        element(QStringLiteral("textarea"), QStringLiteral("notes")), // tag case ignored
        element(QStringLiteral("DIV"), QStringLiteral("pad_url")),    // not a field
        element(QStringLiteral("PASSWORD"), QStringLiteral("regnow")),
        element(QStringLiteral("INPUT"), QStringLiteral("email")),
        list(QStringLiteral("subcat"), {QStringLiteral("Arcade")}), // nothing to select: no write
        3,                                                          // three elements without a name
    };
    const QJsonArray frame{element(QStringLiteral("INPUT"), QStringLiteral("padfile"))};

    const std::optional<QJsonObject> plan = FillPlan::make(snapshot({top, frame}), kProduct);
    QVERIFY(plan);
    QCOMPARE(plan->value(u"token").toString(), QStringLiteral("T1"));
    QCOMPARE(plan->value(u"doc").toString(), QStringLiteral("D1"));
    const QJsonArray expected{
        QJsonArray{1, QStringLiteral("VENDOR-7")},
        QJsonArray{4, QJsonArray{1}},
        QJsonArray{5, QStringLiteral("http://example.com/pad.xml")},
        QJsonArray{7, QStringLiteral("PRODUCT-9")},
        QJsonArray{13, QStringLiteral("http://example.com/pad.xml")},
    };
    QCOMPARE(plan->value(u"writes").toArray(), expected);
}

void TestFillPlan::unreadableSnapshot_data()
{
    QTest::addColumn<QByteArray>("snapshot");
    QTest::newRow("empty (the page script did not run)") << QByteArray();
    QTest::newRow("truncated") << QByteArray(R"({"token":"T1","docs":[["HTML")");
    QTest::newRow("docs not a list") << QByteArray(R"({"token":"T1","docs":{}})");
}

void TestFillPlan::unreadableSnapshot()
{
    QFETCH(QByteArray, snapshot);
    QVERIFY(!FillPlan::make(snapshot, kProduct));
}

void TestFillPlan::report_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<int>("status");
    QTest::addColumn<qsizetype>("written");
    QTest::addColumn<QList<FillReport::Refusal>>("refused");

    const int applied = int(FillReport::Status::Applied);
    const int superseded = int(FillReport::Status::Superseded);
    QTest::newRow("applied")
        << QByteArray(
               R"({"token":"T1","status":"applied","written":3,"lists":1,"refused":[[1,"upload_file","InvalidStateError"]]})")
        << applied << qsizetype(3)
        << QList<FillReport::Refusal>{
               {1, QStringLiteral("upload_file"), QStringLiteral("InvalidStateError")}};
    QTest::newRow("stale") << QByteArray(R"({"token":"T1","status":"stale"})") << superseded << qsizetype(0)
                           << QList<FillReport::Refusal>{};
    QTest::newRow("another plan's report") << QByteArray(R"({"token":"T0","status":"applied","written":3})")
                                           << superseded << qsizetype(0) << QList<FillReport::Refusal>{};
}

void TestFillPlan::report()
{
    QFETCH(QByteArray, report);
    QFETCH(int, status);
    QFETCH(qsizetype, written);
    QFETCH(QList<FillReport::Refusal>, refused);
    const FillReport result =
        FillPlan::readReport(QJsonDocument::fromJson(report).object(), QStringLiteral("T1"));
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.written, written);
    QCOMPARE(result.refused, refused);
}

QTEST_GUILESS_MAIN(TestFillPlan)
#include "tst_fillplan.moc"
