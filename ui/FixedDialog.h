#pragma once

#include <QDialog>

class QLabel;

// What the program's dialogs share: a title bar with only the close button, an inner size given in
// twips that the user cannot change, and the 8.25-point Arial their layouts are made for. Escape
// closes none of them: only a dialog's buttons and its close box do (a dialog whose cancel button
// takes Escape handles the key itself). A dialog that can fail has one status line, which says in
// one line why; it is hidden while there is nothing to say.
class FixedDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FixedDialog)

protected:
    FixedDialog(QWidget* parent, const char* objectName, const QString& title, int widthTwips,
                int heightTwips);

    // Makes the status line, hidden, at `geometry`.
    QLabel* addStatusLine(const char* objectName, QRect geometry);
    // Shows `line` in the status line, cut to fit with the whole line as its tip; hides the status
    // line when `line` is empty.
    void showStatus(const QString& line);

    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_status = nullptr;
};
