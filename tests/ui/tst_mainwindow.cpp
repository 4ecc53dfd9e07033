#include "core/Windows1252.h"
#include "products/ProductProfiles.h"
#include "sites/SiteAddressCipher.h"
#include "tests/FakeBrowser.h"
#include "tests/FreshHome.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/AddLinksDialog.h"
#include "ui/InMemorySettings.h"
#include "ui/MainWindow.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// Where the check box of entry `row` is on the list's viewport.
QPoint checkBox(QListView* list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualRect(list->model()->index(row, 0));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
}

// The rows whose entries are ticked, "-" for none.
QString ticked(QListView* list)
{
    QStringList rows;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        if (list->model()->index(row, 0).data(Qt::CheckStateRole) == Qt::Checked)
            rows.append(QString::number(row));
    }
    return rows.isEmpty() ? u"-"_s : rows.join(u' ');
}

// Reads CSV as RFC 4180 has it: fields separated by commas, records ended by CR LF, a field in
// quotes holding commas, line breaks and doubled quotes. Nothing when the bytes break the format.
std::optional<QList<QStringList>> readCsv(const QString& text)
{
    // A field, then what ends it: a comma, or CR LF at the end of a record.
    static const QRegularExpression field(uR"(("(?:[^"]|"")*"|[^",\r\n]*)(,|\r\n))"_s);
    QList<QStringList> records{{}};
    for (qsizetype at = 0; at < text.size();) {
        const QRegularExpressionMatch match = field.match(text, at, QRegularExpression::NormalMatch,
                                                          QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            return std::nullopt;
        const QString quoted = match.captured(1);
        records.last().append(
            quoted.startsWith(u'"') ? quoted.mid(1, quoted.size() - 2).replace(u"\"\""_s, u"\""_s) : quoted);
        if (match.captured(2) == u"\r\n")
            records.append(QStringList());
        at = match.capturedEnd();
    }
    if (!records.last().isEmpty())
        return std::nullopt;
    records.removeLast();
    return records;
}

// The rows selected, "-" for none.
QString selected(QListView* list)
{
    QList<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QStringList texts;
    for (const int row : rows)
        texts.append(QString::number(row));
    return texts.isEmpty() ? u"-"_s : texts.join(u' ');
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
public Q_SLOTS:
    // Stands for the user's own browser.
    void openInBrowser(const QUrl& url) { m_opened.append(url.toString()); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString& scheme : {u"http"_s, u"https"_s})
            QDesktopServices::setUrlHandler(scheme, this, "openInBrowser");
    }
    void init() { open(m_dir.path()); }
    void cleanup()
    {
        m_window.reset();
        QFile::remove(m_dir.filePath(u"settings.txt"_s));
    }
    void clicks_data();
    void clicks();
    void addLinks_data();
    void addLinks();
    void walkAfterAShorterList();
    void addLinksFromFile_data();
    void addLinksFromFile();
    void skipDoneSites_data();
    void skipDoneSites();
    void manageLinks_data();
    void manageLinks();
    void checkSites();
    void exportProgress();
    void marksFollowTheProduct();
    void activeProductFollowsItsFiles();

private:
    // Sites 2 and 6 have addresses; the one added link (entry 10) holds the name of entry 1. A test
    // that calls it goes on only when it worked: open(...); QVERIFY(!QTest::currentTestFailed()).
    // `links` is the links file's content; null: the file is left as it is. `hosts` end the two
    // sites' host names.
    void open(const QString& folder, const QByteArray& links = "http://my.example/1000files-submit\r\n",
              const QByteArrayList& hosts = {"net", "com"})
    {
        const QByteArray padok =
            SiteAddressCipher::encode(QByteArray("2archive." + hosts[0] + "/s")) + "\r\n" +
            SiteAddressCipher::encode(QByteArray("www.5Awards." + hosts[1] + "/s")) + "\r\n";
        QVERIFY(writeFile(m_dir.filePath(u"padok.txt"_s), padok));
        if (!links.isNull())
            QVERIFY(writeFile(m_dir.filePath(u"addedlinks.txt"_s), links));
        m_window = std::make_unique<MainWindow>(
            AppFolders::portable(folder), std::unique_ptr<Browser>(m_browser = new FakeBrowser(new QWidget)));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_list = m_window->findChild<QListView*>(u"siteList"_s);
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

    // Runs the user's steps on the list: "click ROW", "ctrl ROW" (a click with Ctrl), "key KEYS" (to
    // the widget with the focus), "type TEXT", "menu ACTION" (from the list's context menu on its
    // current entry), "next TIMES", "file CONTENT" (another program writes the links file).
    void runSteps(const QStringList& steps)
    {
        for (const QString& step : steps) {
            const QString what = step.section(u' ', 0, 0);
            const QString arg = step.section(u' ', 1);
            if (what == u"click" || what == u"ctrl") {
                QTest::mouseClick(m_list->viewport(), Qt::LeftButton,
                                  what == u"ctrl" ? Qt::ControlModifier : Qt::NoModifier,
                                  checkBox(m_list, arg.toInt()) + QPoint(40, 0));
            } else if (what == u"key") {
                const QKeyCombination keys = QKeySequence::fromString(arg)[0];
                QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
            } else if (what == u"type") {
                // What QTest::keyClicks() does, for any character.
                for (const QChar c : arg)
                    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                        QString(c), Qt::NoModifier);
            } else if (what == u"menu") {
                const QPoint at = m_list->visualRect(m_list->currentIndex()).center();
                QContextMenuEvent event(QContextMenuEvent::Keyboard, at, m_list->viewport()->mapToGlobal(at));
                QApplication::sendEvent(m_list->viewport(), &event);
                auto* menu = m_list->findChild<QMenu*>();
                QVERIFY(menu && menu->isVisible());
                auto* action = m_list->findChild<QAction*>(arg);
                QVERIFY2(action && action->isVisible() && action->isEnabled(), qPrintable(arg));
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            } else if (what == u"next") {
                pressNext(arg.toInt());
            } else if (what == u"file") {
                QVERIFY(writeFile(m_dir.filePath(u"addedlinks.txt"_s), arg.toLatin1().replace("|", "\r\n")));
            } else {
                QFAIL(qPrintable(step));
            }
            // An editor commits what was typed in it a moment after Return.
            QCoreApplication::processEvents();
        }
    }
    // The list's entries from the first added link on.
    QString links() const
    {
        QStringList texts;
        for (int row = 10; row < m_list->model()->rowCount(); ++row)
            texts.append(m_list->model()->index(row, 0).data().toString());
        return texts.join(u' ');
    }

    QTemporaryDir m_dir;
    QStringList m_opened;
    std::unique_ptr<MainWindow> m_window;
    FakeBrowser* m_browser = nullptr;
    QListView* m_list = nullptr;
};

const QString kSite2 = u"http://2archive.net/s"_s;
const QString kSite6 = u"http://www.5Awards.com/s"_s;
const QString kLink = u"http://my.example/1000files-submit"_s;

// With entry 2 selected, a plain click on an entry loads its address, also when it is the selected
// one, and an entry without one loads nothing; Ctrl and Shift only select. A click on a check box
// only ticks the entry. None moves the walk: "Next" goes on
// to entry 1, selects it alone and loads the first added link holding its name. On the last entry
// "Next" stays (addLinks).
void TestMainWindow::clicks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("onCheckBox");
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QString>("selection");
    const Qt::KeyboardModifiers none;
    QTest::newRow("another entry") << 6 << none << false << QStringList{kSite6} << "6";
    QTest::newRow("an entry without an address") << 1 << none << false << QStringList{} << "1";
    QTest::newRow("the selected entry") << 2 << none << false << QStringList{kSite2} << "2";
    QTest::newRow("Ctrl on another entry")
        << 6 << Qt::KeyboardModifiers(Qt::ControlModifier) << false << QStringList{} << "2 6";
    QTest::newRow("Shift on another entry")
        << 4 << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << QStringList{} << "2 3 4";
    QTest::newRow("check box of the selected entry") << 2 << none << true << QStringList{} << "2";
    QTest::newRow("check box of another entry") << 6 << none << true << QStringList{} << "2";
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
    QCOMPARE(ticked(m_list), onCheckBox ? QString::number(row) : u"-"_s);
    QTEST(navigations(), "loaded");
    QTEST(selected(m_list), "selection");
    pressNext();
    QCOMPARE(selected(m_list), u"1"_s);
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
    pressNext(11); // the last press, on the last entry, stays there
    QCOMPARE(selectedRow(), m_list->model()->rowCount() - 1);
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
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(message.isEmpty(), refused.isEmpty());
    QVERIFY2(refused.isEmpty() || message.startsWith(u"Links not saved: "_s), qPrintable(message));
    QVERIFY2(message.contains(refused), qPrintable(message));
    QTEST(readAll(m_dir.filePath(u"addedlinks.txt"_s)), "after");
    QCOMPARE(tree(m_dir.path()).keys(), (QStringList{u"addedlinks.txt"_s, u"padok.txt"_s}));
    QTEST(m_list->model()->rowCount(), "entries");
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
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
    navigations();
    pressNext();
    QCOMPARE(navigations(), QStringList{u"http://b/"_s});
}

// "From File..." in "Add Links" reads a file chosen in Qt's own file dialog and adds to the text box
// each address that neither the list nor the box holds, without the blanks around it, and says how
// many it added and skipped; "OK" then appends them. A file too large to be a list is not read.
void TestMainWindow::addLinksFromFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("added");
    QTest::newRow("duplicates and blank lines")
        << QByteArray(
               "\r\nhttp://a/\r\n  http://b/ \t\r\n\r\nhttp://my.example/1000files-submit\r\nhttp://a/\n"
               "2archive\rhttp://typed/\r\nhttp://c/")
        << "http://typed/"
        << "links.txt: added 3, skipped 4 already listed and 2 blank." << QByteArray("okButton")
        << QByteArray("http://typed/\r\nhttp://a/\r\nhttp://b/\r\nhttp://c/\r\n");
    QTest::newRow("Windows-1252") << QByteArray("http://caf\xe9/\n") << ""
                                  << "links.txt: added 1, skipped 0 already listed and 0 blank."
                                  << QByteArray("okButton") << QByteArray("http://caf\xe9/\r\n");
    QTest::newRow("too large") << QByteArray(4 * 1024 * 1024 + 1, 'x') << ""
                               << "links.txt was not read: it is larger than 4 MB."
                               << QByteArray("cancelButton") << QByteArray();
}

void TestMainWindow::addLinksFromFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, typed);
    QFETCH(QByteArray, button);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(u"links.txt"_s), content));
    QString status;
    whenShown<AddLinksDialog>([&](AddLinksDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>(u"linksEdit"_s)->insertPlainText(typed);
        whenShown<QFileDialog>([&](QFileDialog& files) {
            auto* name = files.findChild<QLineEdit*>(u"fileNameEdit"_s);
            name->setText(dir.filePath(u"links.txt"_s));
            QTest::keyClick(name, Qt::Key_Return);
            status = dialog.findChild<QLabel*>(u"saveError"_s)->text();
            click(dialog, button.constData());
        });
        click(dialog, "fromFileButton");
    });
    click(*m_window, "addLinksButton");
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QTEST(status, "status");
    QFETCH(QByteArray, added);
    QCOMPARE(readAll(m_dir.filePath(u"addedlinks.txt"_s)), "http://my.example/1000files-submit\r\n" + added);
    QCOMPARE(m_list->model()->rowCount(), 11 + added.count("\r\n"));
}

// "Next" goes to every entry after the walk's, or with "Software > Skip done sites" on, to every one
// not ticked, and at the end stays and says so. The switch is remembered in the settings file.
void TestMainWindow::skipDoneSites_data()
{
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<QList<int>>("visited");
    QTest::addColumn<QString>("end");
    QTest::newRow("off: every entry")
        << false << QList<int>{2, 3} << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
        << "The end of the list. Not done yet: 9.";
    QTest::newRow("on: ticked ones passed over")
        << true << QList<int>{1, 2, 5, 9, 10} << QList<int>{3, 4, 6, 7, 8}
        << "The end of the list. Not done yet: 6.";
    QTest::newRow("on: every one ticked") << true << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
                                          << QList<int>{} << "Every site in the list is ticked.";
}

void TestMainWindow::skipDoneSites()
{
    QFETCH(bool, skip);
    QFETCH(QList<int>, ticks);
    QFETCH(QList<int>, visited);
    auto* skipDone = m_window->findChild<QAction*>(u"skipDoneAction"_s);
    QVERIFY(!skipDone->isChecked());
    if (skip)
        skipDone->trigger();
    for (const int row : ticks)
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, checkBox(m_list, row));
    QList<int> rows;
    for (int press = 0; press <= visited.size(); ++press) {
        pressNext();
        rows.append(selectedRow());
    }
    QCOMPARE(rows, visited + QList<int>{visited.value(visited.size() - 1)});
    QTEST(m_window->statusBar()->currentMessage(), "end");

    const QString settings = m_dir.filePath(u"settings.txt"_s);
    QCOMPARE(readAll(settings), skip ? QByteArray("skip-done-sites=yes\r\n") : QByteArray("<missing>"));
    open(m_dir.path());
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(m_window->findChild<QAction*>(u"skipDoneAction"_s)->isChecked(), skip);
}

// Through the list's keys and context menu, the added links are removed, edited and moved; the file
// is rewritten in its format at each change, a change the file cannot take or one made to a file
// another program changed is refused and told, and the built-in sites do not change. The list
// after a restart is the list before it. The walk stays with its entry. Every entry's address can
// be copied and opened in the user's own browser.
void TestMainWindow::manageLinks_data()
{
    QTest::addColumn<QString>("steps"); // separated by "; "
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("afterNext"); // the row selected after a further "Next"
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("copied");
    QTest::addColumn<QStringList>("opened");
    const QByteArray before(
        "http://a.example/\r\nhttp://caf\xe9.example/\r\nhttp://c.example/\nhttp://d.example/");
    QTest::newRow("Delete a selection of links and a built-in site")
        << "next 11; click 10; ctrl 12; ctrl 5; key Del"
        << QByteArray("http://caf\xe9.example/\r\nhttp://d.example/\r\n") << 11 << ""
        << "" << QStringList();
    QTest::newRow("edited in place with F2")
        << "click 11; key F2; key Ctrl+A; type http://b.example/; key Return"
        << QByteArray("http://a.example/\r\nhttp://b.example/\r\nhttp://c.example/\r\nhttp://d.example/\r\n")
        << 1 << ""
        << "" << QStringList();
    QTest::newRow("moved up with Ctrl+Up, down from the menu")
        << "next 12; click 13; key Ctrl+Up; click 10; menu moveDownAction"
        << QByteArray(
               "http://caf\xe9.example/\r\nhttp://a.example/\r\nhttp://d.example/\r\nhttp://c.example/\r\n")
        << 11 << ""
        << "" << QStringList();
    QTest::newRow("built-in sites do not change")
        << "click 3; key Del; key F2; key Ctrl+Down" << before << 1 << ""
        << "" << QStringList();
    QTest::newRow("an edit the file cannot hold")
        << "click 10; key F2; type \u0151; key Return" << before << 1
        << "The links were not changed: \u201C\u0151\u201D (U+0151) cannot be stored."
        << "" << QStringList();
    QTest::newRow("the file changed by another program")
        << "click 10; file http://x.example/|; key Del" << QByteArray("http://x.example/\r\n") << 1
        << "The links were not changed: addedlinks.txt was changed by another program"
        << "" << QStringList();
    QTest::newRow("a built-in site's address copied and opened")
        << "click 2; key Ctrl+C; menu openInBrowserAction" << before << 1 << "" << kSite2
        << QStringList{kSite2};
    QTest::newRow("a link's address copied from the menu")
        << "click 11; menu copyAddressAction" << before << 1 << ""
        << "http://caf\u00e9.example/" << QStringList();
}

void TestMainWindow::manageLinks()
{
    QFETCH(QString, steps);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    open(m_dir.path(),
         "http://a.example/\r\nhttp://caf\xe9.example/\r\nhttp://c.example/\nhttp://d.example/");
    QVERIFY(!QTest::currentTestFailed());
    QGuiApplication::clipboard()->clear();
    m_opened.clear();
    runSteps(steps.split(u"; "_s));
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(readAll(m_dir.filePath(u"addedlinks.txt"_s)), file);
    const QString listed = Windows1252::decodeLines(file).join(u' ');
    QCOMPARE(links(), listed);
    const QString shown = m_window->statusBar()->currentMessage();
    QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.startsWith(message), qPrintable(shown));
    QTEST(QGuiApplication::clipboard()->text(), "copied");
    QTEST(m_opened, "opened");
    pressNext();
    QTEST(selectedRow(), "afterNext");
    open(m_dir.path(), QByteArray());
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(links(), listed);
}

// "Software > Check Sites" tries the list's addresses in the background while the window answers
// clicks; a progress bar and "Cancel" show while it runs. A site that did not answer is drawn grey
// with the reason and the day in its tooltip, one that moved offers its new address; the results
// are kept in the data folder, also when the check is cancelled halfway; marks and links stay.
void TestMainWindow::checkSites()
{
    LocalHttpServer server(QString{});
    QVERIFY(server.start());
    server.setPage(u"ok"_s, "<p>here");
    server.setStatus(u"old"_s, "301 Moved Permanently", "Location: /ok\r\n");
    server.setPage(u"silent"_s, "<p>late");
    server.setDelay(u"silent"_s, 60000);
    QByteArray file;
    for (const QString& path : {u"ok"_s, u"old"_s, u"missing"_s, u"silent"_s})
        file += server.url(path).toUtf8() + "\r\n";
    open(m_dir.path(), file, {"invalid", "invalid"});
    QVERIFY(!QTest::currentTestFailed());
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, checkBox(m_list, 10));
    auto* checkSites = m_window->findChild<QAction*>(u"checkSitesAction"_s);
    auto* progress = m_window->findChild<QProgressBar*>(u"checkProgress"_s);
    checkSites->trigger();
    QVERIFY(progress->isVisible() && !checkSites->isEnabled());
    QTRY_COMPARE(progress->value(), 5); // all but the silent one
    QCOMPARE(progress->maximum(), 6);
    clickEntry(6);
    QCOMPARE(navigations(), QStringList{u"http://www.5Awards.invalid/s"_s});

    const auto tip = [&](int row) { return m_list->model()->index(row, 0).data(Qt::ToolTipRole).toString(); };
    const QString today = QLocale::c().toString(QDate::currentDate(), u"d MMM yyyy"_s);
    QCOMPARE(tip(2), u"Checked on %1: no such host"_s.arg(today));
    QVERIFY(m_list->model()->index(2, 0).data(Qt::ForegroundRole).isValid());
    QCOMPARE(tip(10),
             u"Done on %1, for this run only: no product is chosen\nChecked on %1: answers"_s.arg(today));
    QVERIFY(!m_list->model()->index(10, 0).data(Qt::ForegroundRole).isValid());
    QCOMPARE(tip(12), u"Checked on %1: the server answered 404 Not Found"_s.arg(today));
    QCOMPARE(tip(13), QString());
    click(*m_window->findChild<QWidget*>(u"siteCheckBar"_s), "cancelCheckButton");
    QVERIFY(!progress->isVisible() && checkSites->isEnabled());
    QCOMPARE(
        m_window->statusBar()->currentMessage(),
        u"Check cancelled. Answered: 1. Moved: 1. No answer: 3. A moved link's menu offers its new address."_s);
    QCOMPARE(readAll(m_dir.filePath(u"addedlinks.txt"_s)), file);
    QCOMPARE(ticked(m_list), u"10"_s);
    const QByteArray checks = readAll(m_dir.filePath(u"sitechecks.txt"_s));
    QCOMPARE(checks.count("\r\n"), 5);
    QVERIFY2(checks.contains(QByteArray("\tmoved\t" + server.url(u"ok"_s).toUtf8() + '\t' +
                                        server.url(u"old"_s).toUtf8())),
             checks.constData());

    runSteps({u"click 11"_s, u"menu useNewAddressAction"_s});
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(links(), server.url(u"ok"_s) + u' ' + server.url(u"ok"_s) + u' ' + server.url(u"missing"_s) +
                          u' ' + server.url(u"silent"_s));
    open(m_dir.path(), QByteArray(), {"invalid", "invalid"});
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(tip(12), u"Checked on %1: the server answered 404 Not Found"_s.arg(today));
}

// "File > Export Progress..." writes where the user chooses, in Qt's own file dialog, a CSV table
// that an RFC 4180 reader reads back: every entry with its address, and the day it was done for
// each product that has a profile or marks, in the order of the product list.
void TestMainWindow::exportProgress()
{
    QTemporaryDir dir;
    for (const QString& name : {u"A"_s, u"Zip, \"Pro\""_s})
        QVERIFY(ProductProfiles::save(dir.path(), {name, {}, {}, {}, {}}).ok());
    QVERIFY(QDir(dir.path()).mkdir(u"Progress"_s));
    QVERIFY(writeFile(dir.filePath(u"Progress/A.txt"_s),
                      "2026-12-06 1000files\r\n2026-12-07 http://x.example/?a=1,2\r\n"));
    QVERIFY(writeFile(dir.filePath(u"Progress/b.txt"_s), "2026-11-30 2archive\r\n"));
    QVERIFY(writeFile(dir.filePath(u"addedlinks.txt"_s), "http://x.example/?a=1,2\r\n"));
    QVERIFY(QFile::copy(m_dir.filePath(u"padok.txt"_s), dir.filePath(u"padok.txt"_s)));
    open(dir.path());
    QVERIFY(!QTest::currentTestFailed());
    const QString path = dir.filePath(u"sent.csv"_s);
    whenShown<QFileDialog>([&](QFileDialog& files) {
        auto* name = files.findChild<QLineEdit*>(u"fileNameEdit"_s);
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    m_window->findChild<QAction*>(u"exportProgressAction"_s)->trigger();
    QTRY_VERIFY(QFile::exists(path));
    QCOMPARE(m_window->statusBar()->currentMessage(),
             u"The progress of every product was exported to "_s + path + u'.');

    QList<QStringList> expected{{u"Site"_s, u"Address"_s, u"A"_s, u"b"_s, u"Zip, \"Pro\""_s}};
    for (int row = 0; row < 11; ++row)
        expected.append({m_list->model()->index(row, 0).data().toString(), {}, {}, {}, {}});
    expected[2] = QStringList{u"1000files"_s, {}, u"2026-12-06"_s, {}, {}};
    expected[3] = QStringList{u"2archive"_s, u"http://2archive.net/s"_s, {}, u"2026-11-30"_s, {}};
    expected[7][1] = u"http://www.5Awards.com/s"_s;
    expected[11] =
        QStringList{u"http://x.example/?a=1,2"_s, u"http://x.example/?a=1,2"_s, u"2026-12-07"_s, {}, {}};
    QCOMPARE(readCsv(QString::fromUtf8(readAll(path))), expected);
    QCOMPARE(tree(dir.path()).keys().filter(u".csv"_s), QStringList{u"sent.csv"_s});
}

// Each product keeps its own marks, through real clicks: they are saved at once, kept over "Add
// Links", a rename and a restart, and a sent form that a pass filled ticks the entry whose page is
// shown; the line under the list counts them. A save that fails is told in the status bar while the
// list keeps its marks, also over a switch to another product and back, and the next save that can
// write saves them all. (How the marks file reads and joins on a rename: tst_progressstore.)
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
    const auto overview = [&] { return m_window->findChild<QLabel*>(u"siteOverview"_s)->text(); };

    QCOMPARE(m_window->windowTitle(), u"Formtide"_s);
    QCOMPARE(overview(), u"0 of 10 ticked, no product chosen"_s);
    manage(*m_window, {u"A"_s, u"okButton"_s});
    QCOMPARE(m_window->windowTitle(), u"Formtide - A"_s);
    for (int row : {1, 9, 3, 3})
        tick(row);
    QCOMPARE(ticked(m_list), u"1 9"_s);
    QCOMPARE(overview(), u"2 of 10 done for A"_s);
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
    QCOMPARE(overview(), u"0 of 10 done for Tidy Zip"_s);
    tick(2);
    clickEntry(6);
    Q_EMIT m_browser->filledFormSubmitted();
    QCOMPARE(ticked(m_list), u"2 6"_s);
    manage(*m_window, {u"A"_s, u"okButton"_s});
    whenShown<QDialog>([](QDialog& dialog) { click(dialog, "cancelButton"); });
    click(*m_window, "addLinksButton");
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(ticked(m_list), u"1 9"_s);
    Q_EMIT m_browser->filledFormSubmitted(); // the page shown is entry 6's, though none is selected now
    QCOMPARE(ticked(m_list), u"1 6 9"_s);
    QCOMPARE(overview(), u"3 of 10 done for A"_s);

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
    // Another product and back: the marks that could not be saved are still there.
    manage(*m_window, {u"Tidy Zip"_s, u"okButton"_s});
    QCOMPARE(ticked(m_list), u"-"_s); // its file is out of reach too
    manage(*m_window, {u"A2"_s, u"okButton"_s});
    QCOMPARE(ticked(m_list), u"1 4 6 9"_s);
    QCOMPARE(overview(), u"4 of 10 done for A2"_s);
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
    const QByteArray page =
        R"({"token":"T","doc":"D","docs":[[1,{"tag":"INPUT","name":"pad_url","type":"text"}]]})";
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
