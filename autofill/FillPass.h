#pragma once

#include "autofill/FillPlan.h"
#include "core/ProductFacts.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

class Browser;

// Fills the page that the browser shows from the active product: a snapshot of the page's
// elements, a plan made from it by the fill rules, and one write of the plan back into the page.
// Stays callback-driven throughout; it never waits for the page.
//
// Two kinds of pass run:
// - run() covers the whole page shown now; the owner calls it when the browser's pageLoaded says
//   that a page did not begin its own pass, and when the user asks to fill again;
// - every snapshot that the browser offers by itself through Browser::snapshotOffered (a page
//   whose document completed, a same-origin frame's new document, fields that appeared after a
//   pass) is filled as it comes, by this object on its own.
class FillPass final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FillPass)
public:
    // How long a pass over the whole page waits for the page before it gives up, unless the owner
    // gives another time.
    static constexpr std::chrono::milliseconds kWatchdog{15000};

    explicit FillPass(Browser& browser, std::chrono::milliseconds watchdog = kWatchdog,
                      QObject* parent = nullptr);

    // The product whose values later passes write. With none, a pass still reads the page and
    // reports NoProduct, but writes nothing: every field stays as the page has it.
    void setProduct(std::optional<ProductFacts> product) { m_product = std::move(product); }

    // Starts a pass over the page shown now; the active product is read when the snapshot
    // arrives. A whole-page pass still under way ends at once as superseded and nothing of it
    // lands later; passes over parts go on. Returns at once; finished() tells how the pass ended.
    // Nothing is shown to the user.
    void run();

Q_SIGNALS:
    // Once for every pass, of either kind; report.scope tells what it covered.
    void finished(const FillReport& report);

private:
    void snapshotTaken(quint64 pass, const QByteArray& snapshot);
    void fillOffered(const QByteArray& snapshot);
    // Hands `plan` to the browser; `then` gets the outcome, unless this pass object is gone.
    void apply(FillPlan::Plan plan, std::function<void(const FillReport&)> then);
    void finish(FillReport report);

    Browser& m_browser;
    std::optional<ProductFacts> m_product;
    QTimer m_watchdog;
    quint64 m_pass = 0;
    bool m_running = false;
};
