#include "sites/ProgressStore.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using Marks = ProgressStore::Marks;

namespace {

// "entry=yyyy-mm-dd" for each mark, joined by "|".
QString described(const Marks& marks)
{
    QStringList texts;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it)
        texts.append(it.key() + u'=' + it.value().toString(Qt::ISODate));
    return texts.join(u'|');
}

const QDate kDay1(2026, 12, 6);
const QDate kDay2(2026, 12, 7);

} // namespace

class TestProgressStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void marksOnDisk();
    void renameCarriesMarks();
    void failedSaves_data();
    void failedSaves();
};

void TestProgressStore::parse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("marks");
    QTest::newRow("empty") << QByteArray("") << QString();
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe", 12) << QString();
    QTest::newRow("damaged lines skipped, first of an entry kept")
        << QByteArray("2026-12-06 1000apps\r\nnot a mark\r\n2026-02-30 bad day\r\n2026-12-07 1000apps\r\n"
                      "2026-12-07\r\n2026-12-0x y\r\n")
        << u"1000apps=2026-12-06"_s;
    QTest::newRow("entry as it reads: blanks, tab, empty, UTF-8")
        << QByteArray("2026-01-02  a\tb \n2026-01-03 \r2026-01-04 caf\xc3\xa9")
        << u"=2026-01-03| a\tb =2026-01-02|café=2026-01-04"_s;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "2026-12-06 x\r\n")
                                     << u"x=2026-12-06"_s;
}

void TestProgressStore::parse()
{
    QFETCH(QByteArray, content);
    const Marks marks = ProgressStore::parse(content);
    QTEST(described(marks), "marks");
    QCOMPARE(ProgressStore::parse(ProgressStore::serialize(marks)), marks);
}

// Marks are saved at every change, read back by the next store, and kept for the run only without a
// product. The product chosen last is remembered.
void TestProgressStore::marksOnDisk()
{
    QTemporaryDir dir;
    ProgressStore store(dir.path());
    QCOMPARE(store.rememberedProduct(), std::nullopt);
    store.setProduct(u"Zipper Pro"_s);
    QVERIFY(store.setMark(u"http://x.example/"_s, kDay2).ok());
    QVERIFY(store.setMark(u"1000apps"_s, kDay1).ok());
    QVERIFY(store.setMark(u"gone"_s, kDay1).ok());
    QVERIFY(store.setMark(u"gone"_s, std::nullopt).ok());
    QCOMPARE(readAll(dir.filePath(u"Progress/Zipper Pro.txt"_s)),
             "2026-12-06 1000apps\r\n2026-12-07 http://x.example/\r\n");
    QVERIFY(store.rememberProduct(u"Zipper Pro"_s).ok());
    QCOMPARE(readAll(dir.filePath(u"lastproduct.txt"_s)), "Zipper Pro\r\n");

    ProgressStore next(dir.path());
    QCOMPARE(next.rememberedProduct(), u"Zipper Pro"_s);
    next.setProduct(u"Zipper Pro"_s);
    QCOMPARE(described(next.marks()), u"1000apps=2026-12-06|http://x.example/=2026-12-07"_s);
    const auto before = tree(dir.path());
    next.setProduct(std::nullopt);
    QVERIFY(next.marks().isEmpty());
    QVERIFY(next.setMark(u"1000apps"_s, kDay2).ok());
    QCOMPARE(next.markedOn(u"1000apps"_s), kDay2);
    QCOMPARE(tree(dir.path()), before);
}

// A rename joins the old name's marks to the new name's, the old day winning, and the current
// product follows it; the old file goes. Marks of a deleted product stay where they are.
void TestProgressStore::renameCarriesMarks()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"Progress"_s));
    writeFile(dir.filePath(u"Progress/Old.txt"_s), "2026-12-06 a\r\n2026-12-06 both\r\n");
    writeFile(dir.filePath(u"Progress/New.txt"_s), "2026-12-07 both\r\n2026-12-07 n\r\n");
    ProgressStore store(dir.path());
    store.setProduct(u"Old"_s);
    QVERIFY(store.setMark(u"unsaved"_s, kDay2).ok());
    QVERIFY(store.renameProduct(u"Old"_s, u"New"_s).ok());
    const QString joined = u"a=2026-12-06|both=2026-12-06|n=2026-12-07|unsaved=2026-12-07"_s;
    QCOMPARE(store.product(), u"New"_s);
    QCOMPARE(described(store.marks()), joined);
    QCOMPARE(tree(dir.filePath(u"Progress"_s)).keys(), QStringList{u"New.txt"_s});
    ProgressStore next(dir.path());
    next.setProduct(u"New"_s);
    QCOMPARE(described(next.marks()), joined);
}

// A save that fails says so, keeps the change in memory, leaves the file and the folders as they
// were, and the next save that can write saves everything.
void TestProgressStore::failedSaves_data()
{
    QTest::addColumn<QString>("blocked"); // in the data folder
    QTest::newRow("Progress cannot be written") << u"Progress"_s;
    QTest::newRow("data folder missing") << u""_s;
}

void TestProgressStore::failedSaves()
{
    QFETCH(QString, blocked);
    QTemporaryDir dir;
    const QString data = blocked.isEmpty() ? dir.filePath(u"missing"_s) : dir.path();
    ProgressStore store(data);
    store.setProduct(u"A"_s);
    if (!blocked.isEmpty()) {
        QVERIFY(store.setMark(u"saved"_s, kDay1).ok());
        blockFolder(dir.filePath(blocked));
    }
    const auto before = tree(dir.path());
    const ProgressStore::SaveResult failed = store.setMark(u"kept"_s, kDay2);
    QCOMPARE(failed.status, ProgressStore::SaveResult::Status::WriteFailed);
    QVERIFY(!failed.detail.isEmpty());
    QCOMPARE(store.markedOn(u"kept"_s), kDay2);
    if (blocked.isEmpty())
        QVERIFY(!store.rememberProduct(u"A"_s).ok());
    QCOMPARE(tree(dir.path()), before);
    if (blocked.isEmpty())
        return;
    unblockFolder(dir.filePath(blocked));
    QVERIFY(store.setMark(u"next"_s, kDay2).ok());
    QCOMPARE(readAll(dir.filePath(u"Progress/A.txt"_s)),
             "2026-12-07 kept\r\n2026-12-07 next\r\n2026-12-06 saved\r\n");
}

QTEST_APPLESS_MAIN(TestProgressStore)
#include "tst_progressstore.moc"
