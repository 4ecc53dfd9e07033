// formtide-fill as a process: its output lines and exit statuses.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTool = QStringLiteral(FORMTIDE_APP_DIR "/formtide-fill");
const QString kForm = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill/tool_form.html");

// The profile the rows below fill from: a quote and a Windows-1252 letter in the vendor ID.
const QByteArray kProfile = "\"Zipper\"\r\n\"ART\"\r\n\"http://x/pad.xml\"\r\n\"V\"\xe9\"\r\n\"P1\"\r\n";

} // namespace

class TestFormtideFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void run_data();
    void run();
    void help();
};

void TestFormtideFill::run_data()
{
    QTest::addColumn<QStringList>("arguments"); // PROFILE stands for a profile file holding kProfile
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("error"); // what the one line on standard error says

    QTest::newRow("filled from a profile")
        << QStringList{QStringLiteral("--product"), QStringLiteral("PROFILE"), kForm} << 0
        << QByteArray(R"({"frame":0,"tag":"input","type":"file","name":"upload_file","value":""}
{"frame":0,"tag":"input","type":"text","name":"pad_url","value":"http://x/pad.xml"}
{"frame":0,"tag":"input","type":"email","name":"email","value":"me@example.com"}
{"frame":0,"tag":"input","type":"hidden","name":"RegNowVenderID","value":"V\")"
                      "\xc3\xa9"
                      R"("}
{"frame":0,"tag":"select","type":"","name":"category","selected":[2]}
{"frame":0,"tag":"select","type":"","name":"cat_extra","selected":[0,1]}
{"frame":0,"tag":"textarea","type":"","name":"notes","value":"http://x/pad.xml"}
{"frame":0,"tag":"input","type":"submit","name":"","value":"Send"}
{"frame":1,"tag":"input","type":"text","name":"padfile","value":"http://x/pad.xml"}
{"frame":1,"tag":"select","type":"","name":"genre","selected":[0]}
)") << QString();
    // A PAD file gives the profile the editor would save from it (category "Screen Savers: Art").
    QTest::newRow("filled from a PAD file")
        << QStringList{QStringLiteral("--product"), QStringLiteral("@PAD@"), kForm} << 0
        << QByteArray(R"({"frame":0,"tag":"input","type":"file","name":"upload_file","value":""}
{"frame":0,"tag":"input","type":"text","name":"pad_url","value":"http://x.example/pad.xml"}
{"frame":0,"tag":"input","type":"email","name":"email","value":"me@example.com"}
{"frame":0,"tag":"input","type":"hidden","name":"RegNowVenderID","value":"77"}
{"frame":0,"tag":"select","type":"","name":"category","selected":[2]}
{"frame":0,"tag":"select","type":"","name":"cat_extra","selected":[0,1]}
{"frame":0,"tag":"textarea","type":"","name":"notes","value":"http://x.example/pad.xml"}
{"frame":0,"tag":"input","type":"submit","name":"","value":"Send"}
{"frame":1,"tag":"input","type":"text","name":"padfile","value":"http://x.example/pad.xml"}
{"frame":1,"tag":"select","type":"","name":"genre","selected":[0]}
)") << QString();
    QTest::newRow("PAD file not well-formed")
        << QStringList{QStringLiteral("--product"), QStringLiteral("@BROKEN@"), kForm} << 2 << QByteArray()
        << QStringLiteral("not well-formed");
    QTest::newRow("page missing") << QStringList{QStringLiteral("/no/such/page.html")} << 2 << QByteArray()
                                  << QStringLiteral("cannot load");
    QTest::newRow("profile missing") << QStringList{QStringLiteral("--product"),
                                                    QStringLiteral("/no/such/profile.txt"), kForm}
                                     << 2 << QByteArray() << QStringLiteral("cannot read profile");
    QTest::newRow("no page") << QStringList{} << 2 << QByteArray() << QStringLiteral("exactly one PAGE");
    QTest::newRow("two pages") << QStringList{kForm, kForm} << 2 << QByteArray()
                               << QStringLiteral("exactly one PAGE");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--fast"), kForm} << 2 << QByteArray()
                                    << QStringLiteral("Unknown option");
    QTest::newRow("--product without a file")
        << QStringList{QStringLiteral("--product")} << 2 << QByteArray() << QStringLiteral("Missing value");
    QTest::newRow("another scheme") << QStringList{QStringLiteral("ftp://example.com/form.html")} << 2
                                    << QByteArray() << QStringLiteral("not a file path");
}

void TestFormtideFill::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QString, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString profile = dir.filePath(QStringLiteral("Zipper.txt"));
    QFile file(profile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kProfile);
    file.close();
    arguments.replaceInStrings(QStringLiteral("PROFILE"), profile);
    const QByteArray pad =
        "<?xml version=\"1.0\"?>\n<XML_DIZ_INFO><Program_Info><Program_Name>Zipper</Program_Name>"
        "<Program_Category_Class>Desktop::Screen Savers: Art</Program_Category_Class></Program_Info>"
        "<Web_Info><Application_URLs><Application_XML_File_URL>http://x.example/pad.xml"
        "</Application_XML_File_URL></Application_URLs></Web_Info><Affiliates>"
        "<Affiliates_Regnow_Vendor_ID>77</Affiliates_Regnow_Vendor_ID></Affiliates></XML_DIZ_INFO>\n";
    for (const auto& [name, content] :
         {std::pair{"@BROKEN@", QByteArray("<XML_DIZ_INFO>R&D</XML_DIZ_INFO>")}, std::pair{"@PAD@", pad}}) {
        QFile padFile(dir.filePath(QString::fromLatin1(name).remove(u'@') + QStringLiteral(".xml")));
        QVERIFY(padFile.open(QIODevice::WriteOnly));
        padFile.write(content);
        arguments.replaceInStrings(QString::fromLatin1(name), padFile.fileName());
    }

    QProcess tool;
    tool.start(kTool, arguments);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), exitCode);
    QCOMPARE(tool.readAllStandardOutput(), output);
    // The engine may print its own start-up notes; the tool's own failure is one line.
    const QStringList errors = QString::fromLocal8Bit(tool.readAllStandardError())
                                   .split(u'\n')
                                   .filter(QStringLiteral("formtide-fill:"));
    QCOMPARE(errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty())
        QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
}

void TestFormtideFill::help()
{
    QProcess tool;
    tool.start(kTool, {QStringLiteral("--help")});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    const QByteArray usage = tool.readAllStandardOutput();
    QVERIFY2(usage.startsWith("Usage: ") && usage.contains("--product <FILE>") && usage.contains("PAGE"),
             usage.constData());
}

QTEST_GUILESS_MAIN(TestFormtideFill)
#include "tst_formtidefill.moc"
