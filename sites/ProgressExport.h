#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class ProgressStore;
class SiteListModel;

// Where each product was sent and when, as a table to hand on: CSV as RFC 4180 has it, in UTF-8
// without a byte-order mark, every line ended by CR LF. A header row, "Site", "Address" and the
// products' names, then one row for each entry of the site list, in list order: its text, its
// address (empty when it has none), and for each product the day its entry was marked done
// (yyyy-mm-dd), or nothing.
namespace ProgressExport {

// The table for `products`, their marks as `marks` holds them (unsaved ones included).
QByteArray csv(const SiteListModel& sites, const ProgressStore& marks, const QStringList& products);

// One field: in double quotes, its quotes doubled, when it holds a comma, a quote, a CR or a LF;
// else as it is.
QByteArray field(const QString& text);

} // namespace ProgressExport
