#pragma once

#include "autofill/Browser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// A browser that records the calls it receives: "Stop" and "navigate(<address>)". It has no page:
// the page model never answers.
class FakeBrowser final : public Browser {
    Q_OBJECT
public:
    ~FakeBrowser() override
    {
        if (m_widget && !m_widget->parent())
            delete m_widget;
    }

    void navigate(const QString& address) override { calls.append(u"navigate(" + address + u')'); }
    void stop() override { calls.append(QStringLiteral("Stop")); }
    QWidget* widget() override { return m_widget; }
    void snapshotPage(std::function<void(const QByteArray&)>) override {}
    void applyPlan(const QJsonObject&, std::function<void(const QJsonObject&)>) override {}

    QStringList calls;

private:
    QPointer<QWidget> m_widget = new QWidget;
};
