#include "core/SignInStore.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestSignInStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void changes_data();
    void changes();
};

void TestSignInStore::changes_data()
{
    QTest::addColumn<QByteArray>("before"); // "<missing>": no file
    QTest::addColumn<bool>("remember");     // else forget
    QTest::addColumn<bool>("done");
    QTest::addColumn<QByteArray>("after"); // "" for a file that holds the new sign-in alone
    const QByteArray other = R"([{"site":"http://b:80","realm":"R","user":"u","password":"p"}])";
    QTest::newRow("no file yet") << QByteArray("<missing>") << true << true << QByteArray();
    // Nothing of a file that cannot be read as sign-ins is written over: the others stay.
    QTest::newRow("broken file") << QByteArray("[{\"site\":") << true << false << QByteArray("[{\"site\":");
    QTest::newRow("not a list") << QByteArray("{}") << true << false << QByteArray("{}");
    QTest::newRow("forgetting none writes nothing") << other << false << true << other;
}

void TestSignInStore::changes()
{
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"signins.json"_s);
    if (before != "<missing>")
        QVERIFY(writeFile(path, before));
    SignInStore store(path);
    QFETCH(bool, remember);
    const auto result = remember ? store.remember(u"http://a:80"_s, u"R"_s, {u"ann"_s, u"pw"_s})
                                 : store.forget(u"http://a:80"_s, u"R"_s);
    QTEST(result.ok(), "done");
    QFETCH(QByteArray, after);
    if (after.isEmpty())
        QCOMPARE(store.find(u"http://a:80"_s, u"R"_s)->password, u"pw"_s);
    else
        QCOMPARE(readAll(path), after);
}

QTEST_GUILESS_MAIN(TestSignInStore)
#include "tst_signinstore.moc"
