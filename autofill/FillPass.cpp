#include "autofill/FillPass.h"

#include "autofill/Browser.h"

#include <QPointer>

namespace {

FillReport noProduct(FillReport::Scope scope)
{
    FillReport report;
    report.status = FillReport::Status::NoProduct;
    report.scope = scope;
    return report;
}

} // namespace

FillPass::FillPass(Browser& browser, std::chrono::milliseconds watchdog, QObject* parent)
    : QObject(parent), m_browser(browser)
{
    m_watchdog.setSingleShot(true);
    m_watchdog.setInterval(watchdog);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        FillReport report;
        report.status = FillReport::Status::TimedOut;
        finish(report);
    });
    connect(&m_browser, &Browser::snapshotOffered, this, &FillPass::fillOffered);
}

void FillPass::run()
{
    if (m_running) {
        FillReport superseded;
        superseded.status = FillReport::Status::Superseded;
        finish(superseded);
    }
    const quint64 pass = ++m_pass;
    m_running = true;
    m_watchdog.start();
    m_browser.snapshotPage([self = QPointer(this), pass](const QByteArray& snapshot) {
        if (self)
            self->snapshotTaken(pass, snapshot);
    });
}

void FillPass::snapshotTaken(quint64 pass, const QByteArray& snapshot)
{
    if (!m_running || pass != m_pass)
        return;
    std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot, m_product);
    if (!plan) {
        finish(FillReport{}); // NoDocument
        return;
    }
    if (!m_product) {
        finish(noProduct(plan->scope));
        return;
    }
    apply(std::move(*plan), [this, pass](const FillReport& report) {
        if (m_running && pass == m_pass)
            finish(report);
    });
}

void FillPass::fillOffered(const QByteArray& snapshot)
{
    std::optional<FillPlan::Plan> plan = FillPlan::make(snapshot, m_product);
    if (!plan)
        return; // the page script offers only what it could read; nothing to answer
    if (!m_product) {
        Q_EMIT finished(noProduct(plan->scope));
        return;
    }
    apply(std::move(*plan), [this](const FillReport& report) { Q_EMIT finished(report); });
}

void FillPass::apply(FillPlan::Plan plan, std::function<void(const FillReport&)> then)
{
    // The callback keeps its own copy of the plan, which shares the plan's data, to read the report.
    m_browser.applyPlan(plan,
                        [self = QPointer(this), plan, then = std::move(then)](const QJsonObject& report) {
                            if (self)
                                then(FillPlan::readReport(report, plan));
                        });
}

void FillPass::finish(FillReport report)
{
    m_running = false;
    m_watchdog.stop();
    // Callbacks of this pass still on their way find a different pass number and are dropped.
    ++m_pass;
    Q_EMIT finished(report);
}
