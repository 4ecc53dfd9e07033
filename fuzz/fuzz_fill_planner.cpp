// The fill planner on any snapshot and any product. Input: the product as a profile file, a
// zero byte, then the snapshot; without a zero byte, the snapshot with no product chosen. Every
// plan it makes writes each element at most once, in document order, writes only the product's
// own values, and never also skips an element it writes; with no product it writes and skips
// nothing.
#include "autofill/FillPlan.h"
#include "products/ProductProfiles.h"

#include <QJsonArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const std::optional<Product> product =
        split < 0 ? std::nullopt : std::optional(ProductProfiles::parse(input.first(split)));
    const QByteArrayView snapshot = split < 0 ? input : input.sliced(split + 1);

    const auto plan = FillPlan::make(snapshot, product);
    if (!plan)
        return 0;
    if (!product && (!plan->page[QStringLiteral("writes")].toArray().isEmpty() || !plan->skipped.isEmpty()))
        std::abort();
    QList<double> written{-1};
    for (const QJsonValue write : plan->page[QStringLiteral("writes")].toArray()) {
        const QJsonArray w = write.toArray();
        const QJsonValue what = w.at(1);
        const bool onlyIfKept = w.size() == 3 && w.at(2) == QJsonValue(true) && what.isString();
        const QString value = what.toString();
        const bool own = what.isArray() ||
                         (what.isString() && (value == product->padUrl || value == product->regnowVendorId ||
                                              value == product->regnowProductId));
        if ((w.size() != 2 && !onlyIfKept) || w.at(0).toDouble(-1) <= written.last() || !own)
            std::abort();
        written.append(w.at(0).toDouble());
    }
    for (const auto& [at, refusal] : plan->skipped) {
        if (written.contains(double(at)))
            std::abort();
    }
    FillPlan::readReport(plan->page, *plan);
    return 0;
}
