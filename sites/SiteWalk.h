#pragma once

#include "core/Result.h"

#include <QObject>

class QAbstractItemModel;

// The walk through the site list: the row that "Next" went to last. It starts at row 0, whose entry
// is the one shown first, so the first "Next" goes to row 1. A click on an entry does not move it.
//
// The position stays on its entry while the list changes: rows inserted or removed above it and
// moves carry it along; when its own entry is removed it steps back to the row above the removed
// ones, so that "Next" goes on with the entry that took their place; a reset keeps the row, brought
// back inside the list.
class SiteWalk final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteWalk)
public:
    // Why "Next" found nothing to go to; the walk stays where it is.
    enum class End {
        AllDone,   // every row of the list is ticked
        LastEntry, // no row after the position (not ticked, when done rows are skipped)
    };

    // Walks the rows of `list`, whose check states are the marks.
    explicit SiteWalk(const QAbstractItemModel& list, QObject* parent = nullptr);

    int position() const { return m_position; }
    // Moves on to the next row, or to the next one that is not ticked when `skipDone`, and answers it.
    Result<int, End> next(bool skipDone);

private:
    bool isDone(int row) const;
    void onRowsRemoved(int first, int last);
    void onRowsMoved(int start, int end, int destination);

    const QAbstractItemModel& m_list;
    int m_position = 0;
};
