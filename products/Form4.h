#pragma once

#include "app/Product.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The product information editor, "Product Information": one product profile's five fields, the
// category picked from the catalogue. Opened by the product manager, modally over it, to add a
// product (ProductEditMode 2) or to edit the one selected there (ProductEditMode 3).
//
// The caller runs Form_Load() before every opening (and editProfile() after it to edit), so each
// opening starts from fresh contents. "OK" saves the profile and closes the editor; when nothing
// could be saved it stays open and says why in one line. "Cancel" and the close box save nothing.
class Form4 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form4)
public:
    explicit Form4(QString appFolder, QWidget* parent = nullptr);

    // Initial contents: empty name, "http://" as PAD URL, empty Regnow fields, the catalogue with
    // its first entry selected, no editing target, no message.
    void Form_Load();
    // Shows the stored profile of the product listed as `listedName`, which "OK" then replaces.
    // The category box shows the entry that gives the stored keyword back.
    void editProfile(const QString& listedName, const Product& stored);

    void Command1_Click();
    void Command2_Click();

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

    QString m_appFolder;
    QString m_editedName;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QLineEdit* m_text4 = nullptr;
    QComboBox* m_combo1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QLabel* m_notSaved = nullptr;
};
