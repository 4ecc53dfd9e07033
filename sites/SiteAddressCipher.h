#pragma once

#include <QByteArray>
#include <cstdint>

// The cipher of the site-address file. Each stored line is its address shifted byte by byte:
// stored = code + depth, less 255 when the sum exceeds 255. decode() undoes that.
namespace SiteAddressCipher {

// The depth the shipped site-address file is scrambled with; the loader decodes every line with it.
inline constexpr std::int32_t fileDepth = 7;
// The depth a depth of 0 stands for.
inline constexpr std::int32_t defaultDepth = 37;

// Descrambles `line` (single-byte codes): one byte per byte, each c - depth, plus 255 when that
// is negative. Before each byte a depth of 0 becomes defaultDepth and one above 254 becomes 254;
// that adjusted depth is written back to the caller's variable, so an empty line leaves it as it was.
QByteArray decode(const QByteArray& line, std::int32_t& depth);

} // namespace SiteAddressCipher
