#pragma once

#include <QByteArray>
#include <cstdint>

// The site-address cipher. Each stored line of the site-address file is its address shifted
// byte by byte: stored = code + depth, less 255 when the sum exceeds 255. Sub3 undoes that.
class Cls5 final {
public:
    // Depth with which the shipped site-address file was scrambled; the loader passes it for every line.
    static constexpr std::int32_t FixedDepth = 7;
    // Depth used when Sub3 is called with a depth of 0.
    static constexpr std::int32_t DefaultDepth = 37;

    // Descrambles `Data` (single-byte codes). Result: one byte per byte of Data, each
    // c - Depth, plus 255 when that is negative. Before each byte a Depth of 0 becomes
    // DefaultDepth and one above 254 becomes 254; that adjusted depth is written back to the
    // caller's variable, so an empty Data leaves it untouched. Data is not changed.
    QByteArray Sub3(const QByteArray& Data, std::int32_t& Depth) const;
    QByteArray Sub3(const QByteArray& Data) const
    {
        std::int32_t depth = 0;
        return Sub3(Data, depth);
    }
};
