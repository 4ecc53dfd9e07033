#pragma once

#include <QList>
#include <algorithm>
#include <utility>

// The value below which a fraction `q` (0 to 1) of `values` lie, interpolated between the two
// nearest; 0 for none.
inline double quantile(QList<double> values, double q)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const double at = q * double(values.size() - 1);
    const qsizetype below = qsizetype(at);
    if (below + 1 >= values.size())
        return values.last();
    return values[below] + (at - double(below)) * (values[below + 1] - values[below]);
}

// The median of `values`; 0 for none.
inline double median(QList<double> values)
{
    return quantile(std::move(values), 0.5);
}
