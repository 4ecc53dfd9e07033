#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The cipher of the site-address file: each stored line is its address shifted byte by byte by
// fileDepth, wrapping within the codes 0 to 254. Byte 255 has no stored form (it would come back
// as 0), so a text to be stored must not hold it.
namespace SiteAddressCipher {

// The shift the shipped site-address file is scrambled with.
inline constexpr int fileDepth = 7;

// A stored line back to its address: each code c becomes c - fileDepth, plus 255 when that is
// negative. Every result byte lies within 0..254; the length is kept.
QByteArray decode(QByteArrayView stored);

// How the site-address file is made: each code c becomes c + fileDepth, less 255 when that exceeds
// 255. decode(encode(text)) == text for every text without byte 255.
QByteArray encode(QByteArrayView clear);

} // namespace SiteAddressCipher
