#include "ui/ProductManagerDialog.h"

#include "products/ProductList.h"
#include "products/ProductStore.h"
#include "ui/KeptSelectionList.h"
#include "ui/ProductEditorDialog.h"
#include "ui/ProductText.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

ProductManagerDialog::ProductManagerDialog(ProductStore& store, PadDownload& download, QWidget* parent)
    : FixedDialog(parent, "productManager", tr("Softwares"), 4800, 4320), m_store(store), m_download(download)
{
    m_productList = new KeptSelectionList(this);
    m_productList->setObjectName(QStringLiteral("productList"));
    m_productList->setGeometry(Twips::rect(180, 420, 4395, 3180));

    auto* selectLabel = new QLabel(tr("Select An Product"), this);
    selectLabel->setObjectName(QStringLiteral("selectLabel"));
    selectLabel->setGeometry(Twips::rect(180, 120, 2355, 195));

    struct ButtonLayout {
        const char* name;
        QString text;
        int left;
        int width;
        void (ProductManagerDialog::*handler)();
    };
    const ButtonLayout buttons[] = {
        {"addButton", tr("Add..."), 180, 735, &ProductManagerDialog::addProduct},
        {"editButton", tr("Edit..."), 1080, 795, &ProductManagerDialog::editProduct},
        {"deleteButton", tr("Delete"), 2040, 735, &ProductManagerDialog::deleteProduct},
        {"okButton", tr("OK"), 2940, 795, &ProductManagerDialog::chooseSelectedProduct},
        {"cancelButton", tr("Cancel"), 3900, 735, &ProductManagerDialog::reject},
    };
    QWidget* previous = m_productList;
    for (const ButtonLayout& row : buttons) {
        auto* button = new QPushButton(row.text, this);
        button->setObjectName(QLatin1String(row.name));
        button->setGeometry(Twips::rect(row.left, 3780, row.width, 315));
        // No button is the default: Enter presses nothing.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, row.handler);
        setTabOrder(previous, button);
        previous = button;
    }
    // Under the buttons.
    addStatusLine("statusLine", Twips::rect(180, 4095, 4395, 225));

    connect(&m_store, &ProductStore::listChanged, this, [this] {
        if (isVisible())
            showProducts(selectedName(), selectedRow());
    });
}

ProductManagerDialog::~ProductManagerDialog() = default;

void ProductManagerDialog::setVisible(bool visible)
{
    // Each opening starts afresh from the folder, before the dialog appears.
    if (visible && !isVisible())
        reloadProducts();
    QDialog::setVisible(visible);
}

void ProductManagerDialog::reloadProducts()
{
    showStatus(QString());
    m_productList->clear();
    m_productList->addItems(m_store.names());
    selectRow(ProductList::preselectedRow(names(), m_store.activeName()));
    m_productList->setFocus();
}

void ProductManagerDialog::showProducts(const QString& name, int row)
{
    m_productList->clear();
    m_productList->addItems(m_store.names());
    const int listed = static_cast<int>(names().indexOf(name));
    selectRow(listed >= 0 ? listed : ProductList::rowAfterRemoval(row, m_productList->count()));
}

void ProductManagerDialog::addProduct()
{
    ProductEditorDialog& editor = editorDialog();
    editor.startNew();
    editor.exec();
}

void ProductManagerDialog::editProduct()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    // A profile that cannot be read opens nothing rather than an editor that would save
    // made-up values over it.
    const std::optional<Product> stored = m_store.profile(name);
    if (!stored)
        return;
    ProductEditorDialog& editor = editorDialog();
    editor.startEditing(name, *stored);
    editor.exec();
}

void ProductManagerDialog::deleteProduct()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (const auto removed = m_store.remove(name); !removed) {
        showStatus(ProductText::describe(removed.problem()));
        return;
    }
    showStatus(QString());
}

void ProductManagerDialog::chooseSelectedProduct()
{
    if (const QString name = selectedName(); !name.isEmpty())
        m_store.choose(name);
    accept();
}

ProductEditorDialog& ProductManagerDialog::editorDialog()
{
    if (!m_editor) {
        m_editor = std::make_unique<ProductEditorDialog>(m_store, m_download, this);
        connect(m_editor.get(), &ProductEditorDialog::profileSaved, this,
                [this](const QString& name) { selectRow(static_cast<int>(names().indexOf(name))); });
    }
    return *m_editor;
}

QStringList ProductManagerDialog::names() const
{
    QStringList texts;
    texts.reserve(m_productList->count());
    for (int i = 0; i < m_productList->count(); ++i)
        texts.append(m_productList->item(i)->text());
    return texts;
}

void ProductManagerDialog::selectRow(int row)
{
    if (row >= 0 && row < m_productList->count())
        m_productList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

int ProductManagerDialog::selectedRow() const
{
    const QList<QListWidgetItem*> selected = m_productList->selectedItems();
    return selected.isEmpty() ? -1 : m_productList->row(selected.first());
}

QString ProductManagerDialog::selectedName() const
{
    const int row = selectedRow();
    return row >= 0 ? m_productList->item(row)->text() : QString();
}
