// Addresses opened for the user reach the user's own opener ("xdg-open" on the user's PATH) with
// the environment the user started the program in, not the browser engine's.

#include "tests/TestFiles.h"
#include "ui/AboutDialog.h"
#include "ui/DesktopOpener.h"
#include "ui/VendorSite.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

class TestDesktopOpener : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void opensInAuthorsEnvironment_data();
    void opensInAuthorsEnvironment();

private:
    QTemporaryDir m_folder;
    QProcessEnvironment m_author;
};

void TestDesktopOpener::initTestCase()
{
    // The opener writes its argument and then its environment to opened.txt.
    const QString opener = m_folder.filePath("xdg-open");
    QVERIFY(writeFile(opener, "#!/bin/sh\n{ printf '%s\\n' \"$1\"; env; } > \"$OPENED\"\n"));
    QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_author = QProcessEnvironment::systemEnvironment();
    m_author.insert("PATH", m_folder.path() + ":/usr/bin:/bin");
    m_author.insert("XDG_DATA_HOME", "/home/author/.local/share");
    m_author.remove("XDG_DATA_DIRS");
    m_author.remove("QTWEBENGINE_DISABLE_SANDBOX");
    m_author.insert("OPENED", m_folder.filePath("opened.txt"));
}

void TestDesktopOpener::opensInAuthorsEnvironment_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("opened");
    QTest::newRow("an address") << "opener"
                                << "https://example.com/a%20b?q=1&r=2";
    QTest::newRow("the About box's address") << "about" << VendorSite::homePage();
}

void TestDesktopOpener::opensInAuthorsEnvironment()
{
    QFETCH(QString, how);
    QFETCH(QString, opened);
    QFile::remove(m_folder.filePath("opened.txt"));
    if (how == "about") {
        AboutDialog about{DesktopOpener(m_author)};
        about.openHomePage();
    } else {
        QVERIFY(DesktopOpener(m_author).open(QUrl(opened)));
    }
    QTRY_VERIFY(readAll(m_folder.filePath("opened.txt")).contains("\nOPENED="));
    const QList<QByteArray> lines = readAll(m_folder.filePath("opened.txt")).split('\n');
    QCOMPARE(lines.first(), opened.toUtf8());
    QVERIFY(lines.contains("XDG_DATA_HOME=/home/author/.local/share"));
    for (const QByteArray& line : lines) {
        QVERIFY2(!line.startsWith("QTWEBENGINE_") && !line.startsWith("XDG_DATA_DIRS="), line.constData());
    }
}

int main(int argc, char* argv[])
{
    // As the browser engine leaves the program's own environment.
    qputenv("XDG_DATA_HOME", "/data/Browser");
    qputenv("XDG_DATA_DIRS", "/home/author/.local/share:/usr/share");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    TestDesktopOpener test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_desktopopener.moc"
