#pragma once

#include "ui/FixedDialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The Add Links dialog: the user adds download sites of their own, typing one link per line.
// "OK" appends them to the added-links file of the data folder (see AddedLinksFile) and closes,
// "Cancel" and the close button close without writing. The dialog reads and writes no shared state; the
// caller reloads the site list however it closed.
//
// Every opening starts with an empty text box. Enter in the text box starts a new line; neither
// button is the default or the cancel button, so Escape does nothing. When the links cannot be
// saved the dialog stays open with the text as typed and says why in its status line.
//
// Fixed size, laid out in twips (1/1440 inch); one pixel is 15 twips.
class AddLinksDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddLinksDialog)
public:
    explicit AddLinksDialog(QString dataFolder, QWidget* parent = nullptr);

    // "OK": appends the text box's text to the added-links file and closes on success.
    void saveLinks();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_dataFolder;
    QLabel* m_label = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
