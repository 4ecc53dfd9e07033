// Bad data files and file-system faults: the program comes up, loses nothing and keeps running.

#include "ui/ProductManagerDialog.h"
#include "tests/FakeBrowser.h"
#include "tests/ReadOnlyFolder.h"
#include "tests/TestFiles.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QByteArray binary()
{
    QByteArray bytes;
    QRandomGenerator random(1234);
    for (int i = 0; i < 4096; ++i)
        bytes.append(static_cast<char>(random.bounded(256)));
    return bytes;
}

QByteArray manyLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "http://site" + QByteArray::number(i) + ".example/\r\n";
    return bytes;
}

// Every file and folder below `root`, with the files' content.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(QDir(root).relativeFilePath(path),
                       it.fileInfo().isDir() ? QByteArray("<folder>") : readAll(path));
    }
    return entries;
}

} // namespace

class TestHardening : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { Module1::ResetForTesting(); }
    void dataFiles_data();
    void dataFiles();
    void addLinksIntoReadOnlyFolder();
    void profileSaveFaults_data();
    void profileSaveFaults();
    void profileReplacedByFolder();
};

void TestHardening::dataFiles_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("lines");

    QTest::newRow("missing") << false << QByteArray() << 0;
    QTest::newRow("empty") << true << QByteArray() << 0;
    QTest::newRow("no final line break") << true << QByteArray("a\r\nb") << 2;
    QTest::newRow("CR only") << true << QByteArray("a\rb\rc\r") << 3;
    QTest::newRow("LF only") << true << QByteArray("a\nb\nc\n") << 3;
    QTest::newRow("empty lines count") << true << QByteArray("\r\n\r\nx\r\n") << 3;
    QTest::newRow("100,000 lines") << true << manyLines(100000) << 100000;
    QTest::newRow("1 MB line") << true << QByteArray(1 << 20, 'x') + "\r\n" << 1;
    QTest::newRow("binary") << true << binary() << -1;
}

void TestHardening::dataFiles()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(int, lines);

    QTemporaryDir app;
    for (const char* name : {"padok.txt", "addedlinks.txt"}) {
        if (present)
            writeFile(app.filePath(QString::fromLatin1(name)), content);
    }
    auto browser = std::make_unique<FakeBrowser>();
    FakeBrowser* fake = browser.get();
    MainWindow form(app.path(), std::move(browser));
    form.show();

    if (lines >= 0) {
        QCOMPARE(Module1::SiteAddressCount, lines);
        QCOMPARE(Module1::AddedLinkCount, lines);
    }
    QCOMPARE(Module1::SiteAddresses.size(), Module1::SiteAddressCount + 1);
    QCOMPARE(Module1::AddedLinks.size(), Module1::AddedLinkCount + 1);
    QCOMPARE(form.siteList()->count(), 10 + Module1::AddedLinkCount);
    for (int k = 1; k <= qMin(Module1::SiteAddressCount, 1000); ++k)
        QVERIFY(Module1::SiteAddresses.at(k).startsWith(QStringLiteral("http://")));

    // The walk goes on over whatever was loaded, to the last entry and no further.
    Module1::CurrentSiteIndex = form.siteList()->count() - 2;
    fake->takeCalls();
    QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QCOMPARE(Module1::CurrentSiteIndex, form.siteList()->count() - 1);
    QCOMPARE(fake->calls.size(), 4);
    if (present)
        QCOMPARE(readAll(app.filePath("padok.txt")), content);
}

void TestHardening::addLinksIntoReadOnlyFolder()
{
    QTemporaryDir app;
    const QByteArray before = "http://kept.example/\r\n";
    writeFile(app.filePath("addedlinks.txt"), before);
    MainWindow form(app.path(), std::make_unique<FakeBrowser>());
    form.show();
    {
        const ReadOnlyFolder readOnly(app.path());
        QFile::setPermissions(app.filePath("addedlinks.txt"),
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::keyClicks(dialog->findChild<QWidget*>("Text1"), "http://new.example/");
            QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
            // Not saved: the dialog stays open to say so; the user gives up.
            QVERIFY(dialog->isVisible());
            QTest::mouseClick(dialog->findChild<QPushButton*>("Command2"), Qt::LeftButton);
            driven = true;
        });
        QTest::mouseClick(form.Command2(), Qt::LeftButton);
        QVERIFY(driven);
    }
    QFile::setPermissions(app.filePath("addedlinks.txt"), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(readAll(app.filePath("addedlinks.txt")), before);
    QCOMPARE(form.siteList()->count(), 11);
    QCOMPARE(Module1::AddedLinkCount, 1);
}

void TestHardening::profileSaveFaults_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("readOnly"); // folder made read-only, relative to the app folder
    QTest::addColumn<bool>("edit");        // rename the existing product "Old" rather than add

    QTest::newRow("add, read-only Info") << u"info"_s << u"Info"_s << false;
    QTest::newRow("edit and rename, read-only Info") << u"info"_s << u"Info"_s << true;
    QTest::newRow("add, read-only app folder without Info") << QString() << u"."_s << false;
    QTest::newRow("add, a folder stands where the profile goes") << u"info,folder"_s << QString() << false;
    QTest::newRow("edit and rename, a folder stands where the profile goes")
        << u"info,folder"_s << QString() << true;
}

void TestHardening::profileSaveFaults()
{
    QFETCH(QString, setUp);
    QFETCH(QString, readOnly);
    QFETCH(bool, edit);

    QTemporaryDir app;
    if (setUp.contains("info")) {
        QVERIFY(QDir(app.path()).mkdir("Info"));
        writeFile(app.filePath("Info/Old.txt"),
                  "\"Old\"\r\n\"ART\"\r\n\"http://old.example/pad.xml\"\r\n\"7\"\r\n\"8\"\r\n");
    }
    if (setUp.contains("folder"))
        QVERIFY(QDir(app.path()).mkpath("Info/New.txt/inside"));
    const QMap<QString, QByteArray> before = tree(app.path());

    ProductManagerDialog manager(app.path());
    std::unique_ptr<ReadOnlyFolder> guard;
    if (!readOnly.isEmpty())
        guard = std::make_unique<ReadOnlyFolder>(QDir(app.path()).filePath(readOnly));
    bool driven = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog == &manager);
        QTimer::singleShot(0, this, [&] {
            QWidget* editor = QApplication::activeModalWidget();
            QVERIFY(editor && editor != dialog);
            auto* name = editor->findChild<QLineEdit*>("Text1");
            name->clear();
            QTest::keyClicks(name, "New");
            QTest::mouseClick(editor->findChild<QPushButton*>("Command1"), Qt::LeftButton);
            // Nothing saved: the editor stays open and says why in one line.
            QVERIFY(editor->isVisible());
            QVERIFY(!editor->findChild<QLabel*>("lblNotSaved")->text().isEmpty());
            QTest::mouseClick(editor->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        });
        QTest::mouseClick(manager.findChild<QPushButton*>(edit ? "Command2" : "Command1"), Qt::LeftButton);
        // A folder is no profile: only "Old" is listed.
        const int listed = manager.siteList()->count();
        QTest::mouseClick(manager.findChild<QPushButton*>("Command5"), Qt::LeftButton);
        QCOMPARE(listed, setUp.contains("info") ? 1 : 0);
        driven = true;
    });
    manager.exec();
    guard.reset();
    QVERIFY(driven);
    QCOMPARE(tree(app.path()), before);
}

void TestHardening::profileReplacedByFolder()
{
    QTemporaryDir app;
    QVERIFY(QDir(app.path()).mkpath("Info/Broken.txt"));
    Module1::ActiveProduct = Product{"Kept", "ART", "http://kept.example/", "", ""};
    ProductManagerDialog manager(app.path());
    QTimer::singleShot(0, this, [&] {
        // Whatever the list shows, "Edit..." opens nothing and "OK" keeps the active product.
        QTest::mouseClick(manager.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCOMPARE(QApplication::activeModalWidget(), &manager);
        QTest::mouseClick(manager.findChild<QPushButton*>("Command4"), Qt::LeftButton);
    });
    manager.exec();
    QCOMPARE(Module1::ActiveProduct.programName, QStringLiteral("Kept"));
    QVERIFY(QFileInfo(app.filePath("Info/Broken.txt")).isDir());
}

QTEST_MAIN(TestHardening)
#include "tst_hardening.moc"
