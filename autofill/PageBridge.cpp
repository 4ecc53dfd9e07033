#include "autofill/PageBridge.h"

void PageBridge::deliver(const QString& doc, const QString& plan)
{
    // Only the plan for the snapshot offered is made while the offer is handled.
    if (m_offering)
        m_answer = plan;
    else if (m_readyDocs.contains(doc))
        Q_EMIT planReady(doc, plan);
    else
        m_held.insert(doc, plan);
}

QString PageBridge::ready(const QString& doc)
{
    m_readyDocs.removeAll(doc);
    m_readyDocs.append(doc);
    while (m_readyDocs.size() > 8)
        m_readyDocs.removeFirst();
    return m_held.take(doc);
}

void PageBridge::report(const QString& report)
{
    Q_EMIT reported(report.toUtf8());
}

QString PageBridge::offer(const QString& snapshot)
{
    m_offering = true;
    Q_EMIT offered(snapshot.toUtf8());
    m_offering = false;
    return std::exchange(m_answer, {});
}
