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
};

namespace {

// Makes each file below `root`; a path ending in '/' is a folder. False when one could not be made.
[[nodiscard]] bool makeFiles(const QString& root, const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!QDir(root).mkpath(path.endsWith(u'/') ? path : QFileInfo(path).path()))
            return false;
        if (!path.endsWith(u'/') && !writeFile(root + u'/' + path, path.toUtf8()))
            return false;
    }
    return true;
}

} // namespace

// Paths below a temporary root, whose home/.local/share is the user's data home.
void TestAppFolders::layoutRule_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("executableFolder");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("dataFolder");

    const auto row = [](const char* tag, QStringList files, const char* exe, QString program, QString data) {
        QTest::newRow(tag) << files << QString::fromLatin1(exe) << program << data;
    };
    const QString data = u"home/.local/share/formtide"_s;
    row("portable folder that lost its site file", {"app/formtidehelp.html"}, "app", "app", "app");
    row("installed in ~/.local, own files among the user's", {data + "/padok.txt", data + "/addedlinks.txt"},
        "home/.local/bin", data, data);
    row("only the user's files beside: installed", {"opt/bin/addedlinks.txt", "opt/bin/Info/"}, "opt/bin",
        "opt/share/formtide", data);
    row("own files beside and in share: beside wins", {"usr/bin/padok.txt", "usr/share/formtide/padok.txt"},
        "usr/bin", "usr/bin", "usr/bin");
}

void TestAppFolders::layoutRule()
{
    QFETCH(QStringList, files);
    QFETCH(QString, executableFolder);
    QTemporaryDir root;
    QVERIFY(makeFiles(root.path(), files << executableFolder + u'/'));
    const auto before = tree(root.path());

    const AppFolders folders =
        AppFolders::locate(root.filePath(executableFolder), root.filePath(u"home/.local/share"_s));

    QTEST(QDir(root.path()).relativeFilePath(folders.programFolder()), "programFolder");
    QTEST(QDir(root.path()).relativeFilePath(folders.dataFolder()), "dataFolder");
    QCOMPARE(tree(root.path()), before);
}

QTEST_GUILESS_MAIN(TestAppFolders)
#include "tst_appfolders.moc"
