#pragma once

#include <QDialog>

// The product manager. (Placeholder until the dialog lands.)
class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(QString appFolder, QWidget* parent = nullptr);

private:
    QString m_appFolder;
};
