#include "autofill/PageBridge.h"

void PageBridge::deliver(const QString& doc, const QJsonObject& plan)
{
    if (m_readyDocs.contains(doc))
        Q_EMIT planReady(plan);
    else
        m_held.insert(doc, plan);
}

QJsonObject PageBridge::ready(const QString& doc)
{
    m_readyDocs.removeAll(doc);
    m_readyDocs.append(doc);
    while (m_readyDocs.size() > 8)
        m_readyDocs.removeFirst();
    return m_held.take(doc);
}

void PageBridge::report(const QJsonObject& report)
{
    Q_EMIT reported(report);
}
