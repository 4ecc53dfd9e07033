#include "ui/SiteOverview.h"

#include "sites/SiteListModel.h"

SiteOverview::SiteOverview(const SiteListModel& sites, QWidget* parent) : QLabel(parent), m_sites(sites)
{
    setTextFormat(Qt::PlainText);
    connect(&sites, &SiteListModel::doneCountChanged, this, &SiteOverview::showCount);
    showCount();
}

void SiteOverview::showCount()
{
    const int done = m_sites.doneCount();
    const int rows = m_sites.rowCount();
    m_line = m_sites.product()
                 ? tr("%1 of %n done for %2", nullptr, rows).arg(QString::number(done), *m_sites.product())
                 : tr("%1 of %n ticked, no product chosen", nullptr, rows).arg(done);
    showLine();
}

void SiteOverview::showLine()
{
    const QString shown = fontMetrics().elidedText(m_line, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == m_line ? QString() : m_line);
}

void SiteOverview::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showLine();
}
