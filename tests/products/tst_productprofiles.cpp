#include "products/CategoryCatalogue.h"
#include "products/ProductList.h"
#include "products/ProductProfiles.h"
#include "tests/TestFiles.h"

#include <QSet>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestProductProfiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveAndReadBack_data();
    void saveAndReadBack();
    void refusedValues();
    void listAndRealFileNames();
    void preselection();
    void catalogueShape();
};

// Each line is the field between quotes, unaltered; reading drops a line's first and last
// character whatever they are, and a missing or too short line reads as empty.
void TestProductProfiles::saveAndReadBack_data()
{
    QTest::addColumn<Product>("product");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("readable"); // more content that reads as the same product
    QTest::newRow("quotes and blanks") << Product{u" a \"b\" "_s, u"\""_s, {}, u"  "_s, {}}
                                       << QByteArray("\" a \"b\" \"\r\n\"\"\"\r\n\"\"\r\n\"  \"\r\n\"\"\r\n")
                                       << QByteArray("[ a \"b\" ]\n'\"'\r\"\r\n<  >");
    QTest::newRow("Windows-1252") << Product{u"Caf\u00e9"_s, {}, u"\u20ac\u0178"_s, {}, u"5"_s}
                                  << QByteArray("\"Caf\xe9\"\r\n\"\"\r\n\"\x80\x9f\"\r\n\"\"\r\n\"5\"\r\n")
                                  << QByteArray("\"Caf\xe9\"\r\n\r\n\"\x80\x9f\"\r\nx\r\n\"5\"\r\n\"6\"\r\n");
}

void TestProductProfiles::saveAndReadBack()
{
    QFETCH(Product, product);
    QFETCH(QByteArray, readable);
    QTemporaryDir folder; // without Info: the first save creates it
    QCOMPARE(ProductProfiles::save(folder.path(), product), QString());
    QTEST(readAll(folder.filePath(u"Info/"_s + product.programName + u".txt"_s)), "bytes");
    QCOMPARE(ProductProfiles::read(folder.path(), product.programName), std::optional(product));
    QVERIFY(ProductProfiles::parse(readable) == product);
}

// Names that would leave Info or that a file name cannot hold, and fields a line cannot hold.
void TestProductProfiles::refusedValues()
{
    for (const QString& name : {u""_s, u"a/b"_s, u"a\\b"_s, u"."_s, u"a..b"_s, u"Be\tta"_s, u"\u4e2d"_s})
        QVERIFY2(!ProductProfiles::nameProblem(name).isEmpty(), qPrintable(name));
    QCOMPARE(ProductProfiles::nameProblem(u" .a b. "_s), QString());
    for (const QString& field : {u"http://\u4e2d"_s, QString(u"x"_s + QChar(0xD800)), u"x\r\n"_s}) {
        QVERIFY(!ProductProfiles::serialize(Product{u"Zipper"_s, {}, field, {}, {}}));
        QVERIFY(!ProductProfiles::serialize(Product{u"Zipper"_s, {}, {}, {}, field}));
    }
}

// "*.txt" in any letter case, each name once, sorted ignoring case; a product is read, replaced
// and deleted under the real name of its file.
void TestProductProfiles::listAndRealFileNames()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(u"Info/d.txt"_s));
    for (const char* file : {"b.TXT", "a.txt", "a.TXT", "C.Txt", "x.dat", "y.txt.bak", ".hidden.txt"})
        writeFile(folder.filePath(u"Info/"_s + QLatin1StringView(file)), "\"\"\r\n\"OFFICE\"\r\n");
    QCOMPARE(ProductProfiles::list(folder.path()), (QStringList{u".hidden"_s, u"a"_s, u"b"_s, u"C"_s}));
    QCOMPARE(ProductProfiles::read(folder.path(), u"C"_s)->categoryKeyword, u"OFFICE"_s);
    QVERIFY(!ProductProfiles::read(folder.path(), u"c"_s));
    QCOMPARE(ProductProfiles::save(folder.path(), Product{u"C"_s, u"TIME"_s, {}, {}, {}}), QString());
    QCOMPARE(ProductProfiles::read(folder.path(), u"C"_s)->categoryKeyword, u"TIME"_s);
    QVERIFY(ProductProfiles::remove(folder.path(), u"b"_s));
    QCOMPARE(QDir(folder.filePath(u"Info"_s)).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{u".hidden.txt"_s, u"C.Txt"_s, u"a.TXT"_s, u"a.txt"_s, u"x.dat"_s, u"y.txt.bak"_s}));
}

// The manager opens on the entry equal to the active product's name, else the first containing it
// (letter case counts; tst_productdialogs opens on one), else the first.
void TestProductProfiles::preselection()
{
    QCOMPARE(ProductList::preselectedRow({u"AZip"_s, u"Zip"_s}, u"Zip"_s), 1);
    QCOMPARE(ProductList::preselectedRow({u"A"_s, u"Zip"_s}, u"zip"_s), 0);
    QCOMPARE(ProductList::preselectedRow({}, u"Zip"_s), -1);
}

// 157 entries; sub-categories carry exactly four blanks; a top-level entry has the keyword of its
// first sub-category; every keyword shown again in the editor gives that keyword back.
void TestProductProfiles::catalogueShape()
{
    using namespace CategoryCatalogue;
    const QStringList texts = entries();
    QCOMPARE(texts.size(), 157);
    QSet<QString> keywords;
    for (int i = 0; i < texts.size(); ++i) {
        keywords.insert(keyword(i));
        QVERIFY2(texts[i].startsWith(u' ')
                     ? texts[i].startsWith(u"    "_s) && texts[i][4] != u' '
                     : keyword(i) == keyword(i + 1) && texts.value(i + 1).startsWith(u' '),
                 qPrintable(texts[i]));
        QCOMPARE(keyword(entryForKeyword(keyword(i))), keyword(i));
    }
    QCOMPARE(keywords.size(), 138);
    QCOMPARE(entry(157) + keyword(-1), QString());
}

QTEST_GUILESS_MAIN(TestProductProfiles)
#include "tst_productprofiles.moc"
