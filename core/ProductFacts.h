#pragma once

#include "core/Product.h"

#include <QDateTime>
#include <QMap>
#include <QString>

// A product's PAD file as the fill reads it: the text of every element below the root
// (XML_DIZ_INFO), by its path of element names, lower case and joined by "/", for example
// "program_info/program_version". A value is the element's text with any markup inside it dropped
// and entities resolved, trimmed of surrounding white space; its inner line breaks stay. When a
// path occurs more than once (PAD files that describe several languages), its first occurrence is
// kept, even when it is empty; an empty value counts as no value.
using PadValues = QMap<QString, QString>;

// What the fill pass writes from: the profile's five facts, which are the author's own and win,
// and the PAD file the product keeps, when it keeps one.
struct ProductFacts {
    // A product that keeps no PAD file is its profile alone.
    ProductFacts(Product profile = {}, PadValues pad = {}, QDateTime padTaken = {})
        : profile(std::move(profile)), pad(std::move(pad)), padTaken(std::move(padTaken))
    {
    }

    Product profile;
    // Empty when the product keeps no PAD file.
    PadValues pad;
    // When the kept PAD file was taken (imported or downloaded); invalid without one.
    QDateTime padTaken;

    friend bool operator==(const ProductFacts&, const ProductFacts&) = default;
};
