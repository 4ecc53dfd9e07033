#include "ui/SiteListDisplayModel.h"

#include "sites/SiteListModel.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>

SiteListDisplayModel::SiteListDisplayModel(SiteListModel& sites, QObject* parent)
    : QIdentityProxyModel(parent), m_sites(sites)
{
    setSourceModel(&sites);
}

QVariant SiteListDisplayModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::ToolTipRole:
        return toolTip(row);
    case Qt::ForegroundRole:
        if (const auto check = m_sites.lastCheck(row); check && check->failed())
            return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
        return {};
    case Qt::FontRole:
        if (const auto check = m_sites.lastCheck(row); check && check->outcome == SiteCheck::Outcome::Moved) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    default:
        return QIdentityProxyModel::data(index, role);
    }
}

QString SiteListDisplayModel::describe(const SiteCheck& check)
{
    using Outcome = SiteCheck::Outcome;
    switch (check.outcome) {
    case Outcome::Reachable:
        return tr("answers");
    case Outcome::Moved:
        return tr("moved to %1").arg(check.detail);
    case Outcome::NoSuchHost:
        return tr("no such host");
    case Outcome::Refused:
        return tr("the connection was refused");
    case Outcome::TimedOut:
        return tr("no answer in time");
    case Outcome::Closed:
        return tr("the server closed the connection without answering");
    case Outcome::HttpError:
        return tr("the server answered %1").arg(check.detail);
    case Outcome::TooManyRedirects:
        return tr("it redirects too many times");
    case Outcome::NotWeb:
        return tr("not a web address");
    case Outcome::NetworkError:
        return check.detail;
    }
    return {};
}

QString SiteListDisplayModel::shownDay(QDate day)
{
    return QLocale::c().toString(day, QStringLiteral("d MMM yyyy"));
}

QString SiteListDisplayModel::toolTip(int row) const
{
    QStringList lines;
    if (const std::optional<QDate> day = m_sites.markedOn(row)) {
        if (const std::optional<QString>& product = m_sites.product())
            lines.append(tr("Done for %1 on %2").arg(*product, shownDay(*day)));
        else
            lines.append(tr("Done on %1, for this run only: no product is chosen").arg(shownDay(*day)));
    }
    if (const std::optional<SiteCheck> check = m_sites.lastCheck(row))
        lines.append(tr("Checked on %1: %2").arg(shownDay(check->checkedOn), describe(*check)));
    return lines.join(u'\n');
}
