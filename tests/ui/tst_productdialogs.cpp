#include "core/Translations.h"
#include "products/PadDownload.h"
#include "products/ProductProfiles.h"
#include "products/ProductStore.h"
#include "tests/LocalHttpServer.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const char* const kBoxes[] = {"nameEdit", "categoryBox", "padUrlEdit", "vendorIdEdit", "productIdEdit"};
const QString kTyped[] = {u"Old"_s, u"Mine"_s, u"http://old"_s, u"v0"_s, u"p0"_s};
const Product kBeta{u"Beta"_s, u"DVD"_s, u"http://b"_s, u"v2"_s, u"p2"_s};
const QString kPads = u"" FORMTIDE_TEST_DATA_DIR "/pad/"_s;
// When Beta's kept PAD file was taken.
const QDateTime kTaken(QDate(2026, 12, 3), QTime(14, 5));

QLineEdit* box(QWidget& dialog, const char* name)
{
    auto* combo = dialog.findChild<QComboBox*>(QLatin1StringView(name));
    return combo ? combo->lineEdit() : dialog.findChild<QLineEdit*>(QLatin1StringView(name));
}

// Replaces a box's text as if pasted.
void type(QWidget& dialog, const char* name, const QString& text)
{
    box(dialog, name)->selectAll();
    box(dialog, name)->insert(text);
}

// What the status line says, whole; empty while it is hidden.
QString status(QWidget& dialog)
{
    auto* line = dialog.findChild<QLabel*>(u"statusLine"_s);
    return line->isHidden() ? QString() : line->toolTip().isEmpty() ? line->text() : line->toolTip();
}

QStringList names(const QListWidget* list)
{
    QStringList texts;
    for (const QListWidgetItem* item : list->findItems(u"*"_s, Qt::MatchWildcard))
        texts.append(item->text());
    return texts;
}

QString selected(const QListWidget* list)
{
    return list->selectedItems().isEmpty() ? QString() : list->selectedItems().first()->text();
}

// Keeps `file` while the guard lives: immutable (which stops root too) in a read-only folder.
auto undeletable(const QString& file)
{
    const QString folder = QFileInfo(file).path();
    QProcess::execute(u"chattr"_s, {u"+i"_s, file});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    return qScopeGuard([=] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess::execute(u"chattr"_s, {u"-i"_s, file});
    });
}

// What the editor shows of the kept PAD file, a line a row.
QString padFacts(QWidget& editor)
{
    QStringList rows;
    for (const char* name :
         {"padTaken", "padName", "padVersion", "padCompany", "padEmail", "padDownload", "padDescription"})
        rows.append(editor.findChild<QLabel*>(QLatin1StringView(name))->text());
    return rows.join(u'|');
}

} // namespace

class TestProductDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void save_data();
    void save();
    void manager();
    void padCopy();
    void updateFromPadUrl_data();
    void updateFromPadUrl();
    void cancelDownload();
    void translation();

private:
    QString path(const QString& name = {}) const { return m_dir->filePath(name); }
    // Beta keeps pad40.xml, taken at kTaken.
    [[nodiscard]] bool keepPad()
    {
        QFile file(path(u"Info/Beta.xml"_s));
        return QFile::copy(kPads + u"pad40.xml"_s, file.fileName()) && file.open(QIODevice::ReadWrite) &&
               file.setFileTime(kTaken, QFileDevice::FileModificationTime);
    }
    [[nodiscard]] bool store(const Product& product) { return ProductProfiles::save(path(), product).ok(); }
    // "Edit..." on Beta, or "Add...", then `name` and `category` typed (null: left alone) and "OK"
    // pressed in the editor. What the editor's status line says then, or "<closed>".
    QString runEditor(bool edit, const QString& name, const QString& category = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    LocalHttpServer m_server{kPads};
    quint16 m_closedPort = 0;
    QNetworkAccessManager m_network;
    PadDownload m_download{m_network};
    std::unique_ptr<ProductStore> m_store;
    std::unique_ptr<ProductManagerDialog> m_manager;
};

void TestProductDialogs::initTestCase()
{
    QVERIFY(m_server.start());
    m_server.setStatus(u"moved.xml"_s, "301 Moved Permanently", "Location: /pad311.xml\r\n");
    m_server.setStatus(u"away.xml"_s, "302 Found", "Location: file:///etc/hostname\r\n");
    m_server.setDelay(u"silent.xml"_s, std::numeric_limits<int>::max());
    const QByteArray large(PadFile::maxSize + 1, ' ');
    m_server.setPage(u"large.xml"_s, large);
    m_server.setPage(u"unannounced.xml"_s, large);
    m_server.setUnannounced(u"unannounced.xml"_s);
    m_server.setPage(u"signin.html"_s, "<!DOCTYPE html>\n<html><head><title>Sign in</title></head></html>");
    m_server.setPage(u"feed.xml"_s, "<?xml version=\"1.0\"?><rss version=\"2.0\"/>");
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    m_closedPort = closed.serverPort();
}

void TestProductDialogs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    for (const Product& product : {Product{u"Alpha"_s, u"ART"_s, {}, {}, {}}, kBeta, Product{u"Gamma"_s}})
        QVERIFY(store(product));
    QVERIFY(keepPad());
    m_manager.reset();
    m_store = std::make_unique<ProductStore>(path());
    m_manager = std::make_unique<ProductManagerDialog>(*m_store, m_download);
    m_manager->show();
}

QString TestProductDialogs::runEditor(bool edit, const QString& name, const QString& category)
{
    m_manager->productList()->setCurrentRow(edit ? 1 : 0);
    QString shown;
    whenShown<ProductEditorDialog>([&](ProductEditorDialog& editor) {
        if (!name.isNull())
            type(editor, "nameEdit", name);
        if (!category.isNull())
            type(editor, "categoryBox", category);
        click(editor, "okButton");
        shown = editor.isVisible() ? status(editor) : u"<closed>"_s;
        editor.reject();
    });
    click(*m_manager, edit ? "editButton" : "addButton");
    return shown;
}

// "OK" in the editor saves the profile, lists it, selects it and reports a rename, which carries
// the kept PAD file along with its date; a product added under a listed name keeps no PAD file. When
// nothing can be saved, the editor stays open and says why, and the folder and the list stay as
// they were, also when the old name's file of a rename cannot be removed.
void TestProductDialogs::save_data()
{
    QTest::addColumn<bool>("edit"); // "Edit..." on Beta, else "Add..."
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("blocked"); // Beta.txt cannot be removed
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<Product>("selected"); // as stored
    QTest::addColumn<QString>("pad");      // the product that keeps the PAD file, if one does
    const auto row = [](const char* tag, bool edit, QString name, QString category, QString line,
                        Product selected, QString pad,
                        QStringList listed = {u"Alpha"_s, u"Beta"_s, u"Gamma"_s}, bool blocked = false) {
        QTest::newRow(tag) << edit << name << category << blocked << line << listed << selected << pad;
    };
    const auto beta = [](const QString& name, const QString& keyword) {
        return Product{name, keyword, kBeta.padUrl, kBeta.regnowVendorId, kBeta.regnowProductId};
    };
    const QString closed = u"<closed>"_s;
    row("add a listed name: replaced, listed once", false, u"Beta"_s, {}, closed,
        {u"Beta"_s, u"ENCODERS"_s, u"http://"_s}, {});
    row("edit keeps a keyword an earlier entry holds", true, {}, {}, closed, kBeta, u"Beta"_s);
    row("typed free category", true, {}, u"Mine"_s, closed, beta(u"Beta"_s, u""_s), u"Beta"_s);
    row("typed entry text", true, {}, u"    Fax Tools"_s, closed, beta(u"Beta"_s, u"FAX"_s), u"Beta"_s);
    row("rename with dots, sorted ignoring case", true, u"a..z"_s, {}, closed, beta(u"a..z"_s, u"DVD"_s),
        u"a..z"_s, {u"a..z"_s, u"Alpha"_s, u"Gamma"_s});
    row("rename, letter case only", true, u"BETA"_s, {}, closed, beta(u"BETA"_s, u"DVD"_s), u"BETA"_s,
        {u"Alpha"_s, u"BETA"_s, u"Gamma"_s});
    row("hidden name", false, u".Zip"_s, {}, u"Nothing saved: a program name cannot begin with \".\"."_s,
        {u"Alpha"_s, u"ART"_s}, u"Beta"_s);
    row("rename onto a folder", true, u"Blocked"_s, {},
        u"Nothing saved: the file Blocked.txt could not be written."_s, kBeta, u"Beta"_s);
    row("rename, the old file cannot be removed", true, u"Renamed"_s, {},
        u"Nothing saved: Beta.txt cannot be removed for the rename (Operation not permitted)."_s, kBeta,
        u"Beta"_s, {u"Alpha"_s, u"Beta"_s, u"Gamma"_s}, true);
}

void TestProductDialogs::save()
{
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(bool, blocked);
    QFETCH(QString, line);
    QFETCH(Product, selected);
    QFETCH(QString, pad);
    if (blocked && geteuid() != 0)
        QSKIP("only root can keep a file that its folder lets be removed");
    QVERIFY(QDir(path()).mkpath(u"Info/Blocked.txt"_s));
    const auto before = tree(path());
    QSignalSpy renamed(m_store.get(), &ProductStore::productRenamed);
    {
        const auto kept = blocked ? std::optional(undeletable(path(u"Info/Beta.txt"_s))) : std::nullopt;
        QCOMPARE(runEditor(edit, name, category), line);
    }
    QTEST(names(m_manager->productList()), "listed");
    QTEST(ProductProfiles::list(path()), "listed");
    QCOMPARE(::selected(m_manager->productList()), selected.programName);
    QCOMPARE(ProductProfiles::read(path(), selected.programName), std::optional(selected));
    const bool saved = line == u"<closed>";
    QCOMPARE(renamed.value(0),
             edit && !name.isNull() && saved ? (QVariantList{u"Beta"_s, name}) : QVariantList());
    if (!saved)
        QCOMPARE(tree(path()), before);
    const QStringList pads = QDir(path(u"Info"_s)).entryList({u"*.xml"_s});
    QCOMPARE(pads, pad.isEmpty() ? QStringList() : QStringList{pad + u".xml"_s});
    if (!pad.isEmpty())
        QCOMPARE(QFileInfo(path(u"Info/"_s + pads.value(0))).lastModified(), kTaken);
}

// Escape does not close the manager. Opening selects the active product's entry, else the first
// containing its name (letter case counts), else the first; Ctrl+click keeps the selection.
// "Delete" selects the entry that takes the deleted one's place; a file that stays keeps its entry,
// and the status line says why. "OK" makes the selected product active, its profile whole; one that
// cannot be read any more changes nothing. Each opening reads the folder again.
void TestProductDialogs::manager()
{
    m_manager->reject();
    QVERIFY(store(Product{u"MyZip"_s, u"K"_s}) && store(Product{u"Zip"_s}));
    QVERIFY(m_store->choose(u"Zip"_s) && QFile::remove(path(u"Info/Zip.txt"_s)));
    QSignalSpy chosen(m_store.get(), &ProductStore::activeProductChanged);
    m_manager->show();
    QListWidget* list = m_manager->productList();
    QCOMPARE(m_manager->focusWidget(), list);
    QTest::keyClick(m_manager.get(), Qt::Key_Escape);
    QVERIFY(m_manager->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->currentItem()).center());
    QCOMPARE(selected(list), u"MyZip"_s);
    {
        const auto kept = undeletable(path(u"Info/MyZip.txt"_s));
        click(*m_manager, "deleteButton");
    }
    QCOMPARE(names(list), (QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s, u"MyZip"_s}));
    QCOMPARE(selected(list), u"MyZip"_s);
    QCOMPARE(status(*m_manager).section(u'(', 0, 0), u"Not deleted: MyZip.txt "_s);
    click(*m_manager, "deleteButton");
    QCOMPARE(selected(list), u"Gamma"_s);
    QCOMPARE(status(*m_manager), QString());
    QFile::remove(path(u"Info/Gamma.txt"_s));
    click(*m_manager, "okButton");
    QVERIFY(!m_manager->isVisible());
    QCOMPARE(chosen.size(), 0);
    QVERIFY(store(Product{u"AZip"_s}) && store(Product{u"Zip"_s, u"KZ"_s}));
    m_manager->show();
    QCOMPARE(names(list), (QStringList{u"Alpha"_s, u"AZip"_s, u"Beta"_s, u"Zip"_s}));
    QCOMPARE(selected(list), u"Zip"_s);
    click(*m_manager, "okButton");
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(m_store->activeName(), u"Zip"_s);
    QCOMPARE(m_store->activeFacts(), ProductFacts(Product{u"Zip"_s, u"KZ"_s}));
}

// "Import PAD..." sets the boxes the file has values for, keeps the others as typed, and shows what
// the file holds; a file that cannot be imported changes nothing and is named in the status line.
// The product keeps the file once "OK" saves, under the saved name, byte for byte; "Cancel" keeps
// nothing. A kept file shows with the day it was taken; "Forget PAD" drops it when "OK" saves, and
// "Delete" in the manager removes it with the profile.
void TestProductDialogs::padCopy()
{
    ProductEditorDialog editor(*m_store, m_download);
    QString chosen = u"gone.xml"_s;
    editor.setFileChooser([&](QWidget*) { return kPads + chosen; });
    editor.startNew();
    editor.show();
    const QString none = u"none kept||||||"_s;
    QCOMPARE(padFacts(editor), none);
    for (int i = 0; i < 5; ++i)
        type(editor, kBoxes[i], kTyped[i]);
    click(editor, "importButton");
    QCOMPARE(status(editor), u"\"gone.xml\" cannot be opened: No such file or directory."_s);
    QCOMPARE(padFacts(editor), none);
    chosen = u"first-entry.xml"_s;
    click(editor, "importButton");
    QStringList boxes;
    for (const char* name : kBoxes)
        boxes.append(box(editor, name)->text());
    QCOMPARE(boxes, (QStringList{u"Old"_s, u"Audio & Multimedia"_s, u"http://old"_s, u"77"_s, u"p0"_s}));
    QCOMPARE(status(editor), QString());
    click(editor, "cancelButton");
    const auto before = tree(path());

    editor.startNew();
    editor.show();
    chosen = u"pad311.xml"_s;
    click(editor, "importButton");
    QCOMPARE(padFacts(editor).section(u'|', 1),
             u"Tidy Zip|2.1|Tidewater Tools|ann@tidewater.example|"
             u"http://tidewater.example/zip/setup.exe|Packs and unpacks archives"_s);
    QCOMPARE(tree(path()), before);
    click(editor, "okButton");
    QCOMPARE(readAll(path(u"Info/Tidy Zip.xml"_s)), readAll(kPads + chosen));

    editor.startEditing(u"Beta"_s, kBeta);
    editor.show();
    QCOMPARE(padFacts(editor), u"taken 3 Dec 2026, 14:05|Caf\u00e9 Planner \u20ac|4.0.2||||Plans menus"_s);
    click(editor, "forgetButton");
    QCOMPARE(padFacts(editor), none);
    QVERIFY(QFile::exists(path(u"Info/Beta.xml"_s)));
    click(editor, "okButton");
    QVERIFY(!QFile::exists(path(u"Info/Beta.xml"_s)));

    // A kept file that cannot be read any more is said to be so, and stays as it is, a rename too.
    QVERIFY(writeFile(path(u"Info/Alpha.xml"_s), "<broken"));
    editor.startEditing(u"Alpha"_s, {u"Alpha"_s, u"ART"_s});
    editor.show();
    QCOMPARE(padFacts(editor), u"kept, but it cannot be read||||||"_s);
    QVERIFY(status(editor).startsWith(u"\"Alpha.xml\" is not well-formed XML"_s));
    type(editor, "nameEdit", u"Alpha2"_s);
    click(editor, "okButton");
    QCOMPARE(readAll(path(u"Info/Alpha2.xml"_s)), "<broken");

    m_manager->reloadProducts();
    m_manager->productList()->setCurrentRow(3);
    QCOMPARE(selected(m_manager->productList()), u"Tidy Zip"_s);
    click(*m_manager, "deleteButton");
    QCOMPARE(QDir(path(u"Info"_s)).entryList(QDir::Files),
             (QStringList{u"Alpha2.txt"_s, u"Alpha2.xml"_s, u"Beta.txt"_s, u"Gamma.txt"_s}));
}

// "Update from PAD URL" downloads the PAD file from the PAD URL box's address, showing a progress
// bar, and the product keeps it once "OK" saves; the boxes stay as typed. A failure is told in
// words, and the PAD file kept before stays, byte for byte. A server that never answers has a short
// time limit here.
void TestProductDialogs::updateFromPadUrl_data()
{
    QTest::addColumn<QString>("address"); // a path on the test server, or an address
    QTest::addColumn<QString>("line");    // "%1" stands for the address
    QTest::addColumn<QString>("kept");    // the file whose bytes Beta keeps afterwards
    QTest::addColumn<int>("limit");       // the time limit in milliseconds; 0: the program's own
    const auto row = [](const char* tag, QString address, QString line, QString kept = u"pad40.xml"_s,
                        int limit = 0) { QTest::newRow(tag) << address << line << kept << limit; };
    row("a PAD file", u"pad311.xml"_s, {}, u"pad311.xml"_s);
    row("moved", u"moved.xml"_s, {}, u"pad311.xml"_s);
    row("404", u"gone.xml"_s, u"Not downloaded: the server answered 404 Not Found."_s);
    row("no answer", u"silent.xml"_s, u"Not downloaded: the server did not answer in time."_s, u"pad40.xml"_s,
        300);
    const QString large = u"Not downloaded: the file is larger than 4 MiB, too large for a PAD file."_s;
    row("too large", u"large.xml"_s, large);
    row("too large, not announced", u"unannounced.xml"_s, large);
    row("a web page", u"signin.html"_s, u"Not downloaded: %1 is a web page, not a PAD file."_s);
    row("no PAD file", u"feed.xml"_s,
        u"Not kept: \"feed.xml\" is not a PAD file: its root element is <rss>, not <XML_DIZ_INFO>."_s);
    row("sent away from the web", u"away.xml"_s,
        u"Not downloaded: the server sent it on to file:///etc/hostname, which is less safe."_s);
    row("refused", u"http://127.0.0.1:%1/pad.xml"_s, u"Not downloaded: 127.0.0.1 refused the connection."_s);
    row("not the web", u"ftp://127.0.0.1/pad.xml"_s,
        u"Not downloaded: only http and https addresses can be downloaded, not ftp."_s);
    row("no address", u"http://"_s,
        u"Not downloaded: type the address of the PAD file into the PAD URL box first."_s);
}

void TestProductDialogs::updateFromPadUrl()
{
    QFETCH(QString, address);
    QFETCH(QString, line);
    QFETCH(QString, kept);
    QFETCH(int, limit);
    const QString url = address.contains(u"://")
                            ? QString(address).replace(u"%1"_s, QString::number(m_closedPort))
                            : m_server.url(address);
    PadDownload download(m_network, limit ? std::chrono::milliseconds(limit) : PadDownload::kTimeLimit);
    ProductEditorDialog editor(*m_store, download);
    editor.startEditing(u"Beta"_s, kBeta);
    editor.show();
    type(editor, "padUrlEdit", url);
    const QString facts = padFacts(editor);
    click(editor, "updateButton");
    QCOMPARE(editor.findChild<QProgressBar*>(u"downloadProgress"_s)->isVisible(), download.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!download.isRunning(), 20000);
    QCOMPARE(status(editor), QString(line).replace(u"%1"_s, url));
    QCOMPARE(box(editor, "nameEdit")->text(), kBeta.programName);
    QCOMPARE(padFacts(editor).section(u'|', 1, 1),
             line.isEmpty() ? u"Tidy Zip"_s : facts.section(u'|', 1, 1));
    click(editor, "okButton");
    QCOMPARE(readAll(path(u"Info/Beta.xml"_s)), readAll(kPads + kept));
}

// "Cancel" ends a download under way, and nothing is kept.
void TestProductDialogs::cancelDownload()
{
    ProductEditorDialog editor(*m_store, m_download);
    editor.startEditing(u"Beta"_s, kBeta);
    editor.show();
    type(editor, "padUrlEdit", m_server.url(u"silent.xml"_s));
    click(editor, "updateButton");
    QVERIFY(m_download.isRunning());
    click(editor, "cancelButton");
    QVERIFY(!m_download.isRunning() && !editor.isVisible());
    QCOMPARE(readAll(path(u"Info/Beta.xml"_s)), readAll(kPads + u"pad40.xml"_s));
}

// A translation for the user's language in the program folder's translations/ is used; what it
// leaves out stays English. The build puts a German one of two texts there.
void TestProductDialogs::translation()
{
#ifndef FORMTIDE_TRANSLATED_FOLDER
    QSKIP("built without Qt's Linguist tools");
#else
    QVERIFY(!Translations().install(QLocale(u"fr_FR"_s), u"" FORMTIDE_TRANSLATED_FOLDER ""_s));
    Translations german;
    QVERIFY(german.install(QLocale(u"de_DE"_s), u"" FORMTIDE_TRANSLATED_FOLDER ""_s));
    ProductEditorDialog editor(*m_store, m_download);
    QCOMPARE(editor.windowTitle(), u"Produktinformation"_s);
    QCOMPARE(editor.findChild<QLabel*>(u"nameLabel"_s)->text(), u"Programmname"_s);
    QCOMPARE(editor.findChild<QPushButton*>(u"cancelButton"_s)->text(), u"Cancel"_s);
#endif
}

QTEST_MAIN(TestProductDialogs)
#include "tst_productdialogs.moc"
