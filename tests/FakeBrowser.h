#pragma once

#include "autofill/Browser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// A browser that records the calls it receives: "Stop" and "navigate(<address>)".
class FakeBrowser final : public Browser {
    Q_OBJECT
public:
    FakeBrowser() : m_widget(new QWidget) {}
    ~FakeBrowser() override
    {
        if (m_widget && !m_widget->parent())
            delete m_widget;
    }

    void navigate(const QString& address) override
    {
        calls.append(QStringLiteral("navigate(%1)").arg(address));
    }
    void stop() override { calls.append(QStringLiteral("Stop")); }
    QWidget* widget() override { return m_widget; }
    // No page here: the page model never answers.
    void snapshotPage(std::function<void(const QByteArray&)>) override {}
    void applyPlan(const QJsonObject&, std::function<void(const QJsonObject&)>) override {}

    QStringList takeCalls() { return std::exchange(calls, {}); }

    QStringList calls;

private:
    QPointer<QWidget> m_widget;
};
