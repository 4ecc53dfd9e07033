#include "products/Form2.h"

Form2::Form2(QString appFolder, QWidget* parent) : QDialog(parent), m_appFolder(std::move(appFolder)) {}
