#include "ui/Form3.h"

Form3::Form3(QString appFolder, QWidget* parent) : QDialog(parent), m_appFolder(std::move(appFolder)) {}
