#include "autofill/Browser.h"
#include "core/Windows1252.h"
#include "products/ProductProfiles.h"
#include "sites/SiteAddressCipher.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// A browser that records the calls it receives: "Stop" and "navigate(<address>)". It has no page:
// the page model never answers.
struct FakeBrowser final : Browser {
    void navigate(const QString& address) override { calls.append(u"navigate(" + address + u')'); }
    void stop() override { calls.append(u"Stop"_s); }
    QWidget* widget() override { return page; }
    void snapshotPage(std::function<void(const QByteArray&)>) override {}
    void applyPlan(const QJsonObject&, std::function<void(const QJsonObject&)>) override {}
    QStringList calls;
    QPointer<QWidget> page = new QWidget; // the window takes it
};

namespace {

// Where the check box of entry `row` is on the list's viewport.
QPoint checkBox(QListWidget* list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(list->item(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
}

// The rows whose entries are ticked, "-" for none.
QString ticked(QListWidget* list)
{
    QStringList rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            rows.append(QString::number(row));
    }
    return rows.isEmpty() ? u"-"_s : rows.join(u' ');
}

// In the product manager opened by "Software > Select...", clicks each entry named in `clicks`, or
// each button (a name ending in "Button").
void manage(MainWindow& window, const QStringList& clicks)
{
    whenShown<ProductManagerDialog>([clicks](ProductManagerDialog& manager) {
        QListWidget* list = manager.productList();
        for (const QString& name : clicks) {
            if (name.endsWith(u"Button"))
                click(manager, qPrintable(name));
            else
                QTest::mouseClick(
                    list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->findItems(name, Qt::MatchExactly).value(0)).center());
        }
    });
    window.findChild<QAction*>(u"selectProductAction"_s)->trigger();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { open(m_dir.path()); }
    void cleanup() { m_window.reset(); }
    void walkAndClicks_data();
    void walkAndClicks();
    void resizeRule();
    void addLinks_data();
    void addLinks();
    void everyWindowWritesOnlyWhatItSaves();
    void marksFollowTheProduct();

private:
    // Sites 2 and 6 have addresses; the one added link (entry 10) holds site 6's name.
    void open(const QString& folder)
    {
        QByteArray padok;
        for (const char* site : {"2archive.net/s", "www.5Awards.com/s"})
            padok += SiteAddressCipher::encode(site) + "\r\n";
        writeFile(m_dir.filePath(u"padok.txt"_s), padok);
        writeFile(m_dir.filePath(u"addedlinks.txt"_s), "http://my.example/5Awards-submit\r\n");
        m_window = std::make_unique<MainWindow>(AppFolders::portable(folder),
                                                std::unique_ptr<Browser>(m_browser = new FakeBrowser));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // The help page stays while the first entry is selected.
        QCOMPARE(takeCalls(), QStringList{u"navigate(" + folder + u"/formtidehelp.html)"});
        QCOMPARE(m_window->selectedSiteRow(), 0);
    }
    QStringList takeCalls() { return std::exchange(m_browser->calls, {}); }
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    FakeBrowser* m_browser = nullptr;
};

// Entry 2 is selected. "Next" moves the walk on and loads the next entry's address with one
// navigation: the first added link holding its text, else a built-in name's site. Real clicks leave the walk:
// a click on an entry loads its address, also when it is the selected one, and an entry without one loads
// nothing; a click on a check box only ticks it; Ctrl+click on the selected entry keeps it selected and loads
// no other site.
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
    QTest::newRow("Next onto a name a link holds: the link") << "Next" << 5 << QStringList{link} << 6 << 6;
    QTest::newRow("Next onto the added link") << "Next" << 9 << QStringList{link} << 10 << 10;
    QTest::newRow("Next on the last entry") << "Next" << 10 << QStringList{} << 10 << 2;
    QTest::newRow("another entry") << "text" << 6 << QStringList{site6} << 0 << 6;
    QTest::newRow("the added link") << "text" << 10 << QStringList{link} << 0 << 10;
    QTest::newRow("an entry without an address") << "text" << 0 << QStringList{} << 0 << 0;
    QTest::newRow("the selected entry") << "text" << 2 << QStringList{site2} << 0 << 2;
    QTest::newRow("check box of the selected entry") << "check box" << 2 << QStringList{} << 0 << 2;
    // Showing the clicked site again may happen or not.
    QTest::newRow("Ctrl on the selected entry") << "Ctrl" << 2 << QStringList{site2} << 0 << 2;
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
        const QPoint box = checkBox(list, row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton,
                          action == u"Ctrl" ? Qt::ControlModifier : Qt::NoModifier,
                          action == u"check box" ? box : box + QPoint(40, 0));
        QCOMPARE(list->item(row)->checkState(), action == u"check box" ? Qt::Checked : Qt::Unchecked);
    }
    QStringList made = takeCalls();
    if (action == u"Ctrl")
        made.removeIf([&](const QString& call) { return calls.contains(call); });
    QCOMPARE(made, action == u"Ctrl" ? QStringList{} : calls);
    QTEST(m_window->session().currentSiteIndex, "walk");
    QTEST(m_window->selectedSiteRow(), "selected");
}

// Once the inner area is 5000 twips both ways (334 px is 5010 twips), the browser takes what the
// list column (3315 twips wide) leaves, and the list shows whole rows only.
void TestMainWindow::resizeRule()
{
    const QSize inner(334, 334);
    m_window->resize(m_window->size() - m_window->centralWidget()->size() + inner);
    QVERIFY(QTest::qWaitFor([&] { return m_window->centralWidget()->size() == inner; }));
    QCOMPARE(m_window->twipsGeometry(m_window->browserWidget()),
             QRectF(10, 10, 5010 - 3315 - 100, 5010 - 100));
    const double listHeight = m_window->twipsGeometry(m_window->siteList()).height();
    QVERIFY(listHeight <= 5010 - 800 &&
            listHeight > 5010 - 800 - m_window->siteList()->sizeHintForRow(0) * 15);
}

// "OK" appends the text as typed, in Windows-1252 with CR LF line ends; a refused save keeps the
// dialog open with the text and says why in one line. The folder gains nothing else, and the list
// is rebuilt from the file however the dialog closed; a walk on the last entry of a list that got
// shorter goes on from the new last entry.
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
    row("missing file created, as typed in Windows-1252", nullptr, u" caf\u00e9/\u20ac\u00a0 \nhttp://b/\n"_s,
        " caf\xE9/\x80\xA0 \r\nhttp://b/\r\n\r\n");
    row("last line joined", "old", two, "oldhttp://a/\r\nhttp://b/\r\n");
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
    m_window->session().currentSiteIndex = 10;
    QString message;
    whenShown<QDialog>([&](QDialog& dialog) {
        auto* text = dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s);
        auto* error = dialog.findChild<QLabel*>(u"saveError"_s);
        text->insertPlainText(typed);
        click(dialog, tag == u"Cancel" ? "cancelButton" : "okButton");
        if (dialog.isVisible() && error->isVisible() && text->toPlainText() == typed)
            message = error->text() + u'|' + error->toolTip();
        dialog.reject();
    });
    QTest::mouseClick(m_window->addLinksButton(), Qt::LeftButton);
    QVERIFY2(refused.isEmpty() ? message.isEmpty()
                               : message.startsWith(u"Links not saved: "_s) && message.contains(refused),
             qPrintable(message));
    QCOMPARE(readAll(m_dir.filePath(u"addedlinks.txt"_s)), after);
    QCOMPARE(tree(m_dir.path()).keys(), (QStringList{u"addedlinks.txt"_s, u"padok.txt"_s}));
    const int links = tag == u"folder missing" ? 0 : int(Windows1252::splitLines(after).size());
    QCOMPARE(m_window->siteList()->count(), 10 + links);
    QCOMPARE(m_window->session().currentSiteIndex, std::min(10, 9 + links));
    QCOMPARE(takeCalls(), QStringList{});
}

// One pass through every window, Import PAD through Qt's own file dialog included, with the home
// folder and the application folder both fresh: the program writes the profile and the links it
// saved and the product chosen, and nothing else in either folder (Qt's file dialog keeps its history in
// memory only).
void TestMainWindow::everyWindowWritesOnlyWhatItSaves()
{
    QTemporaryDir app;

    MainWindow window(AppFolders::portable(app.path()), std::make_unique<FakeBrowser>());
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
                name->setText(u"" FORMTIDE_TEST_DATA_DIR "/pad/pad311.xml"_s);
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
    QCOMPARE(tree(qEnvironmentVariable("HOME")).keys().join(u", "), QString());
    QCOMPARE(tree(app.path()).keys().join(u", "),
             u"Info, Info/Tidy Zip.txt, addedlinks.txt, lastproduct.txt"_s);
}

// Each product keeps its own marks, through real clicks: they are saved at once, kept over "Add
// Links", a rename, a deletion and a restart, and a sent form that a pass filled ticks the selected
// entry. A damaged marks file reads as no marks; a save that fails is told in the status bar while
// the list keeps its marks, and the next save that can write saves them all.
void TestMainWindow::marksFollowTheProduct()
{
    QTemporaryDir dir;
    for (const QString& name : {u"A"_s, u"B"_s})
        QCOMPARE(ProductProfiles::save(dir.path(), {name, {}, {}, {}, {}}), QString());
    QVERIFY(QDir(dir.path()).mkdir(u"Progress"_s));
    writeFile(dir.filePath(u"Progress/B.txt"_s), "\x89PNG\r\n\xff");
    open(dir.path());
    QListWidget* list = m_window->siteList();
    const auto tick = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBox(list, row));
    };

    QCOMPARE(m_window->windowTitle(), u"Formtide"_s);
    manage(*m_window, {u"A"_s, u"okButton"_s});
    QCOMPARE(m_window->windowTitle(), u"Formtide - A"_s);
    for (int row : {1, 9, 3, 3})
        tick(row);
    QCOMPARE(ticked(list), u"1 9"_s);
    QCOMPARE(list->item(1)->toolTip(),
             u"Done for A on "_s + QLocale::c().toString(QDate::currentDate(), u"d MMM yyyy"_s));
    manage(*m_window, {u"B"_s, u"okButton"_s});
    QCOMPARE(ticked(list), u"-"_s);
    tick(2);
    m_window->selectSite(6);
    Q_EMIT m_browser->filledFormSubmitted();
    QCOMPARE(ticked(list), u"2 6"_s);
    manage(*m_window, {u"A"_s, u"okButton"_s});
    whenShown<QDialog>([](QDialog& dialog) { click(dialog, "cancelButton"); });
    QTest::mouseClick(m_window->addLinksButton(), Qt::LeftButton);
    QCOMPARE(ticked(list), u"1 9"_s);

    // Renamed in the editor, A keeps its marks and stays active under its new name.
    whenShown<ProductEditorDialog>([](ProductEditorDialog& editor) {
        QTest::keyClicks(editor.findChild<QLineEdit*>(u"nameEdit"_s), u"2"_s);
        click(editor, "okButton");
    });
    manage(*m_window, {u"A"_s, u"editButton"_s, u"cancelButton"_s});
    QCOMPARE(m_window->windowTitle(), u"Formtide - A2"_s);
    QCOMPARE(ticked(list), u"1 9"_s);

    // A file in the folder's place: a read-only mode would not stop root.
    const QString progress = dir.filePath(u"Progress"_s);
    QVERIFY(QDir().rename(progress, progress + u".aside"_s));
    writeFile(progress, {});
    tick(4);
    QVERIFY(m_window->statusBar()->currentMessage().startsWith(u"The marks for A2 could not be saved"_s));
    QCOMPARE(ticked(list), u"1 4 9"_s);
    QVERIFY(QFile::remove(progress) && QDir().rename(progress + u".aside"_s, progress));
    tick(5);
    QCOMPARE(m_window->statusBar()->currentMessage(), QString());

    // A new window on the folder: the product chosen last is active, with its marks.
    open(dir.path());
    list = m_window->siteList();
    QCOMPARE(m_window->windowTitle(), u"Formtide - A2"_s);
    QCOMPARE(ticked(list), u"1 4 5 9"_s);

    // Deleted, A2 leaves its marks on disk; they are back with a product of that name.
    manage(*m_window, {u"A2"_s, u"deleteButton"_s, u"B"_s, u"okButton"_s});
    QCOMPARE(ticked(list), u"2 6"_s);
    QCOMPARE(ProductProfiles::save(dir.path(), {u"A2"_s, {}, {}, {}, {}}), QString());
    manage(*m_window, {u"A2"_s, u"okButton"_s});
    QCOMPARE(ticked(list), u"1 4 5 9"_s);
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
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
