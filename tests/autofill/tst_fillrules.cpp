#include "autofill/FillRules.h"

#include <QTest>

namespace {

const Product kProduct{QStringLiteral("Zipper"), QStringLiteral("ART"),
                       QStringLiteral("http://example.com/pad.xml"), QStringLiteral("VENDOR-7"),
                       QStringLiteral("PRODUCT-9")};

} // namespace

class TestFillRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textField_data();
    void textField();
    void categoryList_data();
    void categoryList();
    void selection_data();
    void selection();
};

void TestFillRules::textField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // a null string: the field keeps its content

    const QString pad = kProduct.padUrl;
    const QString vendor = kProduct.regnowVendorId;
    const QString product = kProduct.regnowProductId;
    QTest::newRow("regnowvenderid") << "regnowvenderid" << vendor;
    QTest::newRow("RegNowVenderId mixed case") << "RegNowVenderId" << vendor;
    QTest::newRow("regnowvendorid spelled with o") << "regnowvendorid" << product;
    QTest::newRow("regnow") << "regnow" << product;
    QTest::newRow("RegNowProductID") << "RegNowProductID" << product;
    QTest::newRow("regnow_url: URL beats REGNOW") << "regnow_url" << pad;
    QTest::newRow("regnowvenderid_file: FILE beats vender") << "regnowvenderid_file" << pad;
    QTest::newRow("regnowvenderid_regnowproductid") << "regnowvenderid_regnowproductid" << product;
    QTest::newRow("pad_url") << "pad_url" << pad;
    QTest::newRow("padfile") << "padfile" << pad;
    QTest::newRow("xml") << "xml" << pad;
    QTest::newRow("notes") << "notes" << pad;
    QTest::newRow("pname") << "pname" << pad;
    QTest::newRow("homepage_url") << "homepage_url" << pad;
    QTest::newRow("profile holds FILE") << "profile" << pad;
    QTest::newRow("appname holds PNAME") << "appname" << pad;
    QTest::newRow("submit_url button") << "submit_url" << pad;
    QTest::newRow("email") << "email" << QString();
    QTest::newRow("no name") << "" << QString();
    QTest::newRow("regno is not regnow") << "regno" << QString();
}

void TestFillRules::textField()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const std::optional<QString> value = FillRules::textFieldValue(name, kProduct);
    QCOMPARE(value.has_value(), !expected.isNull());
    if (value)
        QCOMPARE(*value, expected);
}

void TestFillRules::categoryList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isCategory");
    QTest::newRow("category") << "category" << true;
    QTest::newRow("subcat") << "subcat" << true;
    QTest::newRow("cat_id") << "cat_id" << true;
    QTest::newRow("application") << "application" << true;
    QTest::newRow("Category upper") << "CATEGORY" << true;
    QTest::newRow("genre") << "genre" << false;
    QTest::newRow("section") << "section" << false;
    QTest::newRow("no name") << "" << false;
}

void TestFillRules::categoryList()
{
    QFETCH(QString, name);
    QFETCH(bool, isCategory);
    QCOMPARE(FillRules::isCategoryList(name), isCategory);
}

void TestFillRules::selection_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<qsizetype>>("selected");

    const QStringList savers{QStringLiteral("Games"), QStringLiteral("Screen Savers: Art"),
                             QStringLiteral("Utilities"), QStringLiteral("Screen Savers: Cartoons")};
    QTest::newRow("ART by substring, both") << "ART" << savers << QList<qsizetype>{1, 3};
    QTest::newRow("keyword case ignored") << "art" << savers << QList<qsizetype>{1, 3};
    QTest::newRow("no match") << "COMPRESSION" << savers << QList<qsizetype>{};

    const QStringList math{QStringLiteral("Math & Scientific Tools"), QStringLiteral("Mathematics"),
                           QStringLiteral("Math&Science")};
    QTest::newRow("MATH skips 'Math &'") << "MATH" << math << QList<qsizetype>{1, 2};
    QTest::newRow("MATH only on 'Math &'")
        << "MATH" << QStringList{QStringLiteral("Math & Scientific Tools")} << QList<qsizetype>{};

    const QStringList graphics{QStringLiteral("Arcade"), QStringLiteral("CAD"),
                               QStringLiteral("Graphic Apps: CAD")};
    QTest::newRow("CAD skips Arcade") << "CAD" << graphics << QList<qsizetype>{1, 2};
    QTest::newRow("ARCADE selects Arcade") << "ARCADE" << graphics << QList<qsizetype>{0};
    QTest::newRow("exclusion needs the whole keyword") << "CA" << graphics << QList<qsizetype>{0, 1, 2};

    QTest::newRow("empty keyword: every option with text")
        << "" << QStringList{QStringLiteral("One"), QString(), QStringLiteral("Two"), QString()}
        << QList<qsizetype>{0, 2};
}

void TestFillRules::selection()
{
    QFETCH(QString, keyword);
    QFETCH(QStringList, options);
    QFETCH(QList<qsizetype>, selected);
    QCOMPARE(FillRules::categorySelection(options, keyword), selected);
}

QTEST_GUILESS_MAIN(TestFillRules)
#include "tst_fillrules.moc"
