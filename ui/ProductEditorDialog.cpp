#include "ui/ProductEditorDialog.h"

#include "products/CategoryCatalogue.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"
#include "ui/ProductText.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
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
    return QFileDialog::getOpenFileName(parent, ProductEditorDialog::tr("Import PAD"), QString(),
                                        ProductEditorDialog::tr("PAD files (*.xml);;All files (*)"), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

} // namespace

ProductEditorDialog::ProductEditorDialog(QString dataFolder, QWidget* parent)
    : FixedDialog(parent, "productEditor", tr("Product Information"), 5520, 3075),
      m_dataFolder(std::move(dataFolder)), m_chooseFile(choosePadFile)
{
    m_okButton = addButton(this, "okButton", tr("OK"), Twips::rect(1260, 2520, 1095, 315));
    m_cancelButton = addButton(this, "cancelButton", tr("Cancel"), Twips::rect(3120, 2520, 1035, 315));
    const auto label = [](ProductField field) { return ProductText::fieldLabel(field); };
    addLabel(this, "nameLabel", label(ProductField::ProgramName), Twips::rect(180, 120, 795, 375), true);
    m_nameEdit = addTextBox(this, "nameEdit", Twips::rect(1140, 180, 4155, 315));
    addLabel(this, "padUrlLabel", label(ProductField::PadUrl), Twips::rect(180, 1080, 735, 195), false);
    m_padUrlEdit = addTextBox(this, "padUrlEdit", Twips::rect(1140, 1020, 4155, 315));
    addLabel(this, "vendorIdLabel", label(ProductField::RegnowVendorId), Twips::rect(180, 1380, 795, 375),
             true);
    m_vendorIdEdit = addTextBox(this, "vendorIdEdit", Twips::rect(1140, 1440, 4155, 315));
    addLabel(this, "productIdLabel", label(ProductField::RegnowProductId), Twips::rect(180, 1800, 795, 375),
             true);
    m_productIdEdit = addTextBox(this, "productIdEdit", Twips::rect(1140, 1860, 4155, 315));
    addLabel(this, "categoryLabel", label(ProductField::Category), Twips::rect(180, 660, 855, 255), false);
    m_categoryBox = new QComboBox(this);
    m_categoryBox->setObjectName(QStringLiteral("categoryBox"));
    m_categoryBox->setGeometry(Twips::rect(1140, 600, 3375, 315));
    m_categoryBox->setEditable(true);
    m_categoryBox->setInsertPolicy(QComboBox::NoInsert);
    // Typed text stays the user's own: no completion turns it into an entry.
    m_categoryBox->setCompleter(nullptr);
    m_categoryBox->setMaxVisibleItems(16);

    m_importButton = addButton(this, "importButton", tr("Import PAD..."), Twips::rect(180, 2520, 975, 315));

    // Why a save or an import failed, in the gap between the fields and the buttons.
    addStatusLine("statusLine", Twips::rect(180, 2235, 5160, 255))
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setTabOrder(m_okButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_nameEdit);
    setTabOrder(m_nameEdit, m_padUrlEdit);
    setTabOrder(m_padUrlEdit, m_vendorIdEdit);
    setTabOrder(m_vendorIdEdit, m_productIdEdit);
    setTabOrder(m_productIdEdit, m_categoryBox);
    setTabOrder(m_categoryBox, m_importButton);

    connect(m_okButton, &QPushButton::clicked, this, &ProductEditorDialog::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &ProductEditorDialog::reject);
    connect(m_importButton, &QPushButton::clicked, this, &ProductEditorDialog::importPad);

    startNew();
}

void ProductEditorDialog::startNew()
{
    m_editedName.clear();
    m_categoryBox->clear();
    m_categoryBox->addItems(CategoryCatalogue::entries());
    m_categoryBox->setCurrentIndex(0);
    m_nameEdit->clear();
    m_padUrlEdit->setText(QStringLiteral("http://"));
    m_vendorIdEdit->clear();
    m_productIdEdit->clear();
    showStatus(QString());
    m_okButton->setFocus();
}

void ProductEditorDialog::startEditing(const QString& listedName, const Product& stored)
{
    startNew();
    m_editedName = listedName;
    m_nameEdit->setText(stored.programName);
    m_padUrlEdit->setText(stored.padUrl);
    m_vendorIdEdit->setText(stored.regnowVendorId);
    m_productIdEdit->setText(stored.regnowProductId);
    m_categoryBox->setCurrentIndex(CategoryCatalogue::entryForKeyword(stored.categoryKeyword));
}

int ProductEditorDialog::categoryIndex() const
{
    // Typing an entry's exact text chooses that entry, as picking it from the list would.
    const QString text = m_categoryBox->currentText();
    const int index = m_categoryBox->currentIndex();
    if (index >= 0 && text == m_categoryBox->itemText(index))
        return index;
    return m_categoryBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

Product ProductEditorDialog::enteredProduct() const
{
    return Product{m_nameEdit->text(), CategoryCatalogue::keyword(categoryIndex()), m_padUrlEdit->text(),
                   m_vendorIdEdit->text(), m_productIdEdit->text()};
}

void ProductEditorDialog::save()
{
    const Product product = enteredProduct();
    if (const auto saved = ProductProfiles::save(m_dataFolder, product); !saved) {
        showStatus(ProductText::describe(saved.problem()));
        return;
    }
    // Only now that the new file is safely written may the old one of a renamed product go. When
    // it cannot, both stay, and so both stay listed.
    QString replaced;
    if (!m_editedName.isEmpty() && m_editedName != product.programName &&
        ProductProfiles::removeRenamed(m_dataFolder, m_editedName, product.programName))
        replaced = m_editedName;
    Q_EMIT profileSaved(product.programName, replaced);
    accept();
}

void ProductEditorDialog::setFileChooser(FileChooser chooser)
{
    m_chooseFile = chooser ? std::move(chooser) : FileChooser(choosePadFile);
}

void ProductEditorDialog::importPad()
{
    const QString path = m_chooseFile(this);
    if (path.isEmpty())
        return;
    const PadFile::Result result = PadFile::readFile(path);
    if (!result) {
        showStatus(ProductText::describe(result.problem(), QFileInfo(path).fileName()));
        return;
    }
    const PadFile::Values& values = *result;
    if (values.programName)
        m_nameEdit->setText(*values.programName);
    if (values.categoryPosition)
        m_categoryBox->setCurrentIndex(*values.categoryPosition);
    if (values.padUrl)
        m_padUrlEdit->setText(*values.padUrl);
    if (values.regnowVendorId)
        m_vendorIdEdit->setText(*values.regnowVendorId);
    if (values.regnowProductId)
        m_productIdEdit->setText(*values.regnowProductId);
    showStatus(QString());
}
