#include "ui/FillSummary.h"

bool FillSummary::add(const FillReport& report)
{
    if (report.status == FillReport::Status::Superseded)
        return false;
    if (report.scope == FillReport::Scope::Page)
        *this = FillSummary();
    m_status = report.status;
    m_written += report.written;
    m_lists += report.lists;
    for (const FillReport::Refusal& refusal : report.refused) {
        if (refusal.reason == u"PageValue")
            m_kept.append(refusal.name);
        else if (refusal.reason != u"NotTextField") // buttons and boxes whose names match a rule
            m_notTaken.append(tr("%1 (%2)").arg(refusal.name, refusal.reason));
    }
    return true;
}

QString FillSummary::text(const QString& productName) const
{
    switch (m_status.value_or(FillReport::Status::NoDocument)) {
    case FillReport::Status::NoDocument:
    case FillReport::Status::Superseded:
        return {};
    case FillReport::Status::NoProduct:
        return tr("No product chosen, so nothing was filled: choose one with Software > Select...");
    case FillReport::Status::TimedOut:
        return tr("The page did not answer in time; Software > Fill Again tries again.");
    case FillReport::Status::Applied:
        break;
    }
    const QString fields = m_written == 1 ? tr("1 field") : tr("%1 fields").arg(m_written);
    const QString lists = m_lists == 1 ? tr("1 list") : tr("%1 lists").arg(m_lists);
    QString line = m_written + m_lists == 0 && m_kept.isEmpty() && m_notTaken.isEmpty()
                       ? tr("Nothing on this page to fill from %1.").arg(productName)
                   : m_lists == 0 ? tr("Filled %1 from %2.").arg(fields, productName)
                                  : tr("Filled %1 and %2 from %3.").arg(fields, lists, productName);
    if (!m_kept.isEmpty())
        line += u' ' + tr("Kept as the page had them: %1.").arg(m_kept.join(tr(", ")));
    if (!m_notTaken.isEmpty())
        line += u' ' + tr("Not taken: %1.").arg(m_notTaken.join(tr(", ")));
    return line;
}
