
#include "ui/ProductManagerDialog.h"
#include "ui/ProductEditorDialog.h"
#include "tests/ReadOnlyFolder.h"
#include "tests/products/ProfileFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

void click(QWidget& dialog, const char* button)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

void type(QWidget& dialog, const char* box, const QString& text)
{
    auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(box));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Key clicks carry printable ASCII only; anything else arrives as if pasted.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u' ' && c.unicode() < 0x7f; }))
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
}

// Runs a script on the editor as soon as a handler shows it modally; an editor the script leaves
// open is recorded with its message and cancelled, so no test hangs on it.
class EditorScript : public QObject {
public:
    explicit EditorScript(std::function<void(ProductEditorDialog&)> script)
    {
        QTimer::singleShot(0, this, [this, script] {
            auto* editor = qobject_cast<ProductEditorDialog*>(QApplication::activeModalWidget());
            if (!editor)
                return;
            opened = true;
            script(*editor);
            if ((stayedOpen = editor->isVisible())) {
                message = editor->findChild<QLabel*>(u"lblNotSaved"_s)->text();
                click(*editor, "Command2");
            }
        });
    }
    bool opened = false;
    bool stayedOpen = false;
    QString message;
};

// The product manager on screen over a folder.
struct Manager {
    explicit Manager(const QString& folder) : form(folder) { form.show(); }
    QListWidget& list() { return *form.siteList(); }
    QStringList entries()
    {
        QStringList texts;
        for (int i = 0; i < list().count(); ++i)
            texts.append(list().item(i)->text());
        return texts;
    }
    QString selected()
    {
        return list().selectedItems().isEmpty() ? u"-"_s : list().selectedItems()[0]->text();
    }
    void select(const QString& name)
    {
        QListWidgetItem* item = list().findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).value(0);
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().visualItemRect(item).center());
    }
    ProductManagerDialog form;
};

const QStringList kBeta{u"Beta"_s, u"DVD"_s, u"http://b"_s, u"v2"_s, u"p2"_s};

// Alpha, Beta (stored keyword `betaKeyword`) and Gamma.
void writeThree(const ProfileFolder& folder, const QString& betaKeyword = kBeta[1])
{
    folder.write(u"Alpha.txt"_s, ProfileFolder::profile({u"Alpha"_s, u"ART"_s, {}, {}, {}}));
    folder.write(u"Beta.txt"_s,
                 ProfileFolder::profile({kBeta[0], betaKeyword, kBeta[2], kBeta[3], kBeta[4]}));
    folder.write(u"Gamma.txt"_s, ProfileFolder::profile({u"Gamma"_s, u"XML"_s, {}, {}, {}}));
}

} // namespace

class TestProductDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { Module1::ResetForTesting(); }
    void save_data();
    void save();
    void failedSave_data();
    void failedSave();
    void manager_data();
    void manager();
    void reopeningAndKeys();
};

void TestProductDialogs::save_data()
{
    QTest::addColumn<QString>("stored");   // Beta's stored keyword; null: no Info folder
    QTest::addColumn<bool>("edit");        // "Edit..." on Beta, else "Add..."
    QTest::addColumn<QString>("name");     // typed; null: left alone
    QTest::addColumn<QString>("category"); // typed; null: left alone
    QTest::addColumn<QString>("keyword");  // saved
    QTest::addColumn<QStringList>("entries");
    const auto row = [](const QByteArray& tag, const char* stored, bool edit, const char* name,
                        const char* category, const char* keyword, const char* entries = "Alpha Beta Gamma") {
        QTest::newRow(tag.constData())
            << QString::fromUtf8(stored) << edit << QString::fromUtf8(name) << QString::fromUtf8(category)
            << QString::fromUtf8(keyword) << QString::fromUtf8(entries).split(u' ');
    };
    row("add only a name, no Info yet", nullptr, false, "Beta", nullptr, "ENCODERS", "Beta");
    row("add a listed name: replaced, listed once", "DVD", false, "Beta", nullptr, "ENCODERS");
    for (const char* kept : {"DVD", "TIME", "CREATION", "SAVERS", "HELP", "SCIENCE", "EDITOR", "CATALOG",
                             "FINANCE", "LOG", "MATH", "CAD", "ENCODERS"})
        row("keeps " + QByteArray(kept), kept, true, nullptr, nullptr, kept);
    row("empty keyword", "", true, nullptr, nullptr, "ENCODERS");
    row("keyword no entry holds", "dvd", true, nullptr, nullptr, "XML");
    row("typed free category", "DVD", true, nullptr, "Mine", "");
    row("typed entry text", "DVD", true, nullptr, "    Fax Tools", "FAX");
    row("rename, sorted ignoring case", "DVD", true, "aa", nullptr, "DVD", "aa Alpha Gamma");
    row("rename onto another product", "DVD", true, "Gamma", nullptr, "DVD", "Alpha Gamma");
    row("rename, letter case only", "DVD", true, "BETA", nullptr, "DVD", "Alpha BETA Gamma");
}

void TestProductDialogs::save()
{
    QFETCH(QString, stored);
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QString, keyword);
    QFETCH(QStringList, entries);

    ProfileFolder folder;
    if (!stored.isNull())
        writeThree(folder, stored);
    Manager manager(folder.path());
    if (edit)
        manager.select(kBeta[0]);
    EditorScript script([&](ProductEditorDialog& editor) {
        if (!name.isNull())
            type(editor, "Text1", name);
        if (!category.isNull()) {
            QLineEdit* box = editor.findChild<QComboBox*>(u"Combo1"_s)->lineEdit();
            box->selectAll();
            QTest::keyClicks(box, category);
        }
        click(editor, "Command1");
    });
    click(manager.form, edit ? "Command2" : "Command1");
    QVERIFY2(script.opened && !script.stayedOpen, qPrintable(script.message));
    QCOMPARE(Module1::ProductEditMode, edit ? 3 : 2);
    const QString saved = name.isNull() ? kBeta[0] : name;
    QCOMPARE(folder.bytes(saved),
             ProfileFolder::profile(edit ? QStringList{saved, keyword, kBeta[2], kBeta[3], kBeta[4]}
                                         : QStringList{saved, keyword, u"http://"_s, {}, {}}));
    QCOMPARE(folder.names(), entries);
    QCOMPARE(manager.entries(), entries);
    QCOMPARE(manager.selected(), saved);
}

void TestProductDialogs::failedSave_data()
{
    QTest::addColumn<QString>("edited"); // null: adding
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("padUrl");
    const auto row = [](const char* tag, const char* edited, const char* fault, const char* name,
                        const char* url) {
        QTest::newRow(tag) << QString::fromUtf8(edited) << QString::fromUtf8(fault) << QString::fromUtf8(name)
                           << QString::fromUtf8(url);
    };
    row("empty name", nullptr, nullptr, "", "http://");
    row("name with a separator", nullptr, nullptr, "../x", "http://");
    row("name \".\"", nullptr, nullptr, ".", "http://");
    row("Info is a file", nullptr, "Info is a file", "New", "http://");
    // The old file must stay when the new one cannot be written though the old one could go.
    row("rename onto a folder", "Beta", "folder", "Blocked", "http://b");
    row("rename, control character", "Beta", nullptr, "Be\tta", "http://b");
    row("field outside Windows-1252", "Beta", nullptr, "Beta", "http://\u4e2d");
    row("read-only Info", "Beta", "read-only", "Beta", "http://new");
}

void TestProductDialogs::failedSave()
{
    QFETCH(QString, edited);
    QFETCH(QString, fault);
    QFETCH(QString, name);
    QFETCH(QString, padUrl);

    ProfileFolder folder;
    QFile infoFile(folder.info());
    if (fault == u"Info is a file")
        QVERIFY(infoFile.open(QIODevice::WriteOnly));
    else
        writeThree(folder);
    if (fault == u"folder")
        QDir(folder.info()).mkdir(name + u".txt"_s);
    const auto before = folder.snapshot();
    std::optional<ReadOnlyFolder> readOnly;
    if (fault == u"read-only")
        readOnly.emplace(folder.info());
    Manager manager(folder.path());
    const QStringList entries = manager.entries();
    if (!edited.isNull())
        manager.select(edited);
    EditorScript script([&](ProductEditorDialog& editor) {
        type(editor, "Text1", name);
        type(editor, "Text2", padUrl);
        click(editor, "Command1");
    });
    click(manager.form, edited.isNull() ? "Command1" : "Command2");
    readOnly.reset();
    QVERIFY(script.stayedOpen);
    QVERIFY(!script.message.isEmpty() && !script.message.contains(u'\n'));
    QCOMPARE(folder.snapshot(), before);
    QCOMPARE(manager.entries(), entries);
}

// Each product's file holds its name and keyword K<name> only; the active product was Old.
void TestProductDialogs::manager_data()
{
    QTest::addColumn<QStringList>("products");
    QTest::addColumn<QString>("active");   // Old's programName
    QTest::addColumn<QString>("gone");     // a file removed once the list is shown
    QTest::addColumn<QString>("deleted");  // null: nothing deleted
    QTest::addColumn<QString>("selected"); // "-": nothing; "OK" then makes it the active product
    const auto row = [](const char* tag, const char* products, const char* active, const char* gone,
                        const char* deleted, const char* selected) {
        QTest::newRow(tag) << QString::fromUtf8(products).split(u' ', Qt::SkipEmptyParts)
                           << QString::fromUtf8(active) << QString::fromUtf8(gone)
                           << QString::fromUtf8(deleted) << QString::fromUtf8(selected);
    };
    row("none confirmed yet", "b a", nullptr, nullptr, nullptr, "a");
    row("exact name first", "AZip Zip", "Zip", nullptr, nullptr, "Zip");
    row("first containing", "A MyZip Zip2", "Zip", nullptr, nullptr, "MyZip");
    row("letter case counts", "A Zip", "zip", nullptr, nullptr, "A");
    row("empty list", "", "Zip", nullptr, nullptr, "-");
    row("selected file vanished", "Zip2", "Zip", "Zip2", nullptr, "Zip2");
    // "Delete" selects the successor, else the new last entry, and leaves the active product.
    row("delete middle", "A B C", "B", nullptr, "B", "C");
    row("delete last", "A B C", "C", nullptr, "C", "B");
    row("delete only entry", "A", "A", nullptr, "A", "-");
    row("delete, file already gone", "A B C", "B", "B", "B", "C");
}

void TestProductDialogs::manager()
{
    QFETCH(QStringList, products);
    QFETCH(QString, active);
    QFETCH(QString, gone);
    QFETCH(QString, deleted);
    QFETCH(QString, selected);
    ProfileFolder folder;
    for (const QString& name : products)
        folder.write(name + u".txt"_s, ProfileFolder::profile({name, u"K"_s + name}));
    const Product old{active, u"ART"_s, u"http://old"_s, u"o"_s, u"o"_s};
    Module1::ActiveProduct = old;
    Manager manager(folder.path());
    QCOMPARE(manager.form.focusWidget(), &manager.list());
    QFile::remove(folder.info() + u'/' + gone + u".txt"_s);
    if (!deleted.isNull()) {
        manager.select(deleted);
        click(manager.form, "Command3");
        products.removeOne(deleted);
        QCOMPARE(Module1::ActiveProduct, old);
    }
    QCOMPARE(manager.selected(), selected);
    std::sort(products.begin(), products.end());
    QCOMPARE(manager.entries(), products);
    products.removeOne(gone);
    QCOMPARE(folder.names(), products);
    // "OK" takes the selected profile, short as it is, whole; with nothing to read it keeps Old.
    click(manager.form, "Command4");
    QVERIFY(!manager.form.isVisible());
    const Product confirmed{selected, u"K"_s + selected, {}, {}, {}};
    QCOMPARE(Module1::ActiveProduct, products.contains(selected) ? confirmed : old);
}

// The editor is made once and every opening starts afresh; the manager reads the folder on every
// opening. Escape and Enter close neither dialog; "Edit..." opens nothing without a readable profile.
void TestProductDialogs::reopeningAndKeys()
{
    ProfileFolder folder;
    writeThree(folder);
    Manager manager(folder.path());
    manager.select(u"Beta"_s);
    EditorScript first([](ProductEditorDialog& editor) {
        type(editor, "Text3", u"typed"_s);
        QTest::keyClick(&editor, Qt::Key_Escape);
        QTest::keyClick(editor.findChild<QLineEdit*>(u"Text1"_s), Qt::Key_Return);
    });
    click(manager.form, "Command2");
    QVERIFY(first.stayedOpen && first.message.isEmpty());
    ProductEditorDialog* editor = manager.form.editor();
    QStringList shown;
    EditorScript second([&](ProductEditorDialog& e) {
        for (const char* box : {"Text1", "Text2", "Text3", "Text4"})
            shown.append(e.findChild<QLineEdit*>(QLatin1String(box))->text());
        shown << e.findChild<QComboBox*>(u"Combo1"_s)->currentText() << e.focusWidget()->objectName();
        click(e, "Command2");
    });
    click(manager.form, "Command1");
    QCOMPARE(manager.form.editor(), editor);
    QCOMPARE(shown, (QStringList{{}, u"http://"_s, {}, {}, u"Audio & Multimedia"_s, u"Command1"_s}));
    QCOMPARE(folder.bytes(u"Beta"_s), ProfileFolder::profile(kBeta)); // "Cancel" saved nothing

    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(&manager.list(), key);
    QVERIFY(manager.form.isVisible());
    click(manager.form, "Command5");
    QFile::remove(folder.info() + u"/Alpha.txt"_s);
    QFile::remove(folder.info() + u"/Gamma.txt"_s);
    manager.form.show();
    QCOMPARE(manager.entries(), QStringList{u"Beta"_s});
    EditorScript none([](ProductEditorDialog&) {});
    QFile::remove(folder.info() + u"/Beta.txt"_s);
    click(manager.form, "Command2");
    click(manager.form, "Command3");
    click(manager.form, "Command2");
    QCoreApplication::processEvents();
    QVERIFY(!none.opened);
    QCOMPARE(manager.entries(), QStringList{});
}

QTEST_MAIN(TestProductDialogs)
#include "tst_productdialogs.moc"
