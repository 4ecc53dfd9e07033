#pragma once

#include "core/Product.h"
#include "ui/FixedDialog.h"

#include <memory>

class ProductEditorDialog;
class QListWidget;

// The product manager, "Softwares". The user picks the product whose data the fill pass writes:
// the dialog lists the product profiles of the folder Info, adds, edits and deletes them through
// the product editor, and "OK" reports the selected one as chosen (productChosen). It keeps no
// active product of its own: its owner tells it which one to preselect.
//
// Every time it is shown it rebuilds its list from the folder and preselects the active product;
// the list is the dialog's whole state, apart from a status line under the buttons that says why a
// profile could not be deleted. It owns the editor, creates it on first use and keeps it
// for every later use.
class ProductManagerDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductManagerDialog)
public:
    explicit ProductManagerDialog(QString dataFolder, QWidget* parent = nullptr);
    ~ProductManagerDialog() override;

    // The name of the active product, whose entry the next opening selects (ProductList::preselectedRow).
    void setActiveProductName(const QString& name) { m_activeName = name; }

    // Rebuilds the list from the folder and selects the active product's entry.
    void reloadProducts();
    // "Add...": opens the editor on a new product.
    void addProduct();
    // "Edit...": opens the editor on the selected product's stored profile.
    void editProduct();
    // "Delete": deletes the selected product's profile and selects the entry that takes its place.
    // A file that stays keeps its entry, and the status line says why.
    void deleteProduct();
    // "OK": reports the selected product as chosen and closes. A profile that cannot be read any
    // more reports nothing.
    void chooseSelectedProduct();

    QListWidget* productList() const { return m_productList; }
    // The editor, once it has been opened.
    ProductEditorDialog* editor() const { return m_editor.get(); }

    void setVisible(bool visible) override;

Q_SIGNALS:
    // "OK" chose the product listed as `name`; `product` is its profile as stored.
    void productChosen(const QString& name, const Product& product);
    // The editor saved the product listed as `oldName` under the name `newName`.
    void productRenamed(const QString& oldName, const QString& newName);

private:
    ProductEditorDialog& editorDialog();
    QStringList names() const;
    void selectRow(int row);
    void onProfileSaved(const QString& name, const QString& replacedName);
    int selectedRow() const;
    QString selectedName() const;

    QString m_dataFolder;
    QString m_activeName;
    QListWidget* m_productList = nullptr;
    std::unique_ptr<ProductEditorDialog> m_editor;
};
