#include "products/ProductProfiles.h"
#include "sites/SiteAddressCipher.h"
#include "tests/FakeBrowser.h"
#include "tests/FreshHome.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QAction>
#include <QFileDialog>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

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
    void clicks_data();
    void clicks();
    void addLinks_data();
    void addLinks();
    void walkAfterAShorterList();
    void marksFollowTheProduct();
    void activeProductFollowsItsFiles();

private:
    // Sites 2 and 6 have addresses; the one added link (entry 10) holds the name of entry 1. A test
    // that calls it goes on only when it worked: open(...); QVERIFY(!QTest::currentTestFailed()).
    void open(const QString& folder)
    {
        QByteArray padok;
        for (const char* site : {"2archive.net/s", "www.5Awards.com/s"})
            padok += SiteAddressCipher::encode(site) + "\r\n";
        QVERIFY(writeFile(m_dir.filePath(u"padok.txt"_s), padok));
        QVERIFY(writeFile(m_dir.filePath(u"addedlinks.txt"_s), "http://my.example/1000files-submit\r\n"));
        m_window = std::make_unique<MainWindow>(
            AppFolders::portable(folder), std::unique_ptr<Browser>(m_browser = new FakeBrowser(new QWidget)));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_list = m_window->findChild<QListWidget*>(u"siteList"_s);
        // The help page stays while the first entry is selected.
        QCOMPARE(navigations(), QStringList{folder + u"/formtidehelp.html"_s});
        QCOMPARE(selectedRow(), 0);
    }
    QStringList navigations() { return std::exchange(m_browser->navigations, {}); }
    int selectedRow() const { return m_list->selectionModel()->selectedRows().value(0).row(); }
    void clickEntry(int row)
    {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, checkBox(m_list, row) + QPoint(40, 0));
    }
    void pressNext(int times = 1)
    {
        for (int press = 0; press < times; ++press)
            click(*m_window, "nextButton");
    }

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    FakeBrowser* m_browser = nullptr;
    QListWidget* m_list = nullptr;
};

const QString kSite2 = u"http://2archive.net/s"_s;
const QString kSite6 = u"http://www.5Awards.com/s"_s;
const QString kLink = u"http://my.example/1000files-submit"_s;

// With entry 2 selected, a real click on an entry loads its address, also when it is the selected
// one (with Ctrl too), and an entry without one loads nothing; a click on a check box only ticks it.
// None moves the walk: "Next" goes on to entry 1, and loads the first added link holding its name.
// On the last entry "Next" does nothing (addLinks).
void TestMainWindow::clicks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("onCheckBox");
    QTest::addColumn<QStringList>("loaded");
    const Qt::KeyboardModifiers none;
    QTest::newRow("another entry") << 6 << none << false << QStringList{kSite6};
    QTest::newRow("an entry without an address") << 1 << none << false << QStringList{};
    QTest::newRow("the selected entry") << 2 << none << false << QStringList{kSite2};
    QTest::newRow("Ctrl on the selected entry")
        << 2 << Qt::KeyboardModifiers(Qt::ControlModifier) << false << QStringList{kSite2};
    QTest::newRow("check box of the selected entry") << 2 << none << true << QStringList{};
}

void TestMainWindow::clicks()
{
    QFETCH(int, row);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, onCheckBox);
    clickEntry(2);
    navigations();
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, modifiers,
                      checkBox(m_list, row) + QPoint(onCheckBox ? 0 : 40, 0));
    QCOMPARE(m_list->item(row)->checkState(), onCheckBox ? Qt::Checked : Qt::Unchecked);
    QTEST(navigations(), "loaded");
    QCOMPARE(selectedRow(), row);
    pressNext();
    QCOMPARE(selectedRow(), 1);
    QCOMPARE(navigations(), QStringList{kLink});
}

// "OK" appends the text as typed, in Windows-1252 with CR LF line ends; a refused save keeps the
// dialog open with the text and says why in one line. The folder gains nothing else, and the list
// is rebuilt from the file however the dialog closed; "Next" goes on from where the walk stood.
void TestMainWindow::addLinks_data()
{
    QTest::addColumn<QString>("folder");    // the data folder's name in the test's folder, "" for it
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("refused"); // part of the reason shown; empty: closed
    QTest::addColumn<int>("entries");
    const QString two = u"http://a/\nhttp://b/"_s;
    const QByteArray ok = "okButton";
    const QByteArray old = "old";
    QTest::newRow("missing file created, as typed in Windows-1252")
        << QString() << QByteArray() << u" caf\u00e9/\u20ac\u00a0 \nhttp://b/\n"_s << ok
        << QByteArray(" caf\xE9/\x80\xA0 \r\nhttp://b/\r\n\r\n") << QString() << 13;
    QTest::newRow("last line joined")
        << QString() << old << two << ok << QByteArray("oldhttp://a/\r\nhttp://b/\r\n") << QString() << 12;
    QTest::newRow("Cancel") << QString() << old << two << QByteArray("cancelButton") << old << QString()
                            << 11;
    QTest::newRow("beyond 16 bits") << QString() << old << u"http://a/\U0001F600"_s << ok << old
                                    << u"\u201C\U0001F600\u201D (U+1F600) cannot be"_s << 11;
    QTest::newRow("folder missing") << "missing" << old << two << ok << old << "No such file or directory."
                                    << 10;
}

void TestMainWindow::addLinks()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, before);
    QFETCH(QString, typed);
    QFETCH(QByteArray, button);
    QFETCH(QString, refused);
    if (!folder.isEmpty())
        open(m_dir.filePath(folder));
    QVERIFY(!QTest::currentTestFailed());
    QFile::remove(m_dir.filePath(u"addedlinks.txt"_s));
    if (!before.isNull())
        QVERIFY(writeFile(m_dir.filePath(u"addedlinks.txt"_s), before));
    pressNext(11); // the last press, on the last entry, does nothing
    QCOMPARE(selectedRow(), m_list->count() - 1);
    navigations();
    QString message; // the whole of it: the tooltip holds it when the line is too short
    whenShown<QDialog>([&](QDialog& dialog) {
        auto* text = dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s);
        auto* error = dialog.findChild<QLabel*>(u"saveError"_s);
        text->insertPlainText(typed);
        click(dialog, button.constData());
        if (dialog.isVisible() && error->isVisible() && text->toPlainText() == typed)
            message = error->toolTip().isEmpty() ? error->text() : error->toolTip();
        dialog.reject();
    });
    click(*m_window, "addLinksButton");
    QCOMPARE(message.isEmpty(), refused.isEmpty());
    QVERIFY2(refused.isEmpty() || message.startsWith(u"Links not saved: "_s), qPrintable(message));
    QVERIFY2(message.contains(refused), qPrintable(message));
    QTEST(readAll(m_dir.filePath(u"addedlinks.txt"_s)), "after");
    QCOMPARE(tree(m_dir.path()).keys(), (QStringList{u"addedlinks.txt"_s, u"padok.txt"_s}));
    QTEST(m_list->count(), "entries");
    QCOMPARE(navigations(), QStringList{});
}

// "Next" after the links file was shortened by hand goes on to the links added after that.
void TestMainWindow::walkAfterAShorterList()
{
    pressNext(10);
    QFile::remove(m_dir.filePath(u"addedlinks.txt"_s));
    for (const QString& typed : {QString(), u"http://b/"_s}) {
        whenShown<QDialog>([typed](QDialog& dialog) {
            dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s)->insertPlainText(typed);
            click(dialog, typed.isEmpty() ? "cancelButton" : "okButton");
        });
        click(*m_window, "addLinksButton");
    }
    navigations();
    pressNext();
    QCOMPARE(navigations(), QStringList{u"http://b/"_s});
}

// Each product keeps its own marks, through real clicks: they are saved at once, kept over "Add
// Links", a rename and a restart, and a sent form that a pass filled ticks the entry whose page is shown. A
// save that fails is told in the status bar while the list keeps its marks, and the next save that
// can write saves them all. (How the marks file reads and joins on a rename: tst_progressstore.)
// The second product comes from a PAD file, imported through Qt's own file dialog.
void TestMainWindow::marksFollowTheProduct()
{
    QTemporaryDir dir;
    QVERIFY(ProductProfiles::save(dir.path(), {u"A"_s, {}, {}, {}, {}}).ok());
    QVERIFY(QFile::copy(m_dir.filePath(u"padok.txt"_s), dir.filePath(u"padok.txt"_s)));
    open(dir.path());
    QVERIFY(!QTest::currentTestFailed());
    const auto tick = [&](int row) {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, checkBox(m_list, row));
    };

    QCOMPARE(m_window->windowTitle(), u"Formtide"_s);
    manage(*m_window, {u"A"_s, u"okButton"_s});
    QCOMPARE(m_window->windowTitle(), u"Formtide - A"_s);
    for (int row : {1, 9, 3, 3})
        tick(row);
    QCOMPARE(ticked(m_list), u"1 9"_s);
    // Software > Select..., Add..., Import PAD... through Qt's own file dialog, OK, OK.
    whenShown<ProductManagerDialog>([&](ProductManagerDialog& manager) {
        whenShown<ProductEditorDialog>([&](ProductEditorDialog& editor) {
            whenShown<QFileDialog>([&](QFileDialog& files) {
                // As the user does: the file's path typed into the name box, then Enter.
                auto* name = files.findChild<QLineEdit*>(u"fileNameEdit"_s);
                name->setText(u"" FORMTIDE_TEST_DATA_DIR "/pad/pad311.xml"_s);
                QTest::keyClick(name, Qt::Key_Return);
            });
            click(editor, "importButton");
            click(editor, "okButton");
        });
        click(manager, "addButton");
        click(manager, "okButton");
    });
    m_window->findChild<QAction*>(u"selectProductAction"_s)->trigger();
    QCOMPARE(m_window->windowTitle(), u"Formtide - Tidy Zip"_s);
    QCOMPARE(ticked(m_list), u"-"_s);
    tick(2);
    clickEntry(6);
    Q_EMIT m_browser->filledFormSubmitted();
    QCOMPARE(ticked(m_list), u"2 6"_s);
    manage(*m_window, {u"A"_s, u"okButton"_s});
    whenShown<QDialog>([](QDialog& dialog) { click(dialog, "cancelButton"); });
    click(*m_window, "addLinksButton");
    QCOMPARE(ticked(m_list), u"1 9"_s);
    Q_EMIT m_browser->filledFormSubmitted(); // the page shown is entry 6's, though none is selected now
    QCOMPARE(ticked(m_list), u"1 6 9"_s);

    // Renamed in the editor, A keeps its marks and stays active under its new name.
    whenShown<ProductEditorDialog>([](ProductEditorDialog& editor) {
        QTest::keyClicks(editor.findChild<QLineEdit*>(u"nameEdit"_s), u"2"_s);
        click(editor, "okButton");
    });
    manage(*m_window, {u"A"_s, u"editButton"_s, u"cancelButton"_s});
    QCOMPARE(m_window->windowTitle(), u"Formtide - A2"_s);
    QCOMPARE(ticked(m_list), u"1 6 9"_s);

    // A file in the folder's place: a read-only mode would not stop root.
    const QString progress = dir.filePath(u"Progress"_s);
    QVERIFY(QDir().rename(progress, progress + u".aside"_s));
    QVERIFY(writeFile(progress, {}));
    tick(4);
    QVERIFY(m_window->statusBar()->currentMessage().startsWith(u"The marks for A2 could not be saved"_s));
    QCOMPARE(ticked(m_list), u"1 4 6 9"_s);
    QVERIFY(QFile::remove(progress) && QDir().rename(progress + u".aside"_s, progress));
    tick(5);
    QCOMPARE(m_window->statusBar()->currentMessage(), QString());

    // Deleted, A2 is no longer active; made and chosen again, it finds its marks: they outlive the
    // profile. A new window on the folder: the product chosen last is active, with its marks.
    manage(*m_window, {u"A2"_s, u"deleteButton"_s, u"cancelButton"_s});
    QVERIFY(!QFile::exists(dir.filePath(u"Info/A2.txt"_s)));
    QCOMPARE(m_window->windowTitle(), u"Formtide"_s);
    QCOMPARE(ticked(m_list), u"-"_s);
    QVERIFY(ProductProfiles::save(dir.path(), {u"A2"_s, {}, {}, {}, {}}).ok());
    manage(*m_window, {u"A2"_s, u"okButton"_s});
    open(dir.path());
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(m_window->windowTitle(), u"Formtide - A2"_s);
    QCOMPARE(ticked(m_list), u"1 4 5 6 9"_s);
    // The home folder is the whole program's: nothing any test here did, Qt's file dialog included
    // (it keeps its history in memory only), may show up in it.
    QCOMPARE(tree(qEnvironmentVariable("HOME")).keys().join(u", "), QString());
}

// An edit of the active product reaches the next pass at once. Deleted, it is no longer active: the
// title and the status bar say so, and the next pass writes nothing.
void TestMainWindow::activeProductFollowsItsFiles()
{
    QVERIFY(ProductProfiles::save(m_dir.path(), {u"Zip"_s, {}, u"http://old/pad.xml"_s, {}, {}}).ok());
    manage(*m_window, {u"Zip"_s, u"okButton"_s});
    whenShown<ProductEditorDialog>([](ProductEditorDialog& editor) {
        auto* address = editor.findChild<QLineEdit*>(u"padUrlEdit"_s);
        address->selectAll();
        address->insert(u"http://new/pad.xml"_s);
        click(editor, "okButton");
    });
    manage(*m_window, {u"Zip"_s, u"editButton"_s, u"cancelButton"_s});
    const QByteArray page = R"({"token":"T","doc":"D","docs":[[1,["INPUT","pad_url"]]]})";
    Q_EMIT m_browser->snapshotOffered(page);
    QJsonArray written;
    written.append(QJsonArray{1, u"http://new/pad.xml"_s});
    QCOMPARE(m_browser->plans.value(0).value(u"writes"_s).toArray(), written);

    manage(*m_window, {u"Zip"_s, u"deleteButton"_s, u"cancelButton"_s});
    QCOMPARE(m_window->windowTitle(), u"Formtide"_s);
    QVERIFY(m_window->statusBar()->currentMessage().startsWith(u"Zip is deleted, so no product is chosen"_s));
    Q_EMIT m_browser->snapshotOffered(page);
    QCOMPARE(m_browser->plans.size(), 1);
}

// Qt's settings are kept in memory as the program's own main() does.
int main(int argc, char* argv[])
{
    return runWithFreshHome<TestMainWindow>(argc, argv, [] {
        QApplication::setApplicationName(u"Formtide"_s);
        keepQtSettingsInMemory();
    });
}

#include "tst_mainwindow.moc"
