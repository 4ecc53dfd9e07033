#pragma once

#include "autofill/FillPlan.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The embedded browser as the program uses it. One implementation drives a QWebEngineView;
// tests use a recording fake. The browser shows one page and opens no window by itself; whoever
// shows its widget may open the windows that the page asks for.
class Browser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts loading `address`; every call with a usable address makes one navigation. An empty
    // address is accepted and starts no load: whatever is shown or loading stays. An address that
    // cannot be made into a URL shows a page naming it and what is wrong with it, which then
    // finishes loading like any page. An address that cannot be reached shows the engine's error
    // page, naming its host.
    virtual void navigate(const QString& address) = 0;

    // The widget that shows the page. The caller puts it into its window and from then on the
    // window owns it; the browser keeps only a guarded pointer.
    virtual QWidget* widget() = 0;

    // Each call below answers through its callback at most once, always later from the event loop
    // and never from inside the call nor once the browser is being destroyed; a caller that must
    // not wait forever keeps a watchdog.
    //
    // The page model used by the fill pass (snapshot, plan and report formats: autofill/FillPlan.h).
    // Reads the shown document and its same-origin frames' documents into a snapshot of scope
    // "page" and keeps the elements read with the page. Answers with empty bytes when no document
    // could be read or a navigation began first.
    virtual void snapshotPage(std::function<void(const QByteArray& snapshot)> done) = 0;
    // Applies `plan` to the elements kept for the snapshot it was made from and answers with the
    // page's report. A plan is not applied, and the answer reports it stale or superseded, when
    // its page has been replaced, when a snapshot of the whole page was taken after its own, or
    // when many snapshots of parts were.
    virtual void applyPlan(const FillPlan::Plan& plan,
                           std::function<void(const QJsonObject& report)> done) = 0;
    // Reads what the form fields hold now, and changes nothing: one row for every INPUT, TEXTAREA
    // and SELECT element, the shown document's first and then each same-origin frame's, in the
    // order of a snapshot's documents, each in document order:
    //   [frame, "input" | "textarea", type, name, value] or [frame, "select", "", name, [k, ...]]
    // frame being the document's position, type an input's type ("" for a text area), name ""
    // when the element has none, and k the positions of a list's selected options. Answers with
    // nothing when the page model does not run in the shown document.
    virtual void readFields(std::function<void(const std::optional<QJsonArray>& rows)> done) = 0;

Q_SIGNALS:
    // Load progress, as (value, maximum).
    void loadProgress(int progress, int progressMax);
    // The shown page has finished loading and has not begun a pass by itself: the owner runs one
    // (FillPass::run()). A document in which the page model runs begins its own pass as it
    // completes (see snapshotOffered) and never brings this signal; it comes for documents that the
    // model cannot run in.
    void pageLoaded();
    // The page took a snapshot by itself and keeps its elements for applyPlan() as snapshotPage()
    // does, of:
    // - the whole page, for the pass that lands as its document's own load event fires, earlier
    //   than the browser can tell that the page has finished loading (scope "page"): taken as the
    //   document's DOM is complete, and taken anew at the load event when the page changed
    //   meanwhile, whose plan for the first one is then answered as stale;
    // - the document of a same-origin frame that finished loading after that, with its own
    //   same-origin frames (scope "frame"; a frame that loads before is part of the page's);
    // - form fields that appeared later and that no pass has seen nor the user edited, once the
    //   page has been quiet for a moment (scope "added"); a list whose options were rebuilt counts
    //   as unseen (a few times over). A page that changes forever offers at most a few of these a
    //   second.
    void snapshotOffered(const QByteArray& snapshot);
    // The user sent a form of a document in which a pass wrote at least one field: a trusted submit
    // event that comes while a real click or key press is handled. A form that the page's own script
    // sends (submit(), requestSubmit(), a button's click(), a dispatched event) never brings it.
    void filledFormSubmitted();
};
