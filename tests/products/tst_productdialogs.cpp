#include "app/Module1.h"
#include "products/Form2.h"
#include "products/Form4.h"
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
    explicit EditorScript(std::function<void(Form4&)> script)
    {
        QTimer::singleShot(0, this, [this, script] {
            auto* editor = qobject_cast<Form4*>(QApplication::activeModalWidget());
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
    QListWidget& list() { return *form.List1(); }
    QStringList entries()
    {
        QStringList texts;
        for (int i = 0; i < list().count(); ++i)
            texts.append(list().item(i)->text());
        return texts;
    }
    QString selected()
    {
        return list().selectedItems().value(0) ? list().selectedItems()[0]->text() : u"-"_s;
    }
    void select(const QString& name)
    {
        QListWidgetItem* item = list().findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).value(0);
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().visualItemRect(item).center());
    }
    Form2 form;
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

QStringList withSuffix(QStringList names)
{
    for (QString& name : names)
        name += u".txt"_s;
    std::sort(names.begin(), names.end());
    return names;
}

QStringList infoFiles(const ProfileFolder& folder)
{
    QStringList files = QDir(folder.info()).entryList(QDir::Files);
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

class TestProductDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { Module1::ResetForTesting(); }
    void add_data();
    void add();
    void edit_data();
    void edit();
    void failedSave_data();
    void failedSave();
    void deleteSelection_data();
    void deleteSelection();
    void preselection_data();
    void preselection();
    void ok_data();
    void ok();
    void everyOpeningStartsAfresh();
    void nothingOpensOrCloses();
};

void TestProductDialogs::add_data()
{
    QTest::addColumn<bool>("three");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("only a name, no Info yet") << false << QStringList{u"Beta"_s};
    QTest::newRow("listed name: replaced, listed once")
        << true << QStringList{u"Alpha"_s, u"Beta"_s, u"Gamma"_s};
}

void TestProductDialogs::add()
{
    QFETCH(bool, three);
    QFETCH(QStringList, entries);
    ProfileFolder folder;
    if (three)
        writeThree(folder);
    Manager manager(folder.path());
    QCOMPARE(manager.form.focusWidget(), &manager.list());
    EditorScript script([](Form4& editor) {
        type(editor, "Text1", u"Beta"_s);
        click(editor, "Command1");
    });
    click(manager.form, "Command1");
    QVERIFY(script.opened && !script.stayedOpen);
    QCOMPARE(Module1::ProductEditMode, 2);
    QCOMPARE(folder.bytes(u"Beta.txt"_s),
             ProfileFolder::profile({u"Beta"_s, u"ENCODERS"_s, u"http://"_s, {}, {}}));
    QCOMPARE(manager.entries(), entries);
    QCOMPARE(manager.selected(), u"Beta"_s);
}

void TestProductDialogs::edit_data()
{
    QTest::addColumn<QString>("stored");   // Beta's stored keyword
    QTest::addColumn<QString>("newName");  // null: the name is left alone
    QTest::addColumn<QString>("category"); // null: the category is left alone
    QTest::addColumn<QString>("keyword");  // saved
    QTest::addColumn<QStringList>("entries");

    const QStringList three{u"Alpha"_s, u"Beta"_s, u"Gamma"_s};
    for (const char* kept : {"DVD", "TIME", "EDITOR", "LOG", "MATH", "CAD", "ENCODERS"})
        QTest::addRow("keeps %s", kept)
            << QString::fromLatin1(kept) << QString() << QString() << QString::fromLatin1(kept) << three;
    QTest::newRow("empty keyword") << QString() << QString() << QString() << u"ENCODERS"_s << three;
    QTest::newRow("keyword no entry holds") << u"dvd"_s << QString() << QString() << u"XML"_s << three;
    QTest::newRow("typed free category") << u"DVD"_s << QString() << u"Mine"_s << QString() << three;
    QTest::newRow("typed entry text") << u"DVD"_s << QString() << u"    Fax Tools"_s << u"FAX"_s << three;
    QTest::newRow("rename") << u"DVD"_s << u"Omega"_s << QString() << u"DVD"_s
                            << QStringList{u"Alpha"_s, u"Gamma"_s, u"Omega"_s};
    QTest::newRow("rename, sorted ignoring case")
        << u"DVD"_s << u"aa"_s << QString() << u"DVD"_s << QStringList{u"aa"_s, u"Alpha"_s, u"Gamma"_s};
    QTest::newRow("rename onto another product")
        << u"DVD"_s << u"Gamma"_s << QString() << u"DVD"_s << QStringList{u"Alpha"_s, u"Gamma"_s};
    QTest::newRow("rename, letter case only")
        << u"DVD"_s << u"BETA"_s << QString() << u"DVD"_s << QStringList{u"Alpha"_s, u"BETA"_s, u"Gamma"_s};
}

void TestProductDialogs::edit()
{
    QFETCH(QString, stored);
    QFETCH(QString, newName);
    QFETCH(QString, category);
    QFETCH(QString, keyword);
    QFETCH(QStringList, entries);

    ProfileFolder folder;
    writeThree(folder, stored);
    Manager manager(folder.path());
    manager.select(u"Beta"_s);
    EditorScript script([&](Form4& editor) {
        if (!newName.isNull())
            type(editor, "Text1", newName);
        if (!category.isNull()) {
            QLineEdit* box = editor.findChild<QComboBox*>(u"Combo1"_s)->lineEdit();
            box->selectAll();
            QTest::keyClicks(box, category);
        }
        click(editor, "Command1");
    });
    click(manager.form, "Command2");
    QVERIFY2(script.opened && !script.stayedOpen, qPrintable(script.message));
    QCOMPARE(Module1::ProductEditMode, 3);
    const QString name = newName.isNull() ? kBeta[0] : newName;
    QCOMPARE(folder.bytes(name + u".txt"_s),
             ProfileFolder::profile({name, keyword, kBeta[2], kBeta[3], kBeta[4]}));
    QCOMPARE(infoFiles(folder), withSuffix(entries));
    QCOMPARE(manager.entries(), entries);
    QCOMPARE(manager.selected(), name);
}

void TestProductDialogs::failedSave_data()
{
    QTest::addColumn<QString>("edited"); // null: adding
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("padUrl");
    // Tests may run as root, whom permission bits do not stop: the write faults that stop root are
    // a folder where the file goes and a file where Info goes; a read-only Info is tried where it
    // does stop the writer.
    QTest::newRow("empty name") << QString() << QString() << QString() << u"http://"_s;
    QTest::newRow("name with a separator") << QString() << QString() << u"../x"_s << u"http://"_s;
    QTest::newRow("Info is a file") << QString() << u"Info is a file"_s << u"New"_s << u"http://"_s;
    QTest::newRow("rename onto a folder") << u"Beta"_s << u"folder"_s << u"Blocked"_s << kBeta[2];
    QTest::newRow("rename, control character") << u"Beta"_s << QString() << u"Be\tta"_s << kBeta[2];
    QTest::newRow("field outside Windows-1252") << u"Beta"_s << QString() << u"Beta"_s << u"http://\u4e2d"_s;
    QTest::newRow("read-only Info") << u"Beta"_s << u"read-only"_s << u"Beta"_s << u"http://new"_s;
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
    if (fault == u"read-only") {
        QFile::setPermissions(folder.info(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(folder.info()).isWritable())
            QSKIP("permission bits do not stop this user");
    }
    const auto before = folder.snapshot();
    Manager manager(folder.path());
    const QStringList entries = manager.entries();
    if (!edited.isNull())
        manager.select(edited);
    EditorScript script([&](Form4& editor) {
        type(editor, "Text1", name);
        type(editor, "Text2", padUrl);
        click(editor, "Command1");
    });
    click(manager.form, edited.isNull() ? "Command1" : "Command2");
    QFile::setPermissions(folder.info(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(script.stayedOpen);
    QVERIFY(!script.message.isEmpty() && !script.message.contains(u'\n'));
    QCOMPARE(folder.snapshot(), before);
    QCOMPARE(manager.entries(), entries);
}

void TestProductDialogs::deleteSelection_data()
{
    QTest::addColumn<QStringList>("products");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<bool>("fileGone");
    QTest::addColumn<QString>("selected");
    const QStringList abc{u"A"_s, u"B"_s, u"C"_s};
    QTest::newRow("first") << abc << u"A"_s << false << u"B"_s;
    QTest::newRow("middle: its successor") << abc << u"B"_s << false << u"C"_s;
    QTest::newRow("last: the new last") << abc << u"C"_s << false << u"B"_s;
    QTest::newRow("only entry") << QStringList{u"A"_s} << u"A"_s << false << u"-"_s;
    QTest::newRow("file already gone") << abc << u"B"_s << true << u"C"_s;
}

void TestProductDialogs::deleteSelection()
{
    QFETCH(QStringList, products);
    QFETCH(QString, deleted);
    QFETCH(bool, fileGone);
    QFETCH(QString, selected);

    ProfileFolder folder;
    for (const QString& name : products)
        folder.write(name + u".txt"_s, {});
    Module1::ActiveProduct.ProgramName = deleted;
    Manager manager(folder.path());
    manager.select(deleted);
    if (fileGone)
        QFile::remove(folder.info() + u'/' + deleted + u".txt"_s);
    click(manager.form, "Command3");
    products.removeOne(deleted);
    QCOMPARE(manager.entries(), products);
    QCOMPARE(manager.selected(), selected);
    QCOMPARE(infoFiles(folder), withSuffix(products));
    QCOMPARE(Module1::ActiveProduct.ProgramName, deleted);
}

void TestProductDialogs::preselection_data()
{
    QTest::addColumn<QStringList>("products");
    QTest::addColumn<QString>("active");
    QTest::addColumn<QString>("selected");
    QTest::newRow("none confirmed yet") << QStringList{u"b"_s, u"a"_s} << QString() << u"a"_s;
    QTest::newRow("exact name first") << QStringList{u"AZip"_s, u"Zip"_s} << u"Zip"_s << u"Zip"_s;
    QTest::newRow("first containing") << QStringList{u"A"_s, u"MyZip"_s, u"Zip2"_s} << u"Zip"_s << u"MyZip"_s;
    QTest::newRow("letter case counts") << QStringList{u"A"_s, u"Zip"_s} << u"zip"_s << u"A"_s;
    QTest::newRow("empty list") << QStringList{} << u"Zip"_s << u"-"_s;
}

void TestProductDialogs::preselection()
{
    QFETCH(QStringList, products);
    QFETCH(QString, active);
    QFETCH(QString, selected);
    ProfileFolder folder;
    for (const QString& name : products)
        folder.write(name + u".txt"_s, {});
    Module1::ActiveProduct.ProgramName = active;
    Manager manager(folder.path());
    QCOMPARE(manager.selected(), selected);
}

void TestProductDialogs::ok_data()
{
    QTest::addColumn<QByteArray>("content"); // null: the file vanished after the listing
    QTest::addColumn<Product>("active");
    QTest::newRow("full profile") << ProfileFolder::profile({u"P"_s, u"FAX"_s, u"http://p"_s, u"v"_s, u"p"_s})
                                  << Product{u"P"_s, u"FAX"_s, u"http://p"_s, u"v"_s, u"p"_s};
    QTest::newRow("short file: empty values") << QByteArray("\"P\"\r\nx") << Product{u"P"_s, {}, {}, {}, {}};
    QTest::newRow("file vanished") << QByteArray()
                                   << Product{u"Old"_s, u"ART"_s, u"http://old"_s, u"o"_s, u"o"_s};
}

void TestProductDialogs::ok()
{
    QFETCH(QByteArray, content);
    QFETCH(Product, active);
    ProfileFolder folder;
    folder.write(u"P.txt"_s, content);
    Module1::ActiveProduct = Product{u"Old"_s, u"ART"_s, u"http://old"_s, u"o"_s, u"o"_s};
    Manager manager(folder.path());
    if (content.isNull())
        QFile::remove(folder.info() + u"/P.txt"_s);
    click(manager.form, "Command4");
    QVERIFY(!manager.form.isVisible());
    QCOMPARE(Module1::ActiveProduct, active);

    // Opening again reads the folder again; "OK" with an empty list keeps the active product.
    QDir(folder.info()).removeRecursively();
    manager.form.show();
    QCOMPARE(manager.entries(), QStringList{});
    click(manager.form, "Command4");
    QVERIFY(!manager.form.isVisible());
    QCOMPARE(Module1::ActiveProduct, active);
}

void TestProductDialogs::everyOpeningStartsAfresh()
{
    ProfileFolder folder;
    writeThree(folder);
    Manager manager(folder.path());
    manager.select(u"Beta"_s);
    EditorScript first([](Form4& editor) {
        type(editor, "Text3", u"typed"_s);
        click(editor, "Command2");
    });
    click(manager.form, "Command2");
    Form4* editor = manager.form.editor();
    QStringList shown;
    EditorScript second([&](Form4& e) {
        for (const char* box : {"Text1", "Text2", "Text3", "Text4"})
            shown.append(e.findChild<QLineEdit*>(QLatin1String(box))->text());
        shown.append(e.findChild<QComboBox*>(u"Combo1"_s)->currentText());
        shown.append(e.focusWidget()->objectName());
        click(e, "Command2");
    });
    click(manager.form, "Command1");
    QCOMPARE(manager.form.editor(), editor);
    QCOMPARE(shown, (QStringList{{}, u"http://"_s, {}, {}, u"Audio & Multimedia"_s, u"Command1"_s}));
    QCOMPARE(folder.bytes(u"Beta.txt"_s), ProfileFolder::profile(kBeta)); // "Cancel" saved nothing

    click(manager.form, "Command5");
    QFile::remove(folder.info() + u"/Alpha.txt"_s);
    folder.write(u"Delta.txt"_s, {});
    manager.form.show();
    QCOMPARE(manager.entries(), (QStringList{u"Beta"_s, u"Delta"_s, u"Gamma"_s}));
}

void TestProductDialogs::nothingOpensOrCloses()
{
    ProfileFolder folder;
    folder.write(u"P.txt"_s, ProfileFolder::profile({u"P"_s, {}, {}, {}, {}}));
    Manager manager(folder.path());
    // Escape and Enter close neither dialog.
    EditorScript keys([](Form4& editor) {
        QTest::keyClick(&editor, Qt::Key_Escape);
        QTest::keyClick(editor.findChild<QLineEdit*>(u"Text1"_s), Qt::Key_Return);
    });
    click(manager.form, "Command1");
    QVERIFY(keys.stayedOpen && keys.message.isEmpty());

    EditorScript none([](Form4&) {});
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(&manager.list(), key);
    QVERIFY(manager.form.isVisible());
    // "Edit..." opens nothing for a profile whose file is gone, nor for an empty list.
    QFile::remove(folder.info() + u"/P.txt"_s);
    click(manager.form, "Command2");
    click(manager.form, "Command3");
    click(manager.form, "Command2");
    QCoreApplication::processEvents();
    QVERIFY(!none.opened);
    QCOMPARE(manager.entries(), QStringList{});
}

QTEST_MAIN(TestProductDialogs)
#include "tst_productdialogs.moc"
