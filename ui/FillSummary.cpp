#include "ui/FillSummary.h"

#include "ui/SiteListDisplayModel.h"

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
        if (refusal.reason == FillReport::Reason::HeldByPage)
            m_kept.append(refusal.name);
        else if (const QString why = reason(refusal); !why.isEmpty())
            m_notTaken.append(tr("%1 (%2)").arg(refusal.name, why));
    }
    return true;
}

QString FillSummary::reason(const FillReport::Refusal& refusal)
{
    switch (refusal.reason) {
    case FillReport::Reason::TakesNoText: // buttons and boxes whose names match a rule
    case FillReport::Reason::HeldByPage:  // told apart, in add()
        return {};
    case FillReport::Reason::NotKept:
        return tr("does not take such a value");
    case FillReport::Reason::Refused:
        return tr("the page refused it: %1").arg(refusal.detail);
    }
    return {};
}

QString FillSummary::text(const QString& productName, const QDateTime& padTaken) const
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
    const QString source =
        padTaken.isValid()
            ? tr("%1 (PAD of %2)").arg(productName, SiteListDisplayModel::shownDay(padTaken.date()))
            : productName;
    const QString fields = tr("%n field(s)", nullptr, int(m_written));
    const QString lists = tr("%n list(s)", nullptr, int(m_lists));
    QString line = m_written + m_lists == 0 && m_kept.isEmpty() && m_notTaken.isEmpty()
                       ? tr("Nothing on this page to fill from %1.").arg(source)
                   : m_lists == 0 ? tr("Filled %1 from %2.").arg(fields, source)
                                  : tr("Filled %1 and %2 from %3.").arg(fields, lists, source);
    if (!m_kept.isEmpty())
        line += u' ' + tr("Kept as the page had them: %1.").arg(m_kept.join(tr(", ")));
    if (!m_notTaken.isEmpty())
        line += u' ' + tr("Not taken: %1.").arg(m_notTaken.join(tr(", ")));
    return line;
}
