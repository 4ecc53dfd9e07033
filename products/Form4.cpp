#include "products/Form4.h"

#include "app/Module1.h"
#include "app/Twips.h"
#include "products/CategoryCatalogue.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"
#include "ui/FixedDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, bool twoLines)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setWordWrap(twoLines);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* addTextBox(QWidget* parent, const char* name, QRect geometry)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    // Neither button is the default: Enter presses nothing.
    button->setAutoDefault(false);
    return button;
}

QString choosePadFile(QWidget* parent)
{
    // Qt's own dialog: a desktop's native one would record the file in the user's recent files.
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Import PAD"), QString(),
                                        QStringLiteral("PAD files (*.xml);;All files (*)"), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

} // namespace

Form4::Form4(QString appFolder, QWidget* parent)
    : QDialog(parent, FixedDialog::Flags), m_appFolder(std::move(appFolder)), m_chooseFile(choosePadFile)
{
    FixedDialog::setUp(*this, "Form4", QStringLiteral("Product Information"), 5520, 3075);

    m_command1 = addButton(this, "Command1", QStringLiteral("OK"), Twips::rect(1260, 2520, 1095, 315));
    m_command2 = addButton(this, "Command2", QStringLiteral("Cancel"), Twips::rect(3120, 2520, 1035, 315));
    addLabel(this, "Label1", QStringLiteral("Program Name"), Twips::rect(180, 120, 795, 375), true);
    m_text1 = addTextBox(this, "Text1", Twips::rect(1140, 180, 4155, 315));
    addLabel(this, "Label2", QStringLiteral("PAD URL"), Twips::rect(180, 1080, 735, 195), false);
    m_text2 = addTextBox(this, "Text2", Twips::rect(1140, 1020, 4155, 315));
    addLabel(this, "Label3", QStringLiteral("Regnow Vender ID"), Twips::rect(180, 1380, 795, 375), true);
    m_text3 = addTextBox(this, "Text3", Twips::rect(1140, 1440, 4155, 315));
    addLabel(this, "Label4", QStringLiteral("Regnow Product ID"), Twips::rect(180, 1800, 795, 375), true);
    m_text4 = addTextBox(this, "Text4", Twips::rect(1140, 1860, 4155, 315));
    addLabel(this, "Label5", QStringLiteral("Category"), Twips::rect(180, 660, 855, 255), false);
    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setGeometry(Twips::rect(1140, 600, 3375, 315));
    m_combo1->setEditable(true);
    m_combo1->setInsertPolicy(QComboBox::NoInsert);
    // Typed text stays the user's own: no completion turns it into an entry.
    m_combo1->setCompleter(nullptr);
    m_combo1->setMaxVisibleItems(16);

    m_cmdImportPad =
        addButton(this, "cmdImportPad", QStringLiteral("Import PAD..."), Twips::rect(180, 2520, 975, 315));

    // Why a save or an import failed, in the gap between the fields and the buttons. (It kept its
    // first name, from when saving was all it told about.)
    m_status = addLabel(this, "lblNotSaved", QString(), Twips::rect(180, 2235, 5160, 255), false);
    m_status->setTextFormat(Qt::PlainText);

    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_text1);
    setTabOrder(m_text1, m_text2);
    setTabOrder(m_text2, m_text3);
    setTabOrder(m_text3, m_text4);
    setTabOrder(m_text4, m_combo1);
    setTabOrder(m_combo1, m_cmdImportPad);

    connect(m_command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(m_cmdImportPad, &QPushButton::clicked, this, &Form4::cmdImportPad_Click);

    Form_Load();
}

void Form4::Form_Load()
{
    m_editedName.clear();
    m_combo1->clear();
    m_combo1->addItems(CategoryCatalogue::entries());
    m_combo1->setCurrentIndex(0);
    m_text1->clear();
    m_text2->setText(QStringLiteral("http://"));
    m_text3->clear();
    m_text4->clear();
    showStatus(QString());
    m_command1->setFocus();
}

void Form4::editProfile(const QString& listedName, const Product& stored)
{
    m_editedName = listedName;
    m_text1->setText(stored.ProgramName);
    m_text2->setText(stored.PadUrl);
    m_text3->setText(stored.RegnowVendorId);
    m_text4->setText(stored.RegnowProductId);
    m_combo1->setCurrentIndex(CategoryCatalogue::entryForKeyword(stored.CategoryKeyword));
}

int Form4::categoryIndex() const
{
    // Typing an entry's exact text chooses that entry, as picking it from the list would.
    const QString text = m_combo1->currentText();
    const int index = m_combo1->currentIndex();
    if (index >= 0 && text == m_combo1->itemText(index))
        return index;
    return m_combo1->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

Product Form4::enteredProduct() const
{
    return Product{m_text1->text(), CategoryCatalogue::keyword(categoryIndex()), m_text2->text(),
                   m_text3->text(), m_text4->text()};
}

void Form4::Command1_Click()
{
    const Product product = enteredProduct();
    if (const QString problem = ProductProfiles::save(m_appFolder, product); !problem.isEmpty()) {
        showStatus(problem);
        return;
    }
    if (Module1::ProductEditMode == 2) {
        Q_EMIT profileSaved(product.ProgramName, QString());
    } else if (Module1::ProductEditMode == 3 && !m_editedName.isEmpty()) {
        // Only now that the new file is safely written may the old one go.
        QString replaced;
        if (m_editedName != product.ProgramName) {
            ProductProfiles::removeRenamed(m_appFolder, m_editedName, product.ProgramName);
            replaced = m_editedName;
        }
        Q_EMIT profileSaved(product.ProgramName, replaced);
    }
    accept();
}

void Form4::Command2_Click()
{
    reject();
}

void Form4::setFileChooser(FileChooser chooser)
{
    m_chooseFile = chooser ? std::move(chooser) : FileChooser(choosePadFile);
}

void Form4::cmdImportPad_Click()
{
    const QString path = m_chooseFile(this);
    if (path.isEmpty())
        return;
    const PadFile::Result result = PadFile::readFile(path);
    if (!result.ok()) {
        showStatus(result.problem);
        return;
    }
    const PadFile::Values& values = result.values;
    if (values.programName)
        m_text1->setText(*values.programName);
    if (values.categoryPosition)
        m_combo1->setCurrentIndex(*values.categoryPosition);
    if (values.padUrl)
        m_text2->setText(*values.padUrl);
    if (values.regnowVendorId)
        m_text3->setText(*values.regnowVendorId);
    if (values.regnowProductId)
        m_text4->setText(*values.regnowProductId);
    showStatus(QString());
}

void Form4::showStatus(const QString& line)
{
    m_status->setText(m_status->fontMetrics().elidedText(line, Qt::ElideRight, m_status->width()));
    m_status->setToolTip(line);
    m_status->setVisible(!line.isEmpty());
}

void Form4::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the editor; only its buttons and its close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
