#include "products/ProductProfiles.h"
#include "tests/products/ProfileFolder.h"

using namespace Qt::StringLiterals;

class TestProductProfiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveAndReadBack_data();
    void saveAndReadBack();
    void parse_data();
    void parse();
    void list_data();
    void list();
    void realFileNames();
    void unstorableField_data();
    void unstorableField();
};

void TestProductProfiles::saveAndReadBack_data()
{
    QTest::addColumn<Product>("product");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty fields") << Product{u"Zipper"_s, u"COMPRESSION"_s, u"http://"_s, {}, {}}
                                  << QByteArray(
                                         "\"Zipper\"\r\n\"COMPRESSION\"\r\n\"http://\"\r\n\"\"\r\n\"\"\r\n");
    QTest::newRow("quotes and blanks")
        << Product{u" a \"b\" "_s, u"\""_s, u"\"\""_s, u"  "_s, u"x\"y"_s}
        << QByteArray("\" a \"b\" \"\r\n\"\"\"\r\n\"\"\"\"\r\n\"  \"\r\n\"x\"y\"\r\n");
    QTest::newRow("Windows-1252") << Product{u"Caf\u00e9"_s, {}, u"\u20ac\u0178"_s, {}, {}}
                                  << QByteArray("\"Caf\xe9\"\r\n\"\"\r\n\"\x80\x9f\"\r\n\"\"\r\n\"\"\r\n");
}

void TestProductProfiles::saveAndReadBack()
{
    QFETCH(Product, product);
    ProfileFolder folder; // without Info: the first save creates it
    QCOMPARE(ProductProfiles::save(folder.path(), product), QString());
    QTEST(folder.bytes(product.programName), "bytes");
    QCOMPARE(ProductProfiles::read(folder.path(), product.programName), std::optional(product));
}

void TestProductProfiles::parse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Product>("expected");
    QTest::newRow("missing and too short lines")
        << QByteArray("\"a\"\r\n\"\r\n\r\n\"d\"") << Product{u"a"_s, {}, {}, u"d"_s, {}};
    QTest::newRow("first and last character dropped, whatever they are")
        << QByteArray("[a]\r\nxKx\r\n''\r\n<1>\r\n\"5\"\r\n\"6\"\r\n")
        << Product{u"a"_s, u"K"_s, {}, u"1"_s, u"5"_s};
    QTest::newRow("LF and CR line ends")
        << QByteArray("\"a\"\n\"b\"\r\"c\"\r\n") << Product{u"a"_s, u"b"_s, u"c"_s, {}, {}};
}

void TestProductProfiles::parse()
{
    QFETCH(QByteArray, content);
    QTEST(ProductProfiles::parse(content), "expected");
}

void TestProductProfiles::list_data()
{
    QTest::addColumn<QStringList>("files"); // a name ending in "/" is a folder
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no Info folder") << QStringList{} << QStringList{};
    QTest::newRow("suffix in any letter case, once; sorted ignoring case")
        << QStringList{u"b.TXT"_s, u"a.txt"_s,     u"a.TXT"_s, u"C.Txt"_s,
                       u"x.dat"_s, u"y.txt.bak"_s, u"d.txt/"_s}
        << QStringList{u"a"_s, u"b"_s, u"C"_s};
    QTest::newRow("a name that starts with a dot")
        << QStringList{u".hidden.txt"_s, u"z.txt"_s} << QStringList{u".hidden"_s, u"z"_s};
}

void TestProductProfiles::list()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    ProfileFolder folder;
    for (const QString& file : files) {
        if (file.endsWith(u'/'))
            QDir().mkpath(folder.info() + u'/' + file);
        else
            folder.write(file, {});
    }
    QCOMPARE(ProductProfiles::list(folder.path()), expected);
    for (int i = 0; i < 600; ++i) // no cap on the number of profiles
        folder.write(u"p%1.txt"_s.arg(i), {});
    QCOMPARE(ProductProfiles::list(folder.path()).size(), expected.size() + 600);
}

void TestProductProfiles::realFileNames()
{
    ProfileFolder folder;
    folder.write(u"Notes.TXT"_s, ProfileFolder::profile({u"Notes"_s, u"OFFICE"_s, {}, {}, {}}));
    QCOMPARE(ProductProfiles::read(folder.path(), u"Notes"_s)->categoryKeyword, u"OFFICE"_s);
    QVERIFY(!ProductProfiles::read(folder.path(), u"notes"_s));
    // Saving replaces the file under its real name rather than adding a second one.
    QCOMPARE(ProductProfiles::save(folder.path(), Product{u"Notes"_s, u"TIME"_s, {}, {}, {}}), QString());
    QCOMPARE(QDir(folder.info()).entryList(QDir::Files), QStringList{u"Notes.TXT"_s});
    QVERIFY(ProductProfiles::remove(folder.path(), u"Notes"_s));
    QCOMPARE(folder.snapshot(), (QMap<QString, QByteArray>{{u"Info"_s, "<dir>"}}));
}

void TestProductProfiles::unstorableField_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("outside Windows-1252") << u"http://\u4e2d"_s;
    QTest::newRow("half a surrogate pair at the end") << (u"http://x"_s + QChar(0xD800));
    QTest::newRow("line break") << u"http://x\r\n"_s;
}

void TestProductProfiles::unstorableField()
{
    QFETCH(QString, field);
    QVERIFY(!ProductProfiles::serialize(Product{u"Zipper"_s, {}, field, {}, {}}));
    QVERIFY(!ProductProfiles::serialize(Product{u"Zipper"_s, {}, {}, {}, field}));
}

QTEST_GUILESS_MAIN(TestProductProfiles)
#include "tst_productprofiles.moc"
