#include "products/CategoryCatalogue.h"
#include "products/ProductProfiles.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using Kind = ProductProfiles::Problem::Kind;

class TestProductProfiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveAndReadBack_data();
    void saveAndReadBack();
    void refused_data();
    void refused();
    void listAndRealFileNames();
    void catalogue();
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
    QTest::newRow("Windows-1252, dots in the name")
        << Product{u"Caf\u00e9 A..Z..."_s, {}, u"\u20ac\u0178"_s, {}, u"5"_s}
        << QByteArray("\"Caf\xe9 A..Z...\"\r\n\"\"\r\n\"\x80\x9f\"\r\n\"\"\r\n\"5\"\r\n")
        << QByteArray("\"Caf\xe9 A..Z...\"\r\n\r\n\"\x80\x9f\"\r\nx\r\n\"5\"\r\n\"6\"\r\n");
}

void TestProductProfiles::saveAndReadBack()
{
    QFETCH(Product, product);
    QFETCH(QByteArray, readable);
    QTemporaryDir folder; // without Info: the first save creates it
    QVERIFY(ProductProfiles::save(folder.path(), product).ok());
    QTEST(readAll(folder.filePath(u"Info/"_s + product.programName + u".txt"_s)), "bytes");
    QCOMPARE(ProductProfiles::read(folder.path(), product.programName), std::optional(product));
    QCOMPARE(ProductProfiles::list(folder.path()), QStringList{product.programName});
    QCOMPARE(ProductProfiles::parse(readable), product);
}

// Names that cannot name a visible file inside Info, and fields a line cannot hold: the first
// refused field in profile order is named, and the character as the user typed it, a pair whole.
void TestProductProfiles::refused_data()
{
    QTest::addColumn<Product>("product");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<ProductField>("field");
    QTest::addColumn<QString>("detail");
    const auto row = [](const char* tag, Product product, Kind kind, ProductField field,
                        QString detail = {}) { QTest::newRow(tag) << product << kind << field << detail; };
    const auto name = [&](const QString& name, Kind kind) {
        row(name.isEmpty() ? "empty" : qPrintable(name), {name, {}, u"\u4e2d"_s, {}, {}}, kind,
            ProductField::ProgramName);
    };
    name({}, Kind::EmptyName);
    name(u"a\\b"_s, Kind::NameWithSeparator);
    name(u".."_s, Kind::NameWithLeadingDot);
    name(u"Be\tta"_s, Kind::NameWithControlCharacter);
    const auto field = ProductField::PadUrl;
    row("name outside Windows-1252", {u"\u4e2d"_s, {}, u"\u4e2d"_s, {}, {}}, Kind::UnencodableCharacter,
        ProductField::ProgramName, u"\u4e2d"_s);
    row("a pair", {u"Z"_s, {}, u"a\U0001F600\u4e2d"_s, {}, {}}, Kind::UnencodableCharacter, field,
        u"\U0001F600"_s);
    row("a lone half", {u"Z"_s, {}, u"x\xD800y"_s, {}, {}}, Kind::UnencodableCharacter, field,
        QString(QChar(0xD800)));
    row("line break", {u"Z"_s, {}, u"p\r\n"_s, {}, {}}, Kind::LineBreak, field);
}

void TestProductProfiles::refused()
{
    QFETCH(Product, product);
    QTemporaryDir folder;
    const auto saved = ProductProfiles::save(folder.path(), product);
    QVERIFY(!saved);
    QTEST(saved.problem().kind, "kind");
    QTEST(saved.problem().field, "field");
    QTEST(saved.problem().detail, "detail");
    QCOMPARE(tree(folder.path()), (QMap<QString, QByteArray>{}));
}

// "*.txt" in any letter case, each name once, sorted ignoring case, without the names a product
// cannot have; a product is read, replaced and deleted under the real name of its file.
void TestProductProfiles::listAndRealFileNames()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(u"Info/d.txt"_s));
    for (const char* file : {"b.TXT", "a.txt", "a.TXT", "C.Txt", "x.dat", "y.txt.bak", ".hidden.txt", ".txt",
                             "..txt", "Zip....txt"})
        QVERIFY(writeFile(folder.filePath(u"Info/"_s + QLatin1StringView(file)), "\"\"\r\n\"OFFICE\"\r\n"));
    QCOMPARE(ProductProfiles::list(folder.path()), (QStringList{u"a"_s, u"b"_s, u"C"_s, u"Zip..."_s}));
    QCOMPARE(ProductProfiles::read(folder.path(), u"C"_s)->categoryKeyword, u"OFFICE"_s);
    QVERIFY(!ProductProfiles::read(folder.path(), u"c"_s));
    QVERIFY(ProductProfiles::save(folder.path(), Product{u"C"_s, u"TIME"_s, {}, {}, {}}).ok());
    QCOMPARE(ProductProfiles::read(folder.path(), u"C"_s)->categoryKeyword, u"TIME"_s);
    QVERIFY(ProductProfiles::remove(folder.path(), u"b"_s).ok());
    QCOMPARE(QDir(folder.filePath(u"Info"_s)).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{u"..txt"_s, u".hidden.txt"_s, u".txt"_s, u"C.Txt"_s, u"Zip....txt"_s, u"a.TXT"_s,
                          u"a.txt"_s, u"x.dat"_s, u"y.txt.bak"_s}));
    QVERIFY(writeFile(folder.filePath(u"file"_s), {}));
    QCOMPARE(
        ProductProfiles::save(folder.filePath(u"file"_s), Product{u"Z"_s, {}, {}, {}, {}}).problem().kind,
        Kind::InfoFolderNotMade);
}

// The catalogue holds the published entries and keywords, in their order (catalogue.tsv: a line
// each, the entry's text, a tab and its keyword). Every keyword shown again in the editor gives that
// keyword back, the ten that an earlier entry holds included; the plain search passes over
// "Math & Scientific Tools" and "Arcade".
void TestProductProfiles::catalogue()
{
    using namespace CategoryCatalogue;
    QStringList listed;
    for (int i = 0; i < count(); ++i)
        listed.append(entries().value(i) + u'\t' + keyword(i));
    QCOMPARE(listed, QString::fromUtf8(readAll(u"" FORMTIDE_TEST_DATA_DIR "/products/catalogue.tsv"_s))
                         .split(u'\n', Qt::SkipEmptyParts));
    for (int i = 0; i < count(); ++i)
        QCOMPARE(keyword(entryForKeyword(keyword(i))), keyword(i));
    QCOMPARE(firstEntryContaining(u"MATH"), 67);
    QCOMPARE(firstEntryContaining(u"CAD"), 86);
    QCOMPARE(keyword(-1), QString());
}

QTEST_GUILESS_MAIN(TestProductProfiles)
#include "tst_productprofiles.moc"
