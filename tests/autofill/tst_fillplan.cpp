// The fill rules as the plan applies them to snapshots (format: autofill/FillPlan.h). More of the
// text-field rules run on real pages in tst_formtidefill (submission.html).
#include "autofill/FillPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using Skips = QList<std::pair<qint64, FillReport::Refusal>>; // snapshot position, then the field

namespace {

// A snapshot of `docs`, the documents' elements as the page script lists them.
QByteArray snapshot(const QByteArray& docs)
{
    return R"({"token":"T1","doc":"D1","docs":)" + docs + "}";
}

} // namespace

class TestFillPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plan_data();
    void plan();
};

void TestFillPlan::plan_data()
{
    QTest::addColumn<QByteArray>("snapshot");
    QTest::addColumn<QString>("keyword");   // the product's
    QTest::addColumn<QByteArray>("writes"); // PAD, VENDOR and PRODUCT stand for the product's values
    QTest::addColumn<Skips>("skipped");
    // Elements of one document, after html and head.
    const auto row = [](const char* tag, const QByteArray& elements, const QByteArray& writes = "[]",
                        const QString& keyword = "ART") {
        QTest::newRow(tag) << snapshot("[[2," + elements + "]]") << keyword << writes << Skips();
    };
    // The text-field rules and most vacant and held fields: submission.html, prefilled.html.
    row("no rule: regno, a DIV, a check box",
        R"(["INPUT","regno"],["DIV","pad_url"],["INPUT","agree","checkbox"])");
    // A field takes a value only when what it holds as the pass begins is nothing of the page's own.
    row("vacant: an address's start, what a pass wrote",
        R"(["INPUT","xml","text",{"value":"www."}],["INPUT","regnowvenderid","hidden",true])",
        R"([[2,"PAD"],[3,"VENDOR"]])");
    QTest::newRow("held by the page: kept")
        << snapshot(
               R"([[2,["TEXTAREA","filedesc","",{"value":"Packs files.","placeholder":"Packs"}],)"
               R"(["INPUT","xml","text",{"value":"http:","handlers":"select()\n"}],)"
               R"(["INPUT","pad_count","number",{"value":"3"}],["INPUT","lic_url","radio",{"value":"on"}]]])")
        << "ART" << QByteArray("[]")
        << Skips{{2, {0, "filedesc", "PageValue"}},
                 {3, {0, "xml", "PageValue"}},
                 {4, {0, "pad_count", "PageValue"}},
                 {5, {0, "lic_url", "NotTextField"}}};

    // Category lists: every option holding the keyword, in list order.
    row("keyword case ignored, application holds CAT",
        R"(["SELECT","application","\nGames\nScreen Savers: Art\nUtilities\nCartoons"])", "[[2,[1,3]]]",
        "art");
    row("empty keyword: options with text", R"(["SELECT","category","\nOne\n\nTwo\n"])", "[[2,[0,2]]]", "");

    // Positions run on over every document; an unreadable element still counts, a number counts
    // that many elements without a name. Input types: a file takes no text, a number only what it
    // keeps (tst_webenginefill and tst_formtidefill try every type on types.html).
    QTest::newRow("page and a frame")
        << snapshot(
               R"([[1,["INPUT","regnowvenderid"],null,["SELECT","category","\nArcade\nCAD"],3],)"
               R"([["INPUT","upload_file","file"],["INPUT","padfile","search"],["INPUT","regnow","number"]]])")
        << "CAD" << QByteArray(R"([[1,"VENDOR"],[3,[1]],[8,"PAD"],[9,"PRODUCT",true]])")
        << Skips{{7, {1, "upload_file", "NotTextField"}}};
}

void TestFillPlan::plan()
{
    QFETCH(QByteArray, snapshot);
    QFETCH(QString, keyword);
    QFETCH(QByteArray, writes);
    QFETCH(Skips, skipped);

    const Product product{"Zipper", keyword, "http://x/pad.xml", "VENDOR-7", "PRODUCT-9"};
    const std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot, product);
    QVERIFY(plan);
    QCOMPARE(plan->page.value(u"token").toString(), "T1");
    QCOMPARE(plan->page.value(u"doc").toString(), "D1");
    writes.replace("PAD", "http://x/pad.xml").replace("VENDOR", "VENDOR-7").replace("PRODUCT", "PRODUCT-9");
    QCOMPARE(plan->page.value(u"writes").toArray(), QJsonDocument::fromJson(writes).array());
    QCOMPARE(plan->skipped, skipped);
}

QTEST_GUILESS_MAIN(TestFillPlan)
#include "tst_fillplan.moc"
