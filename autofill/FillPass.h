#pragma once

#include <QObject>

class Browser;

// Fills the page that the browser shows from the active product. (Placeholder until it lands.)
class FillPass : public QObject {
    Q_OBJECT
public:
    explicit FillPass(Browser& browser, QObject* parent = nullptr);
    void run();

private:
    Browser& m_browser;
};
