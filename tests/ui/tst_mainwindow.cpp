#include "core/Windows1252.h"
#include "sites/SiteAddressCipher.h"
#include "tests/FakeBrowser.h"
#include "tests/TestFiles.h"
#include "tools/Scramble.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Runs `step` once a `Window` is the active modal window (the step may open the next one).
template <typename Window> void whenShown(std::function<void(Window&)> step)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, step] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            step(*window);
        }
    });
    poll->start(10);
}

void click(QWidget& window, const char* button)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QLatin1StringView(button)), Qt::LeftButton);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
public:
    explicit TestMainWindow(QString home) : m_home(std::move(home)) {}

private Q_SLOTS:
    void init() { open(m_dir.path()); }
    void cleanup() { m_window.reset(); }
    void walkAndClicks_data();
    void walkAndClicks();
    void resizeRule_data();
    void resizeRule();
    void progress();
    void addLinks_data();
    void addLinks();
    void addLinksKeysAndReopening();
    void everyWindowWritesOnlyWhatItSaves();

private:
    // Sites 0, 1, 2 and 6 have addresses; the one added link (entry 10) holds site 6's name.
    void open(const QString& folder)
    {
        QByteArray padok;
        for (const char* site :
             {"www.1000apps.com/s", "www.1000FILES.com/s", "2archive.net/s", "www.5Awards.com/s"})
            padok += scramble(site, SiteAddressCipher::fileDepth) + "\r\n";
        writeFile(m_dir.filePath(u"padok.txt"_s), padok);
        writeFile(m_dir.filePath(u"addedlinks.txt"_s), "http://my.example/5Awards-submit\r\n");
        auto browser = std::make_unique<FakeBrowser>();
        m_browser = browser.get();
        m_window = std::make_unique<MainWindow>(folder, std::move(browser));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_browser->calls.clear();
    }
    QStringList takeCalls() { return std::exchange(m_browser->calls, {}); }
    // Runs `script` on the Add Links dialog that the button opens, then closes it if still open.
    void openAddLinks(const std::function<void(QDialog&)>& script)
    {
        whenShown<QDialog>([script](QDialog& dialog) {
            script(dialog);
            dialog.reject();
        });
        QTest::mouseClick(m_window->addLinksButton(), Qt::LeftButton);
    }

    QString m_home;
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    FakeBrowser* m_browser = nullptr;
};

// Entry 2 is selected. "Next" moves the walk on, shows the next entry's site and then loads the
// added link holding its text. Real clicks leave the walk: a click on an entry shows its site, also
// when it is the selected one; a click on a check box only ticks it; Ctrl+click on the selected
// entry keeps it selected and loads no other site.
void TestMainWindow::walkAndClicks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("row"); // "Next": the walk position before
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("walk");
    QTest::addColumn<int>("selected");
    const QString site2 = u"navigate(http://2archive.net/s)"_s;
    const QString site6 = u"navigate(http://www.5Awards.com/s)"_s;
    const QString link = u"navigate(http://my.example/5Awards-submit)"_s;
    QTest::newRow("Next onto an entry a link holds")
        << "Next" << 5 << QStringList{"Stop", site6, "Stop", link} << 6 << 6;
    QTest::newRow("Next on the last entry") << "Next" << 10 << QStringList{} << 10 << 2;
    QTest::newRow("another entry") << "text" << 6 << QStringList{"Stop", site6} << 0 << 6;
    QTest::newRow("the selected entry") << "text" << 2 << QStringList{"Stop", site2} << 0 << 2;
    QTest::newRow("check box of the selected entry") << "check box" << 2 << QStringList{} << 0 << 2;
    // Showing the clicked site again may happen or not.
    QTest::newRow("Ctrl on the selected entry") << "Ctrl" << 2 << QStringList{"Stop", site2} << 0 << 2;
}

void TestMainWindow::walkAndClicks()
{
    QFETCH(QString, action);
    QFETCH(int, row);
    QFETCH(QStringList, calls);
    QListWidget* list = m_window->siteList();
    m_window->selectSite(2);
    takeCalls();
    if (action == u"Next") {
        m_window->session().currentSiteIndex = row;
        QTest::mouseClick(m_window->nextButton(), Qt::LeftButton);
    } else {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->visualItemRect(list->item(row));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton,
                          action == u"Ctrl" ? Qt::ControlModifier : Qt::NoModifier,
                          action == u"check box" ? box.center() : box.center() + QPoint(40, 0));
        QCOMPARE(list->item(row)->checkState(), action == u"check box" ? Qt::Checked : Qt::Unchecked);
    }
    QStringList made = takeCalls();
    if (action == u"Ctrl")
        made.removeIf([&](const QString& call) { return calls.contains(call); });
    QCOMPARE(made, action == u"Ctrl" ? QStringList{} : calls);
    QTEST(m_window->session().currentSiteIndex, "walk");
    QTEST(m_window->selectedSiteRow(), "selected");
}

// The browser takes what the list column leaves once the inner area is 5000 twips both ways
// (334 px is 5010 twips, 333 px 4995), and the list shows whole rows only; below, the layout stays.
void TestMainWindow::resizeRule_data()
{
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QRectF>("browser"); // empty: the layout at 600 x 400 px stays
    QTest::newRow("334 x 334") << QSize(334, 334) << QRectF(10, 10, 5010 - 3315 - 100, 5010 - 100);
    QTest::newRow("333 wide") << QSize(333, 600) << QRectF();
    QTest::newRow("333 high") << QSize(800, 333) << QRectF();
}

void TestMainWindow::resizeRule()
{
    QFETCH(QSize, inner);
    QFETCH(QRectF, browser);
    const auto resizeInner = [this](QSize size) {
        m_window->resize(m_window->size() - m_window->centralWidget()->size() + size);
        return QTest::qWaitFor([&] { return m_window->centralWidget()->size() == size; });
    };
    const QRectF before(10, 10, 9000 - 3315 - 100, 6000 - 100);
    QVERIFY(resizeInner({600, 400}));
    QVERIFY(resizeInner(inner));
    QCOMPARE(m_window->twipsGeometry(m_window->browserWidget()), browser.isEmpty() ? before : browser);
    const float rowTwips = float(m_window->siteList()->sizeHintForRow(0) * 15);
    const float listHeight = float(m_window->twipsGeometry(m_window->siteList()).height());
    QVERIFY(browser.isEmpty() || (listHeight <= 5010 - 800 && listHeight > 5010 - 800 - rowTwips));
}

// A maximum the bar cannot take (0) leaves the old one but not the value; a larger maximum is set
// before the value.
void TestMainWindow::progress()
{
    const QProgressBar* bar = m_window->progressBar();
    Q_EMIT m_browser->loadProgress(10, 100);
    Q_EMIT m_browser->loadProgress(30, 0);
    QCOMPARE(QPoint(bar->value(), bar->maximum()), QPoint(30, 100));
    Q_EMIT m_browser->loadProgress(150, 200);
    QCOMPARE(QPoint(bar->value(), bar->maximum()), QPoint(150, 200));
}

// "OK" appends the text as typed, in Windows-1252 with CR LF line ends; a refused save keeps the
// dialog open with the text and says why in one line. The folder gains nothing else, and the list
// is rebuilt from the file however the dialog closed.
void TestMainWindow::addLinks_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("refused"); // part of the reason shown; empty: closed
    const auto row = [](const char* tag, const char* before, const QString& typed, const char* after,
                        const QString& refused = {}) {
        QTest::newRow(tag) << QByteArray(before) << typed << QByteArray(after) << refused;
    };
    const QString two = u"http://a/\nhttp://b/"_s;
    row("missing file created", nullptr, two + u'\n', "http://a/\r\nhttp://b/\r\n\r\n");
    row("last line joined", "old", two, "oldhttp://a/\r\nhttp://b/\r\n");
    row("as typed, in Windows-1252", "", u" caf\u00e9/\u20ac\u00a0 "_s, " caf\xE9/\x80\xA0 \r\n");
    row("Cancel", "old", two, "old");
    row("beyond 16 bits", "old", u"http://a/\U0001F600"_s, "old",
        u"\u201C\U0001F600\u201D (U+1F600) cannot be"_s);
    row("folder missing", "old", two, "old", u"No such file or directory."_s);
}

void TestMainWindow::addLinks()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, typed);
    QFETCH(QByteArray, after);
    QFETCH(QString, refused);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    if (tag == u"folder missing")
        open(m_dir.filePath(u"missing"_s));
    QFile::remove(m_dir.filePath(u"addedlinks.txt"_s));
    if (!before.isNull())
        writeFile(m_dir.filePath(u"addedlinks.txt"_s), before);
    QString message;
    openAddLinks([&](QDialog& dialog) {
        auto* text = dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s);
        auto* error = dialog.findChild<QLabel*>(u"saveError"_s);
        text->insertPlainText(typed);
        QTest::mouseClick(
            dialog.findChild<QPushButton*>(tag == u"Cancel" ? u"cancelButton"_s : u"okButton"_s),
            Qt::LeftButton);
        if (dialog.isVisible() && error->isVisible() && text->toPlainText() == typed)
            message = error->text() + u'|' + error->toolTip();
    });
    QVERIFY2(refused.isEmpty() ? message.isEmpty()
                               : message.startsWith(u"Links not saved: "_s) && message.contains(refused),
             qPrintable(message));
    QCOMPARE(readAll(m_dir.filePath(u"addedlinks.txt"_s)), after);
    QCOMPARE(tree(m_dir.path()).keys(), (QStringList{u"addedlinks.txt"_s, u"padok.txt"_s}));
    const int links = tag == u"folder missing" ? 0 : int(Windows1252::splitLines(after).size());
    QCOMPARE(m_window->siteList()->count(), 10 + links);
    QCOMPARE(takeCalls(), QStringList{});
}

// Enter in the box starts a new line and Tab leaves it; Enter and Escape close nothing, and a
// dialog minimised and restored keeps what was typed. The next opening starts empty again.
void TestMainWindow::addLinksKeysAndReopening()
{
    QStringList seen;
    const auto look = [&](QDialog& dialog) {
        seen.append(dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s)->toPlainText() + u'|' +
                    dialog.findChild<QLabel*>(u"saveError"_s)->text() + u'|' +
                    dialog.focusWidget()->objectName());
    };
    openAddLinks([&](QDialog& dialog) {
        auto* text = dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s);
        QTest::keyClicks(text, u"http://x/"_s);
        text->insertPlainText(u"\u0142"_s);
        QTest::keyClick(text, Qt::Key_Enter);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"okButton"_s), Qt::LeftButton);
        QTest::keyClick(text, Qt::Key_Tab);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.setWindowState(Qt::WindowMinimized);
        dialog.setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        QVERIFY(dialog.isVisible());
        look(dialog);
    });
    openAddLinks(look);
    QCOMPARE(
        seen,
        (QStringList{
            u"http://x/\u0142\n|Links not saved: \u201C\u0142\u201D (U+0142) cannot be stored.|okButton"_s,
            u"||linksEdit"_s}));
    QCOMPARE(readAll(m_dir.filePath(u"addedlinks.txt"_s)), "http://my.example/5Awards-submit\r\n");
}

// One pass through every window, Import PAD through Qt's own file dialog included, with the home
// folder and the application folder both fresh: the program writes the profile and the links it
// saved, and nothing else in either folder (Qt's file dialog keeps its history in memory only).
void TestMainWindow::everyWindowWritesOnlyWhatItSaves()
{
    QTemporaryDir app;
    QTemporaryDir elsewhere;
    const QString pad = elsewhere.filePath(u"zip_pad.xml"_s);
    QVERIFY(QFile::copy(u"" FORMTIDE_TEST_DATA_DIR "/pad/pad311.xml"_s, pad));

    MainWindow window(app.path(), std::make_unique<FakeBrowser>());
    window.show();
    whenShown<QDialog>([](QDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s), u"http://mine.example/"_s);
        click(dialog, "okButton");
    });
    QTest::mouseClick(window.addLinksButton(), Qt::LeftButton);

    // Software > Select..., Add..., Import PAD... (Qt's file dialog), OK, OK.
    QString imported;
    whenShown<ProductManagerDialog>([&](ProductManagerDialog& manager) {
        whenShown<ProductEditorDialog>([&](ProductEditorDialog& editor) {
            whenShown<QFileDialog>([&](QFileDialog& files) {
                // As the user does: the file's path typed into the name box, then Enter.
                auto* name = files.findChild<QLineEdit*>(u"fileNameEdit"_s);
                name->setText(pad);
                QTest::keyClick(name, Qt::Key_Return);
            });
            click(editor, "importButton");
            imported = editor.findChild<QLineEdit*>(u"nameEdit"_s)->text();
            click(editor, "okButton");
        });
        click(manager, "addButton");
        click(manager, "okButton");
    });
    window.findChild<QAction*>(u"selectProductAction"_s)->trigger();
    QCOMPARE(imported, u"Tidy Zip"_s);

    whenShown<QDialog>([](QDialog& about) { click(about, "okButton"); });
    window.findChild<QAction*>(u"aboutAction"_s)->trigger();
    window.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The home folder is the whole program's: nothing any test here did may show up in it.
    QCOMPARE(tree(m_home).keys().join(u", "), QString());
    QCOMPARE(tree(app.path()).keys().join(u", "), u"Info, Info/Tidy Zip.txt, addedlinks.txt"_s);
}

// The home folder must be a fresh one before Qt looks it up, and Qt's settings are kept in memory
// as the program's own main() does.
int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(name);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Formtide"_s);
    keepQtSettingsInMemory();
    TestMainWindow test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
