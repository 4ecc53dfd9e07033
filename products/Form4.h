#pragma once

#include "app/Product.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The product information editor, "Product Information": one product profile's five fields, the
// category picked from the catalogue. Opened by the product manager, modally over it, to add a
// product (ProductEditMode 2) or to edit the one selected there (ProductEditMode 3).
//
// The caller runs Form_Load() before every opening (and editProfile() after it to edit), so each
// opening starts from fresh contents. "Import PAD..." fills the boxes from the product's own PAD
// file (see PadFile) as if the user had typed its values; like typing, it saves nothing. "OK"
// saves the profile and closes the editor; when nothing could be saved it stays open and says why
// in one line. "Cancel" and the close box save nothing.
//
// One status line under the fields tells why a save or an import failed; it is empty at every
// opening and after an import that succeeded.
class Form4 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form4)
public:
    // Asks the user for the PAD file to import, over `parent`; empty when none was chosen.
    using FileChooser = std::function<QString(QWidget* parent)>;

    explicit Form4(QString appFolder, QWidget* parent = nullptr);

    // Replaces the file dialog that "Import PAD..." opens; an empty chooser restores the dialog.
    void setFileChooser(FileChooser chooser);

    // Initial contents: empty name, "http://" as PAD URL, empty Regnow fields, the catalogue with
    // its first entry selected, no editing target, no message.
    void Form_Load();
    // Shows the stored profile of the product listed as `listedName`, which "OK" then replaces.
    // The category box shows the entry that gives the stored keyword back.
    void editProfile(const QString& listedName, const Product& stored);

    void Command1_Click();
    void Command2_Click();
    // Reads the chosen PAD file and sets each box for which the file has a value; a file that
    // cannot be read or is refused changes no box and is named, with the reason, in the status line.
    void cmdImportPad_Click();

    // The catalogue position chosen in Combo1, -1 when the box holds text of the user's own that
    // is no entry's text.
    int categoryIndex() const;

Q_SIGNALS:
    // A profile was saved under `name`. `replacedName` is the listed name of the product that was
    // edited when the edit renamed it (its file is gone now), else empty.
    void profileSaved(const QString& name, const QString& replacedName);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Product enteredProduct() const;
    // Shows `line` in the status line (hidden when empty), cut to fit with the whole line as tip.
    void showStatus(const QString& line);

    QString m_appFolder;
    QString m_editedName;
    FileChooser m_chooseFile;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QLineEdit* m_text4 = nullptr;
    QComboBox* m_combo1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_cmdImportPad = nullptr;
    QLabel* m_status = nullptr;
};
