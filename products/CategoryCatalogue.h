#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The built-in catalogue of PAD software categories, offered by the product information editor,
// and the keyword that each entry stores in a product profile.
//
// 157 entries at positions 0..156, in a fixed order. A top-level entry's text is its name; a
// sub-category's text is four blanks followed by its name and belongs to the nearest top-level
// entry above it. Only the keyword is ever stored, and the position is what ties an entry to it.
namespace CategoryCatalogue {

int count();

// Entry texts in catalogue order, sub-categories with their four leading blanks.
QStringList entries();

// The entry text at `position`, or "" outside 0..156.
QString entry(int position);

// The keyword of the entry at `position`, or "" outside 0..156 (-1 means no entry chosen).
QString keyword(int position);

// The first entry whose upper-cased text holds `keyword` as given (letter case significant; see
// TextMatch::holdsCategoryKeyword for the keywords "MATH" and "CAD"). An empty keyword gives 0; a
// keyword that no entry contains gives the last position. Ten keywords stop this search on an
// earlier entry with another keyword of its own ("DVD" on "CD/DVD Burners", for one);
// entryForKeyword() does not.
int firstEntryContaining(QStringView keyword);

// The entry that shows a stored keyword again in the editor, so that confirming the editor keeps
// the keyword. Among the entries whose own keyword equals `keyword`, the first whose text contains
// it (so "ENCODERS" gives "Encoders/Decoders" rather than its top-level entry), else the first of
// them; when no entry owns the keyword, firstEntryContaining().
int entryForKeyword(QStringView keyword);

} // namespace CategoryCatalogue
