// formtide-fill as a process: its output lines and exit statuses.

#include <QProcess>
#include <QTest>

namespace {

const QString kTool = QStringLiteral(FORMTIDE_APP_DIR "/formtide-fill");
const QString kData = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill/");
const QString kForm = kData + QStringLiteral("tool_form.html");
// tool_profile.txt holds a quote and a Windows-1252 letter in the vendor ID; tool_pad.xml is a PAD
// file whose category the editor would save as "Screen Savers: Art".
const QString kProfile = kData + QStringLiteral("tool_profile.txt");

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
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("error"); // what the one line on standard error says

    // The fixture's lines; PAD and VENDOR stand for the product's values.
    const QByteArray lines = R"({"frame":0,"tag":"input","type":"file","name":"upload_file","value":""}
{"frame":0,"tag":"input","type":"text","name":"pad_url","value":"PAD"}
{"frame":0,"tag":"input","type":"email","name":"email","value":"me@example.com"}
{"frame":0,"tag":"input","type":"hidden","name":"RegNowVenderID","value":"VENDOR"}
{"frame":0,"tag":"select","type":"","name":"category","selected":[2]}
{"frame":0,"tag":"select","type":"","name":"cat_extra","selected":[0,1]}
{"frame":0,"tag":"textarea","type":"","name":"notes","value":"PAD"}
{"frame":0,"tag":"input","type":"submit","name":"","value":"Send"}
{"frame":1,"tag":"input","type":"text","name":"padfile","value":"PAD"}
{"frame":1,"tag":"select","type":"","name":"genre","selected":[0]}
)";
    QTest::newRow("filled from a profile")
        << QStringList{QStringLiteral("--product"), kProfile, kForm} << 0
        << QByteArray(lines).replace("PAD", "http://x/pad.xml").replace("VENDOR", "V\\\"\xc3\xa9")
        << QString();
    QTest::newRow("filled from a PAD file")
        << QStringList{QStringLiteral("--product"), kData + QStringLiteral("tool_pad.xml"), kForm} << 0
        << QByteArray(lines).replace("PAD", "http://x.example/pad.xml").replace("VENDOR", "77") << QString();
    QTest::newRow("PAD file not well-formed")
        << QStringList{QStringLiteral("--product"), kData + QStringLiteral("tool_broken.xml"), kForm} << 2
        << QByteArray() << QStringLiteral("not well-formed");
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
    QTest::newRow("another scheme") << QStringList{QStringLiteral("ftp://example.com/form.html")} << 2
                                    << QByteArray() << QStringLiteral("not a file path");
}

void TestFormtideFill::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QString, error);

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
