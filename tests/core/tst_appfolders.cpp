#include "core/AppFolders.h"
#include "tests/TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestAppFolders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layoutRule_data();
    void layoutRule();
    void userDataHome_data();
    void userDataHome();
    void makeDataFolder_data();
    void makeDataFolder();
};

namespace {

// Makes each file (a path ending in '/' is a folder) below `root`.
void makeFiles(const QString& root, const QStringList& paths)
{
    for (const QString& path : paths) {
        QVERIFY(QDir(root).mkpath(QFileInfo(root + u'/' + path).path()));
        if (!path.endsWith(u'/'))
            writeFile(root + u'/' + path, "content of " + path.toUtf8());
    }
}

} // namespace

// Paths are relative to a temporary root; the user's data home is <root>/home/.local/share.
void TestAppFolders::layoutRule_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("executableFolder");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("dataFolder");

    QTest::newRow("build or archive: both own files beside")
        << QStringList{"bin/padok.txt", "bin/formtidehelp.html"} << "bin"
        << "bin"
        << "bin";
    QTest::newRow("portable folder that lost its site file")
        << QStringList{"app/formtidehelp.html", "app/Info/"} << "app"
        << "app"
        << "app";
    QTest::newRow("installed in /usr")
        << QStringList{"usr/share/formtide/padok.txt", "usr/share/formtide/formtidehelp.html"} << "usr/bin"
        << "usr/share/formtide"
        << "home/.local/share/formtide";
    QTest::newRow("installed in ~/.local: own files in the data folder")
        << QStringList{"home/.local/share/formtide/padok.txt", "home/.local/share/formtide/addedlinks.txt"}
        << "home/.local/bin"
        << "home/.local/share/formtide"
        << "home/.local/share/formtide";
    QTest::newRow("only the user's files beside: installed")
        << QStringList{"opt/bin/addedlinks.txt", "opt/bin/Info/Zipper.txt", "opt/bin/Browser/"} << "opt/bin"
        << "opt/share/formtide"
        << "home/.local/share/formtide";
    QTest::newRow("own files nowhere: installed") << QStringList{} << "opt/formtide/bin"
                                                  << "opt/formtide/share/formtide"
                                                  << "home/.local/share/formtide";
    QTest::newRow("both layouts present: beside wins")
        << QStringList{"usr/bin/padok.txt", "usr/share/formtide/padok.txt"} << "usr/bin"
        << "usr/bin"
        << "usr/bin";
}

void TestAppFolders::layoutRule()
{
    QFETCH(QStringList, files);
    QFETCH(QString, executableFolder);
    QTemporaryDir root;
    makeFiles(root.path(), files);
    QVERIFY(QDir(root.path()).mkpath(executableFolder));
    const auto before = tree(root.path());

    const AppFolders folders =
        AppFolders::locate(root.filePath(executableFolder), root.filePath(u"home/.local/share"_s));

    QTEST(QDir(root.path()).relativeFilePath(folders.programFolder()), "programFolder");
    QTEST(QDir(root.path()).relativeFilePath(folders.dataFolder()), "dataFolder");
    QCOMPARE(tree(root.path()), before);
}

void TestAppFolders::userDataHome_data()
{
    QTest::addColumn<QByteArray>("xdgDataHome"); // null: not set
    QTest::addColumn<QString>("expected");       // relative to HOME, or absolute

    QTest::newRow("not set") << QByteArray() << ".local/share";
    QTest::newRow("empty") << QByteArray("") << ".local/share";
    QTest::newRow("absolute") << QByteArray("/srv/author/data") << "/srv/author/data";
    QTest::newRow("relative: invalid, ignored") << QByteArray("data") << ".local/share";
}

void TestAppFolders::userDataHome()
{
    QFETCH(QByteArray, xdgDataHome);
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    if (xdgDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", xdgDataHome);

    QFETCH(QString, expected);
    QCOMPARE(AppFolders::userDataHome(), QDir(home.path()).filePath(expected));
}

void TestAppFolders::makeDataFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("dataFolder");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QFileDevice::Permissions>("permissions"); // afterwards, but for the user bits

    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    QTest::newRow("missing, with its parents")
        << QStringList{} << "home/.local/share/formtide" << true << ownerOnly;
    QTest::newRow("existing: kept as it is") << QStringList{"share/formtide/addedlinks.txt"}
                                             << "share/formtide" << true << QFileDevice::Permissions(0x7055);
    QTest::newRow("a file where a parent belongs")
        << QStringList{"home"} << "home/.local/share/formtide" << false << QFileDevice::Permissions();
    QTest::newRow("a file where the folder belongs")
        << QStringList{"share/formtide"} << "share/formtide" << false << QFileDevice::Permissions(0x6044);
}

void TestAppFolders::makeDataFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, dataFolder);
    QTemporaryDir root;
    makeFiles(root.path(), files);
    for (const QString& file : files) {
        const bool folder = QFileInfo(root.filePath(file)).isDir();
        QFile::setPermissions(root.filePath(file), QFileDevice::Permissions(folder ? 0x7755 : 0x6644));
    }
    const auto before = tree(root.path());

    const AppFolders folders = AppFolders::portable(root.filePath(dataFolder));

    QTEST(folders.makeDataFolder(), "made");
    QTEST(QFileInfo(folders.dataFolder()).permissions() & ~QFileDevice::Permissions(0x0700), "permissions");
    auto after = tree(root.path());
    for (const QString& path : after.keys()) {
        if (!before.contains(path))
            QCOMPARE(after.take(path), QByteArray("<folder>")); // only folders are made
    }
    QCOMPARE(after, before);
}

QTEST_GUILESS_MAIN(TestAppFolders)
#include "tst_appfolders.moc"
