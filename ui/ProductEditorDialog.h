#pragma once

#include "core/Product.h"
#include "ui/FixedDialog.h"

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

// The product editor, "Product Information": the user types one product's name, PAD file address
// and Regnow IDs and picks its category from the catalogue. The product manager opens it, modally
// over itself, to add a product or to edit the one selected there.
//
// The caller runs startNew() or startEditing() before every opening, so each opening starts from
// fresh contents. "Import PAD..." fills the boxes from the product's own PAD
// file (see PadFile) as if the user had typed its values; like typing, it saves nothing. "OK"
// saves the profile and closes the editor; when nothing could be saved it stays open and says why
// in one line. "Cancel" and the close box save nothing.
//
// One status line under the fields tells why a save or an import failed; it is empty at every
// opening and after an import that succeeded.
class ProductEditorDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductEditorDialog)
public:
    // Asks the user for the PAD file to import, over `parent`; empty when none was chosen.
    using FileChooser = std::function<QString(QWidget* parent)>;

    explicit ProductEditorDialog(QString dataFolder, QWidget* parent = nullptr);

    // Replaces the file dialog that "Import PAD..." opens; an empty chooser restores the dialog.
    void setFileChooser(FileChooser chooser);

    // Opens on a new product: empty name, "http://" as PAD URL, empty Regnow fields, the
    // catalogue with its first entry selected, no message.
    void startNew();
    // Opens on the stored profile of the product listed as `listedName`, which "OK" then replaces.
    // The category box shows the entry that gives the stored keyword back.
    void startEditing(const QString& listedName, const Product& stored);

    // "OK": saves the profile and closes; when nothing could be saved, stays open and says why.
    void save();
    // "Import PAD...": reads the chosen PAD file and sets each box for which the file has a value;
    // a file that cannot be read or is refused changes no box and is named, with the reason, in
    // the status line.
    void importPad();

Q_SIGNALS:
    // A profile was saved under `name`. `replacedName` is the listed name of the product that was
    // edited when the edit renamed it (its file is gone now), else empty.
    void profileSaved(const QString& name, const QString& replacedName);

private:
    // The catalogue position chosen in the category box, -1 when the box holds text of the user's
    // own that is no entry's text.
    int categoryIndex() const;
    Product enteredProduct() const;

    QString m_dataFolder;
    // The listed name of the product being edited; empty while a new product is being added.
    QString m_editedName;
    FileChooser m_chooseFile;
    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_padUrlEdit = nullptr;
    QLineEdit* m_vendorIdEdit = nullptr;
    QLineEdit* m_productIdEdit = nullptr;
    QComboBox* m_categoryBox = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_importButton = nullptr;
};
