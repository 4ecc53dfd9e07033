#pragma once

#include "autofill/Browser.h"

#include <QPointer>
#include <QUrl>

#include <QWebEngineView>

// Browser on a QWebEngineView.
class WebEngineBrowser final : public Browser {
    Q_OBJECT
public:
    explicit WebEngineBrowser(QObject* parent = nullptr);
    ~WebEngineBrowser() override;

    void Navigate(const QString& address) override;
    void Stop() override;
    QWidget* widget() override;

    QWebEngineView* view() const { return m_view; }

    // The URL that Navigate() loads for an address: an absolute path of an existing file is a
    // local file; anything else is read as a user would type it into an address bar.
    static QUrl urlForAddress(const QString& address);

private:
    void startPendingLoad();

    QPointer<QWebEngineView> m_view;
    QUrl m_pending;
    bool m_loadQueued = false;
};
