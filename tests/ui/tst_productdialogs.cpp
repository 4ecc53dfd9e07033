#include "products/ProductProfiles.h"
#include "tests/TestFiles.h"
#include "tests/ui/DialogDriver.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductManagerDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const char* const kBoxes[] = {"nameEdit", "categoryBox", "padUrlEdit", "vendorIdEdit", "productIdEdit"};
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

// The editor's five boxes and the first word of its status line.
QString shown(QWidget& editor)
{
    QStringList texts;
    for (const char* name : kBoxes)
        texts.append(box(editor, name)->text());
    auto* status = editor.findChild<QLabel*>(u"statusLine"_s);
    return (texts << (status->isHidden() ? QString() : status->text().section(u' ', 0, 0))).join(u'|');
}

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text() + (list->item(i)->isSelected() ? u"*"_s : QString()));
    return texts;
}

} // namespace

class TestProductDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void save_data();
    void save();
    void manager();
    void importPad();

private:
    QString path(const QString& name = {}) const { return m_dir->filePath(name); }
    void store(const Product& product) { QCOMPARE(ProductProfiles::save(path(), product), QString()); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

// "OK" in the editor saves the profile and lists it selected, and the manager reports a rename; or,
// when nothing can be saved, the editor stays open, says why in one line and leaves the folder and
// the list as they were.
void TestProductDialogs::save_data()
{
    QTest::addColumn<bool>("edit");        // "Edit..." on Beta, else "Add..."
    QTest::addColumn<QString>("name");     // typed; null: left alone
    QTest::addColumn<QString>("category"); // typed; null: left alone
    QTest::addColumn<QString>("keyword");  // saved; null: nothing saved
    QTest::addColumn<QString>("listed");   // afterwards, "*" marking the selected entry
    const auto row = [](const char* tag, bool edit, const char* name, const char* category,
                        const char* keyword, const char* listed = "Alpha Beta* Gamma") {
        QTest::newRow(tag) << edit << QString::fromUtf8(name) << QString::fromUtf8(category)
                           << QString::fromUtf8(keyword) << QString::fromUtf8(listed);
    };
    row("add a listed name: replaced, listed once", false, "Beta", nullptr, "ENCODERS");
    row("edit keeps a keyword an earlier entry holds", true, nullptr, nullptr, "DVD");
    row("typed free category", true, nullptr, "Mine", "");
    row("typed entry text", true, nullptr, "    Fax Tools", "FAX");
    row("rename, sorted ignoring case", true, "aa", nullptr, "DVD", "aa* Alpha Gamma");
    row("rename, letter case only", true, "BETA", nullptr, "DVD", "Alpha BETA* Gamma");
    row("empty name", false, "", nullptr, nullptr, "Alpha* Beta Gamma");
    row("Info is a file", false, "New", nullptr, nullptr, "");
    // The old file must stay when the new one cannot be written, though the old one could go.
    row("rename onto a folder", true, "Blocked", nullptr, nullptr);
}

void TestProductDialogs::save()
{
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QString, keyword);
    QFETCH(QString, listed);
    const QByteArrayView tag(QTest::currentDataTag());
    if (tag == "Info is a file")
        writeFile(path(u"Info"_s), {});
    else
        for (const Product& product :
             {Product{u"Alpha"_s, u"ART"_s, {}, {}, {}}, kBeta, Product{u"Gamma"_s, {}, {}, {}, {}}})
            store(product);
    if (tag == "rename onto a folder")
        QVERIFY(QDir(path()).mkpath(u"Info/Blocked.txt"_s));
    ProductManagerDialog manager(path());
    QSignalSpy renamed(&manager, &ProductManagerDialog::productRenamed);
    manager.show();
    const auto before = tree(path());
    if (edit)
        manager.productList()->setCurrentRow(1);
    QString status;
    whenShown<ProductEditorDialog>([&](ProductEditorDialog& editor) {
        if (!name.isNull())
            type(editor, "nameEdit", name);
        if (!category.isNull())
            type(editor, "categoryBox", category);
        click(editor, "okButton");
        status = editor.isVisible() ? shown(editor) : u"<closed>"_s;
        editor.reject();
    });
    click(manager, edit ? "editButton" : "addButton");
    QCOMPARE(entries(manager.productList()).join(u' '), listed);
    const bool rename = edit && !name.isNull() && !keyword.isNull();
    const QList<QVariantList> expectedRenames{{u"Beta"_s, name}};
    QCOMPARE(renamed, rename ? expectedRenames : QList<QVariantList>{});
    if (keyword.isNull()) {
        QVERIFY2(status.endsWith(u"|Nothing"_s), qPrintable(status));
        QCOMPARE(tree(path()), before);
        return;
    }
    QCOMPARE(status, u"<closed>"_s);
    Product expected = edit ? kBeta : Product{{}, {}, u"http://"_s, {}, {}};
    expected.programName = name.isNull() ? kBeta.programName : name;
    expected.categoryKeyword = keyword;
    QVERIFY(ProductProfiles::read(path(), expected.programName) == expected);
    QCOMPARE(ProductProfiles::list(path()).join(u' '), QString(listed).remove(u'*'));
}

// Opening selects the active product's entry or the first containing its name (see ProductList);
// Ctrl+click keeps the selection. "Delete" selects the entry that takes the deleted one's place.
// "OK" reports the selected profile, whole, as chosen; one that cannot be read any more reports
// nothing. Each opening reads the folder again.
void TestProductDialogs::manager()
{
    for (const QString& name : {u"A"_s, u"C"_s, u"MyZip"_s, u"Zip2"_s})
        store(Product{name, u"K"_s + name, {}, {}, {}});
    ProductManagerDialog manager(path());
    manager.setActiveProductName(u"Zip"_s);
    QSignalSpy chosen(&manager, &ProductManagerDialog::productChosen);
    manager.show();
    QListWidget* list = manager.productList();
    QCOMPARE(manager.focusWidget(), list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->currentItem()).center());
    QCOMPARE(entries(list).join(u' '), u"A C MyZip* Zip2"_s);
    click(manager, "deleteButton");
    QCOMPARE(entries(list).join(u' '), u"A C Zip2*"_s);
    click(manager, "deleteButton");
    QCOMPARE(entries(list).join(u' '), u"A C*"_s);
    QCOMPARE(ProductProfiles::list(path()), (QStringList{u"A"_s, u"C"_s}));
    QFile::remove(path(u"Info/C.txt"_s));
    click(manager, "okButton");
    QVERIFY(!manager.isVisible() && chosen.isEmpty());
    manager.show();
    QCOMPARE(entries(list).join(u' '), u"A*"_s);
    click(manager, "okButton");
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toString(), u"A"_s);
    QVERIFY(chosen[0][1].value<Product>() == (Product{u"A"_s, u"KA"_s, {}, {}, {}}));
}

// "Import PAD..." sets the boxes the file has values for and keeps the others as typed. A file
// that cannot be imported changes no box and is named in the status line; a good import clears
// the line, and so does the next opening.
void TestProductDialogs::importPad()
{
    ProductEditorDialog editor(path());
    QString chosen;
    editor.setFileChooser([&](QWidget*) { return chosen; });
    editor.startNew();
    editor.show();
    for (int i = 0; i < 5; ++i)
        type(editor, kBoxes[i], QStringList{u"Old"_s, u"Mine"_s, u"http://old"_s, u"v0"_s, u"p0"_s}[i]);
    const QString pad = u"" FORMTIDE_TEST_DATA_DIR "/pad/"_s;
    const QString gone = path(u"gone.xml"_s);
    QStringList seen;
    for (const QString& file :
         QStringList{{}, gone, pad + u"no-category.xml"_s, pad + u"first-entry.xml"_s, gone}) {
        chosen = file;
        click(editor, "importButton");
        seen.append(shown(editor));
    }
    QCOMPARE(seen, (QStringList{u"Old|Mine|http://old|v0|p0|"_s, u"Old|Mine|http://old|v0|p0|\"gone.xml\""_s,
                                u"Nowhere Mapper|Mine|http://old|v0|p0|"_s,
                                u"Nowhere Mapper|Audio & Multimedia|http://old|77|p0|"_s,
                                u"Nowhere Mapper|Audio & Multimedia|http://old|77|p0|\"gone.xml\""_s}));
    editor.startNew();
    QVERIFY(shown(editor).endsWith(u'|'));
}

QTEST_MAIN(TestProductDialogs)
#include "tst_productdialogs.moc"
