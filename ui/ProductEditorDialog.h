#pragma once

#include "core/Product.h"
#include "products/PadCopy.h"
#include "ui/FixedDialog.h"

#include <functional>
#include <optional>

class PadDownload;
class ProductStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The product editor, "Product Information": the user types one product's name, PAD file address
// and Regnow IDs, picks its category from the catalogue, and chooses the PAD file the product keeps.
// The product manager opens it, modally over itself, to add a product or to edit the one selected
// there.
//
// The caller runs startNew() or startEditing() before every opening, so each opening starts from
// fresh contents. Under the five boxes the editor shows what the PAD file the product keeps holds.
// "Import PAD..." takes a PAD file from disk: it fills the boxes from it as if the user had typed
// its values, and the product keeps it. "Update from PAD URL" downloads the PAD file from the PAD
// URL box's address, with a progress bar, and the product keeps it; the boxes stay as typed, since
// the five facts are the author's own and win over the PAD file's. "Forget PAD" drops it. Like
// typing, none of them saves anything: "OK" saves the profile and the PAD file with it (through the
// ProductStore) and closes; when nothing could be saved it stays open and says why in one line.
// "Cancel" and the close box save nothing and end a download under way.
//
// One status line tells why a save, an import or a download failed, or why the PAD file the product
// keeps cannot be read (it then stays as it is unless another is taken or it is forgotten); it is
// empty after an import or a download that succeeded. While a download runs, the editor takes no
// other PAD file and "OK" waits for it.
class ProductEditorDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductEditorDialog)
public:
    // Asks the user for the PAD file to import, over `parent`; empty when none was chosen.
    using FileChooser = std::function<QString(QWidget* parent)>;

    // Saves through `store`; downloads with `download`, which it alone uses while it lives.
    ProductEditorDialog(ProductStore& store, PadDownload& download, QWidget* parent = nullptr);

    // Replaces the file dialog that "Import PAD..." opens; an empty chooser restores the dialog.
    void setFileChooser(FileChooser chooser);

    // Opens on a new product: empty name, "http://" as PAD URL, empty Regnow fields, the
    // catalogue with its first entry selected, no PAD file, no message.
    void startNew();
    // Opens on the stored profile of the product listed as `listedName`, which "OK" then replaces,
    // and the PAD file it keeps. The category box shows the entry that gives the stored keyword back.
    void startEditing(const QString& listedName, const Product& stored);

    // "OK": saves the profile and the PAD file and closes; when nothing could be saved, stays open
    // and says why.
    void save();
    // "Import PAD...": reads the chosen PAD file, sets each box for which the file has a value, and
    // keeps the file for the product; a file that cannot be read or is refused changes nothing and
    // is named, with the reason, in the status line.
    void importPad();
    // "Update from PAD URL": starts downloading the PAD file; a failure changes nothing and is told
    // in the status line.
    void updatePad();
    // "Forget PAD": the product keeps no PAD file.
    void forgetPad();

    void done(int result) override;

Q_SIGNALS:
    // A product was saved under `name`.
    void profileSaved(const QString& name);

private:
    // The catalogue position chosen in the category box, -1 when the box holds text of the user's
    // own that is no entry's text.
    int categoryIndex() const;
    Product enteredProduct() const;
    // Makes `copy` the PAD file the product keeps when "OK" saves.
    void keepPad(std::optional<PadCopy> copy);
    void showPad();
    void showDownloading(bool running);
    void onDownloaded(const PadCopy& copy);

    ProductStore& m_store;
    PadDownload& m_download;
    // The listed name of the product being edited; empty while a new product is being added.
    QString m_editedName;
    // The PAD file the product keeps when "OK" saves, and whether the user chose it in this opening.
    std::optional<PadCopy> m_pad;
    bool m_padChanged = false;
    // Why the PAD file the edited product keeps cannot be shown; empty when it can.
    QString m_padUnreadable;
    FileChooser m_chooseFile;
    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_padUrlEdit = nullptr;
    QLineEdit* m_vendorIdEdit = nullptr;
    QLineEdit* m_productIdEdit = nullptr;
    QComboBox* m_categoryBox = nullptr;
    // The PAD file's facts, in the order of the captions beside them.
    QList<QLabel*> m_padFacts;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_updateButton = nullptr;
    QPushButton* m_forgetButton = nullptr;
};
