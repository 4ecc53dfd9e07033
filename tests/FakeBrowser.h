#pragma once

#include "autofill/Browser.h"

#include <QStringList>

// A Browser without a page: it records every address it is sent to, and keeps the callbacks of the
// page-model calls for the test to answer, in any order or never.
struct FakeBrowser final : Browser {
    // `page` stands for the view; a window that is given the browser takes it.
    explicit FakeBrowser(QWidget* page = nullptr) : page(page) {}

    void navigate(const QString& address) override { navigations.append(address); }
    QWidget* widget() override { return page; }
    void snapshotPage(std::function<void(const QByteArray&)> done) override { snapshots.append(done); }
    void applyPlan(const FillPlan::Plan& plan, std::function<void(const QJsonObject&)> done) override
    {
        plans.append(plan.page);
        applies.append(done);
    }
    void readFields(std::function<void(const std::optional<QJsonArray>&)>) override {}

    QWidget* page;
    QStringList navigations;
    QList<std::function<void(const QByteArray&)>> snapshots; // not answered yet, oldest first
    QList<QJsonObject> plans;                                // every plan, in order
    QList<std::function<void(const QJsonObject&)>> applies;  // not answered yet, oldest first
};
