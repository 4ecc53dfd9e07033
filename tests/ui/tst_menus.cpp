
#include "ui/ProductManagerDialog.h"
#include "tests/FakeBrowser.h"
#include "ui/MainWindow.h"
#include "ui/VendorSite.h"
#include "ui/AboutDialog.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

using namespace Qt::StringLiterals;

// Takes the addresses that the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(u"https"_s, this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(u"https"_s); }
    QStringList urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url.toString()); }
};

class TestMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_form.reset(); }
    void addresses_data();
    void addresses();
    void selectShowsTheOneManager();
    void aboutBox_data();
    void aboutBox();

private:
    // Triggers a menu item whose handler shows a modal dialog, and runs `script` on that dialog;
    // a dialog still open afterwards is closed. Returns the dialog shown, or null.
    QDialog* showModal(const char* item, const std::function<void(QDialog&)>& script)
    {
        QDialog* shown = nullptr;
        QTimer::singleShot(0, m_form.get(), [&] {
            shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!shown)
                return;
            script(*shown);
            if (shown->isVisible())
                shown->reject();
        });
        m_form->findChild<QAction*>(QLatin1String(item))->trigger();
        return shown;
    }

    QTemporaryDir m_dir;
    FakeBrowser* m_browser = nullptr;
    std::unique_ptr<MainWindow> m_form;
};

void TestMenus::init()
{
    Module1::ResetForTesting();
    auto browser = std::make_unique<FakeBrowser>();
    m_browser = browser.get();
    m_form = std::make_unique<MainWindow>(m_dir.path(), std::move(browser));
    m_form->show();
    m_browser->takeCalls();
}

void TestMenus::addresses_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("url");
    QTest::newRow("Online Help") << u"mnuHelpOnline"_s << u"https://www.formtide.com/formtidehelp.html"_s;
    QTest::newRow("Home Page") << u"mnuHelpWeb"_s << u"https://www.formtide.com/"_s;
}

void TestMenus::addresses()
{
    QFETCH(QString, item);
    UrlCatcher catcher;
    m_form->findChild<QAction*>(item)->trigger();
    QTEST(catcher.urls.join(u' '), "url");
    QCOMPARE(m_browser->calls, QStringList{}); // the embedded browser is not touched
}

void TestMenus::selectShowsTheOneManager()
{
    const auto cancel = [](QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(u"Command5"_s), Qt::LeftButton);
    };
    QDialog* first = showModal("mnuConDetail", cancel);
    QVERIFY(first && first == m_form->productManager());
    QCOMPARE(first->windowTitle(), u"Softwares"_s);
    QCOMPARE(showModal("mnuConDetail", cancel), first);
}

void TestMenus::aboutBox_data()
{
    QTest::addColumn<int>("key"); // 0: click "O K"
    QTest::newRow("O K") << 0;
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void TestMenus::aboutBox()
{
    QFETCH(int, key);
    UrlCatcher catcher;
    QStringList texts;
    bool openAfterAddressClick = false;
    bool closed = false;
    QDialog* about = showModal("mnuRunAbout", [&](QDialog& dialog) {
        texts.append(dialog.windowTitle());
        for (const char* name : {"lblTitle", "Label2", "Label1"})
            texts.append(dialog.findChild<QLabel*>(QLatin1String(name))->text());
        auto* ok = dialog.findChild<QPushButton*>(u"cmdOK"_s);
        texts << ok->text() << (ok->isDefault() ? u"default"_s : u"not default"_s);
        texts.append(u"%1,%2"_s.arg(dialog.geometry().left()).arg(dialog.geometry().top()));
        QTest::mouseClick(dialog.findChild<QLabel*>(u"Label1"_s), Qt::LeftButton);
        openAfterAddressClick = dialog.isVisible();
        if (key)
            QTest::keyClick(&dialog, Qt::Key(key));
        else
            QTest::mouseClick(ok, Qt::LeftButton);
        closed = !dialog.isVisible();
    });
    QCOMPARE(about, m_form->aboutBox());
    QCOMPARE(texts, (QStringList{u"About Formtide"_s, u"Formtide"_s, u"Version 2.2"_s,
                                 VendorSite::displayAddress(), u"O K"_s, u"default"_s, u"156,129"_s}));
    QVERIFY(openAfterAddressClick);
    QCOMPARE(catcher.urls, QStringList{VendorSite::homePage()});
    QVERIFY(closed);
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
