#include "sites/ProgressStore.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestProgressStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void files();
    void copyMarks();
};

// A file reads as the marks it still holds: damaged lines are skipped, an entry's text is kept as
// it reads, and what is read is written back the same.
void TestProgressStore::parse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ProgressStore::Marks>("marks");
    QTest::newRow("damaged lines skipped, first of an entry kept")
        << QByteArray("2026-12-06 a\r\nnot a mark\r\n2026-02-30 bad day\r\n2026-12-07 a\r\n2026-12-07\r\n")
        << ProgressStore::Marks{{u"a"_s, QDate(2026, 12, 6)}};
    QTest::newRow("blanks, tab, empty, UTF-8, byte-order mark, any line end")
        << QByteArray("\xEF\xBB\xBF"
                      "2026-01-02  a\tb \n2026-01-03 \r2026-01-04 caf\xc3\xa9")
        << ProgressStore::Marks{
               {u""_s, QDate(2026, 1, 3)}, {u" a\tb "_s, QDate(2026, 1, 2)}, {u"café"_s, QDate(2026, 1, 4)}};
}

void TestProgressStore::parse()
{
    QFETCH(QByteArray, content);
    QFETCH(ProgressStore::Marks, marks);
    QCOMPARE(ProgressStore::parse(content), marks);
    QCOMPARE(ProgressStore::parse(ProgressStore::serialize(marks)), marks);
}

// Every change is saved at once. A rename joins the old name's marks to the new name's, the old
// day winning, and the old file goes.
void TestProgressStore::files()
{
    QTemporaryDir dir;
    const QDate day1(2026, 12, 6);
    ProgressStore store(dir.path());
    store.setProduct(u"Old"_s);
    for (const QString& entry : {u"both"_s, u"http://x.example/"_s, u"gone"_s})
        QVERIFY(store.setMark(entry, day1).ok());
    QVERIFY(store.setMark(u"gone"_s, std::nullopt).ok());
    QVERIFY(writeFile(dir.filePath(u"Progress/New.txt"_s), "2026-12-07 both\r\n2026-12-07 n\r\n"));
    QVERIFY(store.renameProduct(u"Old"_s, u"New"_s).ok());
    QCOMPARE(store.product(), u"New"_s);

    QCOMPARE(tree(dir.path()), (QMap<QString, QByteArray>{
                                   {u"Progress"_s, "<folder>"},
                                   {u"Progress/New.txt"_s,
                                    "2026-12-06 both\r\n2026-12-06 http://x.example/\r\n2026-12-07 n\r\n"}}));
}

// A changed entry takes its marks along for every product, the current one, those on disk only and
// the marks without a product, where it has none of its own; the old entry keeps its marks.
void TestProgressStore::copyMarks()
{
    QTemporaryDir dir;
    ProgressStore store(dir.path());
    QVERIFY(store.setMark(u"old"_s, QDate(2026, 1, 1)).ok());
    for (const QString& product : {u"B"_s, u"A"_s}) {
        store.setProduct(product);
        QVERIFY(store.setMark(u"old"_s, QDate(2026, 1, 2)).ok());
    }
    QVERIFY(store.setMark(u"new"_s, QDate(2026, 1, 3)).ok());
    QVERIFY(store.copyMarks(u"old"_s, u"new"_s).ok());
    QCOMPARE(store.markedOn(u"new"_s), QDate(2026, 1, 3));
    QCOMPARE(readAll(dir.filePath(u"Progress/B.txt"_s)), "2026-01-02 new\r\n2026-01-02 old\r\n");
    store.setProduct(std::nullopt);
    QCOMPARE(store.markedOn(u"new"_s), QDate(2026, 1, 1));
}

QTEST_APPLESS_MAIN(TestProgressStore)
#include "tst_progressstore.moc"
