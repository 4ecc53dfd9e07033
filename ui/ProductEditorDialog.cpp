#include "ui/ProductEditorDialog.h"

#include "core/AppFolder.h"
#include "products/CategoryCatalogue.h"
#include "products/PadDownload.h"
#include "products/PadFile.h"
#include "products/ProductStore.h"
#include "ui/ProductText.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
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

// The rows that show the kept PAD file, under the five boxes: the first says when it was taken.
constexpr int kPadRowsTop = 2310;
constexpr int kPadRowHeight = 225;

// Shows `text` in `label`, cut to fit, with the whole text as its tip.
void showCut(QLabel* label, const QString& text)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, label->width());
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

} // namespace

ProductEditorDialog::ProductEditorDialog(ProductStore& store, PadDownload& download, QWidget* parent)
    : FixedDialog(parent, "productEditor", tr("Product Information"), 5520, 5280), m_store(store),
      m_download(download), m_chooseFile(choosePadFile)
{
    m_okButton = addButton(this, "okButton", tr("OK"), Twips::rect(1260, 4725, 1095, 315));
    m_cancelButton = addButton(this, "cancelButton", tr("Cancel"), Twips::rect(3120, 4725, 1035, 315));
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

    // What the kept PAD file holds, read only, a caption and a value a row, under a rule.
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(Twips::rect(180, 2235, 5115, 30));
    const struct {
        const char* name;
        QString caption;
    } padRows[] = {
        {"padTaken", tr("PAD file")},         {"padName", tr("Name")},   {"padVersion", tr("Version")},
        {"padCompany", tr("Company")},        {"padEmail", tr("Email")}, {"padDownload", tr("Download")},
        {"padDescription", tr("Description")}};
    int top = kPadRowsTop;
    for (const auto& row : padRows) {
        addLabel(this, "", row.caption, Twips::rect(180, top, 900, kPadRowHeight), false);
        QLabel* value =
            addLabel(this, row.name, QString(), Twips::rect(1140, top, 4155, kPadRowHeight), false);
        value->setTextFormat(Qt::PlainText);
        m_padFacts.append(value);
        top += kPadRowHeight;
    }
    m_importButton = addButton(this, "importButton", tr("Import PAD..."), Twips::rect(1140, 3975, 1095, 315));
    m_updateButton =
        addButton(this, "updateButton", tr("Update from PAD URL"), Twips::rect(2325, 3975, 1755, 315));
    m_forgetButton = addButton(this, "forgetButton", tr("Forget PAD"), Twips::rect(4170, 3975, 1125, 315));

    // Why a save, an import or a download failed, between the PAD file and the buttons; the
    // download's progress in its place while one runs.
    addStatusLine("statusLine", Twips::rect(180, 4380, 5160, 255))
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("downloadProgress"));
    m_progress->setGeometry(Twips::rect(180, 4410, 5115, 195));
    m_progress->setTextVisible(false);
    m_progress->hide();

    setTabOrder(m_okButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_nameEdit);
    setTabOrder(m_nameEdit, m_padUrlEdit);
    setTabOrder(m_padUrlEdit, m_vendorIdEdit);
    setTabOrder(m_vendorIdEdit, m_productIdEdit);
    setTabOrder(m_productIdEdit, m_categoryBox);
    setTabOrder(m_categoryBox, m_importButton);
    setTabOrder(m_importButton, m_updateButton);
    setTabOrder(m_updateButton, m_forgetButton);

    connect(m_okButton, &QPushButton::clicked, this, &ProductEditorDialog::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &ProductEditorDialog::reject);
    connect(m_importButton, &QPushButton::clicked, this, &ProductEditorDialog::importPad);
    connect(m_updateButton, &QPushButton::clicked, this, &ProductEditorDialog::updatePad);
    connect(m_forgetButton, &QPushButton::clicked, this, &ProductEditorDialog::forgetPad);
    connect(&m_download, &PadDownload::progressed, this, [this](qint64 received, qint64 total) {
        // An unknown size shows as a busy bar.
        m_progress->setRange(0, total > 0 ? 1000 : 0);
        if (total > 0)
            m_progress->setValue(static_cast<int>(received * 1000 / total));
    });
    connect(&m_download, &PadDownload::succeeded, this, &ProductEditorDialog::onDownloaded);
    connect(&m_download, &PadDownload::failed, this, [this](const PadDownload::Problem& problem) {
        showDownloading(false);
        showStatus(ProductText::describe(problem, m_padUrlEdit->text().trimmed()));
    });

    startNew();
}

void ProductEditorDialog::startNew()
{
    m_download.cancel();
    showDownloading(false);
    m_editedName.clear();
    m_padChanged = false;
    m_padUnreadable.clear();
    m_pad.reset();
    showPad();
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
    Result<std::optional<PadCopy>, PadFile::Problem> kept = m_store.pad(listedName);
    if (kept) {
        m_pad = *kept;
    } else {
        // Kept as it is unless the user takes or forgets another.
        m_padUnreadable = ProductText::describe(kept.problem(), listedName + AppFolder::padCopySuffix());
        showStatus(m_padUnreadable);
    }
    showPad();
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
    const ProductStore::Change change{enteredProduct(), m_editedName, m_padChanged, m_pad};
    if (const auto saved = m_store.save(change); !saved) {
        showStatus(ProductText::describe(saved.problem()));
        return;
    }
    Q_EMIT profileSaved(change.profile.programName);
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
    const Result<PadCopy, PadFile::Problem> copy = PadCopy::readFile(path, QDateTime::currentDateTime());
    if (!copy) {
        showStatus(ProductText::describe(copy.problem(), QFileInfo(path).fileName()));
        return;
    }
    // A copy that PadCopy took holds values a profile can store.
    const PadFile::Values values = PadFile::profileValues(copy->values).valueOr({});
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
    keepPad(*copy);
}

void ProductEditorDialog::updatePad()
{
    const QString address = m_padUrlEdit->text().trimmed();
    if (const auto started = m_download.start(address); !started) {
        showStatus(ProductText::describe(started.problem(), address));
        return;
    }
    showDownloading(true);
}

void ProductEditorDialog::onDownloaded(const PadCopy& copy)
{
    showDownloading(false);
    keepPad(copy);
}

void ProductEditorDialog::forgetPad()
{
    keepPad(std::nullopt);
}

void ProductEditorDialog::keepPad(std::optional<PadCopy> copy)
{
    m_pad = std::move(copy);
    m_padChanged = true;
    m_padUnreadable.clear();
    showStatus(QString());
    showPad();
}

void ProductEditorDialog::showPad()
{
    QStringList facts;
    if (m_pad) {
        facts = {tr("taken %1").arg(QLocale::c().toString(m_pad->taken, QStringLiteral("d MMM yyyy, HH:mm"))),
                 m_pad->programName(),
                 m_pad->version(),
                 m_pad->company(),
                 m_pad->email(),
                 m_pad->downloadAddress(),
                 m_pad->shortestDescription()};
    } else {
        facts.append(m_padUnreadable.isEmpty() ? tr("none kept") : tr("kept, but it cannot be read"));
    }
    for (qsizetype row = 0; row < m_padFacts.size(); ++row)
        showCut(m_padFacts[row], facts.value(row));
    m_forgetButton->setEnabled(m_pad || !m_padUnreadable.isEmpty());
}

void ProductEditorDialog::showDownloading(bool running)
{
    if (running) {
        showStatus(QString());
        m_progress->setRange(0, 0);
    }
    m_progress->setVisible(running);
    for (QPushButton* button : {m_okButton, m_importButton, m_updateButton, m_forgetButton})
        button->setEnabled(!running);
    if (!running)
        m_forgetButton->setEnabled(m_pad || !m_padUnreadable.isEmpty());
}

void ProductEditorDialog::done(int result)
{
    m_download.cancel();
    showDownloading(false);
    FixedDialog::done(result);
}
