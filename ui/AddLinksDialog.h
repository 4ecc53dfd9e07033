#pragma once

#include "ui/FixedDialog.h"

#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The Add Links dialog: the user adds download sites of their own, typing one link per line.
// "OK" appends them to the added-links file of the data folder (see AddedLinksFile) and closes,
// "Cancel" and the close button close without writing. The dialog reads and writes no shared state; the
// caller reloads the site list however it closed.
//
// "From File..." reads a text file of addresses, one a line, chosen in a file dialog, and adds to the
// text box those that are new: blank lines and the addresses the list or the box holds already are
// skipped, and the status line says how many were added and skipped.
//
// Every opening starts with an empty text box. Enter in the text box starts a new line; no
// button is the default or the cancel button, so Escape does nothing. When the links cannot be
// saved the dialog stays open with the text as typed and says why in its status line.
//
// Fixed size, laid out in twips (1/1440 inch); one pixel is 15 twips.
class AddLinksDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddLinksDialog)
public:
    explicit AddLinksDialog(QString dataFolder, QWidget* parent = nullptr);

    // The entries of the site list, which "From File..." does not add again.
    void setKnownLinks(const QStringList& links) { m_known = links; }

    // "OK": appends the text box's text to the added-links file and closes on success.
    void saveLinks();
    // Adds to the text box what is new in the text file at `path`.
    void addLinksFromFile(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseLinksFile();
    // Shows `line` in the status line, in red when it tells of a failure.
    void showLine(const QString& line, bool failure);

    QString m_dataFolder;
    QStringList m_known;
    QLabel* m_label = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_fromFile = nullptr;
    QLabel* m_status = nullptr;
};
