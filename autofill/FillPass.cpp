#include "autofill/FillPass.h"

FillPass::FillPass(Browser& browser, QObject* parent) : QObject(parent), m_browser(browser) {}

void FillPass::run() {}
