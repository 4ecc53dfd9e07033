#include "sites/ProgressExport.h"

#include "sites/ProgressStore.h"
#include "sites/SiteListModel.h"

namespace ProgressExport {

namespace {

QByteArray line(const QStringList& fields)
{
    QByteArrayList row;
    for (const QString& each : fields)
        row.append(field(each));
    return row.join(',') + "\r\n";
}

} // namespace

QByteArray csv(const SiteListModel& sites, const ProgressStore& marks, const QStringList& products)
{
    QList<ProgressStore::Marks> productMarks;
    for (const QString& product : products)
        productMarks.append(marks.marksOf(product));
    QByteArray table = line(QStringList{QStringLiteral("Site"), QStringLiteral("Address")} + products);
    for (int row = 0; row < sites.rowCount(); ++row) {
        const QString& text = sites.entry(row).text;
        QStringList fields{text, sites.address(row)};
        for (const ProgressStore::Marks& each : std::as_const(productMarks))
            fields.append(each.value(text).toString(Qt::ISODate));
        table += line(fields);
    }
    return table;
}

QByteArray field(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    return '"' + bytes.replace('"', "\"\"") + '"';
}

} // namespace ProgressExport
