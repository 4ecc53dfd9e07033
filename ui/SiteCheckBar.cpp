#include "ui/SiteCheckBar.h"

#include "sites/SiteListModel.h"

#include <QHBoxLayout>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QPushButton>

SiteCheckBar::SiteCheckBar(SiteListModel& sites, SiteCheckLimits limits, QWidget* parent)
    : QWidget(parent), m_sites(sites)
{
    m_network = new QNetworkAccessManager(this);
    m_checker = new SiteChecker(*m_network, limits, this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("checkProgress"));
    m_progress->setFormat(tr("Checking %v of %m"));
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelCheckButton"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel);
    hide();

    connect(m_cancel, &QPushButton::clicked, m_checker, &SiteChecker::cancel);
    connect(m_checker, &SiteChecker::checked, this, &SiteCheckBar::onChecked);
    connect(m_checker, &SiteChecker::finished, this, &SiteCheckBar::onFinished);
}

void SiteCheckBar::start()
{
    if (isRunning())
        return;
    const QStringList addresses = m_sites.addresses();
    m_answered = m_moved = m_failed = 0;
    m_progress->setRange(0, static_cast<int>(addresses.size()));
    m_progress->setValue(0);
    show();
    m_checker->start(addresses);
    Q_EMIT runningChanged(true);
}

bool SiteCheckBar::isRunning() const
{
    return m_checker->isRunning();
}

void SiteCheckBar::onChecked(const QString& address, const SiteCheck& check)
{
    m_sites.setCheck(address, check);
    if (check.failed())
        ++m_failed;
    else if (check.outcome == SiteCheck::Outcome::Moved)
        ++m_moved;
    else
        ++m_answered;
    m_progress->setValue(m_checker->done());
}

void SiteCheckBar::onFinished(bool cancelled)
{
    hide();
    Q_EMIT runningChanged(false);
    QString line = cancelled ? tr("Check cancelled. ") : QString();
    line += tr("Answered: %1. Moved: %2. No answer: %3.")
                .arg(QString::number(m_answered), QString::number(m_moved), QString::number(m_failed));
    if (m_moved > 0)
        line += u' ' + tr("A moved link's menu offers its new address.");
    if (const auto saved = m_sites.saveChecks(); !saved)
        line += u' ' + tr("The results could not be saved (%1).").arg(saved.problem().detail);
    Q_EMIT message(line);
}
