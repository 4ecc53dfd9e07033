
#include "ui/ProductEditorDialog.h"
#include "tests/products/ProfileFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {
// Name, category, PAD URL, Regnow vendor and product ID: what the user has typed before importing.
const QStringList kTyped{u"Old"_s, u"Mine"_s, u"http://old"_s, u"v0"_s, u"p0"_s};

QString fixture(const char* file)
{
    return QLatin1StringView(FORMTIDE_TEST_DATA_DIR "/pad/") + QLatin1StringView(file);
}
} // namespace

class TestPadImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        Module1::ResetForTesting();
        Module1::ProductEditMode = 2;
        QDir(m_folder.info()).removeRecursively();
        m_editor.setFileChooser([this](QWidget*) { return m_chosen; });
        open(kTyped);
    }
    void importThenOk_data();
    void importThenOk();
    void refused_data();
    void refused();
    void tabOrderAndPlaces();

private:
    // The boxes in the order of kTyped.
    QLineEdit* box(int i) const
    {
        auto* combo = m_editor.findChild<QComboBox*>(u"Combo1"_s);
        return i == 1 ? combo->lineEdit() : m_editor.findChild<QLineEdit*>(u"Text%1"_s.arg(i == 0 ? 1 : i));
    }
    // Opens the editor afresh and types `values` into the boxes, as if pasted.
    void open(const QStringList& values)
    {
        m_editor.Form_Load();
        m_editor.show();
        for (int i = 0; i < 5; ++i) {
            box(i)->selectAll();
            box(i)->insert(values[i]);
        }
    }
    QStringList shown() const
    {
        QStringList values;
        for (int i = 0; i < 5; ++i)
            values.append(box(i)->text());
        return values;
    }
    void click(const char* button)
    {
        QTest::mouseClick(m_editor.findChild<QPushButton*>(QLatin1StringView(button)), Qt::LeftButton);
    }
    QString status() const
    {
        const auto* label = m_editor.findChild<QLabel*>(u"lblNotSaved"_s);
        return label->isHidden() ? QString() : label->text();
    }
    // The saved profile of `name`, removed.
    QByteArray takeSaved(const QString& name)
    {
        const QByteArray bytes = m_folder.bytes(name);
        QFile::remove(m_folder.info() + u'/' + name + u".txt"_s);
        return bytes;
    }

    ProfileFolder m_folder;
    QString m_chosen;
    ProductEditorDialog m_editor{m_folder.path()};
};

void TestPadImport::importThenOk_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("boxes"); // after the import
    QTest::newRow("3.11") << fixture("pad311.xml")
                          << QStringList{u"Tidy Zip"_s, u"    File Compression"_s,
                                         u"http://tidewater.example/zip/pad.xml"_s, u"1234"_s, u"1234-5"_s};
    QTest::newRow("4.0, Windows-1252, no Regnow IDs")
        << fixture("pad40.xml")
        << QStringList{u"Caf\u00e9 Planner \u20ac"_s, u"Games & Entertainment"_s,
                       u"http://cafe.example/pad.xml?a=1&b=2"_s, kTyped[3], kTyped[4]};
    // Typed text stands over entry 0 until the import selects that entry.
    QTest::newRow("first entry over typed text")
        << fixture("first-entry.xml")
        << QStringList{kTyped[0], u"Audio & Multimedia"_s, kTyped[2], u"77"_s, kTyped[4]};
    QTest::newRow("category matching nothing")
        << fixture("no-category.xml")
        << QStringList{u"Nowhere Mapper"_s, kTyped[1], kTyped[2], kTyped[3], kTyped[4]};
}

// Importing and then pressing "OK" saves exactly the profile that typing the same values saves.
void TestPadImport::importThenOk()
{
    QFETCH(QString, file);
    QFETCH(QStringList, boxes);
    m_chosen = file;
    click("cmdImportPad");
    QCOMPARE(shown(), boxes);
    QCOMPARE(status(), QString());
    click("Command1");
    QVERIFY(!m_editor.isVisible());
    const QByteArray imported = takeSaved(boxes[0]);
    open(boxes);
    click("Command1");
    QCOMPARE(imported, takeSaved(boxes[0]));
    QVERIFY(imported.startsWith('"'));
}

// Every reason a file is refused takes the same way through the editor (see tst_padfile).
void TestPadImport::refused_data()
{
    QTest::addColumn<QByteArray>("content"); // null: `chosen` is no file
    QTest::addColumn<QString>("chosen");
    QTest::newRow("bare ampersand") << QByteArray(
                                           "<XML_DIZ_INFO><Program_Info><Program_Name>A & B</Program_Name>"
                                           "</Program_Info></XML_DIZ_INFO>")
                                    << u"a.xml"_s;
    QTest::newRow("missing file") << QByteArray() << u"gone.xml"_s;
    QTest::newRow("nothing chosen") << QByteArray() << QString();
}

// A refused file changes no box and is named in the status line; a good import clears that line,
// "Cancel" then saves nothing, and the next opening starts with an empty line.
void TestPadImport::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, chosen);
    QFile file(m_folder.path() + u'/' + chosen);
    QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()));
    file.close();
    m_chosen = chosen.isNull() ? chosen : file.fileName();
    click("cmdImportPad");
    QCOMPARE(shown(), kTyped);
    QCOMPARE(status().isEmpty(), chosen.isNull());
    QVERIFY(chosen.isNull() || status().startsWith(u'"' + chosen + u'"'));

    m_chosen = fixture("pad311.xml");
    click("cmdImportPad");
    QCOMPARE(shown()[0], u"Tidy Zip"_s);
    QCOMPARE(status(), QString());
    click("Command2");
    QVERIFY(!m_editor.isVisible());
    QVERIFY(!QDir(m_folder.info()).exists());

    m_chosen = m_folder.path() + u"/gone.xml"_s;
    click("cmdImportPad");
    QVERIFY(!status().isEmpty());
    m_editor.Form_Load();
    QCOMPARE(status(), QString());
}

void TestPadImport::tabOrderAndPlaces()
{
    m_editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_editor));
    m_editor.findChild<QWidget*>(u"Command1"_s)->setFocus();
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        QWidget* focus = QApplication::focusWidget();
        order.append(focus->objectName().isEmpty() ? focus->parentWidget()->objectName()
                                                   : focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{u"Command1"_s, u"Command2"_s, u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s,
                                 u"Combo1"_s, u"cmdImportPad"_s, u"Command1"_s}));

    // Every control lies inside the window and clear of every other.
    const QList<QWidget*> controls = m_editor.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : controls) {
        QVERIFY2(m_editor.rect().contains(a->geometry()), qPrintable(a->objectName()));
        for (QWidget* b : controls)
            QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + u" overlaps "_s + b->objectName()));
    }
}

QTEST_MAIN(TestPadImport)
#include "tst_padimport.moc"
