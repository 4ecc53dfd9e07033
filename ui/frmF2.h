#pragma once

#include <QDialog>

// The About box. (Placeholder until the dialog lands.)
class frmF2 : public QDialog {
    Q_OBJECT
public:
    explicit frmF2(QWidget* parent = nullptr);
};
