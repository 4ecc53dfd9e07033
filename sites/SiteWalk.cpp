#include "sites/SiteWalk.h"

#include <QAbstractItemModel>
#include <algorithm>

SiteWalk::SiteWalk(const QAbstractItemModel& list, QObject* parent) : QObject(parent), m_list(list)
{
    connect(&list, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        if (m_position >= first)
            m_position += last - first + 1;
    });
    connect(&list, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { onRowsRemoved(first, last); });
    connect(&list, &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int start, int end, const QModelIndex&, int destination) {
                onRowsMoved(start, end, destination);
            });
    connect(&list, &QAbstractItemModel::modelReset, this,
            [this] { m_position = std::min(m_position, m_list.rowCount() - 1); });
}

Result<int, SiteWalk::End> SiteWalk::next(bool skipDone)
{
    const int rows = m_list.rowCount();
    for (int row = m_position + 1; row < rows; ++row) {
        if (!skipDone || !isDone(row)) {
            m_position = row;
            return row;
        }
    }
    for (int row = 0; row < rows; ++row) {
        if (!isDone(row))
            return End::LastEntry;
    }
    return End::AllDone;
}

bool SiteWalk::isDone(int row) const
{
    return m_list.index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void SiteWalk::onRowsRemoved(int first, int last)
{
    if (m_position > last)
        m_position -= last - first + 1;
    else if (m_position >= first)
        m_position = first - 1;
}

void SiteWalk::onRowsMoved(int start, int end, int destination)
{
    // `destination` is the row the moved block went before, counted before the move.
    const int count = end - start + 1;
    if (m_position >= start && m_position <= end)
        m_position += (destination > end ? destination - count : destination) - start;
    else if (destination > end && m_position > end && m_position < destination)
        m_position -= count;
    else if (destination < start && m_position >= destination && m_position < start)
        m_position += count;
}
