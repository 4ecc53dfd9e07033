#pragma once

#include "ui/FixedDialog.h"

#include <memory>

class PadDownload;
class ProductEditorDialog;
class ProductStore;
class QListWidget;

// The product manager, "Softwares". The user picks the product whose data the fill pass writes:
// the dialog lists the products of the ProductStore, adds, edits and deletes them through the
// product editor, and "OK" makes the selected one the store's active product.
//
// Every time it is shown it rebuilds its list from the store and preselects the active product; the
// list follows the store's changes while it is open, keeping its selection. Apart from the list,
// the dialog has a status line under the buttons that says why a product could not be deleted. It
// owns the editor, creates it on first use and keeps it for every later use.
class ProductManagerDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductManagerDialog)
public:
    // Works on `store`; the editor downloads PAD files with `download`.
    ProductManagerDialog(ProductStore& store, PadDownload& download, QWidget* parent = nullptr);
    ~ProductManagerDialog() override;

    // Rebuilds the list from the store and selects the active product's entry
    // (ProductList::preselectedRow).
    void reloadProducts();
    // "Add...": opens the editor on a new product.
    void addProduct();
    // "Edit...": opens the editor on the selected product's stored profile.
    void editProduct();
    // "Delete": deletes the selected product and selects the entry that takes its place. A product
    // whose files stay keeps its entry, and the status line says why.
    void deleteProduct();
    // "OK": makes the selected product the active one and closes. A profile that cannot be read
    // any more leaves the active product as it was.
    void chooseSelectedProduct();

    QListWidget* productList() const { return m_productList; }
    // The editor, once it has been opened.
    ProductEditorDialog* editor() const { return m_editor.get(); }

    void setVisible(bool visible) override;

private:
    ProductEditorDialog& editorDialog();
    // Shows the store's products, selecting `name` when it is listed, else the entry at `row` (or
    // the last, when fewer are left).
    void showProducts(const QString& name, int row);
    QStringList names() const;
    void selectRow(int row);
    int selectedRow() const;
    QString selectedName() const;

    ProductStore& m_store;
    PadDownload& m_download;
    QListWidget* m_productList = nullptr;
    std::unique_ptr<ProductEditorDialog> m_editor;
};
