#include "core/Translations.h"
#include "products/ProductProfiles.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const char* const kBoxes[] = {"nameEdit", "categoryBox", "padUrlEdit", "vendorIdEdit", "productIdEdit"};
const QString kTyped[] = {u"Old"_s, u"Mine"_s, u"http://old"_s, u"v0"_s, u"p0"_s};
const Product kBeta{u"Beta"_s, u"DVD"_s, u"http://b"_s, u"v2"_s, u"p2"_s};

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

// What the status line says; empty while it is hidden.
QString status(QWidget& dialog)
{
    auto* line = dialog.findChild<QLabel*>(u"statusLine"_s);
    return line->isHidden() ? QString() : line->text();
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

} // namespace

class TestProductDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void save_data();
    void save();
    void manager();
    void importPad();
    void translation();

private:
    QString path(const QString& name = {}) const { return m_dir->filePath(name); }
    void store(const Product& product) { QVERIFY(ProductProfiles::save(path(), product).ok()); }
    // "Edit..." on Beta, or "Add...", then `name` and `category` typed (null: left alone) and "OK"
    // pressed in the editor. What the editor's status line says then, or "<closed>".
    QString runEditor(bool edit, const QString& name, const QString& category = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ProductManagerDialog> m_manager;
};

void TestProductDialogs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    for (const Product& product : {Product{u"Alpha"_s, u"ART"_s, {}, {}, {}}, kBeta, Product{u"Gamma"_s}})
        store(product);
    m_manager = std::make_unique<ProductManagerDialog>(path());
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

// "OK" in the editor saves the profile, lists it, selects it and reports a rename; or, when nothing
// can be saved, the editor stays open and says why, and the profiles and the list stay as they were.
void TestProductDialogs::save_data()
{
    QTest::addColumn<bool>("edit"); // "Edit..." on Beta, else "Add..."
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<Product>("selected"); // as stored
    const auto row = [](const char* tag, bool edit, QString name, QString category, QString line,
                        Product selected, QStringList listed = {u"Alpha"_s, u"Beta"_s, u"Gamma"_s}) {
        QTest::newRow(tag) << edit << name << category << line << listed << selected;
    };
    const auto beta = [](const QString& name, const QString& keyword) {
        return Product{name, keyword, kBeta.padUrl, kBeta.regnowVendorId, kBeta.regnowProductId};
    };
    const QString closed = u"<closed>"_s;
    row("add a listed name: replaced, listed once", false, u"Beta"_s, {}, closed,
        {u"Beta"_s, u"ENCODERS"_s, u"http://"_s});
    row("edit keeps a keyword an earlier entry holds", true, {}, {}, closed, kBeta);
    row("typed free category", true, {}, u"Mine"_s, closed, beta(u"Beta"_s, u""_s));
    row("typed entry text", true, {}, u"    Fax Tools"_s, closed, beta(u"Beta"_s, u"FAX"_s));
    row("rename with dots, sorted ignoring case", true, u"a..z"_s, {}, closed, beta(u"a..z"_s, u"DVD"_s),
        {u"a..z"_s, u"Alpha"_s, u"Gamma"_s});
    row("rename, letter case only", true, u"BETA"_s, {}, closed, beta(u"BETA"_s, u"DVD"_s),
        {u"Alpha"_s, u"BETA"_s, u"Gamma"_s});
    row("hidden name", false, u".Zip"_s, {}, u"Nothing saved: a program name cannot begin with \".\"."_s,
        {u"Alpha"_s, u"ART"_s});
    row("rename onto a folder: the old file stays", true, u"Blocked"_s, {},
        u"Nothing saved: the file Blocked.txt could not be written."_s, kBeta);
}

void TestProductDialogs::save()
{
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QString, line);
    QFETCH(Product, selected);
    QVERIFY(QDir(path()).mkpath(u"Info/Blocked.txt"_s));
    QSignalSpy renamed(m_manager.get(), &ProductManagerDialog::productRenamed);
    QCOMPARE(runEditor(edit, name, category), line);
    QTEST(names(m_manager->productList()), "listed");
    QTEST(ProductProfiles::list(path()), "listed");
    QCOMPARE(::selected(m_manager->productList()), selected.programName);
    QCOMPARE(ProductProfiles::read(path(), selected.programName), std::optional(selected));
    const bool rename = edit && !name.isNull() && line == u"<closed>";
    QCOMPARE(renamed.value(0), rename ? (QVariantList{u"Beta"_s, name}) : QVariantList());
}

// Escape does not close the manager. Opening selects the active product's entry, else the first
// containing its name (letter case counts), else the first; Ctrl+click keeps the selection.
// "Delete" selects the entry that takes the deleted one's place; a file that stays keeps its entry,
// and the status line says why. "OK" reports the selected profile, whole, as chosen; one that
// cannot be read any more reports nothing. Each opening reads the folder again.
void TestProductDialogs::manager()
{
    m_manager->reject();
    store(Product{u"MyZip"_s, u"K"_s});
    m_manager->setActiveProductName(u"Zip"_s);
    QSignalSpy chosen(m_manager.get(), &ProductManagerDialog::productChosen);
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
    store(Product{u"AZip"_s});
    store(Product{u"Zip"_s, u"KZ"_s});
    m_manager->show();
    QCOMPARE(names(list), (QStringList{u"Alpha"_s, u"AZip"_s, u"Beta"_s, u"Zip"_s}));
    QCOMPARE(selected(list), u"Zip"_s);
    click(*m_manager, "okButton");
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toString(), u"Zip"_s);
    QCOMPARE(chosen[0][1].value<Product>(), (Product{u"Zip"_s, u"KZ"_s}));
}

// "Import PAD..." sets the boxes the file has values for and keeps the others as typed. A file that
// cannot be imported changes no box and is named in the status line; a good import clears the line.
void TestProductDialogs::importPad()
{
    ProductEditorDialog editor(path());
    QString chosen = u"gone.xml"_s;
    editor.setFileChooser([&](QWidget*) { return u"" FORMTIDE_TEST_DATA_DIR "/pad/"_s + chosen; });
    editor.startNew();
    editor.show();
    for (int i = 0; i < 5; ++i)
        type(editor, kBoxes[i], kTyped[i]);
    click(editor, "importButton");
    QCOMPARE(status(editor), u"\"gone.xml\" cannot be opened: No such file or directory."_s);
    chosen = u"first-entry.xml"_s;
    click(editor, "importButton");
    QStringList boxes;
    for (const char* name : kBoxes)
        boxes.append(box(editor, name)->text());
    QCOMPARE(boxes, (QStringList{u"Old"_s, u"Audio & Multimedia"_s, u"http://old"_s, u"77"_s, u"p0"_s}));
    QCOMPARE(status(editor), QString());
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
    ProductEditorDialog editor(path());
    QCOMPARE(editor.windowTitle(), u"Produktinformation"_s);
    QCOMPARE(editor.findChild<QLabel*>(u"nameLabel"_s)->text(), u"Programmname"_s);
    QCOMPARE(editor.findChild<QPushButton*>(u"cancelButton"_s)->text(), u"Cancel"_s);
#endif
}

QTEST_MAIN(TestProductDialogs)
#include "tst_productdialogs.moc"
