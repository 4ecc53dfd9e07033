// formtide-fill as a process: its output lines and exit statuses.

#include "tests/TestFiles.h"

#include <QProcess>
#include <QTest>

namespace {

const QString kData = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/autofill/");

} // namespace

class TestFormtideFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void run_data();
    void run();
};

void TestFormtideFill::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output"); // for --help: a part of it
    QTest::addColumn<QString>("error");     // what the one line on standard error says

    // tool_profile.txt holds a quote and a Windows-1252 letter in the vendor ID; tool_pad.xml is a PAD
    // file whose category the editor would save as "Screen Savers: Art". In tool_form.out, PAD and
    // VENDOR stand for the product's values.
    const QString form = kData + "tool_form.html";
    const QByteArray lines = readAll(kData + "tool_form.out");
    QTest::newRow("filled from a profile")
        << QStringList{"--product", kData + "tool_profile.txt", form} << 0
        << QByteArray(lines).replace("PAD", "http://x/pad.xml").replace("VENDOR", "V\\\"\xc3\xa9")
        << QString();
    QTest::newRow("filled from a PAD file")
        << QStringList{"--product", kData + "tool_pad.xml", form} << 0
        << QByteArray(lines).replace("PAD", "http://x.example/pad.xml").replace("VENDOR", "77") << QString();
    // Pages filled from tool_profile.txt (or another profile), printed as NAME.out holds them; with
    // --settle, passes over frames' new documents and over fields added later have run.
    const auto filled = [](const char* name, const QStringList& options = {},
                           const QString& profile = "tool") {
        QTest::newRow(name) << options + QStringList{"--product", kData + profile + "_profile.txt",
                                                     kData + QString::fromLatin1(name).section(u'.', 0, 0) +
                                                         ".html"}
                            << 0 << readAll(kData + name + ".out") << QString();
    };
    for (const char* page :
         {"submission", "types", "clobber", "throw", "loop", "optgroup", "frames", "react"})
        filled(page);
    filled("types.numeric", {}, "numeric");
    for (const char* page : {"subcategory", "rewrite", "frame_steps"})
        filled(page, {"--settle", "1000"});
    // The second step of late.html appears 500 ms after the load; no product.
    QTest::newRow("settled") << QStringList{"--settle", "1000", kData + "late.html"} << 0
                             << readAll(kData + "late.out") << QString();
    QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("--settle <MS>") << QString();
    QTest::newRow("PAD file not well-formed") << QStringList{"--product", kData + "tool_broken.xml", form}
                                              << 2 << QByteArray() << "not well-formed";
    QTest::newRow("page missing") << QStringList{"/no/such/page.html"} << 2 << QByteArray() << "cannot load";
    QTest::newRow("settle not a number")
        << QStringList{"--settle", "soon", form} << 2 << QByteArray() << "milliseconds";
}

void TestFormtideFill::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QString, error);

    QProcess tool;
    tool.start(FORMTIDE_APP_DIR "/formtide-fill", arguments);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), exitCode);
    const QByteArray out = tool.readAllStandardOutput();
    if (arguments.first() == u"--help")
        QVERIFY2(out.startsWith("Usage: ") && out.contains(output), out.constData());
    else
        QCOMPARE(out, output);
    // The engine may print its own start-up notes; the tool's own failure is one line.
    const QStringList errors =
        QString::fromLocal8Bit(tool.readAllStandardError()).split(u'\n').filter("formtide-fill:");
    QCOMPARE(errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty())
        QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
}

QTEST_GUILESS_MAIN(TestFormtideFill)
#include "tst_formtidefill.moc"
