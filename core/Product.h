#pragma once

#include <QString>

// One product profile: the five facts that the fill pass writes into submission forms,
// always in this order (the order of the lines of a profile file, too).
struct Product {
    QString programName;
    QString categoryKeyword;
    QString padUrl;
    QString regnowVendorId;
    QString regnowProductId;

    friend bool operator==(const Product&, const Product&) = default;
};
