#include "sites/SiteListModel.h"

#include <algorithm>

SiteListModel::SiteListModel(ProgressStore& marks, AppFolders folders, QObject* parent)
    : QAbstractListModel(parent), m_marks(marks), m_folders(std::move(folders))
{
}

void SiteListModel::load()
{
    beginResetModel();
    m_sites.loadSiteAddresses(m_folders.programFolder());
    m_sites.loadAddedLinks(m_folders.dataFolder());
    m_checks.load(m_folders.dataFolder());
    endResetModel();
    Q_EMIT doneCountChanged();
}

void SiteListModel::reloadAddedLinks()
{
    beginResetModel();
    m_sites.loadAddedLinks(m_folders.dataFolder());
    endResetModel();
    Q_EMIT doneCountChanged();
}

int SiteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_sites.entries().size());
}

QVariant SiteListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry(index.row()).text;
    case Qt::CheckStateRole:
        return markedOn(index.row()) ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool SiteListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const int row = index.row();
    if (role == Qt::CheckStateRole) {
        const bool done = value.toInt() == Qt::Checked;
        if (done == markedOn(row).has_value())
            return true;
        const ProgressStore::SaveResult saved =
            m_marks.setMark(entry(row).text, done ? std::optional(QDate::currentDate()) : std::nullopt);
        Q_EMIT dataChanged(this->index(0), this->index(rowCount() - 1), {Qt::CheckStateRole});
        Q_EMIT doneCountChanged();
        Q_EMIT markSaved(saved);
        return true;
    }
    if (role == Qt::EditRole && isAddedLink(row)) {
        const QString link = value.toString();
        if (link == entry(row).text)
            return true;
        if (link.trimmed().isEmpty())
            return false;
        const LinksResult replaced = replaceAddedLink(row, link);
        if (!replaced)
            Q_EMIT linkEditFailed(replaced.problem());
        return replaced.ok();
    }
    return false;
}

Qt::ItemFlags SiteListModel::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
    if (isAddedLink(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

const SiteDirectory::Entry& SiteListModel::entry(int row) const
{
    return m_sites.entries().at(row);
}

bool SiteListModel::isAddedLink(int row) const
{
    return row >= firstAddedLinkRow() && row < rowCount();
}

QString SiteListModel::address(int row) const
{
    const SiteDirectory::Entry& shown = entry(row);
    return shown.address.isEmpty() ? shown.walkAddress : shown.address;
}

std::optional<QDate> SiteListModel::markedOn(int row) const
{
    return m_marks.markedOn(entry(row).text);
}

std::optional<SiteCheck> SiteListModel::lastCheck(int row) const
{
    const QString checked = address(row);
    return checked.isEmpty() ? std::nullopt : m_checks.find(checked);
}

void SiteListModel::setProduct(const std::optional<QString>& name)
{
    m_marks.setProduct(name);
    refreshAllRows();
    Q_EMIT doneCountChanged();
}

ProgressStore::SaveResult SiteListModel::renameProduct(const QString& oldName, const QString& newName)
{
    const ProgressStore::SaveResult saved = m_marks.renameProduct(oldName, newName);
    refreshAllRows();
    Q_EMIT doneCountChanged();
    return saved;
}

int SiteListModel::doneCount() const
{
    int done = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (markedOn(row))
            ++done;
    }
    return done;
}

SiteListModel::LinksResult SiteListModel::removeAddedLinks(const QList<int>& rows)
{
    QList<int> removed;
    for (const int row : rows) {
        if (isAddedLink(row))
            removed.append(row);
    }
    std::sort(removed.begin(), removed.end(), std::greater<>());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    if (removed.isEmpty())
        return {};
    QStringList links = m_sites.addedLinks();
    for (const int row : std::as_const(removed))
        links.removeAt(row - firstAddedLinkRow());
    return rewriteLinks(links, [&](const QByteArray& content) {
        // Block by block from the bottom, so that the rows above keep their numbers.
        QStringList left = m_sites.addedLinks();
        for (qsizetype i = 0; i < removed.size();) {
            const int last = removed[i];
            int first = last;
            while (++i < removed.size() && removed[i] == first - 1)
                first = removed[i];
            beginRemoveRows({}, first, last);
            left.remove(first - firstAddedLinkRow(), last - first + 1);
            m_sites.setAddedLinks(left, content);
            endRemoveRows();
        }
    });
}

SiteListModel::LinksResult SiteListModel::replaceAddedLink(int row, const QString& link)
{
    if (!isAddedLink(row))
        return {};
    QStringList links = m_sites.addedLinks();
    const QString old = std::exchange(links[row - firstAddedLinkRow()], link);
    return rewriteLinks(links, [&](const QByteArray& content) {
        m_sites.setAddedLinks(links, content);
        if (const ProgressStore::SaveResult copied = m_marks.copyMarks(old, link); !copied)
            Q_EMIT markSaved(copied);
    });
}

bool SiteListModel::canMove(int row, int offset) const
{
    return isAddedLink(row) && isAddedLink(row + offset);
}

SiteListModel::LinksResult SiteListModel::moveAddedLink(int row, int offset)
{
    if (!canMove(row, offset))
        return {};
    QStringList links = m_sites.addedLinks();
    links.move(row - firstAddedLinkRow(), row + offset - firstAddedLinkRow());
    return rewriteLinks(links, [&](const QByteArray& content) {
        // Qt names the row that the moved one goes before.
        beginMoveRows({}, row, row, {}, offset < 0 ? row + offset : row + offset + 1);
        m_sites.setAddedLinks(links, content);
        endMoveRows();
    });
}

QStringList SiteListModel::addresses() const
{
    QStringList all;
    for (int row = 0; row < rowCount(); ++row) {
        const QString each = address(row);
        if (!each.isEmpty() && !all.contains(each))
            all.append(each);
    }
    return all;
}

void SiteListModel::setCheck(const QString& address, const SiteCheck& check)
{
    m_checks.set(address, check);
    for (int row = 0; row < rowCount(); ++row) {
        if (this->address(row) == address)
            Q_EMIT dataChanged(index(row), index(row));
    }
}

Result<void, FileRules::FileProblem> SiteListModel::saveChecks() const
{
    return m_checks.save(m_folders.dataFolder(), addresses());
}

int SiteListModel::firstAddedLinkRow() const
{
    return static_cast<int>(SiteDirectory::builtInSiteNames().size());
}

SiteListModel::LinksResult SiteListModel::rewriteLinks(const QStringList& links,
                                                       const std::function<void(const QByteArray&)>& change)
{
    const auto written = AddedLinksFile::rewrite(m_folders.dataFolder(), links, m_sites.addedLinksContent());
    if (!written) {
        // What the list shows is not the file any more: it shows the file as it is now.
        if (written.problem().kind == AddedLinksFile::Problem::Kind::ChangedOnDisk)
            reloadAddedLinks();
        return written.problem();
    }
    change(*written);
    refreshAllRows();
    Q_EMIT doneCountChanged();
    return {};
}

void SiteListModel::refreshAllRows()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}
