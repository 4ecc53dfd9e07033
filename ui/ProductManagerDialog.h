#pragma once

#include "core/Product.h"

#include <QDialog>
#include <memory>

class ProductEditorDialog;
class QLabel;
class QListWidget;
class QPushButton;

// The product manager, "Softwares". The user picks the product whose data the fill pass writes:
// the dialog lists the product profiles of the folder Info, adds, edits and deletes them through
// the product editor, and "OK" makes the selected one the active product (nothing else sets it).
//
// Every time it is shown it rebuilds its list from the folder and preselects the active product;
// the list is the dialog's whole state. It owns the editor, creates it on first use and keeps it
// for every later use.
class ProductManagerDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductManagerDialog)
public:
    // `activeProduct` is the one "OK" sets; it must outlive the dialog.
    ProductManagerDialog(QString appFolder, Product& activeProduct, QWidget* parent = nullptr);
    ~ProductManagerDialog() override;

    // Rebuilds the list from the folder and selects the active product's entry.
    void reloadProducts();
    // "Add...": opens the editor on a new product.
    void addProduct();
    // "Edit...": opens the editor on the selected product's stored profile.
    void editProduct();
    // "Delete": deletes the selected product's profile and selects the entry that takes its place.
    void deleteProduct();
    // "OK": makes the selected product the active one and closes.
    void chooseSelectedProduct();

    QListWidget* productList() const { return m_productList; }
    // The editor, once it has been opened.
    ProductEditorDialog* editor() const { return m_editor.get(); }

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ProductEditorDialog& editorDialog();
    QStringList names() const;
    void selectRow(int row);
    void onProfileSaved(const QString& name, const QString& replacedName);
    int selectedRow() const;
    QString selectedName() const;

    QString m_appFolder;
    Product& m_activeProduct;
    QListWidget* m_productList = nullptr;
    std::unique_ptr<ProductEditorDialog> m_editor;
};
