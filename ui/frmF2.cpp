#include "ui/frmF2.h"

frmF2::frmF2(QWidget* parent) : QDialog(parent) {}
