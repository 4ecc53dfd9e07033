// The fill rules as the plan applies them to snapshots (format: autofill/FillPlan.h). More of the
// text-field rules run on real pages in tst_formtidefill (submission.html).
#include "autofill/FillPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

class TestFillPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plan_data();
    void plan();
};

void TestFillPlan::plan_data()
{
    QTest::addColumn<QByteArray>("docs");     // the snapshot's documents; one element after html and head
    QTest::addColumn<QString>("keyword");     // the product's; null: no product chosen
    QTest::addColumn<QByteArray>("writes");   // PAD, VENDOR and PRODUCT stand for the product's values
    QTest::addColumn<QStringList>("skipped"); // "position frame name reason"
    const auto row = [](const char* tag, const QByteArray& elements, const QByteArray& writes = "[]",
                        const QString& keyword = "ART") {
        QTest::newRow(tag) << "[[2," + elements + "]]" << keyword << writes << QStringList();
    };
    // Text-field rules: the last matching rule wins; TEXTAREA and PASSWORD elements count as text.
    row("text fields",
        R"(["INPUT","regnow_url"],["INPUT","RegNowVenderID_regnowproductid"],)"
        R"(["TEXTAREA","xml"],["PASSWORD","regnow"])",
        R"([[2,"PAD"],[3,"PRODUCT"],[4,"PAD"],[5,"PRODUCT"]])");
    row("no rule: regno, a DIV, a check box",
        R"(["INPUT","regno"],["DIV","pad_url"],["INPUT","agree","checkbox"])");
    // A field takes a value only when what it holds as the pass begins is nothing of the page's own.
    row("vacant: blank, address starts, placeholder, hint its onfocus clears, a pass's own",
        R"(["INPUT","pad_url","text",{"value":" \t"}],["INPUT","url","text",{"value":" HTTPS://www. "}],)"
        R"(["INPUT","xml","text",{"value":"www."}],)"
        R"(["TEXTAREA","notes","",{"value":"Notes","placeholder":"Notes"}],)"
        R"(["INPUT","padfile","text",{"value":"Enter pad url",)"
        R"("handlers":"if (value=='Enter pad url') value=''\n"}],)"
        R"(["INPUT","regnowvenderid","hidden",true])",
        R"([[2,"PAD"],[3,"PAD"],[4,"PAD"],[5,"PAD"],[6,"PAD"],[7,"VENDOR"]])");
    QTest::newRow("held by the page: kept")
        << QByteArray(
               R"([[2,["INPUT","MAX_FILE_SIZE","hidden",{"value":"262144"}],)"
               R"(["INPUT","pad_hidden","hidden",{"value":"Y"}],)"
               R"(["INPUT","download_url","url",{"value":"http://files.example.org/z.zip"}],)"
               R"(["TEXTAREA","filedesc","",{"value":"Packs files.","placeholder":"Packs"}],)"
               R"(["INPUT","xml","text",{"value":"http:","handlers":"select()\n"}],)"
               R"(["INPUT","pad_count","number",{"value":"3"}],["INPUT","lic_url","radio",{"value":"on"}]]])")
        << "ART" << QByteArray("[]") << QStringList{"2 0 MAX_FILE_SIZE PageValue", "3 0 pad_hidden PageValue",
                                                    "4 0 download_url PageValue",  "5 0 filedesc PageValue",
                                                    "6 0 xml PageValue",           "7 0 pad_count PageValue",
                                                    "8 0 lic_url NotTextField"};
    QTest::newRow("no product: nothing written")
        << QByteArray(R"([[2,["INPUT","pad_url"],["SELECT","category","\nArt"],["INPUT","f","file"]]])")
        << QString() << QByteArray("[]") << QStringList();

    // Category lists: every option holding the keyword, in list order.
    const QByteArray savers = R"(["SELECT","category","\nGames\nScreen Savers: Art\nUtilities\nCartoons"])";
    row("ART by substring", savers, "[[2,[1,3]]]");
    row("keyword case ignored, application holds CAT", QByteArray(savers).replace("category", "application"),
        "[[2,[1,3]]]", "art");
    row("no match", QByteArray(savers).replace("category", "cat_id"), "[]", "COMPRESSION");
    const QByteArray math = R"(["SELECT","category","\nMath & Scientific Tools\nMathematics\nMath&Science"])";
    row("MATH skips 'Math &'", math, "[[2,[1,2]]]", "MATH");
    const QByteArray graphics = R"(["SELECT","category","\nArcade\nCAD\nGraphic Apps: CAD"])";
    row("CAD skips Arcade", graphics, "[[2,[1,2]]]", "CAD");
    row("exclusion needs the whole keyword", graphics, "[[2,[0,1,2]]]", "CA");
    row("upper-casing beyond ASCII", R"(["SELECT","category","\nStraße\nStrasse\nStreet"])", "[[2,[0,1]]]",
        "strasse");
    row("empty keyword: options with text", R"(["SELECT","category","\nOne\n\nTwo\n"])", "[[2,[0,2]]]", "");

    // Positions run on over every document; an unreadable element still counts, a number counts
    // that many elements without a name. Input types: a file takes no text, a number only what it
    // keeps (tst_webenginefill and tst_formtidefill try every type on types.html).
    QTest::newRow("page and a frame")
        << QByteArray(
               R"([[1,["INPUT","regnowvenderid"],null,["SELECT","category","\nArcade\nCAD"],3],)"
               R"([["INPUT","upload_file","file"],["INPUT","padfile","search"],["INPUT","regnow","number"]]])")
        << "CAD" << QByteArray(R"([[1,"VENDOR"],[3,[1]],[8,"PAD"],[9,"PRODUCT",true]])")
        << QStringList{"7 1 upload_file NotTextField"};
    for (const char* broken : {"", R"({"token":"T1","docs":[["HTML")", R"({"token":"T1","docs":{}})"})
        QTest::addRow("unreadable: %s", broken) << QByteArray(broken) << "" << QByteArray() << QStringList();
}

void TestFillPlan::plan()
{
    QFETCH(QByteArray, docs);
    QFETCH(QString, keyword);
    QFETCH(QByteArray, writes);
    QFETCH(QStringList, skipped);

    const std::optional<Product> product =
        keyword.isNull()
            ? std::nullopt
            : std::optional(Product{"Zipper", keyword, "http://x/pad.xml", "VENDOR-7", "PRODUCT-9"});
    const QByteArray snapshot =
        docs.startsWith("[") ? R"({"token":"T1","doc":"D1","docs":)" + docs + "}" : docs;
    const std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot, product);
    QCOMPARE(plan.has_value(), !writes.isEmpty());
    if (!plan)
        return;
    QCOMPARE(plan->page.value(u"token").toString() + plan->page.value(u"doc").toString(), "T1D1");
    writes.replace("PAD", "http://x/pad.xml").replace("VENDOR", "VENDOR-7").replace("PRODUCT", "PRODUCT-9");
    QCOMPARE(plan->page.value(u"writes").toArray(), QJsonDocument::fromJson(writes).array());
    QStringList skips;
    for (const auto& [at, refusal] : plan->skipped)
        skips.append(
            QStringLiteral("%1 %2 %3 %4").arg(at).arg(refusal.frame).arg(refusal.name, refusal.reason));
    QCOMPARE(skips, skipped);
}

QTEST_GUILESS_MAIN(TestFillPlan)
#include "tst_fillplan.moc"
