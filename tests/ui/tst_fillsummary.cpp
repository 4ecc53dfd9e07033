// The status bar's line on a page's fill, in English with its plural forms.
#include "core/Translations.h"
#include "ui/FillSummary.h"

#include <QTest>

using Reason = FillReport::Reason;

class TestFillSummary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_translations.install(QLocale(QLocale::English), QString()); }
    void text_data();
    void text();

private:
    Translations m_translations;
};

void TestFillSummary::text_data()
{
    QTest::addColumn<qsizetype>("written");
    QTest::addColumn<qsizetype>("lists");
    QTest::addColumn<QList<FillReport::Refusal>>("refused");
    QTest::addColumn<QDateTime>("padTaken");
    QTest::addColumn<QString>("line");
    const QDateTime taken(QDate(2026, 12, 3), QTime(9, 0));
    QTest::newRow("one of each, no PAD") << qsizetype(1) << qsizetype(1) << QList<FillReport::Refusal>()
                                         << QDateTime() << "Filled 1 field and 1 list from Zipper.";
    QTest::newRow("from the PAD") << qsizetype(14) << qsizetype(2) << QList<FillReport::Refusal>() << taken
                                  << "Filled 14 fields and 2 lists from Zipper (PAD of 3 Dec 2026).";
    QTest::newRow("reasons in words, no text type left out")
        << qsizetype(2) << qsizetype(0)
        << QList<FillReport::Refusal>{{0, "filedesc", Reason::HeldByPage, {}},
                                      {0, "agree", Reason::TakesNoText, {}},
                                      {0, "count", Reason::NotKept, {}},
                                      {1, "year", Reason::Refused, "TypeError"}}
        << QDateTime()
        << "Filled 2 fields from Zipper. Kept as the page had them: filedesc. Not taken: count (does "
           "not take such a value), year (the page refused it: TypeError).";
    QTest::newRow("nothing") << qsizetype(0) << qsizetype(0) << QList<FillReport::Refusal>() << QDateTime()
                             << "Nothing on this page to fill from Zipper.";
}

void TestFillSummary::text()
{
    QFETCH(qsizetype, written);
    QFETCH(qsizetype, lists);
    QFETCH(QList<FillReport::Refusal>, refused);
    QFETCH(QDateTime, padTaken);
    FillReport report;
    report.status = FillReport::Status::Applied;
    report.written = written;
    report.lists = lists;
    report.refused = refused;
    FillSummary summary;
    QVERIFY(summary.add(report));
    QTEST(summary.text("Zipper", padTaken), "line");
}

QTEST_GUILESS_MAIN(TestFillSummary)
#include "tst_fillsummary.moc"
