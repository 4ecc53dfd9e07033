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
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("error"); // what the one line on standard error says

    // Pages filled from a product, printed as NAME.out holds them; with --settle, passes over frames'
    // new documents and over fields added later have run. tool_profile.txt holds a quote and a
    // Windows-1252 letter in the vendor ID; tool_pad.xml is a PAD file whose category the editor
    // would save as "Screen Savers: Art". Without a product every field stays as the page has it.
    const auto filled = [](const char* name, const QStringList& options = {},
                           const QString& product = "tool_profile.txt") {
        const QStringList productOption =
            product.isEmpty() ? QStringList() : QStringList{"--product", kData + product};
        QTest::newRow(name) << options + productOption +
                                   QStringList{kData + QString::fromLatin1(name).section(u'.', 0, 0) +
                                               ".html"}
                            << 0 << readAll(kData + name + ".out") << QString();
    };
    for (const char* page : {"submission", "prefilled", "script_prefill", "types", "clobber", "throw", "loop",
                             "optgroup", "frames", "react"})
        filled(page);
    filled("prefilled.none", {}, QString());
    filled("types.numeric", {}, "numeric_profile.txt");
    filled("tool_form", {}, "tool_pad.xml");
    // A labelled form filled whole: from the profile Tidy.txt with the PAD file kept beside it
    // (Tidy.xml), whose name wins over the PAD's, and from that PAD file alone.
    filled("labelled", {}, "Tidy.txt");
    filled("labelled.pad", {}, "Tidy.xml");
    // late.html shows its second step 500 ms after the load.
    for (const char* page : {"subcategory", "rewrite", "frame_steps", "late"})
        filled(page, {"--settle", "1000"});
    QTest::newRow("PAD file not well-formed")
        << QStringList{"--product", kData + "tool_broken.xml", kData + "tool_form.html"} << 2 << QByteArray()
        << "not well-formed";
    QTest::newRow("page missing") << QStringList{"/no/such/page.html"} << 2 << QByteArray() << "cannot load";
}

void TestFormtideFill::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);

    QProcess tool;
    tool.start(FORMTIDE_APP_DIR "/formtide-fill", arguments);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), exitCode);
    QTEST(tool.readAllStandardOutput(), "output");
    // The engine may print its own start-up notes; the tool's own failure is one line.
    const QStringList errors =
        QString::fromLocal8Bit(tool.readAllStandardError()).split(u'\n').filter("formtide-fill:");
    QCOMPARE(errors.size(), error.isEmpty() ? 0 : 1);
    QVERIFY2(errors.value(0).contains(error), qPrintable(errors.value(0)));
}

QTEST_GUILESS_MAIN(TestFormtideFill)
#include "tst_formtidefill.moc"
