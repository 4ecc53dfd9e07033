// The fill planner on any snapshot and any product. Input: the product as a profile file, a
// zero byte, then the snapshot. Every plan it makes writes each element at most once, in document
// order, writes only the product's own values, and never also skips an element it writes.
#include "autofill/FillPlan.h"
#include "products/ProductProfiles.h"

#include <QJsonArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const Product product = ProductProfiles::parse(split < 0 ? QByteArrayView() : input.first(split));
    const QByteArrayView snapshot = split < 0 ? input : input.sliced(split + 1);

    const auto plan = FillPlan::make(snapshot, product);
    if (!plan)
        return 0;
    double last = -1;
    QList<double> written;
    for (const QJsonValue write : plan->page[QStringLiteral("writes")].toArray()) {
        const QJsonArray pair = write.toArray();
        const double index = pair.at(0).toDouble(-1);
        const bool onlyIfKept = pair.size() == 3 && pair.at(2) == QJsonValue(true) && pair.at(1).isString();
        if ((pair.size() != 2 && !onlyIfKept) || index <= last)
            std::abort();
        written.append(index);
        last = index;
        const QJsonValue what = pair.at(1);
        if (what.isString()) {
            const QString value = what.toString();
            if (value != product.padUrl && value != product.regnowVendorId &&
                value != product.regnowProductId)
                std::abort();
        } else if (!what.isArray()) {
            std::abort();
        }
    }
    for (const auto& [at, refusal] : plan->skipped) {
        if (written.contains(double(at)))
            std::abort();
    }
    FillPlan::readReport(plan->page, *plan);
    return 0;
}
