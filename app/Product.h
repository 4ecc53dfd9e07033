#pragma once

#include <QString>

// One product profile: the five facts that the fill pass writes into submission forms,
// always in this order (the order of the lines of a profile file, too).
struct Product {
    QString ProgramName;
    QString CategoryKeyword;
    QString PadUrl;
    QString RegnowVendorId;
    QString RegnowProductId;

    friend bool operator==(const Product&, const Product&) = default;
};
