#pragma once

#include "autofill/Browser.h"
#include "autofill/HistoryFills.h"

#include <QHash>
#include <QPointer>
#include <QUrl>
#include <QWebEngineView>
#include <memory>

class PageBridge;
class QWebEngineProfile;

// Browser on a QWebEngineView. The page model runs in the page's isolated world
// (QWebEngineScript::ApplicationWorld): a fixed script (autofill/page.js, with qwebchannel.js) is
// injected into every top-level document and reaches its same-origin frames from there. The
// snapshot of the whole page is the answer of a script call; plans, reports and the snapshots the
// page offers by itself cross a QWebChannel as JSON text.
class WebEngineBrowser final : public Browser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebEngineBrowser)
public:
    // With an empty `storageFolder` the browser keeps nothing. Otherwise it keeps a profile in that
    // folder (autofill/BrowserProfile.h) for the next browser made on it.
    explicit WebEngineBrowser(const QString& storageFolder = QString(), QObject* parent = nullptr);
    // A browser whose page lives in `profile`, which must outlive it: a window for a page that
    // another page opened (QWebEngineNewWindowRequest::openIn() takes only a page of the opener's
    // profile).
    explicit WebEngineBrowser(QWebEngineProfile& profile, QObject* parent = nullptr);
    ~WebEngineBrowser() override;

    void navigate(const QString& address) override;
    // The view itself, for the window that shows it and for the load signals of QWebEngineView.
    QWebEngineView* widget() override;

    void snapshotPage(std::function<void(const QByteArray&)> done) override;
    void applyPlan(const FillPlan::Plan& plan, std::function<void(const QJsonObject&)> done) override;
    void readFields(std::function<void(const std::optional<QJsonArray>&)> done) override;

private:
    // Connects the view's `page` to the page model and to this browser's signals.
    void setUpPage(QWebEnginePage* page);
    // What navigate() loads for an address: an absolute path of an existing file is a local file, an
    // address with "://" is taken as written, anything else is read as a user would type it into
    // an address bar. An address that cannot be made into a URL has no URL, but a problem: what is
    // wrong with it, in a sentence.
    struct Target {
        QUrl url;
        QString problem;
    };
    static Target targetFor(const QString& address);
    // A page naming `address` and `problem`, both as text.
    static QString unusableAddressPage(const QString& address, const QString& problem);
    // Runs `call` in the page model's world and hands its result to `answer`, later from the event
    // loop, unless the browser is being destroyed by then: the page answers every call still
    // waiting as it goes, and those answers are dropped.
    void callPageModel(const QString& call, std::function<void(const QVariant&)> answer);
    // Qt's loadFinished comes well after the document's own load event, where the page model has
    // begun the load pass already; only a document without the page model is left to the owner.
    void loadFinished();
    void reported(const QByteArray& report);
    void offered(const QByteArray& snapshot);
    // The history entry shown now, as HistoryFills knows it.
    QString historyEntry() const;
    // A navigation began: every page-model call still waiting is answered as superseded.
    void supersedePageCalls();

    QPointer<QWebEngineView> m_view;
    PageBridge* m_bridge = nullptr;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true); // false from the destructor on

    quint64 m_lastSnapshot = 0;
    QHash<quint64, std::function<void(const QByteArray&)>> m_snapshots;
    struct Apply {
        FillPlan::Plan plan;
        std::function<void(const QJsonObject&)> done;
    };
    QHash<QString, Apply> m_applies; // by plan token
    HistoryFills m_historyFills;
};
