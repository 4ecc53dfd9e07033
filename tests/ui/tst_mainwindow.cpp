
#include "sites/SiteAddressCipher.h"
#include "tests/FakeBrowser.h"
#include "tests/TestFiles.h"
#include "tools/Scramble.h"
#include "ui/MainWindow.h"

#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kAddresses[] = {
    "www.1000apps.com/submit.php", "www.1000FILES.com/add", "www.1000apps.com/later-duplicate",
    "2archive.net/submit",         "www.3d2f.com/submit/",  "www.5Awards.com/submit",
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startUp();
    void walk_data();
    void walk();
    void addLinksReloadsList();
    void resizeRule_data();
    void resizeRule();
    void progress_data();
    void progress();
    void newWindowIsRefused();

private:
    // Builds the main window on the temporary folder and forgets the start-up calls.
    void open(const QByteArray& addedLinks);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_form;
    FakeBrowser* m_browser = nullptr;
};

void TestForm1::init()
{
    Module1::ResetForTesting();
    m_dir = std::make_unique<QTemporaryDir>();
    QByteArray padok;
    for (const QByteArray& address : kAddresses)
        padok += scramble(address, SiteAddressCipher::fileDepth) + "\r\n";
    writeFile(m_dir->filePath(QStringLiteral("padok.txt")), padok);
}

void TestForm1::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestForm1::open(const QByteArray& addedLinks)
{
    writeFile(m_dir->filePath(QStringLiteral("addedlinks.txt")), addedLinks);
    auto browser = std::make_unique<FakeBrowser>();
    m_browser = browser.get();
    m_form = std::make_unique<MainWindow>(m_dir->path(), std::move(browser));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_browser->takeCalls();
}

void TestForm1::startUp()
{
    writeFile(m_dir->filePath(QStringLiteral("addedlinks.txt")),
              "http://a.example/\r\nhttp://b.example/\r\nc\r\n");
    auto browser = std::make_unique<FakeBrowser>();
    FakeBrowser* fake = browser.get();
    MainWindow form(m_dir->path(), std::move(browser));

    // The help page first; selecting entry 0 runs the click handling before any address is known.
    QCOMPARE(fake->calls, (QStringList{QStringLiteral("navigate(%1/formtidehelp.html)").arg(m_dir->path()),
                                       QStringLiteral("Stop"), QStringLiteral("navigate()")}));
    QCOMPARE(form.selectedSiteRow(), 0);
    QCOMPARE(Module1::CurrentSiteIndex, 0);
    QCOMPARE(Module1::ProductEditMode, 1);
    QCOMPARE(Module1::SiteAddressCount, 6);
    QCOMPARE(form.siteList()->count(), 13);
    QCOMPARE(form.siteList()->item(12)->text(), QStringLiteral("c"));
    QCOMPARE(form.siteList()->item(0)->checkState(), Qt::Unchecked);
}

void TestForm1::walk_data()
{
    QTest::addColumn<int>("walkPosition");
    QTest::addColumn<bool>("nextFirst"); // press "Next" once before the action, calls forgotten
    QTest::addColumn<QString>("action"); // "Next", "click" or "check" the entry `row`
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("walkAfter");
    QTest::addColumn<int>("selectedAfter");

    // Entry 10 is the one added link, which holds entry 5's name.
    const QString link = QStringLiteral("navigate(http://my.example/5Awards-submit)");
    QTest::newRow("next onto built-in entry")
        << 0 << false << "Next" << 0
        << QStringList{"Stop", "navigate(http://www.1000FILES.com/add)", "Stop", "navigate()"} << 1 << 1;
    QTest::newRow("next onto added link")
        << 9 << false << "Next" << 0 << QStringList{"Stop", "navigate()", "Stop", link} << 10 << 10;
    QTest::newRow("next onto built-in name inside an added link")
        << 5 << false << "Next" << 0
        << QStringList{"Stop", "navigate(http://www.5Awards.com/submit)", "Stop", link} << 6 << 6;
    QTest::newRow("next on the last entry stays there")
        << 9 << true << "Next" << 0 << QStringList{} << 10 << 10;
    QTest::newRow("click on built-in entry, first address in file order")
        << 0 << false << "click" << 0 << QStringList{"Stop", "navigate(http://www.1000apps.com/submit.php)"}
        << 0 << 0;
    QTest::newRow("click on added link")
        << 0 << false << "click" << 10 << QStringList{"Stop", "navigate()"} << 0 << 10;
    QTest::newRow("click on the added link Next reached")
        << 9 << true << "click" << 10 << QStringList{"Stop", "navigate()"} << 10 << 10;
    QTest::newRow("check mark alone") << 0 << false << "check" << 0 << QStringList{} << 0 << 0;
}

void TestForm1::walk()
{
    QFETCH(int, walkPosition);
    QFETCH(bool, nextFirst);
    QFETCH(QString, action);
    QFETCH(int, row);
    QFETCH(QStringList, calls);
    QFETCH(int, walkAfter);
    QFETCH(int, selectedAfter);
    open("http://my.example/5Awards-submit\r\n");
    QListWidget* list = m_form->siteList();

    Module1::CurrentSiteIndex = walkPosition;
    if (nextFirst) {
        QTest::mouseClick(m_form->Command1(), Qt::LeftButton);
        m_browser->takeCalls();
    }
    if (action == u"Next") {
        QTest::mouseClick(m_form->Command1(), Qt::LeftButton);
    } else if (action == u"click") {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    } else {
        list->item(row)->setCheckState(Qt::Checked);
    }
    QCOMPARE(m_browser->calls, calls);
    QCOMPARE(Module1::CurrentSiteIndex, walkAfter);
    QCOMPARE(m_form->selectedSiteRow(), selectedAfter);
}

void TestForm1::addLinksReloadsList()
{
    open("http://one.example/\r\n");
    QListWidget* list = m_form->siteList();
    list->item(2)->setCheckState(Qt::Checked);
    Module1::CurrentSiteIndex = 4;
    // The dialog is closed without saving; the file gains a line meanwhile, as another save would.
    QTimer::singleShot(0, this, [this] {
        QFile file(m_dir->filePath(QStringLiteral("addedlinks.txt")));
        QVERIFY(file.open(QIODevice::Append));
        file.write("http://two.example/\r\n");
        file.close();
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        dialog->close();
    });
    QTest::mouseClick(m_form->Command2(), Qt::LeftButton);

    QCOMPARE(list->count(), 12);
    QCOMPARE(list->item(11)->text(), QStringLiteral("http://two.example/"));
    QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(m_form->selectedSiteRow(), -1);
    QCOMPARE(Module1::AddedLinkCount, 2);
    QCOMPARE(Module1::AddedLinks.mid(1), (QStringList{"http://one.example/", "http://two.example/"}));
    QCOMPARE(Module1::CurrentSiteIndex, 4);
    QCOMPARE(m_browser->calls, QStringList());
}

void TestForm1::resizeRule_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<bool>("laidOut");
    QTest::addColumn<QRectF>("expectedBrowser");
    QTest::addColumn<double>("listRight");

    QTest::newRow("design size") << 12030.f << 8130.f << true << QRectF(10, 10, 8615, 8030) << 11980.0;
    QTest::newRow("5000 x 5000") << 5000.f << 5000.f << true << QRectF(10, 10, 1585, 4900) << 4950.0;
    QTest::newRow("width 4999") << 4999.f << 8130.f << false << QRectF() << 0.0;
    QTest::newRow("height 4999") << 12030.f << 4999.f << false << QRectF() << 0.0;
}

void TestForm1::resizeRule()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(bool, laidOut);
    QFETCH(QRectF, expectedBrowser);
    QFETCH(double, listRight);
    open("");
    // Start from a layout that differs from every row's.
    m_form->setInnerSizeTwips(9000, 6000);
    QTRY_COMPARE(m_form->twipsGeometry(m_form->browserWidget()).width(), 9000.0 - 3315 - 100);
    const QRectF before = m_form->twipsGeometry(m_form->siteList());

    m_form->setInnerSizeTwips(width, height);
    QTest::qWait(0);
    const QRectF browser = m_form->twipsGeometry(m_form->browserWidget());
    const QRectF list = m_form->twipsGeometry(m_form->siteList());
    const QRectF bar = m_form->twipsGeometry(m_form->progressBar());
    const QRectF next = m_form->twipsGeometry(m_form->Command1());
    const QRectF add = m_form->twipsGeometry(m_form->Command2());
    if (!laidOut) {
        QCOMPARE(list, before);
        QCOMPARE(browser.width(), 9000.0 - 3315 - 100);
        return;
    }
    QCOMPARE(browser, expectedBrowser);
    QCOMPARE(list.left(), browser.width() + 50);
    QCOMPARE(list.right(), listRight);
    QVERIFY(list.height() <= height - 800);
    QVERIFY(list.height() > height - 800 - 300); // whole rows: loses less than one row
    QCOMPARE(bar, QRectF(list.left(), list.height() + 100, 3315, 255));
    QCOMPARE(next, QRectF(browser.width() + 200, list.height() + 450, 1335, 375));
    QCOMPARE(add, QRectF(browser.width() + 400 + 1335, list.height() + 450, 1335, 375));
    // On screen: twips / 15 pixels.
    QCOMPARE(m_form->browserWidget()->geometry().topLeft(), QPoint(1, 1));
    QCOMPARE(m_form->siteList()->width(), 221);
}

void TestForm1::progress_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("progressMax");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<int>("expectedMax");

    // The bar stands at 10 of 100 before each row.
    QTest::newRow("half") << 50 << 100 << 50 << 100;
    QTest::newRow("maximum 0 refused, value still set") << 30 << 0 << 30 << 100;
    QTest::newRow("negative value refused") << -1 << 100 << 10 << 100;
    QTest::newRow("larger maximum first, then value") << 150 << 200 << 150 << 200;
    QTest::newRow("value above new maximum refused") << 90 << 50 << 10 << 50;
}

void TestForm1::progress()
{
    QFETCH(int, progress);
    QFETCH(int, progressMax);
    QFETCH(int, expectedValue);
    QFETCH(int, expectedMax);
    open("");
    m_form->WebBrowser1_ProgressChange(10, 100);
    m_form->WebBrowser1_ProgressChange(progress, progressMax);
    QCOMPARE(m_form->progressBar()->maximum(), expectedMax);
    QCOMPARE(m_form->progressBar()->value(), expectedValue);
}

void TestForm1::newWindowIsRefused()
{
    open("");
    bool cancel = false;
    Q_EMIT m_browser->NewWindow2(&cancel);
    QVERIFY(cancel);
    QCOMPARE(m_browser->calls, QStringList());
}

QTEST_MAIN(TestForm1)
#include "tst_mainwindow.moc"
