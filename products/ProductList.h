#pragma once

#include <QString>
#include <QStringList>

// Order and selection rules of the product manager's list of product names.
namespace ProductList {

// Alphabetical order ignoring letter case; names equal but for case are ordered exactly, so
// the order is total.
bool lessIgnoringCase(const QString& a, const QString& b);

// The entry selected when the manager opens: the entry equal to `activeName`, else the first
// entry that contains it (letter case significant; an empty name is contained in every entry),
// else the first entry; -1 for an empty list.
int preselectedRow(const QStringList& names, const QString& activeName);

// The entry selected after row `removedRow` was removed, leaving `remaining` entries: the entry
// that moved up into its place, or the new last entry when the last one was removed; -1 when
// none is left.
int rowAfterRemoval(int removedRow, int remaining);

} // namespace ProductList
