#pragma once

#include "ui/DesktopOpener.h"

#include <QPointer>
#include <QWidget>

class Browser;
class QLineEdit;
class QToolButton;
class QWebEngineView;

// The slim bar above the page: Back, Forward, one button that reloads the page or, while it loads,
// stops it, the address of the page shown, where typing one and pressing Enter loads it (as
// Browser::navigate() reads it), and "Open in my browser" for the page shown. Without a
// QWebEngineView only the address field works.
class NavigationBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NavigationBar)
public:
    // "Open in my browser" opens the page shown with `opener`.
    NavigationBar(Browser& browser, QWebEngineView* view, const DesktopOpener& opener,
                  QWidget* parent = nullptr);

    // Puts the focus into the address field, its text selected.
    void focusAddress();

private:
    void showAddress();
    void setLoading(bool loading);

    Browser& m_browser;
    DesktopOpener m_opener;
    QPointer<QWebEngineView> m_view;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
    QToolButton* m_reloadStop = nullptr;
    QLineEdit* m_address = nullptr;
    QToolButton* m_openOutside = nullptr;
    bool m_loading = false;
};
