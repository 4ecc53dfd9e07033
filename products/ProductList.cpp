#include "products/ProductList.h"

namespace ProductList {

bool lessIgnoringCase(const QString& a, const QString& b)
{
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

int preselectedRow(const QStringList& names, const QString& activeName)
{
    if (names.isEmpty())
        return -1;
    const qsizetype exact = names.indexOf(activeName);
    if (exact >= 0)
        return static_cast<int>(exact);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].contains(activeName))
            return static_cast<int>(i);
    }
    return 0;
}

int rowAfterRemoval(int removedRow, int remaining)
{
    if (remaining <= 0)
        return -1;
    return removedRow >= remaining ? remaining - 1 : removedRow;
}

} // namespace ProductList
