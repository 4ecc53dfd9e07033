// What every program that shows pages gives the browser engine: its switches as arguments, the
// user's own flags respected, root without a sandbox.

#include "autofill/BrowserEngine.h"

#include <QTest>
#include <unistd.h>

class TestBrowserEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arguments_data();
    void arguments();
};

void TestBrowserEngine::arguments_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QByteArray>("userFlags"); // QTWEBENGINE_CHROMIUM_FLAGS
    QTest::addColumn<QStringList>("expected"); // "ours" stands for the program's switches
    QTest::newRow("none") << QStringList{"formtide"} << QByteArray()
                          << QStringList{"formtide", "--webEngineArgs", "ours"};
    QTest::newRow("Qt's and the program's")
        << QStringList{"formtide", "-platform", "offscreen", "page.html"} << QByteArray()
        << QStringList{"formtide", "-platform", "offscreen", "page.html", "--webEngineArgs", "ours"};
    QTest::newRow("the user's switches come last")
        << QStringList{"formtide", "--webEngineArgs", "--enable-gpu"} << QByteArray()
        << QStringList{"formtide", "--webEngineArgs", "ours", "--enable-gpu"};
    QTest::newRow("the user's flags rule")
        << QStringList{"formtide", "page.html"} << QByteArray("--enable-gpu")
        << QStringList{"formtide", "page.html"};
}

void TestBrowserEngine::arguments()
{
    QFETCH(QStringList, given);
    QFETCH(QByteArray, userFlags);
    QFETCH(QStringList, expected);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", userFlags);
    std::vector<QByteArray> storage;
    std::vector<char*> argv;
    for (const QString& argument : given)
        argv.push_back(storage.emplace_back(argument.toLocal8Bit()).data());
    BrowserEngine engine(int(argv.size()), argv.data(), {}, {"--extra"});

    QStringList ours{"--disable-gpu"};
    if (::geteuid() == 0)
        ours.append("--no-sandbox");
    ours.append("--extra");
    if (const qsizetype at = expected.indexOf("ours"); at >= 0)
        expected.replace(at, ours.join(u'\x1f'));
    expected = expected.join(u'\x1f').split(u'\x1f');
    QStringList made;
    for (int i = 0; i < engine.argc(); ++i)
        made.append(QString::fromLocal8Bit(engine.argv()[i]));
    QCOMPARE(made, expected);
    QCOMPARE(engine.argv()[engine.argc()], nullptr);
    QCOMPARE(engine.programArguments(), given);
    // As root the sandbox is off either way; nobody else's is touched.
    QCOMPARE(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"),
             ::geteuid() == 0 && !userFlags.isEmpty());
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
}

QTEST_APPLESS_MAIN(TestBrowserEngine)
#include "tst_browserengine.moc"
