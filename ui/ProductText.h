#pragma once

#include "core/Product.h"
#include "products/PadDownload.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"

#include <QCoreApplication>
#include <QString>

// The words the user reads about products: the labels of the five profile fields, as the product
// information editor shows them, and one line for each way a profile, a PAD file or its download can fail.
class ProductText final {
    Q_DECLARE_TR_FUNCTIONS(ProductText)

public:
    ProductText() = delete;

    static QString fieldLabel(ProductField field);

    // Why a profile was not saved or not deleted.
    static QString describe(const ProductProfiles::Problem& problem);

    // Why the PAD file `fileName` (the name the user knows, without folders) was refused; the line
    // begins with the name in quotes.
    static QString describe(const PadFile::Problem& problem, const QString& fileName);

    // Why no PAD file came from `address`.
    static QString describe(const PadDownload::Problem& problem, const QString& address);
};
