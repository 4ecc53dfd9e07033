#pragma once

#include <QDialog>

// The Add Links dialog. (Placeholder until the dialog lands.)
class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(QString appFolder, QWidget* parent = nullptr);

private:
    QString m_appFolder;
};
