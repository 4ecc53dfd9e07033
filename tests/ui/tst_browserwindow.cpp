// The browser around the page, in the main window with a real QWebEngineView against pages served
// on 127.0.0.1: new windows, certificates, sign-ins, downloads and the navigation bar.

#include "autofill/WebEngineBrowser.h"
#include "products/ProductProfiles.h"
#include "tests/FreshHome.h"
#include "tests/LocalHttpServer.h"
#include "tests/PageDriver.h"
#include "tests/TestFiles.h"
#include "ui/BrowserSession.h"
#include "ui/DownloadSaver.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"
#include "ui/PageWindow.h"
#include "ui/PopupNotice.h"
#include "ui/SignInDialog.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

using namespace Qt::StringLiterals;

namespace {

const QString kPadUrl = u"http://example.com/pad.xml"_s;
const QString kFilled = u"email= pad_url="_s + kPadUrl;

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT
public Q_SLOTS:
    // Stands for the user's own browser.
    void openInBrowser(const QUrl& url) { m_opened.append(url); }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup() { m_window.reset(); }
    void newWindows_data();
    void newWindows();
    void sendInANewWindow();
    void certificates();
    void signIn();
    void downloads();
    void freeNames_data();
    void freeNames();
    void navigation();
    void findAndZoom();

private:
    Browser* browser() const { return m_browser; }
    QWebEngineView* view() const { return m_window->findChild<QWebEngineView*>(u"browser"_s); }
    // Loads `path` of the server into the main window's page and waits for its load to end.
    bool load(const QString& path, LocalHttpServer* server = nullptr)
    {
        QSignalSpy finished(view(), &QWebEngineView::loadFinished);
        view()->load(QUrl((server ? server : &m_server)->url(path)));
        return waitUntil([&] { return !finished.isEmpty(); });
    }
    QList<PageWindow*> pageWindows() const { return m_window->findChild<BrowserSession*>()->windows(); }

    QTemporaryDir m_dir;
    QTemporaryDir m_downloads;
    QList<QUrl> m_opened;
    LocalHttpServer m_server{QString()};
    std::unique_ptr<MainWindow> m_window;
    Browser* m_browser = nullptr; // the main window's
};

void TestBrowserWindow::initTestCase()
{
    QVERIFY(m_server.start());
    m_server.setPage(u"form.html"_s,
                     R"html(<!DOCTYPE html><title>Form</title><form action="thanks.html">
        <input name="email"><input name="pad_url"><button id="send">Send</button></form>)html");
    m_server.setPage(u"opener.html"_s, R"html(<!DOCTYPE html><title>Opener</title>
        <a id="link" href="form.html" target="_blank">Terms</a>
        <button id="script" onclick="window.open('form.html', 'terms', 'width=400')">Open</button>)html");
    m_server.setPage(
        u"unasked.html"_s,
        R"html(<!DOCTYPE html><script>setTimeout(() => window.open('form.html'), 50)</script>)html");
    QVERIFY(ProductProfiles::save(m_dir.path(), {u"Zipper"_s, {}, kPadUrl, {}, {}}).ok());
    QVERIFY(writeFile(m_dir.filePath(u"lastproduct.txt"_s), "Zipper\r\n"));
    QVERIFY(writeFile(m_dir.filePath(u"addedlinks.txt"_s), m_server.url(u"opener.html"_s).toUtf8() + "\r\n"));
    m_server.setPage(u"a.html"_s, "<!DOCTYPE html><title>A</title><p>Apples, and more apples");
    m_server.setPage(u"b.html"_s, "<!DOCTYPE html><title>B</title><p>B");
    m_server.setPage(u"slow.html"_s, "<!DOCTYPE html><title>Slow</title>");
    m_server.setDelay(u"slow.html"_s, 5000);
    QDesktopServices::setUrlHandler(u"http"_s, this, "openInBrowser");
}

void TestBrowserWindow::init()
{
    auto browser = std::make_unique<WebEngineBrowser>();
    m_browser = browser.get();
    m_window = std::make_unique<MainWindow>(AppFolders::portable(m_dir.path()), std::move(browser),
                                            m_downloads.path());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestBrowserWindow::newWindows_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("click"); // empty: the page opens the window by itself
    QTest::newRow("link with a target") << u"opener.html"_s << u"#link"_s;
    QTest::newRow("window.open() on a click") << u"opener.html"_s << u"#script"_s;
    QTest::newRow("unasked pop-up") << u"unasked.html"_s << QString();
}

// A window the user asked for opens at once; one the page opened by itself waits in the status
// line until the user opens it. Either is filled, and goes when its page closes it.
void TestBrowserWindow::newWindows()
{
    QFETCH(QString, page);
    QFETCH(QString, click);
    QVERIFY(load(page));
    auto* notice = m_window->statusBar()->findChild<PopupNotice*>();
    if (click.isEmpty()) {
        QVERIFY(waitUntil([&] { return notice->isVisible(); }));
        QVERIFY(notice->text().contains(m_server.url(u"form.html"_s)));
        QCOMPARE(pageWindows().size(), 0);
        Q_EMIT notice->linkActivated(u"open"_s);
        QVERIFY(notice->isHidden());
    } else {
        QVERIFY(userInput(view(), click, [&] { return !pageWindows().isEmpty(); }));
        QVERIFY(notice->isHidden());
    }
    QCOMPARE(pageWindows().size(), 1);
    PageWindow* window = pageWindows().first();
    QVERIFY(waitUntil([&] { return pageFields(window->browser()) == kFilled; }));
    QVERIFY(window->isVisible());
    QCOMPARE(window->findChild<QLabel*>(u"fillStatus"_s)->text().isEmpty(), false);
    QCOMPARE(view()->url(), QUrl(m_server.url(page)));

    if (click == u"#script") {
        QPointer<PageWindow> closing = window;
        runInPage(window->browser().widget(), u"window.close()"_s);
        QVERIFY(waitUntil([&] { return closing.isNull(); }));
    }
}

// A filled form sent from a window that a site's page opened ticks that site, also when the main
// window has gone on to another site since.
void TestBrowserWindow::sendInANewWindow()
{
    auto* list = m_window->findChild<QListView*>(u"siteList"_s);
    const QModelIndex site = list->model()->index(list->model()->rowCount() - 1, 0);
    QCOMPARE(site.data().toString(), m_server.url(u"opener.html"_s));
    QSignalSpy finished(view(), &QWebEngineView::loadFinished);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(site).center());
    QVERIFY(waitUntil(
        [&] { return !finished.isEmpty() && view()->url() == QUrl(m_server.url(u"opener.html"_s)); }));
    QVERIFY(userInput(view(), u"#script"_s, [&] { return !pageWindows().isEmpty(); }));
    WebEngineBrowser& opened = pageWindows().first()->browser();
    QVERIFY(waitUntil([&] { return pageFields(opened) == kFilled; }));
    QCOMPARE(site.data(Qt::CheckStateRole), Qt::Unchecked);
    const QModelIndex other = list->model()->index(0, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(other).center());
    QVERIFY(userInput(opened.widget(), u"#send"_s,
                      [&] { return m_server.requests().contains(u"thanks.html"_s); }));
    QVERIFY(waitUntil([&] { return site.data(Qt::CheckStateRole) == Qt::Checked; }));
    QCOMPARE(other.data(Qt::CheckStateRole), Qt::Unchecked);
}

// A self-signed certificate stops the page until the user decides; "Stay safe" keeps it stopped,
// and only for that load; "Go on" lets the host through for the run.
void TestBrowserWindow::certificates()
{
    LocalHttpServer https{QString()};
    QVERIFY(https.startHttps());
    https.setPage(u"form.html"_s, R"html(<!DOCTYPE html><input name="email"><input name="pad_url">)html");
    auto* bar = m_window->findChild<QWidget*>(u"certificateBar"_s);
    auto* text = bar->findChild<QLabel*>(u"certificateText"_s);
    for (const char* button : {"staySafeButton", "goOnButton"}) {
        view()->load(QUrl(https.url(u"form.html"_s)));
        QVERIFY(waitUntil([&] { return bar->isVisible(); }));
        QVERIFY2(text->text().contains(u"127.0.0.1"_s), qPrintable(text->text()));
        QVERIFY(https.requests().isEmpty());
        QSignalSpy finished(view(), &QWebEngineView::loadFinished);
        QTest::mouseClick(bar->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        QVERIFY(bar->isHidden());
        QVERIFY(waitUntil([&] { return !finished.isEmpty(); }));
    }
    QCOMPARE(https.requests(), QStringList{u"form.html"_s});
    QVERIFY(waitUntil([&] { return pageFields(*browser()) == u"email= pad_url="_s + kPadUrl; }));
    QVERIFY(load(u"other.html"_s, &https));
    QVERIFY(bar->isHidden());
    QVERIFY(https.requests().contains(u"other.html"_s));

    // Another host's question goes, unanswered, with the load the user leaves.
    view()->load(QUrl(https.url(u"form.html"_s).replace(u"127.0.0.1"_s, u"localhost"_s)));
    QVERIFY(waitUntil([&] { return bar->isVisible(); }));
    view()->load(QUrl(m_server.url(u"a.html"_s)));
    QVERIFY(waitUntil([&] { return runInPage(view(), u"document.title"_s) == u"A"_s; }));
    QVERIFY(bar->isHidden());
    QCOMPARE(https.requests().count(u"form.html"_s), 1);
}

// A site that asks for a sign-in gets what the user types in the dialog; remembered, it is kept
// owner-only in the data folder and offered at the next start.
void TestBrowserWindow::signIn()
{
    m_server.setPage(u"members.html"_s, "<!DOCTYPE html><p>Welcome");
    m_server.setSignIn(u"members.html"_s, "Members", "ann", "s3cret");
    const QString signIns = m_dir.filePath(u"signins.json"_s);
    for (const QString& password : {u"wrong"_s, u"s3cret"_s}) {
        if (password == u"s3cret") { // the next start
            cleanup();
            init();
            QVERIFY(!QTest::currentTestFailed());
        }
        QVERIFY(load(u"members.html"_s));
        auto* dialog = m_window->findChild<SignInDialog*>();
        QVERIFY(waitUntil([&] { return dialog && dialog->isVisible(); }));
        QVERIFY(dialog->findChild<QLabel*>()->text().contains(m_server.url(QString()).chopped(1)));
        auto* user = dialog->findChild<QLineEdit*>(u"userEdit"_s);
        auto* typed = dialog->findChild<QLineEdit*>(u"passwordEdit"_s);
        auto* remember = dialog->findChild<QCheckBox*>(u"rememberBox"_s);
        if (password == u"s3cret") {
            QCOMPARE(user->text(), u"ann"_s); // offered: refused, but remembered
            QCOMPARE(typed->text(), u"wrong"_s);
            typed->setText(password);
            remember->setChecked(false);
        } else {
            QTest::keyClicks(user, u"ann"_s);
            QTest::keyClicks(typed, password);
            remember->setChecked(true);
        }
        QTest::mouseClick(dialog->findChild<QPushButton*>(u"okButton"_s), Qt::LeftButton);
        if (password == u"wrong") {
            QVERIFY(waitUntil([&] { return dialog->isVisible(); }));
            QVERIFY(dialog->findChild<QLabel*>()->text().startsWith(
                u"The user name or password was not accepted"_s));
            QCOMPARE(int(QFile(signIns).permissions() & 0x7777),
                     int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser));
            QVERIFY(readAll(signIns).contains("\"wrong\""));
        }
    }
    QVERIFY(waitUntil([&] { return runInPage(view(), u"document.body.textContent"_s) == u"Welcome"_s; }));
    QVERIFY(!readAll(signIns).contains("ann")); // unticked: forgotten
}

// A download lands under a free name beside the file it would have replaced, and the status line
// names it; one that is cancelled leaves nothing behind.
void TestBrowserWindow::downloads()
{
    const QByteArray pad = "<?xml version=\"1.0\"?><XML_DIZ_INFO/>";
    m_server.setPage(u"pad.xml"_s, pad);
    m_server.setStatus(u"pad.xml"_s, "200 OK", "Content-Disposition: attachment; filename=\"pad.xml\"\r\n");
    QVERIFY(writeFile(m_downloads.filePath(u"pad.xml"_s), "mine"));
    view()->load(QUrl(m_server.url(u"pad.xml"_s)));
    QVERIFY(waitUntil([&] { return m_window->statusBar()->currentMessage().startsWith(u"Downloaded"_s); }));
    QVERIFY2(m_window->statusBar()->currentMessage().contains(u"pad (1).xml"_s),
             qPrintable(m_window->statusBar()->currentMessage()));
    QCOMPARE(readAll(m_downloads.filePath(u"pad (1).xml"_s)), pad);
    QCOMPARE(readAll(m_downloads.filePath(u"pad.xml"_s)), "mine");

    QObject cancelling; // after the window's saver has accepted the download
    connect(view()->page()->profile(), &QWebEngineProfile::downloadRequested, &cancelling,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    view()->load(QUrl(m_server.url(u"pad.xml"_s)));
    QVERIFY(waitUntil([&] { return m_window->statusBar()->currentMessage().endsWith(u"was cancelled."_s); }));
    QCOMPARE(tree(m_downloads.path()).keys(), (QStringList{u"pad (1).xml"_s, u"pad.xml"_s}));
}

void TestBrowserWindow::freeNames_data()
{
    QTest::addColumn<QStringList>("present"); // in the folder: files, and folders ending in "/"
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("free");
    QTest::newRow("free") << QStringList{u"pad.txt"_s} << u"pad.xml"_s << u"pad.xml"_s;
    QTest::newRow("taken twice") << QStringList{u"pad.xml"_s, u"pad (1).xml"_s} << u"pad.xml"_s
                                 << u"pad (2).xml"_s;
    QTest::newRow("last dot") << QStringList{u"app.1.2.zip"_s} << u"app.1.2.zip"_s << u"app.1.2 (1).zip"_s;
    QTest::newRow("no extension") << QStringList{u"README"_s} << u"README"_s << u"README (1)"_s;
    QTest::newRow("a folder") << QStringList{u"badge/"_s} << u"badge"_s << u"badge (1)"_s;
}

void TestBrowserWindow::freeNames()
{
    QFETCH(QStringList, present);
    QFETCH(QString, wanted);
    QFETCH(QString, free);
    QTemporaryDir folder;
    for (const QString& name : present) {
        if (name.endsWith(u'/'))
            QVERIFY(QDir(folder.path()).mkdir(name.chopped(1)));
        else
            QVERIFY(writeFile(folder.filePath(name), "x"));
    }
    QCOMPARE(DownloadSaver::freeName(QDir(folder.path()), wanted), free);
}

// The bar above the page and its keys: the address shown and typed, Back, Forward, Reload and Stop,
// and the page handed to the user's own browser.
void TestBrowserWindow::navigation()
{
    QVERIFY(load(u"a.html"_s));
    auto* address = m_window->findChild<QLineEdit*>(u"addressEdit"_s);
    QCOMPARE(address->text(), m_server.url(u"a.html"_s));
    QTest::keyClick(view()->focusProxy(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(address->hasFocus());
    QCOMPARE(address->selectedText(), m_server.url(u"a.html"_s));
    QTest::keyClicks(address, m_server.url(u"b.html"_s).mid(7)); // as a user types it
    QSignalSpy finished(view(), &QWebEngineView::loadFinished);
    QTest::keyClick(address, Qt::Key_Return);
    QVERIFY(waitUntil([&] { return !finished.isEmpty(); }));

    // Each step, and the page shown after it.
    const QList<std::pair<QString, QString>> steps{
        {u"Alt+Left"_s, u"a.html"_s},         {u"Alt+Right"_s, u"b.html"_s},
        {u"backButton"_s, u"a.html"_s},       {u"forwardButton"_s, u"b.html"_s},
        {u"reloadStopButton"_s, u"b.html"_s}, {u"F5"_s, u"b.html"_s}};
    for (const auto& [step, page] : steps) {
        finished.clear();
        if (step.endsWith(u"Button")) {
            QTest::mouseClick(m_window->findChild<QToolButton*>(step), Qt::LeftButton);
        } else {
            const QKeyCombination key = QKeySequence::fromString(step)[0];
            QTest::keyClick(view()->focusProxy(), key.key(), key.keyboardModifiers());
        }
        QVERIFY2(waitUntil([&] { return !finished.isEmpty(); }), qPrintable(step));
        QCOMPARE(view()->url(), QUrl(m_server.url(page)));
        QCOMPARE(address->text(), m_server.url(page));
    }
    QCOMPARE(m_server.requests().count(u"b.html"_s), 3);

    auto* reloadStop = m_window->findChild<QToolButton*>(u"reloadStopButton"_s);
    view()->load(QUrl(m_server.url(u"slow.html"_s)));
    QVERIFY(waitUntil([&] { return reloadStop->toolTip().startsWith(u"Stop"_s); }));
    finished.clear();
    QTest::keyClick(view()->focusProxy(), Qt::Key_Escape);
    QVERIFY(waitUntil([&] { return !finished.isEmpty(); }, 2000));
    QVERIFY(reloadStop->toolTip().startsWith(u"Reload"_s));

    // An address that cannot be opened stays as typed, over the page that says why.
    QTest::keyClick(view()->focusProxy(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClicks(address, u"http://"_s);
    finished.clear();
    QTest::keyClick(address, Qt::Key_Return);
    QVERIFY(waitUntil([&] { return !finished.isEmpty(); }));
    QCOMPARE(address->text(), u"http://"_s);
    QVERIFY(runInPage(view(), u"document.body.textContent"_s).toString().contains(u"It names no host."_s));
    QVERIFY(load(u"b.html"_s));

    QTest::mouseClick(m_window->findChild<QToolButton*>(u"openInBrowserButton"_s), Qt::LeftButton);
    QCOMPARE(m_opened, QList<QUrl>{view()->url()});
}

// Ctrl+F finds in the page, and Escape closes the find bar; Ctrl+plus, Ctrl+minus and Ctrl+0 zoom.
void TestBrowserWindow::findAndZoom()
{
    QVERIFY(load(u"a.html"_s));
    auto* findBar = m_window->findChild<QWidget*>(u"findBar"_s);
    QTest::keyClick(view()->focusProxy(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(findBar->isVisible());
    auto* text = findBar->findChild<QLineEdit*>(u"findEdit"_s);
    QVERIFY(text->hasFocus());
    text->setText(u"apples"_s); // as pasted: one search
    auto* result = findBar->findChild<QLabel*>(u"findResult"_s);
    QVERIFY(waitUntil([&] { return result->text() == u"1 of 2"_s; }));
    QTest::keyClick(text, Qt::Key_Return);
    QVERIFY2(waitUntil([&] { return result->text() == u"2 of 2"_s; }), qPrintable(result->text()));
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(findBar->isHidden());

    const QList<std::pair<Qt::Key, qreal>> zooms{{Qt::Key_Plus, 1.1}, {Qt::Key_0, 1.0}, {Qt::Key_Minus, 0.9}};
    for (const auto& [key, factor] : zooms) {
        QTest::keyClick(view()->focusProxy(), key, Qt::ControlModifier);
        QCOMPARE(view()->zoomFactor(), factor);
    }
}

int main(int argc, char* argv[])
{
    return runWithFreshHome<TestBrowserWindow>(argc, argv, [] { keepQtSettingsInMemory(); });
}

#include "tst_browserwindow.moc"
