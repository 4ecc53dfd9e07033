#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// The embedded browser as the program uses it. One implementation drives a QWebEngineView;
// tests use a recording fake. A page's request for a new window is always refused: the browser
// shows one page at a time, and the page shown stays.
class Browser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Asks for `address` to be loaded. An empty address is accepted and starts no load: whatever
    // is shown or loading stays. The load starts when control returns to the event loop, so a
    // stop() later in the same chain of handlers does not cancel it; when several addresses are
    // asked for in one chain, the last usable one is loaded. An address that cannot be made into a
    // URL is unusable: it never replaces a usable one, and a chain of only unusable addresses shows
    // the engine's error page, which then finishes loading like any page.
    virtual void navigate(const QString& address) = 0;

    // Abandons the load under way, but not a navigation asked for earlier in the same chain of
    // handlers (see Navigate).
    virtual void stop() = 0;

    // The widget that shows the page. The caller puts it into its window and from then on the
    // window owns it; the browser keeps only a guarded pointer.
    virtual QWidget* widget() = 0;

    // The page model used by the fill pass (snapshot, plan and report formats: autofill/FillPlan.h).
    // Each call answers through its callback at most once, always later from the event loop and
    // never from inside the call; a caller that must not wait forever keeps a watchdog.
    //
    // Reads the shown document and its same-origin frames' documents into a snapshot of scope
    // "page" and keeps the elements read with the page. Answers with empty bytes when no document
    // could be read or a navigation began first.
    virtual void snapshotPage(std::function<void(const QByteArray& snapshot)> done) = 0;
    // Applies `plan` to the elements kept for the snapshot it was made from and answers with the
    // page's report. A plan is not applied, and the answer reports it stale or superseded, when
    // its page has been replaced, when a snapshot of the whole page was taken after its own, or
    // when many snapshots of parts were.
    virtual void applyPlan(const QJsonObject& plan, std::function<void(const QJsonObject& report)> done) = 0;

Q_SIGNALS:
    // Load progress, as (value, maximum).
    void loadProgress(int progress, int progressMax);
    // The shown page has finished loading.
    void pageLoaded();
    // The page took a snapshot of a part of itself that no pass has covered, and keeps its
    // elements for applyPlan() as snapshotPage() does: the document of a same-origin frame that
    // finished loading (with its own same-origin frames; scope "frame"), or form fields that
    // appeared later, once the page has been quiet for a moment (scope "added"). Fields that a pass
    // has already seen, or that the user has edited, are never offered this way; a list whose
    // options were rebuilt counts as unseen (a few times over). A page that changes forever offers
    // at most a few snapshots a second.
    void partSnapshotTaken(const QByteArray& snapshot);
    // The user sent a form of a document in which a pass wrote at least one field: a trusted submit
    // event that comes while a real click or key press is handled. A form that the page's own script
    // sends (submit(), requestSubmit(), a button's click(), a dispatched event) never brings it.
    void filledFormSubmitted();
};
