#pragma once

#include "core/ProductFacts.h"
#include "core/SignInStore.h"
#include "ui/DesktopOpener.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUrl>
#include <optional>

class PageWindow;
class QWebEngineNewWindowRequest;
class QWebEngineProfile;

// What the pages of one run share: the active product that fills them, the hosts whose certificate
// the user let through, the sign-ins kept in the data folder, and the windows that pages opened. The main
// window owns it; the windows still open close with it, before the profile their pages live in goes.
class BrowserSession final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserSession)
public:
    // Pages are opened outside, in the user's own browser, with `opener`.
    BrowserSession(const QString& dataFolder, DesktopOpener opener, QObject* parent = nullptr);
    ~BrowserSession() override;

    // The product whose values fill every page from now on; `name` as listed, empty for none.
    void setProduct(const QString& name, std::optional<ProductFacts> facts);
    const QString& productName() const { return m_productName; }
    const std::optional<ProductFacts>& product() const { return m_product; }

    // The user let the certificates of `host` through for the rest of the run.
    void acceptCertificates(const QString& host) { m_certificateHosts.insert(host); }
    bool isCertificateAccepted(const QString& host) const { return m_certificateHosts.contains(host); }

    SignInStore& signIns() { return m_signIns; }
    const DesktopOpener& opener() const { return m_opener; }

    // Opens the window that a page asked for in a window of its own, showing the new page; `site`
    // is the site list entry of the page that asked.
    void openWindow(QWebEngineNewWindowRequest& request, QWebEngineProfile& profile, const QString& site);
    // Opens a window of its own that loads `url` in `profile`: a pop-up the user let through.
    void openWindow(const QUrl& url, QWebEngineProfile& profile, const QString& site);
    // The windows open now, oldest first.
    QList<PageWindow*> windows() const;

Q_SIGNALS:
    void productChanged();
    // The user sent a filled form in one of the windows (Browser::filledFormSubmitted): it belongs to
    // `site`, the site list entry whose page opened that window.
    void filledFormSubmitted(const QString& site);

private:
    PageWindow* newWindow(QWebEngineProfile& profile, const QString& site);

    QString m_productName;
    std::optional<ProductFacts> m_product;
    QSet<QString> m_certificateHosts;
    SignInStore m_signIns;
    DesktopOpener m_opener;
    QList<QPointer<PageWindow>> m_windows;
};
