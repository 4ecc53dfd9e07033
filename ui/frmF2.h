#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box, "About Formtide": title, version, an etched separator, the vendor's address
// (a click opens the home page in the default browser) and a one-line notice. "O K" is both the
// default and the cancel button. It always opens at the same place on the screen.
class frmF2 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmF2)
public:
    explicit frmF2(QWidget* parent = nullptr);

    void cmdOK_Click();
    void Label1_Click();

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_address = nullptr;
    QPushButton* m_ok = nullptr;
};
