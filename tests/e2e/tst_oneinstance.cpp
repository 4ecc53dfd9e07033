// The real program, started twice on one data folder: the second start brings the first copy's
// window to the front and ends; a lock left by a copy that crashed does not block the next start.

#include "core/AppFolder.h"
#include "tests/TestFiles.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestOneInstance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void secondStartShowsFirst();

private:
    // Starts the program in the portable folder, with a home folder of its own.
    void start(QProcess& program) const;
    // Starts the program once more and lets it end: true when it handed over to a running copy.
    bool handsOver() const;

    QTemporaryDir m_folder;
    QTemporaryDir m_home;
};

void TestOneInstance::initTestCase()
{
    for (const char* name : {"formtide", "formtidehelp.html", "padok.txt"})
        QVERIFY(
            QFile::copy(QString(FORMTIDE_APP_DIR "/") + name, m_folder.filePath(QString::fromLatin1(name))));
}

void TestOneInstance::start(QProcess& program) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(m_folder.filePath("formtide"));
}

bool TestOneInstance::handsOver() const
{
    QProcess second;
    start(second);
    if (!second.waitForFinished(20000)) {
        second.kill();
        second.waitForFinished();
        return false;
    }
    return second.exitCode() == 0 && second.readAllStandardOutput().contains("already running");
}

void TestOneInstance::secondStartShowsFirst()
{
    const QString lock = AppFolder::path(m_folder.path(), AppFolder::instanceLockFile());
    QProcess first;
    start(first);
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 20000);
    // The second copy says so only once the first has been asked to show its window and answered.
    QVERIFY(handsOver());
    QCOMPARE(first.state(), QProcess::Running);

    // A crash leaves the lock behind; the next start takes it over.
    first.kill();
    QVERIFY(first.waitForFinished());
    QVERIFY(QFile::exists(lock));
    QProcess next;
    start(next);
    QVERIFY(next.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        readAll(lock).startsWith(QByteArray(QByteArray::number(next.processId()) + "\n")), 20000);
    QVERIFY(handsOver());
    next.terminate();
    QVERIFY(next.waitForFinished(20000));
    QCOMPARE(next.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFile::exists(lock));
}

QTEST_GUILESS_MAIN(TestOneInstance)
#include "tst_oneinstance.moc"
