// The fill rules as the plan applies them to snapshots (format: autofill/FillPlan.h): which fact
// each field is recognised to ask for, the form of the value it takes, and what is left alone.
// More of the rules run on real pages in tst_formtidefill and tst_webenginefill.
#include "autofill/FillPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using Skips = QList<std::pair<qint64, FillReport::Refusal>>; // snapshot position, then the field
using Reason = FillReport::Reason;

namespace {

// A snapshot of `docs`, the documents' entries as the page script lists them.
QByteArray snapshot(const QByteArray& docs)
{
    return R"({"token":"T1","doc":"D1","docs":)" + docs + "}";
}

const QString kDesc45 = QStringLiteral("Packs files.");
const QString kDesc80 = QString(70, u'b');
const QString kDesc250 = QString(240, u'c');
const QString kDesc450 = QString(440, u'd');
const QString kDesc2000 = QString(1900, u'e');

// A product whose PAD file holds every fact the fill knows.
ProductFacts fullProduct()
{
    const PadValues pad{
        {"program_info/program_name", "Zipper Pro"},
        {"program_info/program_version", "3.2"},
        {"company_info/company_name", "Tidewater Tools"},
        {"company_info/company_website_url", "http://tide.example/"},
        {"company_info/contact_info/author_first_name", "Ann"},
        {"company_info/contact_info/author_last_name", "Lee"},
        {"company_info/contact_info/contact_email", "contact@tide.example"},
        {"company_info/support_info/support_email", "help@tide.example"},
        {"web_info/application_urls/application_info_url", "http://tide.example/zip/"},
        {"web_info/application_urls/application_order_url", "http://tide.example/buy/"},
        {"web_info/application_urls/application_screenshot_url", "http://tide.example/zip.png"},
        {"web_info/application_urls/application_xml_file_url", "http://tide.example/pad.xml"},
        {"web_info/download_urls/primary_download_url", "http://tide.example/zip.exe"},
        {"program_info/file_info/file_size_bytes", "1048576"},
        {"program_info/file_info/file_size_mb", "1.00"},
        {"program_info/program_os_support", "Win10,Win11"},
        {"program_info/program_language", "English,German"},
        {"program_info/program_type", "Shareware"},
        {"program_info/program_cost_dollars", "19.95"},
        {"program_info/program_release_status", "Major Update"},
        {"program_info/program_release_year", "2026"},
        {"program_info/program_release_month", "12"},
        {"program_info/program_release_day", "03"},
        {"program_info/program_category_class", "Utilities::File Compression"},
        {"program_descriptions/english/keywords", "zip, archive"},
        {"program_descriptions/english/char_desc_45", kDesc45},
        {"program_descriptions/english/char_desc_80", kDesc80},
        {"program_descriptions/english/char_desc_250", kDesc250},
        {"program_descriptions/english/char_desc_450", kDesc450},
        {"program_descriptions/english/char_desc_2000", kDesc2000},
    };
    return {Product{"Zipper", "ART", "http://x/pad.xml", "VENDOR-7", "PRODUCT-9"}, pad,
            QDateTime(QDate(2026, 12, 3), QTime(10, 0))};
}

} // namespace

class TestFillPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plan_data();
    void plan();
    void fields_data();
    void fields();
};

void TestFillPlan::plan_data()
{
    QTest::addColumn<QByteArray>("snapshot");
    QTest::addColumn<QString>("keyword");   // the product's
    QTest::addColumn<QByteArray>("writes"); // PAD, VENDOR and PRODUCT stand for the product's values
    QTest::addColumn<Skips>("skipped");
    // Entries of one document, after html and head.
    const auto row = [](const char* tag, const QByteArray& elements, const QByteArray& writes = "[]",
                        const QString& keyword = "ART") {
        QTest::newRow(tag) << snapshot("[[2," + elements + "]]") << keyword << writes << Skips();
    };
    row("no rule: regno, a check box",
        R"({"tag":"INPUT","name":"regno","type":"text"},{"tag":"INPUT","name":"agree","type":"checkbox"})");
    // A field takes a value only when what it holds as the pass begins is nothing of the page's own.
    row("vacant: an address's start, what a pass wrote",
        R"({"tag":"INPUT","name":"xml","type":"text","held":{"value":"www."}},)"
        R"({"tag":"INPUT","name":"regnowvenderid","type":"hidden","held":true})",
        R"([[2,"PAD"],[3,"VENDOR"]])");
    QTest::newRow("held by the page: kept")
        << snapshot(
               R"([[2,{"tag":"TEXTAREA","name":"padnotes","held":{"value":"Packs.","placeholder":"P"}},)"
               R"({"tag":"INPUT","name":"xml","type":"text","held":{"value":"http:","handlers":"select()\n"}},)"
               R"({"tag":"INPUT","name":"pad_count","type":"number","held":{"value":"3"}},)"
               R"({"tag":"INPUT","name":"lic_url","type":"radio","held":{"value":"on"}}]])")
        << "ART" << QByteArray("[]")
        << Skips{{2, {0, "padnotes", Reason::HeldByPage, {}}},
                 {3, {0, "xml", Reason::HeldByPage, {}}},
                 {4, {0, "pad_count", Reason::HeldByPage, {}}},
                 {5, {0, "lic_url", Reason::TakesNoText, {}}}};

    // Category lists: every option holding the keyword, in list order.
    row("keyword case ignored, application holds CAT",
        R"({"tag":"SELECT","name":"application","options":["Games","Screen Savers: Art","Utilities","Cartoons"]})",
        "[[2,[1,3]]]", "art");
    row("case ignored beyond ASCII: ß as SS",
        R"({"tag":"SELECT","name":"category","options":["Éducation","Jeux","Straße"]})", "[[2,[2]]]", "ß");
    row("empty keyword: options with text",
        R"({"tag":"SELECT","name":"category","options":["One","","Two",""]})", "[[2,[0,2]]]", "");
    row("labelled a category",
        R"({"tag":"SELECT","name":"sect","label":"Kategorie","options":["Art","Games"]})", "[[2,[0]]]");

    // Positions run on over every document; an unreadable element still counts, a number counts
    // that many elements that are not fields.
    QTest::newRow("page and a frame")
        << snapshot(
               R"([[1,{"tag":"INPUT","name":"regnowvenderid","type":"text"},null,)"
               R"({"tag":"SELECT","name":"category","options":["Arcade","CAD"]},3],)"
               R"([{"tag":"INPUT","name":"submit_url","type":"submit"},{"tag":"INPUT","name":"pad_file","type":"text"},)"
               R"({"tag":"INPUT","name":"regnow","type":"number"}]])")
        << "CAD" << QByteArray(R"([[1,"VENDOR"],[3,[1]],[8,"PAD"],[9,"PRODUCT",true]])")
        << Skips{{7, {1, "submit_url", Reason::TakesNoText, {}}}};
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

void TestFillPlan::fields_data()
{
    QTest::addColumn<QByteArray>("entry"); // the field's entry, its tag INPUT unless it says
    QTest::addColumn<QByteArray>("write"); // what the plan writes into it: a value, options, or null
    QTest::addColumn<bool>("padKept");
    const auto row = [](const char* name, const QByteArray& entry, const QByteArray& write,
                        bool padKept = true) { QTest::newRow(name) << entry << write << padKept; };
    // English names, labels and placeholders; the profile's name wins over the PAD's.
    row("appname", R"("name":"appname")", R"("Zipper")");
    row("file_version", R"("name":"file_version","label":"Version")", R"("3.2")");
    row("file_email: contact email", R"("name":"file_email","label":"Email Address","type":"email")",
        R"("contact@tide.example")");
    row("confirm email", R"("name":"email2","label":"Confirm your e-mail")", R"("contact@tide.example")");
    row("homepage_url", R"("name":"homepage_url")", R"("http://tide.example/zip/")");
    row("publisher site", R"("name":"url","label":"Publisher website")", R"("http://tide.example/")");
    row("download", R"("name":"dlurl","label":"Download URL")", R"("http://tide.example/zip.exe")");
    row("screenshot placeholder", R"("name":"f3","placeholder":"Screenshot URL")",
        R"("http://tide.example/zip.png")");
    row("order, by the text before it", R"("name":"f4","hint":"Order page:")",
        R"("http://tide.example/buy/")");
    row("author", R"("name":"author","label":"Author")", R"("Ann Lee")");
    row("first name", R"("name":"fn","autocomplete":"given-name")", R"("Ann")");
    row("company", R"("name":"field7","label":"Company")", R"("Tidewater Tools")");
    row("keywords", R"("name":"keywords")", R"("zip, archive")");
    row("price, a number field", R"("name":"price","type":"number")", R"(["19.95",true])");
    row("category as text", R"("name":"cat_text","label":"Category")", R"("Utilities::File Compression")");
    // German and French labels.
    row("Name des Programms", R"("name":"a","label":"Name des Programms")", R"("Zipper")");
    row("Kurzbeschreibung", R"("name":"c","label":"Kurzbeschreibung")", "\"DESC80\"");
    row("Dateigröße in MB", R"x("name":"d","label":"Dateigröße (MB)")x", R"("1.00")");
    row("Betriebssystem", R"("name":"e","label":"Betriebssystem")", R"("Win10,Win11")");
    row("Lizenz", R"("name":"g","label":"Lizenz")", R"("Shareware")");
    row("Erscheinungsdatum", R"x("name":"h","label":"Erscheinungsdatum (TT.MM.JJJJ)")x", R"("03.12.2026")");
    row("éditeur", R"("name":"j","label":"Éditeur")", R"("Tidewater Tools")");
    row("taille en octets", R"x("name":"m","label":"Taille du fichier (octets)")x", R"("1048576")");
    row("taille, unit after the box", R"x("name":"taille","hint":"Taille :","after":"(Ko)")x", R"("1024")");
    row("date de sortie", R"x("name":"n","label":"Date de sortie (JJ/MM/AAAA)")x", R"("03/12/2026")");
    row("mots-clés", R"("name":"o","label":"Mots-clés")", R"("zip, archive")");
    row("description courte, a text area", R"("tag":"TEXTAREA","name":"p","label":"Description courte")",
        "\"DESC250\"");
    // Descriptions by length: the longest that fits.
    row("description, no limit", R"("tag":"TEXTAREA","name":"desc")", "\"DESC2000\"");
    row("description, maxlength", R"("tag":"TEXTAREA","name":"desc","maxlength":300)", "\"DESC250\"");
    row("description, one line", R"("name":"description")", "\"DESC250\"");
    row("description, named length",
        R"x("tag":"TEXTAREA","name":"q","label":"Description (max. 450 characters)")x", "\"DESC450\"");
    row("description, length in the name", R"("name":"char_desc_45")", "\"DESC45\"");
    row("summary", R"("name":"summary")", "\"DESC80\"");
    row("short description, maxlength",
        R"("name":"f15","id":"sd","label":"Short description","maxlength":100)", "\"DESC80\"");
    row("too long for maxlength: left alone", R"("name":"version","maxlength":2)", "null");
    // Sizes and dates.
    row("size, no unit: bytes do not fit", R"("name":"filesize","maxlength":4)", R"("1024")");
    row("size too long in every unit", R"("name":"filesize","maxlength":3)", "null");
    row("size, KB from bytes", R"("name":"size_kb")", R"("1024")");
    row("date type", R"("name":"release","label":"Release date","type":"date")", R"(["2026-12-03",true])");
    row("date, mm/dd/yyyy", R"x("name":"r","label":"Release date (mm/dd/yyyy)")x", R"("12/03/2026")");
    row("date, d/m/Y placeholder", R"("name":"released","placeholder":"d/m/Y")", R"("03/12/2026")");
    row("date, no format", R"("name":"release_date")", R"("2026-12-03")");
    row("year field", R"("name":"release_year","maxlength":4)", R"("2026")");
    // Lists.
    row("mois, accented", R"("tag":"SELECT","name":"rel_month","options":["Novembre","Décembre"])", "[1]");
    row("Monat list", R"("tag":"SELECT","name":"m","label":"Monat","options":["--","Nov.","Dezember"])",
        "[2]");
    row("day list", R"("tag":"SELECT","name":"d","label":"Day","options":["1","2","3","4"])", "[2]");
    row("licence list",
        R"("tag":"SELECT","name":"lic","label":"License","options":["Freeware","Free to try"])", "[1]");
    row("licence, no option fits",
        R"("tag":"SELECT","name":"lic","label":"Licence","options":["Free","Paid"])", "null");
    row("platform, single", R"("tag":"SELECT","name":"os","options":["Windows 7","Windows 10","Windows 11"])",
        "[1]");
    row("platform, multiple",
        R"("tag":"SELECT","name":"os","multiple":true,"options":["Mac","Windows 10","Windows 11"])", "[1,2]");
    row("platform family", R"("tag":"SELECT","name":"p","label":"Plattform","options":["Linux","Windows"])",
        "[1]");
    row("release status", R"("tag":"SELECT","name":"status","options":["New Release","Major Update"])",
        "[1]");
    row("language", R"("tag":"SELECT","name":"lang","options":["Deutsch","English"])", "[1]");
    row("Sprache, by another word", R"("tag":"SELECT","name":"s","label":"Sprache","options":["Deutsch"])",
        "[0]");
    // What no fact fits, and the mend: a field asking for another fact never gets the PAD address.
    row("search keywords", R"("name":"keywords","placeholder":"Search downloads")", "null");
    row("password", R"("name":"pad_password","type":"password")", "null");
    row("user name", R"("name":"u","label":"User name")", "null");
    row("demo address", R"("name":"demo_url","label":"Demo URL")", "null");
    row("upload", R"("name":"padfile","type":"file")", "null");
    row("profile", R"("name":"profile")", "null");
    row("file_name, labelled", R"("name":"file_name","label":"Program name")", R"("Zipper")");
    row("file_name alone: ambiguous", R"("name":"file_name")", "null");
    row("Author URL", R"("name":"url_author","hint":"Author URL:")", R"("http://tide.example/")");
    row("label before its colon", R"("name":"x","hint":"PayPal Email: where payments go")", "null");
    row("explanation after the colon", R"("tag":"TEXTAREA","name":"url","hint":"Download URLs: or upload")",
        R"("http://tide.example/zip.exe")");
    row("label over name", R"("name":"description","hint":"Name")", R"("Zipper")");
    row("a passing word in the explanation", R"("name":"points","hint":"Points: the cost to download")",
        "null");
    row("release date over a year list",
        R"("tag":"SELECT","name":"release_year","hint":"Release Date:","options":["2025","2026"])", "[1]");
    row("filesize", R"("name":"filesize")", R"("1048576")");
    row("notes: the keyword rule", R"("tag":"TEXTAREA","name":"notes")", R"("http://x/pad.xml")");
    row("pad_url", R"("name":"pad_url","label":"PAD file URL")", R"("http://x/pad.xml")");
    // Without a kept PAD file only the profile's facts are there.
    row("no PAD: version left alone", R"("name":"version")", "null", false);
    row("no PAD: name", R"("name":"title","label":"Title")", R"("Zipper")", false);
}

void TestFillPlan::fields()
{
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, write);
    QFETCH(bool, padKept);

    if (!entry.contains("\"tag\""))
        entry.prepend(R"("tag":"INPUT",)");
    const std::optional<FillPlan::Plan> plan =
        FillPlan::make(snapshot("[[{" + entry + "}]]"), padKept ? fullProduct() : fullProduct().profile);
    QVERIFY(plan);
    const QJsonArray writes = plan->page.value(u"writes").toArray();
    write.replace("DESC2000", kDesc2000.toUtf8())
        .replace("DESC450", kDesc450.toUtf8())
        .replace("DESC250", kDesc250.toUtf8())
        .replace("DESC80", kDesc80.toUtf8())
        .replace("DESC45", kDesc45.toUtf8());
    const QJsonValue expected = QJsonDocument::fromJson("[" + write + "]").array().at(0);
    if (expected.isNull()) {
        QCOMPARE(writes, QJsonArray());
        return;
    }
    QCOMPARE(writes.size(), 1);
    QJsonArray got = writes.at(0).toArray();
    got.removeFirst();
    QCOMPARE(got, expected.isArray() && !expected.toArray().at(0).isString() ? QJsonArray{expected}
                  : expected.isArray()                                       ? expected.toArray()
                                                                             : QJsonArray{expected});
}

QTEST_GUILESS_MAIN(TestFillPlan)
#include "tst_fillplan.moc"
