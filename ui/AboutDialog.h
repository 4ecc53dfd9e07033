#pragma once

#include "ui/DesktopOpener.h"
#include "ui/FixedDialog.h"

class QLabel;
class QPushButton;

// The About box, "About Formtide", which the user opens from Help: title, version, an etched separator, the
// vendor's address (a click opens the home page in the default browser) and a one-line notice. "O K" is both
// the default and the cancel button. It always opens at the same place on the screen.
class AboutDialog final : public FixedDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutDialog)
public:
    explicit AboutDialog(DesktopOpener opener = DesktopOpener(), QWidget* parent = nullptr);

    // Opens the vendor's home page in the default browser, as a click on the address does.
    void openHomePage();

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    DesktopOpener m_opener;
    QLabel* m_address = nullptr;
    QPushButton* m_ok = nullptr;
};
