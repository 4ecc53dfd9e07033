#pragma once

#include <QString>

// The five facts of a product profile, in profile order: the order of a profile file's lines and of
// the product information editor's boxes. The user knows them by the editor's labels; the window
// layer holds those words.
enum class ProductField { ProgramName, Category, PadUrl, RegnowVendorId, RegnowProductId };

// One product profile: the five facts that the fill pass writes into submission forms, always in
// profile order. The category is stored as its keyword.
struct Product {
    QString programName = {};
    QString categoryKeyword = {};
    QString padUrl = {};
    QString regnowVendorId = {};
    QString regnowProductId = {};

    friend bool operator==(const Product&, const Product&) = default;
};
